#include "windows/editors/list_editor.h"

#include "model/limits.h"
#include "model/model_edits.h"
#include "toolkit/layout_units.h"

#include <QLabel>
#include <QListWidget>
#include <QPushButton>

ListEditor::ListEditor(ModelEdits &edits, Dialogs &dialogs, QWidget *owner, const Wording &wording)
    : EditorDialog(owner, fixedDialogFlags())
    , m_edits(edits)
    , m_dialogs(dialogs)
    , m_wording(wording)
{
    setWindowTitle(wording.title);

    QPushButton *buttons[7];
    const QString captions[7] = {tr("&Add"), tr("Element &Up"), tr("Element &Down"), tr("&Remove Selected"),
                                 tr("Clear &List"), tr("&OK"), tr("&Cancel")};
    const char *names[7] = {"cmd_add", "cmd_up", "cmd_down", "cmd_rem", "cmd_clr", "cmd_ok", "cmd_cancel"};
    for (int i = 0; i < 7; ++i)
        buttons[i] = addButton(captions[i], QString::fromLatin1(names[i]), QRect(3990, 120 + i * 450, 1695, 375));

    QLabel *hint = addLabel(wording.hint, QStringLiteral("Label1"), QRect(120, 120, 3600, 255));
    addLine(QFrame::VLine, QRect(3840, 120, 30, listBottom - 120));

    m_list = placed(new QListWidget(this), wording.listName, QRect(120, 420, 3600, listBottom - 420));
    m_list->setSelectionMode(QAbstractItemView::SingleSelection);
    m_list->setUniformItemSizes(true);
    m_list->setAccessibleName(wording.listCaption);
    hint->setBuddy(m_list);

    // The seven buttons in their column order, then the list.
    for (int i = 0; i < 6; ++i)
        setTabOrder(buttons[i], buttons[i + 1]);
    setTabOrder(buttons[6], m_list);
    buttons[0]->setFocus();

    connect(buttons[0], &QPushButton::clicked, this, &ListEditor::add);
    connect(buttons[1], &QPushButton::clicked, this, [this] { moveCurrent(-1); });
    connect(buttons[2], &QPushButton::clicked, this, [this] { moveCurrent(+1); });
    connect(buttons[3], &QPushButton::clicked, this, &ListEditor::removeSelected);
    connect(buttons[4], &QPushButton::clicked, this, &ListEditor::clearList);
    connect(buttons[5], &QPushButton::clicked, this, &ListEditor::confirm);
    connect(buttons[6], &QPushButton::clicked, this, &ListEditor::reject);
}

QListWidgetItem *ListEditor::newEntry(const QString &text) const
{
    return new QListWidgetItem(text);
}

int ListEditor::currentEntry() const
{
    // The view may hold a current index that is not highlighted (focus arriving
    // by Tab puts it on the first entry); only a highlighted entry is current.
    QListWidgetItem *item = m_list->currentItem();
    return item && item->isSelected() ? m_list->row(item) : -1;
}

void ListEditor::setCurrentEntry(int row)
{
    if (row < 0) {
        m_list->setCurrentRow(-1);
        m_list->clearSelection();
    } else {
        m_list->setCurrentRow(row, QItemSelectionModel::ClearAndSelect);
    }
}

void ListEditor::add()
{
    if (m_list->count() >= Limits::mostEntries) {
        m_dialogs.inform(m_wording.fullText, tr("ERROR"), Dialogs::Icon::Exclamation);
        return;
    }
    const QString answer = m_dialogs.input(m_wording.prompt, m_wording.inputTitle, QString());
    if (!isValidEntry(answer)) {
        m_dialogs.inform(m_wording.invalidText, m_wording.invalidTitle, Dialogs::Icon::Exclamation);
        return;
    }
    for (int i = 0; i < m_list->count(); ++i) {
        if (m_list->item(i)->text() == answer) {
            m_dialogs.inform(m_wording.duplicateText, tr("ERROR"), Dialogs::Icon::Exclamation);
            return;
        }
    }
    const int current = currentEntry();
    m_list->addItem(newEntry(answer));
    setCurrentEntry(current);
    m_edits.markUnsaved();
}

void ListEditor::removeSelected()
{
    const int current = currentEntry();
    if (current < 0)
        return;
    delete m_list->takeItem(current);
    setCurrentEntry(-1);
    m_edits.markUnsaved();
    entriesRemoved();
}

void ListEditor::clearList()
{
    m_list->clear();
    m_edits.markUnsaved();
    entriesRemoved();
}

// Only the texts change places; anything else an entry carries (a check mark)
// stays at its position.
void ListEditor::moveCurrent(int by)
{
    const int current = currentEntry();
    const int other = current + by;
    if (current < 0 || other < 0 || other >= m_list->count())
        return;
    QListWidgetItem *from = m_list->item(current);
    QListWidgetItem *to = m_list->item(other);
    const QString kept = to->text();
    to->setText(from->text());
    from->setText(kept);
    setCurrentEntry(other);
    m_edits.markUnsaved();
}

const modAll &ListEditor::model() const
{
    return m_edits.model();
}

void ListEditor::confirm()
{
    commit();
    // An empty list only empties the count; the dialog stays open.
    if (m_list->count() > 0)
        accept();
}
