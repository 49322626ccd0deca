#include "windows/editors/frm_alphabets.h"

#include "model/mod_all.h"
#include "run/run_steps.h"
#include "windows/editors/frm_ttable.h"

#include <QListWidget>

namespace {

ListEditor::Wording alphabetWording()
{
    return {
        .title = frm_alphabets::tr("Set of alphabets"),
        .hint = frm_alphabets::tr("These are input symbol(s) or alphabet(s)."),
        .listName = QStringLiteral("lst_input"),
        .prompt = frm_alphabets::tr("Enter input symbol."),
        .inputTitle = frm_alphabets::tr("INPUT ALPHABET"),
        .invalidText = frm_alphabets::tr("Input symbol must be a single character."),
        .invalidTitle = frm_alphabets::tr("INVALID INPUT SYMBOL"),
        .duplicateText = frm_alphabets::tr("This input symbol is already exists."),
        .fullText = frm_alphabets::tr("No more input symbols can be added: an alphabet has at most 32767 symbols."),
    };
}

} // namespace

frm_alphabets::frm_alphabets(modAll &model, Dialogs &dialogs, QWidget *owner)
    : ListEditor(model, dialogs, owner, alphabetWording())
{
    setFixedUnits(clientWidth, listBottom + 120);
    QStringList symbols;
    for (int i = 0; i < m_model.symbol_count; ++i)
        symbols.append(m_model.symbols.value(i));
    m_list->addItems(symbols);
}

// One character is one code point: a symbol outside the basic plane is a
// surrogate pair and still one character.
bool frm_alphabets::isValidEntry(const QString &answer) const
{
    return RunSteps::isOneCharacter(answer);
}

void frm_alphabets::setCount(qint16 count)
{
    m_model.symbol_count = count;
}

void frm_alphabets::writeEntries(qint16 count)
{
    sizeWithSpare(m_model.symbols, count);
    for (int i = 0; i < count; ++i)
        m_model.symbols[i] = m_list->item(i)->text();

    // Fill fits every state's row to the new alphabet; Store then writes the
    // grid back, which turns every target that names no current state into 0.
    frm_ttable table(m_model, m_dialogs, this);
    table.store();
}
