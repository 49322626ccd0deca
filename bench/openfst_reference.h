#pragma once

#include <array>
#include <vector>

// OpenFst's RmEpsilon, Determinize and Minimize on an automaton given as plain
// data (arcs: from, label, to; label 0 is the empty string); gives the number
// of states of the result. Compiled as C++17, the newest OpenFst 1.7.9 builds with.
int openFstMinimalStates(int states, int start, const std::vector<char> &final,
                         const std::vector<std::array<int, 3>> &arcs);
