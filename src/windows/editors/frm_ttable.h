#pragma once

#include "windows/editors/editor_dialog.h"

class Dialogs;
class QAbstractButton;
class QTableView;
class TransitionGrid;
struct modAll;

// The transition table editor: one row per state, one column per symbol, each
// cell the name of the state reached (empty: no transition). There is no cell
// editor: keys typed into the grid append to, or with Backspace shorten, the
// current cell's text. Closing the window checks every cell and writes the
// grid into `transitions`; a name that matches no state refuses the close.
//
// Constructing the window fills the grid from the model (and fits every row of
// `transitions` to the alphabet). Opened by the main window:
//
//     frm_ttable dlg(model, dialogs, this);
//     dlg.exec();
//
// The alphabet editor uses it without ever showing it, to fit the table to a
// new alphabet:
//
//     frm_ttable table(model, dialogs, this);
//     table.store();
class frm_ttable final : public EditorDialog
{
    Q_OBJECT

public:
    frm_ttable(modAll &model, Dialogs &dialogs, QWidget *owner);
    ~frm_ttable() override;

    // Checks every cell, row by row and left to right, and writes it into
    // `transitions`; remembers the window's position unless it is minimized.
    // Returns false at the first cell that names no state, which is left
    // current, after saying so; the cells before it are stored already.
    bool store();

    // The grid in its own coordinates: row 0 and column 0 are the headers.
    int rowCount() const;
    int columnCount() const;
    QString cellText(int row, int column) const;
    int currentRow() const;
    int currentColumn() const;
    void setCurrentCell(int row, int column);

    // Closing goes through here whatever asks for it; a refused store keeps
    // the window open.
    void done(int result) override;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;

private:
    void fill();
    bool edit(QKeyEvent *event);
    void layOut();
    void fitHeaderColumn();
    void paintCorner();

    modAll &m_model;
    Dialogs &m_dialogs;
    TransitionGrid *m_grid;
    QTableView *table;
    QAbstractButton *m_corner = nullptr;
};
