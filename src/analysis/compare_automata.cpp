#include "analysis/compare_automata.h"

#include "analysis/dense_automaton.h"
#include "model/characters.h"

#include <numeric>
#include <vector>

namespace Analysis {

namespace {

// Disjoint sets of nodes, with path halving and union by size.
class DisjointSets
{
public:
    explicit DisjointSets(int nodes) : m_parent(size_t(nodes)), m_size(size_t(nodes), 1)
    {
        std::iota(m_parent.begin(), m_parent.end(), 0);
    }

    int find(int node)
    {
        while (m_parent[size_t(node)] != node) {
            m_parent[size_t(node)] = m_parent[size_t(m_parent[size_t(node)])];
            node = m_parent[size_t(node)];
        }
        return node;
    }

    void join(int a, int b)
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

private:
    std::vector<int> m_parent;
    std::vector<int> m_size;
};

// Both automata as one graph over the characters of both alphabets: this
// automaton's states, then the other's, then one node for ERROR, where a
// character the automaton lacks leads and which no character leaves.
class JointGraph
{
public:
    JointGraph(const DenseAutomaton &self, const DenseAutomaton &other)
        : m_self(self)
        , m_other(other)
        , m_error(self.stateCount() + other.stateCount())
    {
        for (int column = 0; column < self.width(); ++column) {
            m_characters.append(self.character(column));
            m_selfColumns.push_back(column);
            m_otherColumns.push_back(other.columnOf(Characters::codePoint(self.character(column))));
        }
        for (int column = 0; column < other.width(); ++column)
            if (self.columnOf(Characters::codePoint(other.character(column))) < 0) {
                m_characters.append(other.character(column));
                m_selfColumns.push_back(-1);
                m_otherColumns.push_back(column);
            }
    }

    int nodeCount() const { return m_error + 1; }
    int width() const { return int(m_characters.size()); }
    const QString &character(int column) const { return m_characters[column]; }
    int selfStart() const { return m_self.start() == DenseAutomaton::noStart ? m_error : m_self.start(); }
    int otherStart() const { return nodeOfOther(m_other.start()); }

    int selfNext(int node, int column) const
    {
        const int own = m_selfColumns[size_t(column)];
        return node == m_error || own < 0 ? m_error : m_self.next(node, own);
    }
    int otherNext(int node, int column) const
    {
        const int own = m_otherColumns[size_t(column)];
        if (node == m_error || own < 0)
            return m_error;
        return nodeOfOther(m_other.next(node - m_self.stateCount(), own));
    }

    Verdict verdict(int node) const
    {
        if (node == m_error)
            return Verdict::Error;
        const int selfStates = m_self.stateCount();
        const bool final = node < selfStates ? m_self.isFinal(node) : m_other.isFinal(node - selfStates);
        return final ? Verdict::Accepted : Verdict::Rejected;
    }

private:
    int nodeOfOther(int state) const
    {
        return state == DenseAutomaton::noStart ? m_error : m_self.stateCount() + state;
    }

    const DenseAutomaton &m_self;
    const DenseAutomaton &m_other;
    const int m_error;
    QList<QString> m_characters;
    std::vector<int> m_selfColumns;  // by joint column: the column in this automaton, -1 when it lacks it
    std::vector<int> m_otherColumns;
};

// The first character of `string` that is not one of the automaton's symbols:
// where its run stops with ERROR. None when every character is one, for then
// only an invalid start state gives ERROR.
QString firstMissing(const QString &string, const DenseAutomaton &automaton)
{
    if (automaton.start() == DenseAutomaton::noStart)
        return {};
    for (qsizetype at = 0; at < string.size();) {
        const QStringView character = Characters::first(QStringView(string).sliced(at));
        if (automaton.columnOf(Characters::codePoint(character)) < 0)
            return character.toString();
        at += character.size();
    }
    return {};
}

} // namespace

// Hopcroft and Karp's check, breadth-first. Pairs of nodes (one from each
// automaton) are visited in the order of the strings that reach them, and each
// pair visited is assumed equivalent by joining its two nodes into one set. A
// pair whose nodes are already in one set is skipped: its equivalence follows
// from pairs visited before. Each visit joins two sets, so at most
// nodeCount - 1 pairs are visited, each trying every character.
//
// The first pair found with different verdicts gives the first counterexample:
// had a shorter or earlier one existed, its path would pass through a skipped
// pair, whose two nodes are linked by a chain of pairs visited before it, by
// strings that come earlier; the rest of the path tells apart two neighbours of
// that chain, giving a counterexample earlier still, which the search would
// have met first.
CompareResult compareAutomata(const modAll &self, const modAll &other)
{
    const DenseAutomaton selfAutomaton(self), otherAutomaton(other);
    const JointGraph graph(selfAutomaton, otherAutomaton);

    struct Visit
    {
        int selfNode;
        int otherNode;
        int from;   // index of the visit it was reached from, -1 for the start
        int column; // the character that led here
    };
    std::vector<Visit> visits;
    DisjointSets sets(graph.nodeCount());
    CompareResult result;

    const auto differs = [&](const Visit &visit) {
        const Verdict a = graph.verdict(visit.selfNode), b = graph.verdict(visit.otherNode);
        if (a == b)
            return false;
        result.equivalent = false;
        result.thisVerdict = a;
        result.otherVerdict = b;
        std::vector<int> columns;
        for (const Visit *at = &visit; at->column >= 0; at = &visits[size_t(at->from)])
            columns.push_back(at->column);
        for (auto column = columns.crbegin(); column != columns.crend(); ++column)
            result.counterexample += graph.character(*column);
        if (a == Verdict::Error)
            result.thisStoppedAt = firstMissing(result.counterexample, selfAutomaton);
        if (b == Verdict::Error)
            result.otherStoppedAt = firstMissing(result.counterexample, otherAutomaton);
        return true;
    };

    const Visit start{graph.selfStart(), graph.otherStart(), -1, -1};
    if (differs(start))
        return result;
    sets.join(start.selfNode, start.otherNode);
    visits.push_back(start);
    for (size_t done = 0; done < visits.size(); ++done) {
        for (int column = 0; column < graph.width(); ++column) {
            const Visit next{graph.selfNext(visits[done].selfNode, column),
                             graph.otherNext(visits[done].otherNode, column), int(done), column};
            if (sets.find(next.selfNode) == sets.find(next.otherNode))
                continue;
            if (differs(next))
                return result;
            sets.join(next.selfNode, next.otherNode);
            visits.push_back(next);
        }
    }
    return result;
}

QString CompareResult::errorReason(Verdict verdict, const QString &stoppedAt, const Escape &escape)
{
    if (verdict != Verdict::Error)
        return {};
    return stoppedAt.isEmpty() ? RunTexts::invalidStartState() : RunTexts::invalidAlphabet(escape(stoppedAt));
}

QString CompareResult::text(const Escape &escape) const
{
    if (equivalent)
        return QStringLiteral("equivalent");
    return shown(counterexample, escape) + QStringLiteral("  this: ") + verdictText(thisVerdict)
           + QStringLiteral("  other: ") + verdictText(otherVerdict);
}

} // namespace Analysis
