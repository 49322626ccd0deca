#include "windows/editors/frm_alphabets.h"

#include "model/characters.h"
#include "model/limits.h"
#include "model/model_edits.h"

#include <QListWidget>

namespace {

ListEditor::Wording alphabetWording()
{
    return {
        .title = frm_alphabets::tr("Set of alphabets"),
        .hint = frm_alphabets::tr("These are input symbol(s) or alphabet(s)."),
        .listName = QStringLiteral("lst_input"),
        .listCaption = frm_alphabets::tr("Input alphabet"),
        .prompt = frm_alphabets::tr("Enter input symbol."),
        .inputTitle = frm_alphabets::tr("INPUT ALPHABET"),
        .invalidText = frm_alphabets::tr("Input symbol must be a single character."),
        .invalidTitle = frm_alphabets::tr("INVALID INPUT SYMBOL"),
        .duplicateText = frm_alphabets::tr("This input symbol is already exists."),
        .fullText = frm_alphabets::tr("No more input symbols can be added: an alphabet has at most %1 symbols.")
                        .arg(Limits::mostEntries),
    };
}

} // namespace

frm_alphabets::frm_alphabets(ModelEdits &edits, Dialogs &dialogs, QWidget *owner)
    : ListEditor(edits, dialogs, owner, alphabetWording())
{
    setFixedUnits(clientWidth, listBottom + 120);
    QStringList symbols;
    for (int i = 0; i < model().symbol_count; ++i)
        symbols.append(model().symbols.value(i));
    m_list->addItems(symbols);
}

bool frm_alphabets::isValidEntry(const QString &answer) const
{
    return Characters::isOne(answer);
}

void frm_alphabets::commit()
{
    QStringList symbols;
    symbols.reserve(m_list->count());
    for (int i = 0; i < m_list->count(); ++i)
        symbols.append(m_list->item(i)->text());
    m_edits.commitAlphabet(symbols);
}
