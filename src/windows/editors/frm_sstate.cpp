#include "windows/editors/frm_sstate.h"

#include "model/model_edits.h"
#include "toolkit/layout_units.h"

#include <QComboBox>
#include <QLabel>
#include <QPushButton>

frm_sstate::frm_sstate(ModelEdits &edits, QWidget *owner)
    : EditorDialog(owner, fixedDialogFlags())
    , m_edits(edits)
{
    setWindowTitle(tr("Start State"));
    setFixedUnits(4200, 1875);

    QLabel *hint = addLabel(tr("Select a state from set of states(Q)."), QStringLiteral("Label1"),
                            QRect(120, 120, 3960, 255));
    com_start = placed(new QComboBox(this), QStringLiteral("com_start"), QRect(120, 420, 3960, 330));
    com_start->setEditable(false);
    // Where a list's name is its chosen entry, the label above it says what it is.
    com_start->setAccessibleName(tr("Start state"));
    hint->setBuddy(com_start);
    QPushButton *cmd_ok = addButton(tr("&OK"), QStringLiteral("cmd_ok"), QRect(120, 900, 1215, 375));
    QPushButton *cmd_cancel = addButton(tr("&Cancel"), QStringLiteral("cmd_cancel"), QRect(1455, 900, 1215, 375));
    addLine(QFrame::HLine, QRect(120, 1395, 3960, 30));
    lbl_state = addLabel(QString(), QStringLiteral("lbl_state"), QRect(120, 1500, 3960, 255));

    setTabOrder(com_start, cmd_cancel);
    setTabOrder(cmd_cancel, cmd_ok);
    com_start->setFocus();

    connect(cmd_ok, &QPushButton::clicked, this, &frm_sstate::confirm);
    connect(cmd_cancel, &QPushButton::clicked, this, &frm_sstate::reject);

    // Load.
    const modAll &model = edits.model();
    lbl_state->setText(tr("Total ") + QString::number(model.state_count) + tr(" state(s) are found."));
    QStringList names;
    names.reserve(qMax<int>(0, model.state_count));
    for (int i = 0; i < model.state_count; ++i)
        names.append(model.states.value(i).name);
    com_start->addItems(names);
    // A list that gets its first entry chooses it by itself; filling chooses nothing.
    com_start->setCurrentIndex(-1);
    if (com_start->currentIndex() != model.start_state)
        m_edits.markUnsaved();
    // A start state left past the last state (states were removed since) names
    // no entry: nothing is chosen then.
    if (model.start_state >= 0 && model.start_state < com_start->count())
        com_start->setCurrentIndex(model.start_state);
}

void frm_sstate::confirm()
{
    m_edits.commitStartState(qint16(com_start->currentIndex()));
    accept();
}
