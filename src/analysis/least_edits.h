#pragma once

#include "analysis/joint_graph.h"

#include <vector>

namespace Analysis {

// One edit of this automaton, in the nodes and columns of the joint table.
struct JointEdit
{
    enum class Kind { MakeFinal, MakeNotFinal, SetCell, SetStart, AddState, AddSymbol };

    Kind kind;
    int node = -1;   // the state made final or not, the cell's state, the new start, the state added
    int column = -1; // the cell's column, or the symbol added
    int target = -1; // the node the cell leads to; the cell's own state for an empty cell

    bool operator==(const JointEdit &) const = default;
};

// What grading may do to this automaton, and how long it may look.
struct EditRules
{
    int most = 2;                 // the most edits looked for
    // This automaton has no states: its one node stands in for them (not final,
    // every symbol keeps it in place) and cannot be edited. Adding a state makes
    // that node a real state, the start when `startOnceAdded` says so.
    bool standIn = false;
    int startOnceAdded = -1;      // the start once a state is added: the node, or the ERROR node
    quint64 stepLimit = quint64(1) << 28; // nodes and columns the checks may visit in all
};

struct LeastEdits
{
    enum class Outcome {
        Found,        // `edits` is one least fix (empty when already equivalent)
        MoreThanMost, // no fix of rules.most edits or fewer
        TooLarge,     // the search passed its step limit before it knew
    };

    Outcome outcome = Outcome::Found;
    std::vector<JointEdit> edits; // in the order to make them
};

// The fewest edits that make this automaton of `graph` give the other's
// verdict on every string: exact up to `rules.most`. The graph is edited
// while searching and left as it was.
LeastEdits leastEdits(JointGraph &graph, const EditRules &rules);

} // namespace Analysis
