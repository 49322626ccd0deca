#pragma once

#include "windows/editors/list_editor.h"

// The input alphabet editor: which single-character symbols the automaton has,
// and in which order. OK commits the list (ModelEdits::commitAlphabet), which
// fits the transition table to the new alphabet. Columns are not moved with
// their symbols.
//
//     frm_alphabets dlg(edits, dialogs, this);
//     dlg.exec();
class frm_alphabets final : public ListEditor
{
    Q_OBJECT

public:
    frm_alphabets(ModelEdits &edits, Dialogs &dialogs, QWidget *owner);

protected:
    bool isValidEntry(const QString &answer) const override;
    void commit() override;
};
