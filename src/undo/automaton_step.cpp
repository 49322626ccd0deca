#include "undo/automaton_step.h"

#include "undo/undo_history.h"

AutomatonStep::AutomatonStep(UndoHistory &history, const QString &text, const modAll &before, const modAll &after)
    : QUndoCommand(text)
    , m_history(history)
    , m_before(before)
    , m_after(after)
{
}

void AutomatonStep::undo()
{
    m_history.putBack(m_before);
}

void AutomatonStep::redo()
{
    if (!m_pushed) {
        m_pushed = true;
        return;
    }
    m_history.putBack(m_after);
}
