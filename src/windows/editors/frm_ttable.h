#pragma once

#include "windows/editors/editor_dialog.h"

class Dialogs;
class ModelEdits;
class QAbstractButton;
class QInputMethodEvent;
class QTableView;
class TransitionGrid;

// The transition table editor: one row per state, one column per symbol, each
// cell the name of the state reached (empty: no transition). There is no cell
// editor: keys typed into the grid, and what an input method composes, append
// to the current cell's text, and Backspace shortens it. Closing the window stores the grid into the table (see
// TransitionCells, which holds the cells); a typed name that matches no state
// refuses the close, the cells before it stored.
//
// Constructing the window fills the grid from the model. Opened by the main
// window:
//
//     frm_ttable dlg(edits, dialogs, this);
//     dlg.exec();
class frm_ttable final : public EditorDialog
{
    Q_OBJECT

public:
    frm_ttable(ModelEdits &edits, Dialogs &dialogs, QWidget *owner);
    ~frm_ttable() override;

    // Closing goes through here whatever asks for it; a refused store keeps
    // the window open.
    void done(int result) override;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;

private:
    void fill();
    bool store();
    // The current cell in the grid's own coordinates (row 0 and column 0 are
    // the headers); -1 for none.
    int currentRow() const;
    int currentColumn() const;
    void setCurrentCell(int row, int column);
    bool edit(QKeyEvent *event);
    bool commit(QInputMethodEvent *event);
    bool type(const QString &typed);
    void layOut();
    void fitHeaderColumn();
    void paintCorner();

    ModelEdits &m_edits;
    Dialogs &m_dialogs;
    TransitionGrid *m_grid;
    QTableView *table;
    QAbstractButton *m_corner = nullptr;
};
