#pragma once

#include "windows/editors/list_editor.h"

class QLabel;

// The states editor: names, order and final flags of the automaton's states.
// A check mark on an entry makes that state final. OK writes the list into the
// model's states and resizes the outer array of transitions to match; the
// rows keep their positions and their targets are not renumbered.
//
//     frm_states dlg(model, dialogs, this);
//     dlg.exec();
class frm_states final : public ListEditor
{
    Q_OBJECT

public:
    frm_states(modAll &model, Dialogs &dialogs, QWidget *owner);

    // Refreshes lbl_state with the number of checked entries.
    void showFinal();

protected:
    bool isValidEntry(const QString &answer) const override;
    QListWidgetItem *newEntry(const QString &text) const override;
    void entriesRemoved() override;
    void setCount(qint16 count) override;
    void writeEntries(qint16 count) override;

private:
    QLabel *lbl_state;
};
