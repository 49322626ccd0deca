#include "windows/editors/frm_states.h"

#include "model/limits.h"
#include "model/model_edits.h"

#include <QLabel>
#include <QListWidget>

namespace {

ListEditor::Wording statesWording()
{
    return {
        .title = frm_states::tr("Set of states"),
        .hint = frm_states::tr(" Checked state(s) are also final state(s)."),
        .listName = QStringLiteral("lst_states"),
        .listCaption = frm_states::tr("States"),
        .prompt = frm_states::tr("Enter symbol for state."),
        .inputTitle = frm_states::tr("INPUT STATE"),
        .invalidText = frm_states::tr("This is an invalid input symbol."),
        .invalidTitle = frm_states::tr("ERROR"),
        .duplicateText = frm_states::tr("This state symbol is already exists."),
        .fullText = frm_states::tr("No more states can be added: an automaton has at most %1 states.")
                        .arg(Limits::mostEntries),
    };
}

QListWidgetItem *stateItem(const QString &name, bool isFinal)
{
    auto *item = new QListWidgetItem(name);
    item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsUserCheckable);
    item->setCheckState(isFinal ? Qt::Checked : Qt::Unchecked);
    return item;
}

} // namespace

frm_states::frm_states(ModelEdits &edits, Dialogs &dialogs, QWidget *owner)
    : ListEditor(edits, dialogs, owner, statesWording())
{
    addLine(QFrame::HLine, QRect(120, listBottom + 120, clientWidth - 240, 30));
    lbl_state = addLabel(tr("0 state(s) are final."), QStringLiteral("lbl_state"),
                         QRect(120, listBottom + 210, 3600, 255));
    setFixedUnits(clientWidth, listBottom + 585);

    if (model().state_count > 0) {
        for (int i = 0; i < model().state_count; ++i) {
            const StateEntry state = model().states.value(i);
            m_list->addItem(stateItem(state.name, state.is_final));
        }
        showFinal();
    }

    // Items get their check state before they join the list, so this fires only
    // for the user's toggles (and for the texts a move exchanges, which leave the
    // count as it was).
    connect(m_list, &QListWidget::itemChanged, this, &frm_states::showFinal);
}

void frm_states::showFinal()
{
    int checked = 0;
    for (int i = 0; i < m_list->count(); ++i)
        if (m_list->item(i)->checkState() == Qt::Checked)
            ++checked;
    lbl_state->setText(QString::number(checked) + tr(" state(s) are final."));
}

bool frm_states::isValidEntry(const QString &answer) const
{
    return !answer.isEmpty();
}

QListWidgetItem *frm_states::newEntry(const QString &text) const
{
    return stateItem(text, false);
}

void frm_states::entriesRemoved()
{
    showFinal();
}

void frm_states::commit()
{
    QList<StateEntry> states;
    states.reserve(m_list->count());
    for (int i = 0; i < m_list->count(); ++i) {
        const QListWidgetItem *item = m_list->item(i);
        states.append({item->text(), item->checkState() == Qt::Checked});
    }
    m_edits.commitStates(states);
}
