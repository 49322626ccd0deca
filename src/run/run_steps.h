#pragma once

#include "model/mod_all.h"

// How a run moves through the automaton, one character at a time.
//
// Each character is looked up in the alphabet when its step comes (findSymbol:
// the last equal symbol wins); a character that is not a symbol stops the run
// with an error. A transition entry of 0 keeps the automaton in its state, and
// so does anything that does not name a state: a row not sized yet, an entry
// past a row's end, a target outside 1..state_count. A current state that no
// longer names a state (the model changed under a timed run) is a non-final
// state without transitions.
namespace RunSteps {

// A run can start: there are no states at all (valid symbols are still consumed,
// and the verdict is REJECTED), or the start state is one of them.
inline bool startIsValid(const modAll &model)
{
    return model.state_count == 0 || model.isState(model.start_state);
}

inline bool isAccepting(const modAll &model, qint16 state)
{
    return model.isState(state) && model.states[state].is_final;
}

// Follows the transition from `state` on the symbol at 0-based `symbol`.
// Returns true when the automaton moved to another (or the same) named state.
inline bool follow(const modAll &model, qint16 &state, qint16 symbol)
{
    if (!model.isState(state))
        return false;
    const qint16 target = model.entry(state, symbol);
    if (!model.isTarget(target))
        return false;
    state = qint16(target - 1);
    return true;
}

} // namespace RunSteps
