#include "undo/automaton_step.h"

#include "document/tw_writer.h"
#include "undo/undo_history.h"

AutomatonStep::AutomatonStep(UndoHistory &history, const QString &text, const modAll &before, const modAll &after,
                             int session)
    : QUndoCommand(text)
    , m_history(history)
    , m_before(before)
    , m_after(after)
    , m_session(session)
{
}

// The stack offers only a later step of the same editor's opening.
bool AutomatonStep::mergeWith(const QUndoCommand *later)
{
    m_after = static_cast<const AutomatonStep *>(later)->m_after;
    setObsolete(writtenAlike(m_before, m_after));
    return true;
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
