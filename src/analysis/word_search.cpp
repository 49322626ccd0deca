#include "analysis/word_search.h"

#include <algorithm>
#include <unordered_set>

namespace Analysis {

ForwardSearch::ForwardSearch(const DenseAutomaton &automaton)
    : m_automaton(automaton)
    , m_parent(size_t(automaton.stateCount()), -1)
    , m_column(size_t(automaton.stateCount()), unreached)
{
    const int start = automaton.start();
    if (start == DenseAutomaton::noStart)
        return;
    m_order.reserve(size_t(automaton.stateCount()));
    m_order.push_back(start);
    m_column[size_t(start)] = atStart;
    for (size_t done = 0; done < m_order.size(); ++done) {
        const int state = m_order[done];
        for (int column = 0; column < automaton.width(); ++column) {
            const int target = automaton.next(state, column);
            if (reached(target))
                continue;
            m_parent[size_t(target)] = state;
            m_column[size_t(target)] = column;
            m_order.push_back(target);
        }
    }
}

QString ForwardSearch::firstStringTo(int state) const
{
    QList<int> columns;
    for (; m_column[size_t(state)] >= 0; state = m_parent[size_t(state)])
        columns.append(m_column[size_t(state)]);
    QString text;
    for (auto column = columns.crbegin(); column != columns.crend(); ++column)
        text += m_automaton.character(*column);
    return text;
}

LengthBounds::LengthBounds(const DenseAutomaton &automaton, const Predecessors &predecessors,
                           const std::vector<char> &isTarget)
{
    const int states = automaton.stateCount();
    shortest.assign(size_t(states), never);
    longest.assign(size_t(states), -1);
    count.assign(size_t(states), 0);

    // Shortest: breadth-first, backwards from the targets.
    std::vector<int> queue;
    queue.reserve(size_t(states));
    for (int state = 0; state < states; ++state)
        if (isTarget[size_t(state)]) {
            shortest[size_t(state)] = 0;
            queue.push_back(state);
        }
    for (size_t done = 0; done < queue.size(); ++done) {
        const int state = queue[done];
        for (const int source : predecessors.of(state))
            if (shortest[size_t(source)] == never) {
                shortest[size_t(source)] = shortest[size_t(state)] + 1;
                queue.push_back(source);
            }
    }

    // Longest and how many: among the states that reach a target, settle a state
    // once every step out of it that still reaches a target leads to a settled
    // state. The states never settled can reach a loop that reaches a target.
    std::vector<int> unsettledSteps(size_t(states), 0);
    queue.clear();
    for (int state = 0; state < states; ++state) {
        if (shortest[size_t(state)] == never)
            continue;
        if (isTarget[size_t(state)]) {
            longest[size_t(state)] = 0;
            count[size_t(state)] = 1;
        }
        for (int column = 0; column < automaton.width(); ++column)
            if (shortest[size_t(automaton.next(state, column))] != never)
                ++unsettledSteps[size_t(state)];
        if (unsettledSteps[size_t(state)] == 0)
            queue.push_back(state);
    }
    for (size_t done = 0; done < queue.size(); ++done) {
        const int state = queue[done];
        for (const int source : predecessors.of(state)) {
            longest[size_t(source)] = std::max(longest[size_t(source)], longest[size_t(state)] + 1);
            const quint64 sum = count[size_t(source)] + count[size_t(state)];
            count[size_t(source)] = sum < count[size_t(state)] ? uncounted : std::min(sum, uncounted);
            if (--unsettledSteps[size_t(source)] == 0)
                queue.push_back(source);
        }
    }
    for (int state = 0; state < states; ++state)
        if (unsettledSteps[size_t(state)] > 0) {
            longest[size_t(state)] = unbounded;
            count[size_t(state)] = uncounted;
        }
}

std::vector<char> finalStates(const DenseAutomaton &automaton, bool final)
{
    std::vector<char> targets(size_t(automaton.stateCount()));
    for (int state = 0; state < automaton.stateCount(); ++state)
        targets[size_t(state)] = automaton.isFinal(state) == final ? 1 : 0;
    return targets;
}

void forFirstStrings(const DenseAutomaton &automaton, const LengthBounds &bounds, int limit, const TakeString &take)
{
    const int start = automaton.start();
    if (start == DenseAutomaton::noStart || limit <= 0 || bounds.shortest[size_t(start)] == LengthBounds::never)
        return;
    int found = 0;
    bool stopped = false;
    const auto more = [&] { return found < limit && !stopped; };

    // A depth-first walk through the strings of one length at a time, in the
    // alphabet's order, entering only states from which the remaining length is
    // still possible. A state and remaining length that led to nothing are
    // remembered: the same pair meets the same dead end at every length, so each
    // is explored once, and the walk costs little more than what it finds.
    struct Step
    {
        int state;
        int column;         // the next column to try
        bool found;         // some string was found below this step
        qsizetype prefix;   // length of the string that led here
    };
    std::unordered_set<quint64> deadEnds;
    const auto deadEnd = [](int state, int remaining) { return quint64(remaining) << 32 | quint32(state); };
    const auto possible = [&](int state, int remaining) {
        return bounds.allows(state, remaining) && !deadEnds.contains(deadEnd(state, remaining));
    };

    std::vector<Step> path;
    QString text;
    const qint64 longest = bounds.longest[size_t(start)];
    for (qint64 next = bounds.shortest[size_t(start)]; next <= longest && more(); ++next) {
        const int length = int(next);
        if (!possible(start, length))
            continue;
        path.assign(1, Step{start, 0, false, 0});
        text.clear();
        while (!path.empty() && more()) {
            Step &step = path.back();
            const int remaining = length - int(path.size() - 1);
            const bool leaf = remaining == 0;
            if (leaf) {
                ++found;
                stopped = !take(text);
            }
            if (leaf || step.column == automaton.width()) {
                const bool below = leaf || step.found;
                if (!below)
                    deadEnds.insert(deadEnd(step.state, remaining));
                text.truncate(step.prefix);
                path.pop_back();
                if (!path.empty() && below)
                    path.back().found = true;
                continue;
            }
            const int column = step.column++;
            const int target = automaton.next(step.state, column);
            if (possible(target, remaining - 1)) {
                path.push_back(Step{target, 0, false, text.size()});
                text += automaton.character(column);
            }
        }
    }
}

QStringList firstStrings(const DenseAutomaton &automaton, const LengthBounds &bounds, int limit)
{
    QStringList found;
    forFirstStrings(automaton, bounds, limit, appendTo(found));
    return found;
}

} // namespace Analysis
