#pragma once

#include "analysis/dense_automaton.h"
#include "analysis/verdict.h"

#include <QList>
#include <QString>
#include <vector>

namespace Analysis {

// Two automata, "this" one and the other, as one table over the characters of
// both alphabets: this automaton's characters in its order, then the other's
// characters this one lacks. A character an automaton lacks leads its states
// to one node for ERROR, which no character leaves; a start state that is no
// state is that node too.
//
// The nodes are the other's states, then ERROR, then this automaton's states,
// so that grading can add states to this one at the end. Grading edits this
// automaton in place, in the table every comparison reads, so that trying an
// edit costs no copy.
class JointGraph
{
public:
    JointGraph(const DenseAutomaton &self, const DenseAutomaton &other);

    int nodeCount() const { return int(m_verdicts.size()); }
    int width() const { return int(m_characters.size()); }
    const QString &character(int column) const { return m_characters[column]; }

    int error() const { return m_error; }
    int selfStart() const { return m_selfStart; }
    int otherStart() const { return m_otherStart; }
    int selfStateCount() const { return nodeCount() - m_error - 1; }
    int selfNode(int state) const { return m_error + 1 + state; }
    int selfState(int node) const { return node - m_error - 1; }
    bool isSelf(int node) const { return node > m_error; }
    // Whether this automaton has a symbol for the column.
    bool selfHas(int column) const { return m_selfHas[size_t(column)] != 0; }

    int next(int node, int column) const { return m_next[size_t(node) * size_t(width()) + size_t(column)]; }
    // The next nodes of `node` by column.
    const int *row(int node) const { return m_next.data() + size_t(node) * size_t(width()); }
    Verdict verdict(int node) const { return m_verdicts[size_t(node)]; }

    // Edits of this automaton.
    void setNext(int node, int column, int target) { m_next[size_t(node) * size_t(width()) + size_t(column)] = target; }
    void setFinal(int node, bool final) { m_verdicts[size_t(node)] = final ? Verdict::Accepted : Verdict::Rejected; }
    void setSelfStart(int node) { m_selfStart = node; }
    // A new state at the end: not final, and every column this automaton has
    // keeps it where it is, as empty cells do. Gives its node.
    int addSelfState();
    void removeLastSelfState();
    // The column of a character this automaton lacks becomes one of its own,
    // every cell empty: each of its states stays where it is.
    void addSelfColumn(int column);
    void removeSelfColumn(int column);

private:
    int m_error;
    int m_selfStart;
    int m_otherStart;
    QList<QString> m_characters;   // by column
    std::vector<char> m_selfHas;   // by column
    std::vector<int> m_next;       // [node * width + column] -> node
    std::vector<Verdict> m_verdicts; // by node
};

} // namespace Analysis
