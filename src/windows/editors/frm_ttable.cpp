#include "windows/editors/frm_ttable.h"

#include "model/characters.h"
#include "model/model_edits.h"
#include "model/transition_cells.h"
#include "toolkit/dialogs.h"
#include "toolkit/layout_units.h"
#include "toolkit/minimum_size.h"
#include "windows/editors/transition_grid.h"

#include <QAbstractButton>
#include <QHeaderView>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QStyleOptionHeader>
#include <QStylePainter>
#include <QTableView>

namespace {

// The window never gets smaller than this (outer size, layout units), and the
// grid is this much narrower and shorter than the window.
constexpr QSize least(5000, 3000);
constexpr QSize gridInset(100, 500);

// A header column wider than this would crowd out the cells; longer names are cut.
constexpr int widestHeaderColumn = 3600;

// A position read back from the window in layout units. Pixels are coarser than
// units, so a window that did not move keeps the units it was placed at.
int rememberedUnits(int pixels, int remembered)
{
    return LayoutUnits::toPixels(remembered) == pixels ? remembered : LayoutUnits::fromPixels(pixels);
}

void removeLastCharacter(QString &text)
{
    qsizetype cut = 1;
    if (text.size() >= 2 && text.back().isLowSurrogate() && text[text.size() - 2].isHighSurrogate())
        cut = 2;
    text.chop(cut);
}

} // namespace

frm_ttable::frm_ttable(ModelEdits &edits, Dialogs &dialogs, QWidget *owner)
    : EditorDialog(owner, Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint
                              | Qt::WindowMinMaxButtonsHint | Qt::WindowCloseButtonHint)
    , m_edits(edits)
    , m_dialogs(dialogs)
    , m_grid(new TransitionGrid(this))
    , table(new QTableView(this))
{
    setWindowTitle(tr("Transition Table"));
    resize(LayoutUnits::toPixels(5730), LayoutUnits::toPixels(3855));

    table->setObjectName(QStringLiteral("table"));
    table->setAccessibleName(tr("Transition table"));
    table->setModel(m_grid);
    table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table->setSelectionMode(QAbstractItemView::SingleSelection);
    table->setSelectionBehavior(QAbstractItemView::SelectItems);
    table->verticalHeader()->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    table->installEventFilter(this);
    table->setFocus();
    closeOnCtrlW();

    // The view's corner is where the grid shows "Q/E".
    m_corner = table->findChild<QAbstractButton *>(QString(), Qt::FindDirectChildrenOnly);
    if (m_corner)
        m_corner->installEventFilter(this);

    fill();
}

frm_ttable::~frm_ttable() = default;

// Fill: the grid from the model (see TransitionCells), with the marked state
// names down the side and the symbols across.
void frm_ttable::fill()
{
    const modAll &model = m_edits.model();
    move(LayoutUnits::toPixels(model.ttable_left), LayoutUnits::toPixels(model.ttable_top));

    TransitionCells cells(model);
    QStringList stateHeaders;
    stateHeaders.reserve(cells.stateCount());
    for (int i = 0; i < cells.stateCount(); ++i) {
        const StateEntry state = model.states.value(i);
        QString header;
        if (i == model.start_state)
            header += u'>';
        if (state.is_final)
            header += u'*';
        stateHeaders.append(header + state.name);
    }

    QStringList symbolHeaders;
    symbolHeaders.reserve(cells.symbolCount());
    for (int j = 0; j < cells.symbolCount(); ++j)
        symbolHeaders.append(model.symbols.value(j));

    const int states = cells.stateCount(), symbols = cells.symbolCount();
    m_grid->reset(stateHeaders, symbolHeaders, std::move(cells));
    fitHeaderColumn();
    // The bottom-right cell, the last one written, is current when the window opens.
    setCurrentCell(states, symbols);
}

// Store: the grid into the table, and the window's position unless it is
// minimized. A refusal leaves the offending cell current, after saying so.
bool frm_ttable::store()
{
    const modAll &model = m_edits.model();
    if (!isMinimized()) {
        const QPoint at = frameGeometry().topLeft();
        m_edits.rememberTablePosition(rememberedUnits(at.y(), model.ttable_top),
                                      rememberedUnits(at.x(), model.ttable_left));
    }

    const TransitionCells::Stored stored = m_grid->cells().store(model);
    m_edits.commitTable(stored.transitions);
    if (!stored.refused())
        return true;
    const int row = stored.refusedState + 1, column = stored.refusedSymbol + 1;
    if (isMinimized())
        showNormal();
    setCurrentCell(row, column);
    m_dialogs.inform(tr("State '") + m_grid->text(row, column) + tr("' does not exists."), tr("ERROR"),
                     Dialogs::Icon::Critical);
    return false;
}

void frm_ttable::done(int result)
{
    if (store())
        QDialog::done(result);
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
    if (watched == table && event->type() == QEvent::InputMethod)
        return commit(static_cast<QInputMethodEvent *>(event));
    if (watched == m_corner && event->type() == QEvent::Paint) {
        paintCorner();
        return true;
    }
    return EditorDialog::eventFilter(watched, event);
}

// Edit: a typed character goes to the end of the current cell's text, Backspace
// takes the last one off. There is no caret and no cell editor. Keys without a
// character, and control characters other than Backspace, are the grid's own
// (moving around). Returns whether the key was taken away from the grid.
bool frm_ttable::edit(QKeyEvent *event)
{
    const Qt::KeyboardModifiers chord = event->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier);
    if (chord && chord != (Qt::ControlModifier | Qt::AltModifier)) // AltGr types characters
        return false;
    return type(event->key() == Qt::Key_Backspace ? QStringLiteral("\b") : event->text());
}

// What an input method composed (a name in Chinese, say) is typed as keys are.
bool frm_ttable::commit(QInputMethodEvent *event)
{
    if (!type(event->commitString()))
        return false;
    event->accept();
    return true;
}

// `typed` into the current data cell: Backspace (code 8) removes the last
// character, and every other character but the control characters (DEL among
// them) and a surrogate without its pair is appended, whatever its script.
// Returns whether the grid must not see `typed`.
bool frm_ttable::type(const QString &typed)
{
    const int row = currentRow();
    const int column = currentColumn();
    if (row < 1 || column < 1)
        return false;
    QString text = m_grid->text(row, column);
    bool taken = false;
    for (QStringView rest = typed; !rest.isEmpty(); rest = rest.sliced(Characters::firstLength(rest))) {
        const QStringView character = Characters::first(rest);
        const char32_t code = Characters::codePoint(character);
        if (code == 8) {
            if (!text.isEmpty())
                removeLastCharacter(text);
            m_edits.markUnsaved();
            taken = true;
        } else if (code >= 32) {
            taken = true;
            const QChar::Category category = QChar::category(code);
            if (category == QChar::Other_Control || category == QChar::Other_Surrogate)
                continue;
            text += character;
            m_edits.markUnsaved();
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

void frm_ttable::layOut()
{
    fillBelowMinimum(*this, *table, least, gridInset);
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
