#include "analysis/subset_construction.h"

#include <QLocale>

#include <algorithm>
#include <span>

namespace Analysis {

int Nfa::addState(bool isFinal, bool isKept)
{
    moves.emplace_back();
    emptyMoves.emplace_back();
    final.push_back(isFinal ? 1 : 0);
    kept.push_back(isKept ? 1 : 0);
    return int(final.size()) - 1;
}

QString tooManyStates(int stateLimit)
{
    return QStringLiteral("the automaton would need more than %1 states, the most a Tarnwell automaton can have")
        .arg(stateLimit);
}

namespace {

// The sets found so far, each a sorted run of member states in one array, and
// an open-addressing table from a set's members to its number.
class SubsetTable
{
public:
    SubsetTable(std::vector<int> &members, std::vector<size_t> &offsets) : m_members(members), m_offsets(offsets)
    {
        m_offsets.assign(1, 0);
        m_slots.assign(1024, -1);
    }

    int count() const { return int(m_offsets.size()) - 1; }
    std::span<const int> members(int subset) const
    {
        return {m_members.data() + m_offsets[size_t(subset)], m_members.data() + m_offsets[size_t(subset) + 1]};
    }

    // The number of the set `key`, added as the next one when it is new.
    int find(std::span<const int> key, bool &added)
    {
        const size_t hash = hashOf(key);
        size_t mask = m_slots.size() - 1;
        for (size_t slot = hash & mask;; slot = (slot + 1) & mask) {
            const int subset = m_slots[slot];
            if (subset < 0)
                break;
            if (m_hashes[size_t(subset)] == hash && std::ranges::equal(members(subset), key)) {
                added = false;
                return subset;
            }
        }
        added = true;
        const int subset = count();
        m_members.insert(m_members.end(), key.begin(), key.end());
        m_offsets.push_back(m_members.size());
        m_hashes.push_back(hash);
        if (size_t(count()) * 2 > m_slots.size())
            grow();
        mask = m_slots.size() - 1;
        size_t slot = hash & mask;
        while (m_slots[slot] >= 0)
            slot = (slot + 1) & mask;
        m_slots[slot] = subset;
        return subset;
    }

private:
    static size_t hashOf(std::span<const int> key)
    {
        size_t hash = 0x9e3779b97f4a7c15ull ^ key.size();
        for (const int state : key)
            hash = (hash ^ size_t(state)) * 0x100000001b3ull + (hash >> 29);
        return hash;
    }

    void grow()
    {
        m_slots.assign(m_slots.size() * 2, -1);
        const size_t mask = m_slots.size() - 1;
        for (int subset = 0; subset < count(); ++subset) {
            size_t slot = m_hashes[size_t(subset)] & mask;
            while (m_slots[slot] >= 0)
                slot = (slot + 1) & mask;
            m_slots[slot] = subset;
        }
    }

    std::vector<int> &m_members;
    std::vector<size_t> &m_offsets;
    std::vector<size_t> m_hashes; // by subset
    std::vector<int> m_slots;     // subset numbers, -1 for a free slot
};

// Follows the moves on the empty string from a set of states, with marks that
// a new epoch clears at once.
class Closure
{
public:
    explicit Closure(const Nfa &nfa) : m_nfa(nfa), m_mark(nfa.final.size(), 0) {}

    // The kept states reached from `from` by moves on the empty string (`from`
    // included), sorted and without repeats.
    std::span<const int> of(std::span<const int> from)
    {
        ++m_epoch;
        m_key.clear();
        m_stack.clear();
        for (const int state : from)
            visit(state);
        while (!m_stack.empty()) {
            const int state = m_stack.back();
            m_stack.pop_back();
            for (const int target : m_nfa.emptyMoves[size_t(state)])
                visit(target);
        }
        std::sort(m_key.begin(), m_key.end());
        return m_key;
    }

private:
    void visit(int state)
    {
        if (m_mark[size_t(state)] == m_epoch)
            return;
        m_mark[size_t(state)] = m_epoch;
        m_stack.push_back(state);
        if (m_nfa.kept[size_t(state)])
            m_key.push_back(state);
    }

    const Nfa &m_nfa;
    std::vector<unsigned> m_mark;
    unsigned m_epoch = 0;
    std::vector<int> m_stack;
    std::vector<int> m_key;
};

} // namespace

Determinized determinize(const Nfa &nfa, int stateLimit, size_t cellLimit, quint64 moveLimit)
{
    quint64 moves = 0;
    Determinized result;
    SubsetTable subsets(result.memberList, result.memberOffsets);
    Closure closure(nfa);
    const size_t width = size_t(nfa.width);
    const auto tooLarge = [&] {
        Determinized refused;
        if (subsets.count() > stateLimit)
            refused.refusal = tooManyStates(stateLimit);
        else if (moves > moveLimit)
            refused.refusal = QStringLiteral("the automaton would take too long to build: its states are joined in "
                                             "too many ways");
        else
            refused.refusal = QStringLiteral("the automaton would take more than %1 of memory to build")
                                  .arg(QLocale::c().formattedDataSize(qint64(cellLimit * sizeof(int)), 0));
        return refused;
    };

    bool added = false;
    subsets.find(closure.of(nfa.starts), added);

    // The states each column leads to from the members of one subset.
    std::vector<std::vector<int>> targets(width);
    std::vector<int> touched;
    std::vector<int> touchedBy(width, -1);
    for (int subset = 0; subset < subsets.count(); ++subset) {
        touched.clear();
        for (const int member : subsets.members(subset))
            for (const Nfa::Move &move : nfa.moves[size_t(member)])
                for (const int column : nfa.labels[size_t(move.label)]) {
                    if (touchedBy[size_t(column)] != subset) {
                        touchedBy[size_t(column)] = subset;
                        targets[size_t(column)].clear();
                        touched.push_back(column);
                    }
                    targets[size_t(column)].push_back(move.target);
                    ++moves;
                }

        const size_t row = size_t(subset) * width;
        result.next.resize(row + width, -1);
        for (const int column : touched) {
            const int target = subsets.find(closure.of(targets[size_t(column)]), added);
            result.next[row + size_t(column)] = target;
        }
        for (size_t column = 0; column < width; ++column)
            if (result.next[row + column] < 0)
                result.next[row + column] = subsets.find({}, added);
        if (subsets.count() > stateLimit || result.memberList.size() + result.next.size() > cellLimit
            || moves > moveLimit)
            return tooLarge();
    }

    result.stateCount = subsets.count();
    result.final.assign(size_t(result.stateCount), 0);
    for (int subset = 0; subset < result.stateCount; ++subset) {
        if (subsets.members(subset).empty())
            result.emptySet = subset;
        for (const int member : subsets.members(subset))
            if (nfa.final[size_t(member)])
                result.final[size_t(subset)] = 1;
    }
    return result;
}

} // namespace Analysis
