#include "analysis/pair_search.h"

#include <numeric>

namespace Analysis {

// Pairs of nodes are visited in the order of the strings that reach them, and
// each pair visited is assumed equivalent by joining its two nodes into one
// set. A pair whose nodes are already in one set is skipped: its equivalence
// follows from pairs visited before. Each visit joins two sets, so at most
// nodeCount - 1 pairs are visited, each trying every character.
//
// The first pair found with different verdicts gives the first counterexample:
// had a shorter or earlier one existed, its path would pass through a skipped
// pair, whose two nodes are linked by a chain of pairs visited before it, by
// strings that come earlier; the rest of the path tells apart two neighbours of
// that chain, giving a counterexample earlier still, which the search would
// have met first.
bool PairSearch::run(const JointGraph &graph, bool untilFirst)
{
    const int nodes = graph.nodeCount();
    m_parent.resize(size_t(nodes));
    std::iota(m_parent.begin(), m_parent.end(), 0);
    m_size.assign(size_t(nodes), 1);
    m_visits.clear();
    m_differing.clear();
    m_steps += quint64(nodes);

    // Visits a pair not known alike; gives whether the search is over.
    const auto visit = [&](const Visit &pair) {
        m_visits.push_back(pair);
        if (graph.verdict(pair.selfNode) != graph.verdict(pair.otherNode)) {
            m_differing.push_back(int(m_visits.size()) - 1);
            if (untilFirst)
                return true;
        }
        join(pair.selfNode, pair.otherNode);
        return false;
    };

    if (visit({graph.selfStart(), graph.otherStart(), -1, -1}))
        return true;
    const int width = graph.width();
    for (size_t done = 0; done < m_visits.size(); ++done) {
        const Visit from = m_visits[done];
        m_steps += quint64(width);
        for (int column = 0; column < width; ++column) {
            const Visit next{graph.next(from.selfNode, column), graph.next(from.otherNode, column), int(done), column};
            if (find(next.selfNode) != find(next.otherNode) && visit(next))
                return true;
        }
    }
    return !m_differing.empty();
}

QString PairSearch::stringTo(const JointGraph &graph, int visit) const
{
    std::vector<int> columns;
    for (const Visit *at = &m_visits[size_t(visit)]; at->column >= 0; at = &m_visits[size_t(at->from)])
        columns.push_back(at->column);
    QString string;
    for (auto column = columns.crbegin(); column != columns.crend(); ++column)
        string += graph.character(*column);
    return string;
}

int PairSearch::find(int node)
{
    while (m_parent[size_t(node)] != node) {
        m_parent[size_t(node)] = m_parent[size_t(m_parent[size_t(node)])];
        node = m_parent[size_t(node)];
    }
    return node;
}

void PairSearch::join(int a, int b)
{
    a = find(a);
    b = find(b);
    if (a == b)
        return;
    if (m_size[size_t(a)] < m_size[size_t(b)])
        std::swap(a, b);
    m_parent[size_t(b)] = a;
    m_size[size_t(a)] += m_size[size_t(b)];
}

} // namespace Analysis
