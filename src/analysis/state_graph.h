#pragma once

#include <QList>
#include <QString>
#include <QStringList>

struct modAll;

// The automaton as a picture of what a run does: one node per state and one edge
// per ordered pair of states, labelled with every symbol that moves the run from
// the first to the second.
//
// Only the symbols a run can read are drawn: when a symbol repeats in the
// alphabet the run looks up the last one, so only that column counts, and a
// symbol that is not exactly one character never matches a character of the
// input. Where a cell is empty, or its target names no state, the run stays
// where it is: those symbols form one edge of their own from the state to
// itself, marked `stay`, beside any transition that leads back to the state.
struct StateGraph
{
    struct Node
    {
        qint16 state = 0;  // 0-based position of the state in the automaton
        QString name;
        bool is_final = false;
    };

    struct Edge
    {
        qint16 from = 0;   // states, as positions in the automaton
        qint16 to = 0;
        bool stay = false; // symbols that keep the run in `from` without a transition
        QStringList symbols; // in alphabet order
    };

    QList<Node> nodes;     // in the automaton's state order
    QList<Edge> edges;     // by source state, then by the first symbol of each edge
    qint16 start = -1;     // the start state, -1 when the run has none to start from
    int stateCount = 0;    // states in the automaton (more than nodes when only a part is drawn)

    bool isPart() const { return nodes.size() < stateCount; }
};

// The whole automaton.
StateGraph stateGraph(const modAll &model);

// The whole automaton's graph one state at a time, for an automaton whose
// graph is too large to hold at once (32,767 states of 1,000 edges each):
// what stateGraph holds, node by node and each state's edges in turn.
class StateGraphWalk
{
public:
    explicit StateGraphWalk(const modAll &model);

    qint16 start() const { return m_start; }
    qint16 stateCount() const { return m_stateCount; }
    StateGraph::Node node(qint16 state) const;
    QList<StateGraph::Edge> edgesFrom(qint16 state) const;

private:
    const modAll &m_model;
    QList<qint16> m_columns;
    qint16 m_start;
    qint16 m_stateCount;
};

// The states a run reaches from the start state in at most `steps` transitions
// (at most `limit` of them, the nearest first), and the edges among them: for an
// automaton too large to draw whole.
StateGraph stateGraphNearStart(const modAll &model, int steps, int limit);
