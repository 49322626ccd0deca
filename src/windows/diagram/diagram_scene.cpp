#include "windows/diagram/diagram_scene.h"

#include "analysis/dot_text.h"
#include "analysis/state_graph.h"
#include "windows/diagram/diagram_items.h"
#include "windows/diagram/laid_out_graph.h"

namespace {

// White space around the drawing, in points, so nothing touches the edge of an
// exported image.
constexpr qreal margin = 12;

// Graphviz may lay out two edges between the same nodes (a transition back to a
// state, and its stays); they are told apart by their dash.
QString laidOutKey(const QString &tail, const QString &head, bool dashed)
{
    return tail + u' ' + head + (dashed ? u'-' : u'+');
}

} // namespace

DiagramScene::DiagramScene(QObject *parent)
    : QGraphicsScene(parent)
{
    setBackgroundBrush(Qt::white);
}

void DiagramScene::draw(const StateGraph &graph, const LaidOutGraph &layout)
{
    clear();
    m_states.clear();
    m_edges.clear();
    m_startArrow = nullptr;
    const DiagramFonts fonts;

    for (const StateGraph::Node &node : graph.nodes) {
        const auto placed = layout.nodes.constFind(DotText::nodeId(node.state));
        if (placed == layout.nodes.constEnd())
            continue;
        auto *item = new StateItem(DotText::stateLabel(node.name), node.is_final, placed->size, fonts.state);
        item->setPos(placed->centre);
        item->setZValue(1); // over the ends of the arrows
        addItem(item);
        m_states.insert(node.state, item);
    }

    // An index of the laid-out edges by their ends keeps a large drawing linear.
    QHash<QString, const LaidOutGraph::Edge *> laidOutEdges;
    for (const LaidOutGraph::Edge &edge : layout.edges)
        laidOutEdges.insert(laidOutKey(edge.tail, edge.head, edge.dashed), &edge);
    for (const StateGraph::Edge &edge : graph.edges) {
        const LaidOutGraph::Edge *placed
            = laidOutEdges.value(laidOutKey(DotText::nodeId(edge.from), DotText::nodeId(edge.to), edge.stay));
        if (!placed)
            continue;
        auto *item = new EdgeItem(placed->spline, placed->arrowTip, edge.stay, DotText::edgeLabel(edge.symbols),
                                  placed->labelCentre, fonts);
        addItem(item);
        m_edges.insert(edgeKey(edge.from, edge.to, edge.stay), item);
    }

    if (graph.start >= 0)
        if (const LaidOutGraph::Edge *placed
            = laidOutEdges.value(laidOutKey(DotText::startId(), DotText::nodeId(graph.start), false))) {
            m_startArrow = new EdgeItem(placed->spline, placed->arrowTip, false, QString(), std::nullopt, fonts);
            addItem(m_startArrow);
        }

    setSceneRect(layout.bounds.united(itemsBoundingRect()).adjusted(-margin, -margin, margin, margin));
}
