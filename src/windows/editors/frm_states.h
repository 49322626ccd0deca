#pragma once

#include "windows/editors/list_editor.h"

class QLabel;

// The states editor: names, order and final flags of the automaton's states.
// A check mark on an entry makes that state final. OK commits the list
// (ModelEdits::commitStates): the rows of the table keep their positions and
// their targets are not renumbered.
//
//     frm_states dlg(edits, dialogs, this);
//     dlg.exec();
class frm_states final : public ListEditor
{
    Q_OBJECT

public:
    frm_states(ModelEdits &edits, Dialogs &dialogs, QWidget *owner);

    // Refreshes lbl_state with the number of checked entries.
    void showFinal();

protected:
    bool isValidEntry(const QString &answer) const override;
    QListWidgetItem *newEntry(const QString &text) const override;
    void entriesRemoved() override;
    void commit() override;

private:
    QLabel *lbl_state;
};
