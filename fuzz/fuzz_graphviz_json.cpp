// Feeds arbitrary bytes to the reader of Graphviz's JSON, which the Diagram
// window draws from. Whatever it accepts must be drawable: every coordinate
// and size finite and within the reader's bound, every size and the bounding
// box not negative, every edge a whole cubic path between nodes it knows. What
// it refuses must say why.

#include "windows/diagram/laid_out_graph.h"

#include <cmath>
#include <cstdint>
#include <cstdlib>

namespace {

// A little past the reader's own bound, which works in points.
constexpr double mostDrawn = 1e6 * 4;

bool drawable(double value)
{
    return std::isfinite(value) && std::abs(value) <= mostDrawn;
}

bool drawable(const QPointF &point)
{
    return drawable(point.x()) && drawable(point.y());
}

void require(bool condition)
{
    if (!condition)
        std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    QString error;
    const std::optional<LaidOutGraph> graph =
        parseGraphvizJson(QByteArray(reinterpret_cast<const char *>(data), qsizetype(size)), error);
    if (!graph) {
        require(!error.isEmpty());
        return 0;
    }
    require(drawable(graph->bounds.topLeft()) && drawable(graph->bounds.bottomRight()));
    require(graph->bounds.width() >= 0 && graph->bounds.height() >= 0);
    for (const LaidOutGraph::Node &node : graph->nodes) {
        require(drawable(node.centre));
        require(drawable(node.size.width()) && drawable(node.size.height()));
        require(node.size.width() >= 0 && node.size.height() >= 0);
    }
    for (const LaidOutGraph::Edge &edge : graph->edges) {
        require(graph->nodes.contains(edge.tail) && graph->nodes.contains(edge.head));
        require(edge.spline.size() >= 4 && (edge.spline.size() - 1) % 3 == 0);
        for (const QPointF &point : edge.spline)
            require(drawable(point));
        require(!edge.arrowTip || drawable(*edge.arrowTip));
        require(!edge.labelCentre || drawable(*edge.labelCentre));
    }
    return 0;
}
