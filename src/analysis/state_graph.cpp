#include "analysis/state_graph.h"

#include "model/characters.h"
#include "model/lookup.h"
#include "model/mod_all.h"
#include "run/run_steps.h"

#include <QHash>
#include <QSet>

namespace {

qint16 drawnStateCount(const modAll &model)
{
    return qint16(qBound(qsizetype(0), qsizetype(model.state_count), model.states.size()));
}

// The alphabet columns a run can read, in alphabet order: each one-character
// symbol at the position findSymbol finds it.
QList<qint16> readableColumns(const modAll &model)
{
    const qsizetype count = qBound(qsizetype(0), qsizetype(model.symbol_count), model.symbols.size());
    const SymbolIndex index(model);
    QList<qint16> columns;
    for (qsizetype i = 0; i < count; ++i)
        if (Characters::isOne(model.symbols[i]) && index.find(model.symbols[i]) == i + 1)
            columns.append(qint16(i));
    return columns;
}

// The edges out of `state`, one per target and one for the stays, in the order
// of their first symbol; `keep` says which targets are drawn.
template <typename Keep>
void appendEdgesFrom(const modAll &model, qint16 state, const QList<qint16> &columns, Keep &&keep,
                     QList<StateGraph::Edge> &edges)
{
    QHash<qint16, qsizetype> byTarget; // target state, or -1 for the stays
    for (const qint16 column : columns) {
        qint16 target = state;
        const bool moved = RunSteps::follow(model, target, column);
        if (moved && !keep(target))
            continue;
        const qint16 key = moved ? target : qint16(-1);
        auto found = byTarget.constFind(key);
        if (found == byTarget.constEnd()) {
            found = byTarget.insert(key, edges.size());
            edges.append({state, target, !moved, {}});
        }
        edges[*found].symbols.append(model.symbols[column]);
    }
}

StateGraph::Node nodeOf(const modAll &model, qint16 state)
{
    return {state, model.states[state].name, model.states[state].is_final};
}

qint16 startOf(const modAll &model)
{
    return model.isState(model.start_state) ? model.start_state : qint16(-1);
}

} // namespace

StateGraphWalk::StateGraphWalk(const modAll &model)
    : m_model(model)
    , m_columns(readableColumns(model))
    , m_start(startOf(model))
    , m_stateCount(drawnStateCount(model))
{
}

StateGraph::Node StateGraphWalk::node(qint16 state) const
{
    return nodeOf(m_model, state);
}

QList<StateGraph::Edge> StateGraphWalk::edgesFrom(qint16 state) const
{
    QList<StateGraph::Edge> edges;
    appendEdgesFrom(m_model, state, m_columns, [](qint16) { return true; }, edges);
    return edges;
}

StateGraph stateGraph(const modAll &model)
{
    const StateGraphWalk walk(model);
    StateGraph graph;
    graph.stateCount = walk.stateCount();
    graph.start = walk.start();
    for (qint16 state = 0; state < graph.stateCount; ++state) {
        graph.nodes.append(walk.node(state));
        graph.edges.append(walk.edgesFrom(state));
    }
    return graph;
}

StateGraph stateGraphNearStart(const modAll &model, int steps, int limit)
{
    StateGraph graph;
    graph.stateCount = drawnStateCount(model);
    graph.start = startOf(model);
    if (graph.start < 0 || limit < 1)
        return graph;

    // Breadth first from the start state, so a limit keeps the nearest states.
    const QList<qint16> columns = readableColumns(model);
    QSet<qint16> chosen{graph.start};
    QList<qint16> frontier{graph.start};
    for (int depth = 0; depth < steps && !frontier.isEmpty(); ++depth) {
        QList<qint16> next;
        for (const qint16 state : std::as_const(frontier))
            for (const qint16 column : columns) {
                qint16 target = state;
                if (RunSteps::follow(model, target, column) && chosen.size() < limit && !chosen.contains(target)) {
                    chosen.insert(target);
                    next.append(target);
                }
            }
        frontier = next;
    }

    const auto keep = [&chosen](qint16 target) { return chosen.contains(target); };
    for (qint16 state = 0; state < graph.stateCount; ++state)
        if (chosen.contains(state)) {
            graph.nodes.append(nodeOf(model, state));
            appendEdgesFrom(model, state, columns, keep, graph.edges);
        }
    return graph;
}
