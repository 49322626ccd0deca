#pragma once

#include "model/mod_all.h"

#include <QString>

namespace Analysis {

// The equivalent automaton with the fewest states, or why there is none.
struct MinimizeResult
{
    QString refusal;  // why nothing was minimized; empty when `automaton` holds the result
    // Untitled and unsaved, the rest of the document as the original had it.
    modAll automaton;
    int statesBefore = 0;
    int statesAfter = 0;

    bool refused() const { return !refusal.isEmpty(); }
    // "Minimized: N states to M".
    QString statusText() const;
};

// Merges the states no string tells apart and drops those no string reaches.
// The alphabet and the comment stay as they are, symbols repeated or not; each
// state is named after the states it merges ("q1,q3", or the one name), and the
// states keep the order of their first members. A cell follows the first
// member's: an empty cell stays empty. Refused when there are states and the
// start state is none of them; an automaton without states comes back as it is.
MinimizeResult minimizeAutomaton(const modAll &model);

} // namespace Analysis
