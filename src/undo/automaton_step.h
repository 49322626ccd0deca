#pragma once

#include "model/mod_all.h"

#include <QUndoCommand>

class UndoHistory;

// One change of the automaton, as the whole automaton before and after it.
// Both are values that share their lists with the model and with the steps
// next to them, so a step costs memory only for the rows, lists and texts its
// change wrote.
//
// Changes made while one editor is open (`session`, -1 for none) are one step:
// a close of the transition table refused and then made again stores twice.
// A step whose changes come back to where it began is gone from the history.
class AutomatonStep final : public QUndoCommand
{
public:
    // The change has already reached the model: the push's redo does nothing.
    AutomatonStep(UndoHistory &history, const QString &text, const modAll &before, const modAll &after,
                  int session);

    void undo() override;
    void redo() override;
    int id() const override { return m_session; }
    bool mergeWith(const QUndoCommand *later) override;

private:
    UndoHistory &m_history;
    const modAll m_before;
    modAll m_after;
    const int m_session;
    bool m_pushed = false;
};
