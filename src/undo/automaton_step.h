#pragma once

#include "model/mod_all.h"

#include <QUndoCommand>

class UndoHistory;

// One change of the automaton, as the whole automaton before and after it.
// Both are values that share their lists with the model and with the steps
// next to them, so a step costs memory only for the rows, lists and texts its
// change wrote.
class AutomatonStep final : public QUndoCommand
{
public:
    // The change has already reached the model: the push's redo does nothing.
    AutomatonStep(UndoHistory &history, const QString &text, const modAll &before, const modAll &after);

    void undo() override;
    void redo() override;

private:
    UndoHistory &m_history;
    const modAll m_before;
    const modAll m_after;
    bool m_pushed = false;
};
