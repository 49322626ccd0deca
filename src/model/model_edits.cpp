#include "model/model_edits.h"

#include "model/transition_cells.h"

namespace {

// What a list editor's OK does with its list: the count becomes the list's
// length, and a list that is not empty replaces the entries, which are sized
// to the count with the spare kept. False for an empty list.
template <typename T>
bool takeList(qint16 &count, QList<T> &entries, const QList<T> &list)
{
    count = qint16(list.size());
    if (list.isEmpty())
        return false;
    sizeWithSpare(entries, count);
    std::copy(list.begin(), list.end(), entries.begin());
    return true;
}

} // namespace

ModelEdits::ModelEdits(modAll &model)
    : m_model(model)
{
}

template <typename Apply>
void ModelEdits::change(ModelChange kind, Apply &&apply)
{
    if (!m_listener) {
        apply();
        return;
    }
    const modAll before = m_model;   // shares every list with the model until the change writes it
    apply();
    m_listener->modelChanged(kind, before);
}

void ModelEdits::commitStates(const QList<StateEntry> &states)
{
    change(ModelChange::States, [&] {
        if (takeList(m_model.state_count, m_model.states, states))
            sizeWithSpare(m_model.transitions, m_model.state_count);
    });
}

void ModelEdits::commitAlphabet(const QStringList &symbols)
{
    change(ModelChange::Alphabet, [&] {
        if (takeList(m_model.symbol_count, m_model.symbols, symbols))
            m_model.transitions = TransitionCells(m_model).store(m_model).transitions;
    });
}

void ModelEdits::commitStartState(qint16 start)
{
    change(ModelChange::StartState, [&] { m_model.start_state = start; });
}

void ModelEdits::commitTable(const QList<QList<qint16>> &transitions)
{
    change(ModelChange::Table, [&] { m_model.transitions = transitions; });
}

void ModelEdits::commitComment(const QString &comment)
{
    change(ModelChange::Comment, [&] { m_model.comment = comment; });
}

void ModelEdits::newFile()
{
    change(ModelChange::NewFile, [&] { m_model.newFile(); });
}

void ModelEdits::open(modAll &&automaton)
{
    change(ModelChange::Open, [&] { m_model.takeAutomaton(automaton); });
}

void ModelEdits::restore(const modAll &version, bool saved)
{
    change(ModelChange::Restore, [&] {
        m_model.takeAutomaton(version);
        m_model.is_saved = saved;
    });
}

void ModelEdits::markSaved()
{
    m_model.is_saved = true;
    if (m_listener)
        m_listener->modelSaved();
}

void ModelEdits::rememberTablePosition(int top, int left)
{
    m_model.ttable_top = top;
    m_model.ttable_left = left;
}
