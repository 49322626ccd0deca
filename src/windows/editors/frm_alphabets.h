#pragma once

#include "windows/editors/list_editor.h"

// The input alphabet editor: which single-character symbols the automaton has,
// and in which order. OK writes the list into the model's symbols and then fits
// the transition table to the new alphabet through the table editor's Fill and
// Store, without showing that window. Columns are not moved with their symbols.
//
//     frm_alphabets dlg(model, dialogs, this);
//     dlg.exec();
class frm_alphabets final : public ListEditor
{
    Q_OBJECT

public:
    frm_alphabets(modAll &model, Dialogs &dialogs, QWidget *owner);

protected:
    bool isValidEntry(const QString &answer) const override;
    void setCount(qint16 count) override;
    void writeEntries(qint16 count) override;
};
