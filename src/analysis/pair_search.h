#pragma once

#include "analysis/joint_graph.h"

#include <QString>
#include <vector>

namespace Analysis {

// Hopcroft and Karp's check of two automata, breadth-first over the pairs of
// nodes (one from each automaton) that strings lead them to; see
// pair_search.cpp. One search keeps its arrays from run to run, so grading,
// which checks thousands of edited automata of a few states, allocates nothing
// after the first.
class PairSearch
{
public:
    struct Visit
    {
        int selfNode;
        int otherNode;
        int from;   // index of the visit it was reached from, -1 for the start
        int column; // the character that led here
    };

    // Visits pairs from the two start states and gives whether some string gets
    // different verdicts. With `untilFirst` it stops at the first such pair,
    // whose string is the first counterexample; otherwise it goes on through
    // every pair it would have visited, so that differing() holds more
    // counterexamples (not all of them: pairs already known alike are skipped).
    bool run(const JointGraph &graph, bool untilFirst = true);

    const std::vector<Visit> &visits() const { return m_visits; }
    // Indexes of the visits whose two verdicts differ, in the order of their strings.
    const std::vector<int> &differing() const { return m_differing; }
    // The string that leads to a visit.
    QString stringTo(const JointGraph &graph, int visit) const;
    // The nodes and columns visited over every run so far: the measure of the
    // work done, which grading keeps within a bound.
    quint64 steps() const { return m_steps; }

private:
    int find(int node);
    void join(int a, int b);

    std::vector<int> m_parent; // disjoint sets of nodes, with path halving and union by size
    std::vector<int> m_size;
    std::vector<Visit> m_visits;
    std::vector<int> m_differing;
    quint64 m_steps = 0;
};

} // namespace Analysis
