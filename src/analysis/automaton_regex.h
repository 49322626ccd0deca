#pragma once

#include "model/mod_all.h"

#include <QString>

namespace Analysis {

// One regular expression for the strings an automaton accepts, or why there
// is none.
struct AutomatonRegex
{
    static constexpr qint64 mostLength = 1000000;  // a longer expression is refused

    QString refusal;     // empty when `expression` holds the answer
    QString expression;  // in the syntax parseRegex reads; "∅" when nothing is accepted

    bool refused() const { return !refusal.isEmpty(); }
};

// The expression that matches exactly the strings of symbols the automaton
// accepts, read over its alphabet as the run reads it (repeated symbols, cells
// that keep the state, targets that name no state). It is found by eliminating
// the states of the minimized automaton one at a time, always the one whose
// elimination adds the least text, so the expression stays short. Refused when
// the start state is not valid (every string gives ERROR), when the expression
// would be longer than mostLength characters, and when the automaton's states
// are joined in so many ways that working it out would take more than about a
// second (the work grows with the cube of the number of states).
AutomatonRegex automatonRegex(const modAll &model);

} // namespace Analysis
