#pragma once

#include "windows/editors/editor_dialog.h"

class Dialogs;
class QComboBox;
class QLabel;
class QPushButton;
struct modAll;

// The start state chooser: picks the automaton's start state from its states.
// Opening it marks the automaton as changed unless the start state is -1, even
// when the user then cancels. OK stores the chosen position, or -1 when nothing
// is chosen (possible only when it opened with nothing chosen).
//
//     frm_sstate dlg(model, dialogs, this);
//     dlg.exec();
class frm_sstate final : public EditorDialog
{
    Q_OBJECT

public:
    frm_sstate(modAll &model, Dialogs &dialogs, QWidget *owner);

private:
    void confirm();

    modAll &m_model;
    QComboBox *com_start;
    QLabel *lbl_state;
};
