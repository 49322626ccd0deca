#pragma once

#include "analysis/dense_automaton.h"
#include "analysis/predecessors.h"

#include <QStringList>
#include <functional>
#include <limits>
#include <vector>

namespace Analysis {

// Breadth-first search from the start state, trying the columns in the
// alphabet's order. The first path found to a state spells the first string
// (shortest, then by the alphabet's order) that leads there, and states are
// reached in the order of those strings.
class ForwardSearch
{
public:
    explicit ForwardSearch(const DenseAutomaton &automaton);

    bool reached(int state) const { return m_column[size_t(state)] != unreached; }
    // The states reached, in the order of the first strings that lead to them.
    const std::vector<int> &order() const { return m_order; }
    // The first string that leads to a reached state.
    QString firstStringTo(int state) const;

private:
    static constexpr int unreached = -2;
    static constexpr int atStart = -1;

    const DenseAutomaton &m_automaton;
    std::vector<int> m_parent; // by state: the state the first path came from
    std::vector<int> m_column; // by state: the column of its last step; atStart, unreached
    std::vector<int> m_order;
};

// For each state, which lengths of strings lead from it into a target state:
// the shortest, the longest, and how many strings there are. A state that can
// reach a loop on its way to a target has no longest and infinitely many.
struct LengthBounds
{
    static constexpr int never = std::numeric_limits<int>::max(); // shortest: no target reachable
    static constexpr int unbounded = std::numeric_limits<int>::max(); // longest: a loop on the way
    static constexpr quint64 uncounted = std::numeric_limits<quint64>::max(); // too many to count

    LengthBounds(const DenseAutomaton &automaton, const Predecessors &predecessors, const std::vector<char> &isTarget);

    // Some string of exactly `length` characters may lead from `state` into a target.
    bool allows(int state, int length) const
    {
        return shortest[size_t(state)] <= length && length <= longest[size_t(state)];
    }

    std::vector<int> shortest;
    std::vector<int> longest;   // -1 when no target is reachable
    std::vector<quint64> count; // saturates at uncounted; uncounted when unbounded
};

// The targets of the string lists: final states or the others.
std::vector<char> finalStates(const DenseAutomaton &automaton, bool final);

// Takes the next string found; false stops the search.
using TakeString = std::function<bool(const QString &string)>;

// A taker that gathers every string in `strings`.
inline TakeString appendTo(QStringList &strings)
{
    return [&strings](const QString &string) {
        strings.append(string);
        return true;
    };
}

// Hands `take` the first `limit` strings, shortest first and then in the
// alphabet's order, that lead from the start state into a target state, each
// as soon as it is found: the search holds only the string it is on, so any
// limit takes little memory. Fewer when there are fewer; none when the start
// state is not valid.
void forFirstStrings(const DenseAutomaton &automaton, const LengthBounds &bounds, int limit, const TakeString &take);

// The same strings, gathered.
QStringList firstStrings(const DenseAutomaton &automaton, const LengthBounds &bounds, int limit);

} // namespace Analysis
