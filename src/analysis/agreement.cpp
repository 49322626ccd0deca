#include "analysis/agreement.h"

#include "analysis/joint_graph.h"
#include "analysis/wide_count.h"

#include <optional>
#include <vector>

namespace Analysis {

namespace {

// Bounds on the work: pairs of one length held at once, and pairs times
// characters stepped over all lengths.
constexpr size_t pairLimit = size_t(1) << 21;
constexpr quint64 stepLimit = quint64(1) << 28;

using Total = WideCount<4>; // holds 2000 * 13 * k^12 for any alphabet a file can have

quint64 pairKey(int selfNode, int otherNode)
{
    return quint64(quint32(selfNode)) << 32 | quint32(otherNode);
}

// The place of each pair of one length in that length's arrays: open
// addressing over keys, grown at half full, kept from length to length.
class PairPlaces
{
public:
    void clear()
    {
        m_keys.assign(m_keys.empty() ? 1024 : m_keys.size(), empty);
        m_places.resize(m_keys.size());
        m_used = 0;
    }

    // The place of `key`, or `fresh` (which it then takes) when it has none.
    size_t find(quint64 key, size_t fresh)
    {
        if (2 * (m_used + 1) > m_keys.size())
            grow();
        size_t slot = this->slot(key);
        for (; m_keys[slot] != empty; slot = (slot + 1) & (m_keys.size() - 1))
            if (m_keys[slot] == key)
                return m_places[slot];
        m_keys[slot] = key;
        m_places[slot] = fresh;
        ++m_used;
        return fresh;
    }

private:
    static constexpr quint64 empty = ~quint64(0);

    size_t slot(quint64 key) const
    {
        // Fibonacci hashing: the top bits of the product spread neighbouring keys.
        return size_t((key * 0x9E3779B97F4A7C15u) >> 32) & (m_keys.size() - 1);
    }

    void grow()
    {
        std::vector<quint64> keys(m_keys.size() * 2, empty);
        std::vector<size_t> places(keys.size());
        keys.swap(m_keys);
        places.swap(m_places);
        for (size_t i = 0; i < keys.size(); ++i)
            if (keys[i] != empty) {
                size_t slot = this->slot(keys[i]);
                while (m_keys[slot] != empty)
                    slot = (slot + 1) & (m_keys.size() - 1);
                m_keys[slot] = keys[i];
                m_places[slot] = places[i];
            }
    }

    std::vector<quint64> m_keys;
    std::vector<size_t> m_places;
    size_t m_used = 0;
};

// The strings of each length 0 to 12 on which the two automata agree, counted
// forward one length at a time: each pair of nodes holds how many strings of
// the length lead to it. Nothing when the work passes its bounds.
template <int Limbs>
std::optional<std::vector<Total>> agreeingCounts(const JointGraph &graph, int longest)
{
    using Count = WideCount<Limbs>;
    std::vector<quint64> keys{pairKey(graph.selfStart(), graph.otherStart())}, nextKeys;
    std::vector<Count> counts{Count::of(1)}, nextCounts;
    std::vector<Total> agreeing;
    PairPlaces places;
    // By node of this automaton, the place of the last pair with it found in
    // the next length: where this automaton's state alone settles the pair (as
    // when the two automata have the same shape) no pair is hashed twice.
    constexpr size_t none = ~size_t(0);
    std::vector<size_t> lastPlace(size_t(graph.nodeCount()), none);
    const int width = graph.width();
    quint64 steps = 0;
    for (int length = 0;; ++length) {
        Total same;
        for (size_t i = 0; i < keys.size(); ++i)
            if (graph.verdict(int(keys[i] >> 32)) == graph.verdict(int(quint32(keys[i]))))
                same += counts[i].template widened<4>();
        agreeing.push_back(same);
        if (length == longest)
            return agreeing;

        steps += quint64(keys.size()) * quint64(width);
        if (steps > stepLimit)
            return std::nullopt;
        places.clear();
        nextKeys.clear();
        nextCounts.clear();
        std::fill(lastPlace.begin(), lastPlace.end(), none);
        for (size_t i = 0; i < keys.size(); ++i) {
            const int *selfRow = graph.row(int(keys[i] >> 32)), *otherRow = graph.row(int(quint32(keys[i])));
            for (int column = 0; column < width; ++column) {
                const quint64 key = pairKey(selfRow[column], otherRow[column]);
                size_t &last = lastPlace[size_t(selfRow[column])];
                if (last == none || nextKeys[last] != key) {
                    last = places.find(key, nextKeys.size());
                    if (last == nextKeys.size()) {
                        if (last == pairLimit)
                            return std::nullopt;
                        nextKeys.push_back(key);
                        nextCounts.push_back(Count());
                    }
                }
                nextCounts[last] += counts[i];
            }
        }
        keys.swap(nextKeys);
        counts.swap(nextCounts);
    }
}

// The fewest words that hold k^longest, the most strings of one length.
int limbsFor(int width, int longest)
{
    Total most = Total::of(1);
    for (int i = 0; i < longest; ++i)
        most.multiply(quint32(width));
    return most.limb[1] == 0 && most.limb[2] == 0 && most.limb[3] == 0 ? 1 : most.limb[2] == 0 && most.limb[3] == 0 ? 2 : 4;
}

} // namespace

Agreement agreement(const JointGraph &graph, int longest)
{
    const int width = graph.width();
    const int limbs = limbsFor(width, longest);
    const std::optional<std::vector<Total>> agreeing = limbs == 1   ? agreeingCounts<1>(graph, longest)
                                                       : limbs == 2 ? agreeingCounts<2>(graph, longest)
                                                                    : agreeingCounts<4>(graph, longest);
    Agreement result;
    if (!agreeing)
        return result;
    result.counted = true;
    if (width == 0) {
        result.tenths = (*agreeing)[0].limb[0] != 0 ? 1000 : 0;
        return result;
    }

    // The mean share is N / D with N = the sum of agreeing(l) * k^(L - l)
    // (Horner's rule) and D = (L + 1) * k^L, L the longest length; in tenths
    // of a percent, rounded half up, it is the largest r with r * 2D <= 2000 N + D.
    Total sum, denominator = Total::of(quint64(longest) + 1);
    for (int length = 0; length <= longest; ++length) {
        if (length > 0) {
            sum.multiply(quint32(width));
            denominator.multiply(quint32(width));
        }
        sum += (*agreeing)[size_t(length)];
    }
    sum.multiply(2000);
    sum += denominator;
    denominator.multiply(2);
    int low = 0, high = 1000;
    while (low < high) {
        const int middle = (low + high + 1) / 2;
        Total reached = denominator;
        reached.multiply(quint32(middle));
        if (reached <= sum)
            low = middle;
        else
            high = middle - 1;
    }
    result.tenths = low;
    return result;
}

QString Agreement::text() const
{
    if (!counted)
        return QStringLiteral("?");
    return QStringLiteral("%1.%2").arg(tenths / 10).arg(tenths % 10);
}

} // namespace Analysis
