#pragma once

#include "analysis/dense_automaton.h"
#include "analysis/predecessors.h"

#include <vector>

namespace Analysis {

// Groups the states that no string tells apart: from each state of a group,
// every string ends in a final state or every string does not. Returns the
// group of each state, groups numbered in the order of their first state.
//
// Hopcroft's partition refinement: start from final and non-final states and
// split a group whenever, on some column, part of it steps into a splitter group
// and part does not. Of the two halves of a split only the smaller needs to serve
// as a splitter later (splitting by a group and by one half splits by the other
// half too), so each state serves O(log n) times, and the whole takes
// O(states * columns * log states).
std::vector<int> equivalentStateClasses(const DenseAutomaton &automaton, const Predecessors &predecessors);

} // namespace Analysis
