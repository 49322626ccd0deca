#include "windows/editors/frm_ttable.h"

#include "model/mod_all.h"
#include "toolkit/dialogs.h"
#include "toolkit/layout_units.h"
#include "toolkit/minimum_size.h"
#include "windows/editors/transition_grid.h"

#include <QAbstractButton>
#include <QHash>
#include <QHeaderView>
#include <QKeyEvent>
#include <QStyleOptionHeader>
#include <QStylePainter>
#include <QTableView>

namespace {

// The window never gets smaller than this (outer size, layout units), and the
// grid is this much narrower and shorter than the window.
constexpr int leastWidth = 5000;
constexpr int leastHeight = 3000;
constexpr int gridInsetWidth = 100;
constexpr int gridInsetHeight = 500;

// A header column wider than this would crowd out the cells; longer names are cut.
constexpr int widestHeaderColumn = 3600;

// Each look-up of a typed name gives exactly what findState gives: the 1-based
// position of the last state of that name, 0 for none. Built once per Store, so
// storing a large table is not quadratic in the number of states.
QHash<QString, qint16> stateIndex(const modAll &model)
{
    QHash<QString, qint16> index;
    const qsizetype end = qMin<qsizetype>(model.state_count, model.states.size());
    index.reserve(end);
    for (qsizetype i = 0; i < end; ++i)
        index.insert(model.states[i].name, qint16(i + 1));
    return index;
}

// A position read back from the window in layout units. Pixels are coarser than
// units, so a window that did not move keeps the units it was placed at.
int rememberedUnits(int pixels, int remembered)
{
    return LayoutUnits::toPixels(remembered) == pixels ? remembered : LayoutUnits::fromPixels(pixels);
}

// Rows exist for every state; a state added since the table was last fitted
// has none yet.
void ensureRows(modAll &model, int states)
{
    if (model.transitions.size() < states)
        sizeWithSpare(model.transitions, qint16(states));
}

void removeLastCharacter(QString &text)
{
    qsizetype cut = 1;
    if (text.size() >= 2 && text.back().isLowSurrogate() && text[text.size() - 2].isHighSurrogate())
        cut = 2;
    text.chop(cut);
}

} // namespace

frm_ttable::frm_ttable(modAll &model, Dialogs &dialogs, QWidget *owner)
    : EditorDialog(owner, Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint
                              | Qt::WindowMinMaxButtonsHint | Qt::WindowCloseButtonHint)
    , m_model(model)
    , m_dialogs(dialogs)
    , m_grid(new TransitionGrid(this))
    , table(new QTableView(this))
{
    setWindowTitle(tr("Transition Table"));
    resize(LayoutUnits::toPixels(5730), LayoutUnits::toPixels(3855));

    table->setObjectName(QStringLiteral("table"));
    table->setModel(m_grid);
    table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table->setSelectionMode(QAbstractItemView::SingleSelection);
    table->setSelectionBehavior(QAbstractItemView::SelectItems);
    table->verticalHeader()->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    table->installEventFilter(this);
    table->setFocus();

    // The view's corner is where the grid shows "Q/E".
    m_corner = table->findChild<QAbstractButton *>(QString(), Qt::FindDirectChildrenOnly);
    if (m_corner)
        m_corner->installEventFilter(this);

    fill();
}

frm_ttable::~frm_ttable() = default;

// Fill: the grid from the model, fitting every state's row of transitions to the
// alphabet on the way. A target outside 1 .. state_count shows as an empty cell.
void frm_ttable::fill()
{
    move(LayoutUnits::toPixels(m_model.ttable_left), LayoutUnits::toPixels(m_model.ttable_top));

    const int states = qMax<int>(0, m_model.state_count);
    const int symbols = qMax<int>(0, m_model.symbol_count);

    QStringList stateHeaders;
    stateHeaders.reserve(states);
    for (int i = 0; i < states; ++i) {
        const StateEntry state = m_model.states.value(i);
        QString header;
        if (i == m_model.start_state)
            header += u'>';
        if (state.is_final)
            header += u'*';
        stateHeaders.append(header + state.name);
    }

    QStringList symbolHeaders;
    symbolHeaders.reserve(symbols);
    for (int j = 0; j < symbols; ++j)
        symbolHeaders.append(m_model.symbols.value(j));

    ensureRows(m_model, states);
    QList<QString> cells;
    cells.reserve(qsizetype(states) * symbols);
    for (int r = 0; r < states; ++r) {
        QList<qint16> &row = m_model.transitions[r];
        sizeWithSpare<qint16>(row, qint16(symbols), 0);
        for (int c = 0; c < symbols; ++c) {
            const qint16 target = row[c];
            cells.append(m_model.isTarget(target) ? m_model.states.value(target - 1).name : QString());
        }
    }

    m_grid->reset(stateHeaders, symbolHeaders, std::move(cells));
    fitHeaderColumn();
    // The bottom-right cell, the last one written, is current when the window opens.
    setCurrentCell(states, symbols);
}

bool frm_ttable::store()
{
    if (!isMinimized()) {
        const QPoint at = frameGeometry().topLeft();
        m_model.ttable_top = rememberedUnits(at.y(), m_model.ttable_top);
        m_model.ttable_left = rememberedUnits(at.x(), m_model.ttable_left);
    }

    const QHash<QString, qint16> index = stateIndex(m_model);
    const int states = m_grid->gridRows() - 1;
    const int symbols = m_grid->gridColumns() - 1;
    ensureRows(m_model, states);
    for (int r = 1; r <= states; ++r) {
        QList<qint16> &row = m_model.transitions[r - 1];
        if (row.size() < symbols)
            sizeWithSpare<qint16>(row, qint16(symbols), 0);
        for (int c = 1; c <= symbols; ++c) {
            const QString text = m_grid->text(r, c);
            // An empty cell is no transition, whatever the states are called.
            const qint16 target = text.isEmpty() ? 0 : index.value(text, 0);
            if (!text.isEmpty() && target == 0) {
                if (isMinimized())
                    showNormal();
                setCurrentCell(r, c);
                m_dialogs.inform(tr("State '") + text + tr("' does not exists."), tr("ERROR"),
                                 Dialogs::Icon::Critical);
                return false;
            }
            row[c - 1] = target;
        }
    }
    return true;
}

void frm_ttable::done(int result)
{
    if (store())
        QDialog::done(result);
}

int frm_ttable::rowCount() const
{
    return m_grid->gridRows();
}

int frm_ttable::columnCount() const
{
    return m_grid->gridColumns();
}

QString frm_ttable::cellText(int row, int column) const
{
    return m_grid->text(row, column);
}

int frm_ttable::currentRow() const
{
    const QModelIndex current = table->currentIndex();
    return current.isValid() ? current.row() + 1 : -1;
}

int frm_ttable::currentColumn() const
{
    const QModelIndex current = table->currentIndex();
    return current.isValid() ? current.column() + 1 : -1;
}

void frm_ttable::setCurrentCell(int row, int column)
{
    const QModelIndex cell = m_grid->index(row - 1, column - 1);
    if (cell.isValid())
        table->selectionModel()->setCurrentIndex(cell, QItemSelectionModel::ClearAndSelect);
}

bool frm_ttable::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == table && event->type() == QEvent::KeyPress)
        return edit(static_cast<QKeyEvent *>(event));
    if (watched == m_corner && event->type() == QEvent::Paint) {
        paintCorner();
        return true;
    }
    return EditorDialog::eventFilter(watched, event);
}

// Edit: a typed character goes to the end of the current cell's text, Backspace
// takes the last one off. There is no caret and no cell editor. Characters
// outside printable ASCII never reach a cell; keys without a character, and
// control characters other than Backspace, are the grid's own (moving around).
// Returns whether the key was taken away from the grid.
bool frm_ttable::edit(QKeyEvent *event)
{
    const int row = currentRow();
    const int column = currentColumn();
    if (row < 1 || column < 1)
        return false;
    const Qt::KeyboardModifiers chord = event->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier);
    if (chord && chord != (Qt::ControlModifier | Qt::AltModifier)) // AltGr types characters
        return false;

    QString text = m_grid->text(row, column);
    bool taken = false;
    const QList<uint> codes = event->key() == Qt::Key_Backspace ? QList<uint>{8} : event->text().toUcs4();
    for (const uint code : codes) {
        if (code == 8) {
            if (!text.isEmpty())
                removeLastCharacter(text);
            m_model.is_saved = false;
            taken = true;
        } else if (code >= 32 && code <= 126) {
            text += QChar(char16_t(code));
            m_model.is_saved = false;
            taken = true;
        } else if (code >= 127) {
            taken = true;
        }
    }
    if (taken)
        m_grid->setText(row, column, text);
    return taken;
}

void frm_ttable::resizeEvent(QResizeEvent *event)
{
    EditorDialog::resizeEvent(event);
    layOut();
}

// Layout: the window keeps a least outer size, and the grid at the top-left
// corner is a fixed amount narrower and shorter than the window (never larger
// than the client area, so its scroll bars stay in view whatever the frame).
void frm_ttable::layOut()
{
    const std::optional<QSize> outer = keepMinimumOuterSize(*this, leastWidth, leastHeight);
    if (!outer)
        return;
    table->setGeometry(0, 0, qMin(LayoutUnits::toPixels(outer->width() - gridInsetWidth), width()),
                       qMin(LayoutUnits::toPixels(outer->height() - gridInsetHeight), height()));
}

// The header column is as wide as its longest name, measured directly rather
// than by the view, which would measure only a sample of the rows.
void frm_ttable::fitHeaderColumn()
{
    QHeaderView *header = table->verticalHeader();
    const QFontMetrics metrics = header->fontMetrics();
    int widest = 0;
    for (const QString &name : m_grid->stateHeaders())
        widest = qMax(widest, metrics.horizontalAdvance(name));
    const int margin = 2 * header->style()->pixelMetric(QStyle::PM_HeaderMargin, nullptr, header) + 6;
    header->setMinimumWidth(qMin(widest + margin, LayoutUnits::toPixels(widestHeaderColumn)));
}

void frm_ttable::paintCorner()
{
    QStyleOptionHeader option;
    option.initFrom(m_corner);
    option.rect = m_corner->rect();
    option.position = QStyleOptionHeader::OnlyOneSection;
    option.text = m_grid->text(0, 0);
    option.textAlignment = Qt::AlignCenter;
    QStylePainter painter(m_corner);
    painter.drawControl(QStyle::CE_Header, option);
}
