#include "analysis/joint_graph.h"

#include "model/characters.h"

namespace Analysis {

JointGraph::JointGraph(const DenseAutomaton &self, const DenseAutomaton &other)
    : m_error(other.stateCount())
{
    std::vector<int> selfColumns, otherColumns; // by joint column: the column in each automaton, -1 when it lacks it
    for (int column = 0; column < self.width(); ++column) {
        m_characters.append(self.character(column));
        selfColumns.push_back(column);
        otherColumns.push_back(other.columnOf(Characters::codePoint(self.character(column))));
    }
    for (int column = 0; column < other.width(); ++column)
        if (self.columnOf(Characters::codePoint(other.character(column))) < 0) {
            m_characters.append(other.character(column));
            selfColumns.push_back(-1);
            otherColumns.push_back(column);
        }
    for (const int column : selfColumns)
        m_selfHas.push_back(column >= 0 ? 1 : 0);

    const size_t columns = size_t(width());
    const int nodes = other.stateCount() + 1 + self.stateCount();
    m_next.assign(size_t(nodes) * columns, m_error);
    m_verdicts.assign(size_t(nodes), Verdict::Error);
    const auto fill = [&](const DenseAutomaton &automaton, const std::vector<int> &own, int firstNode) {
        for (int state = 0; state < automaton.stateCount(); ++state) {
            m_verdicts[size_t(firstNode + state)] = automaton.isFinal(state) ? Verdict::Accepted : Verdict::Rejected;
            int *row = m_next.data() + size_t(firstNode + state) * columns;
            for (size_t column = 0; column < columns; ++column)
                if (own[column] >= 0)
                    row[column] = firstNode + automaton.next(state, own[column]);
        }
    };
    fill(other, otherColumns, 0);
    fill(self, selfColumns, selfNode(0));
    m_otherStart = other.start() == DenseAutomaton::noStart ? m_error : other.start();
    m_selfStart = self.start() == DenseAutomaton::noStart ? m_error : selfNode(self.start());
}

int JointGraph::addSelfState()
{
    const int node = nodeCount();
    m_verdicts.push_back(Verdict::Rejected);
    for (int column = 0; column < width(); ++column)
        m_next.push_back(selfHas(column) ? node : m_error);
    return node;
}

void JointGraph::removeLastSelfState()
{
    m_verdicts.pop_back();
    m_next.resize(m_next.size() - size_t(width()));
}

void JointGraph::addSelfColumn(int column)
{
    m_selfHas[size_t(column)] = 1;
    for (int node = selfNode(0); node < nodeCount(); ++node)
        setNext(node, column, node);
}

void JointGraph::removeSelfColumn(int column)
{
    m_selfHas[size_t(column)] = 0;
    for (int node = selfNode(0); node < nodeCount(); ++node)
        setNext(node, column, m_error);
}

} // namespace Analysis
