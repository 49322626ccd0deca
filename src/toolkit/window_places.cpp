#include "toolkit/window_places.h"

#include <QApplication>
#include <QEvent>
#include <QMargins>
#include <QScreen>
#include <QSettings>
#include <QWidget>
#include <algorithm>
#include <optional>

namespace WindowPlaces {

namespace {

enum class Side { Right, Left, Below };
constexpr Side sides[] = {Side::Right, Side::Left, Side::Below};

// The part of the screen on `side` of the main window, a gap away from it.
QRect roomOn(Side side, const QRect &main, const QRect &screen)
{
    switch (side) {
    case Side::Right:
        return QRect(QPoint(main.right() + 1 + gap, screen.top()), screen.bottomRight()).intersected(screen);
    case Side::Left:
        return QRect(screen.topLeft(), QPoint(main.left() - 1 - gap, screen.bottom())).intersected(screen);
    case Side::Below:
        break;
    }
    return QRect(QPoint(screen.left(), main.bottom() + 1 + gap), screen.bottomRight()).intersected(screen);
}

bool fits(const QSize &size, const QRect &room)
{
    return size.width() <= room.width() && size.height() <= room.height();
}

// `value` moved as little as it takes to lie in `first` .. `last`; `first`
// wins where the two cross (a window larger than its room keeps its top and
// left edges in view).
int within(int value, int first, int last)
{
    return qMax(first, qMin(value, last));
}

// `size` in `room`, against the main window and level with its top edge (or,
// below it, its left edge) as far as the room allows.
QRect placeIn(Side side, const QRect &room, const QSize &size, const QRect &main)
{
    QRect place(QPoint(), size);
    const int top = within(main.top(), room.top(), room.bottom() + 1 - size.height());
    switch (side) {
    case Side::Right:
        place.moveTopLeft(QPoint(room.left(), top));
        break;
    case Side::Left:
        place.moveTopRight(QPoint(room.right(), top));
        break;
    case Side::Below:
        place.moveTopLeft(QPoint(within(main.left(), room.left(), room.right() + 1 - size.width()), room.top()));
        break;
    }
    return place;
}

qint64 area(const QRect &rect)
{
    return qint64(rect.width()) * rect.height();
}

// What the window system adds around the inside of a window, as far as it has
// told: none before the window is first shown.
QMargins frameOf(const QWidget &window)
{
    const QRect outer = window.frameGeometry(), inside = window.geometry();
    return QMargins(inside.left() - outer.left(), inside.top() - outer.top(), outer.right() - inside.right(),
                    outer.bottom() - inside.bottom());
}

QSize grown(const QSize &size, const QMargins &frame)
{
    return size + QSize(frame.left() + frame.right(), frame.top() + frame.bottom());
}

bool wholeOnAScreen(const QRect &outer)
{
    const QList<QScreen *> screens = QGuiApplication::screens();
    return std::any_of(screens.begin(), screens.end(),
                       [&](const QScreen *screen) { return screen->availableGeometry().contains(outer); });
}

// The program's other windows on screen, which a new one had better not hide.
QList<QRect> otherWindows(const QWidget &window, const QWidget &main)
{
    QList<QRect> open;
    for (const QWidget *other : QApplication::topLevelWidgets())
        if (other != &window && other != &main && other->isVisible()
            && (other->windowType() == Qt::Window || other->windowType() == Qt::Dialog))
            open.append(other->frameGeometry());
    return open;
}

const QString placeKey = QStringLiteral("/pos");
const QString sizeKey = QStringLiteral("/size");

// Places the window it watches at each showing and remembers the place at each
// hiding (see keepBeside).
class BesideMain final : public QObject
{
public:
    BesideMain(QWidget &window, const QString &key, QWidget &main)
        : QObject(&window)
        , m_window(window)
        , m_key(key)
        , m_main(main)
    {
        window.installEventFilter(this);
    }

protected:
    bool eventFilter(QObject *, QEvent *event) override
    {
        // A window is shown to its owner before the window system maps it, so
        // it never flashes at another place first.
        if (event->type() == QEvent::Show && !event->spontaneous())
            place();
        else if (event->type() == QEvent::Hide && !event->spontaneous())
            remember();
        return false;
    }

private:
    void place()
    {
        const QScreen *screen = m_main.screen();
        if (!screen)
            return;
        // The window system frames this window as it frames the main window.
        const QMargins frame = frameOf(m_main);
        const QSize least = m_window.minimumSizeHint().expandedTo(m_window.minimumSize());
        const QRect last = remembered(m_key);
        const QSize inside = (last.isEmpty() ? m_window.size() : last.size()).expandedTo(least);
        const QRect outer(last.topLeft(), grown(inside, frame));
        if (!last.isEmpty() && !outer.intersects(m_main.frameGeometry()) && wholeOnAScreen(outer)) {
            m_window.resize(inside);
            m_window.move(outer.topLeft());
            return;
        }
        const QRect placed = beside(m_main.frameGeometry(), outer.size(), grown(least, frame),
                                    screen->availableGeometry(), otherWindows(m_window, m_main));
        m_window.resize(placed.size().shrunkBy(frame));
        m_window.move(placed.topLeft());
    }

    void remember()
    {
        if (m_window.windowState() & (Qt::WindowMaximized | Qt::WindowMinimized | Qt::WindowFullScreen))
            return;
        QSettings settings;
        settings.setValue(m_key + placeKey, m_window.pos());
        settings.setValue(m_key + sizeKey, m_window.size());
    }

    QWidget &m_window;
    const QString m_key;
    QWidget &m_main;
};

} // namespace

QRect beside(const QRect &main, const QSize &wanted, const QSize &least, const QRect &screen, const QList<QRect> &open)
{
    const QSize size = wanted.expandedTo(least);
    const auto coversNone = [&](const QRect &place) {
        return std::none_of(open.begin(), open.end(), [&](const QRect &other) { return other.intersects(place); });
    };
    for (const bool spareOthers : {true, false}) {
        for (const Side side : sides) {
            const QRect room = roomOn(side, main, screen);
            if (!fits(size, room))
                continue;
            const QRect place = placeIn(side, room, size, main);
            if (!spareOthers || coversNone(place))
                return place;
        }
        std::optional<QRect> roomiest;
        for (const Side side : sides) {
            const QRect room = roomOn(side, main, screen);
            if (!fits(least, room))
                continue;
            const QRect place = placeIn(side, room, size.boundedTo(room.size()), main);
            if ((!spareOthers || coversNone(place)) && (!roomiest || area(place) > area(*roomiest)))
                roomiest = place;
        }
        if (roomiest)
            return *roomiest;
    }
    // No room beside: as far right of the main window as the screen allows.
    const QSize shown = size.boundedTo(screen.size());
    return QRect(QPoint(within(main.right() + 1 + gap, screen.left(), screen.right() + 1 - shown.width()),
                        within(main.top(), screen.top(), screen.bottom() + 1 - shown.height())),
                 shown);
}

void keepBeside(QWidget &window, const QString &key, QWidget &main)
{
    new BesideMain(window, key, main);
}

QRect remembered(const QString &key)
{
    const QSettings settings;
    const QVariant place = settings.value(key + placeKey);
    const QSize size = settings.value(key + sizeKey).toSize();
    if (!place.isValid() || size.isEmpty())
        return {};
    return QRect(place.toPoint(), size);
}

} // namespace WindowPlaces
