#pragma once

#include "windows/editors/editor_dialog.h"

class ModelEdits;
class QComboBox;
class QLabel;

// The start state chooser: picks the automaton's start state from its states.
// Opening it marks the automaton as changed unless the start state is -1, even
// when the user then cancels. OK stores the chosen position, or -1 when nothing
// is chosen (possible only when it opened with nothing chosen).
//
//     frm_sstate dlg(edits, this);
//     dlg.exec();
class frm_sstate final : public EditorDialog
{
    Q_OBJECT

public:
    frm_sstate(ModelEdits &edits, QWidget *owner);

private:
    void confirm();

    ModelEdits &m_edits;
    QComboBox *com_start;
    QLabel *lbl_state;
};
