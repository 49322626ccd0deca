#include "analysis/state_classes.h"

namespace Analysis {

namespace {

// A partition of the states into groups, each a range of one array, so that a
// group splits by moving its marked members to the front of its range.
class Partition
{
public:
    explicit Partition(int states)
        : m_members(size_t(states))
        , m_position(size_t(states))
        , m_group(size_t(states), 0)
    {
    }

    // Places the states with `inFirst` in group 0 and the others in group 1
    // (only the groups that are not empty exist).
    template <typename InFirst>
    void start(InFirst &&inFirst)
    {
        const int states = int(m_members.size());
        int front = 0;
        for (int state = 0; state < states; ++state)
            if (inFirst(state))
                m_members[size_t(front++)] = state;
        int back = front;
        for (int state = 0; state < states; ++state)
            if (!inFirst(state))
                m_members[size_t(back++)] = state;
        if (front > 0)
            addGroup(0, front);
        if (front < states)
            addGroup(front, states);
        for (int i = 0; i < states; ++i) {
            const int state = m_members[size_t(i)];
            m_position[size_t(state)] = i;
            m_group[size_t(state)] = i < front ? 0 : groupCount() - 1;
        }
    }

    int groupCount() const { return int(m_begin.size()); }
    int groupOf(int state) const { return m_group[size_t(state)]; }
    int size(int group) const { return m_end[size_t(group)] - m_begin[size_t(group)]; }
    std::vector<int> membersOf(int group) const
    {
        return {m_members.begin() + m_begin[size_t(group)], m_members.begin() + m_end[size_t(group)]};
    }

    void mark(int state)
    {
        const int group = m_group[size_t(state)];
        const int front = m_begin[size_t(group)] + m_marked[size_t(group)];
        const int position = m_position[size_t(state)];
        if (position < front)
            return;
        if (m_marked[size_t(group)]++ == 0)
            m_touched.push_back(group);
        const int other = m_members[size_t(front)];
        m_members[size_t(front)] = state;
        m_position[size_t(state)] = front;
        m_members[size_t(position)] = other;
        m_position[size_t(other)] = position;
    }

    // Splits every group with some but not all members marked; the marked part
    // becomes a new group. Calls `onSplit(old, new)` for each split.
    template <typename OnSplit>
    void splitMarked(OnSplit &&onSplit)
    {
        for (const int group : m_touched) {
            const int marked = m_marked[size_t(group)];
            m_marked[size_t(group)] = 0;
            const int begin = m_begin[size_t(group)];
            if (marked == size(group))
                continue;
            const int created = addGroup(begin, begin + marked);
            m_begin[size_t(group)] = begin + marked;
            for (int i = begin; i < begin + marked; ++i)
                m_group[size_t(m_members[size_t(i)])] = created;
            onSplit(group, created);
        }
        m_touched.clear();
    }

private:
    int addGroup(int begin, int end)
    {
        m_begin.push_back(begin);
        m_end.push_back(end);
        m_marked.push_back(0);
        return groupCount() - 1;
    }

    std::vector<int> m_members;  // the states, each group's members in one range
    std::vector<int> m_position; // by state: its place in m_members
    std::vector<int> m_group;    // by state
    std::vector<int> m_begin, m_end, m_marked; // by group: its range, and how many at its front are marked
    std::vector<int> m_touched;  // groups with marked members
};

} // namespace

std::vector<int> equivalentStateClasses(const DenseAutomaton &automaton, const Predecessors &predecessors)
{
    const int states = automaton.stateCount();
    Partition partition(states);
    partition.start([&](int state) { return automaton.isFinal(state); });

    std::vector<int> splitters;
    std::vector<char> waiting;
    const auto await = [&](int group) {
        if (size_t(group) >= waiting.size())
            waiting.resize(size_t(group) + 1, 0);
        if (!waiting[size_t(group)]) {
            waiting[size_t(group)] = 1;
            splitters.push_back(group);
        }
    };
    // Splitting by one of two complementary groups splits by the other too.
    if (partition.groupCount() == 2)
        await(partition.size(0) <= partition.size(1) ? 0 : 1);

    while (!splitters.empty()) {
        const int splitter = splitters.back();
        splitters.pop_back();
        waiting[size_t(splitter)] = 0;
        // The splitter's members as it is now; marking may reorder or split it.
        const std::vector<int> members = partition.membersOf(splitter);
        for (int column = 0; column < automaton.width(); ++column) {
            for (const int target : members)
                for (const int source : predecessors.of(target, column))
                    partition.mark(source);
            partition.splitMarked([&](int old, int created) {
                const bool oldWaits = size_t(old) < waiting.size() && waiting[size_t(old)];
                if (oldWaits || partition.size(created) <= partition.size(old))
                    await(created);
                else
                    await(old);
            });
        }
    }

    std::vector<int> classes(size_t(states), -1);
    std::vector<int> numbered(size_t(partition.groupCount()), -1);
    int next = 0;
    for (int state = 0; state < states; ++state) {
        int &number = numbered[size_t(partition.groupOf(state))];
        if (number < 0)
            number = next++;
        classes[size_t(state)] = number;
    }
    return classes;
}

} // namespace Analysis
