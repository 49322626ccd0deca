#include "windows/diagram/laid_out_graph.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <cmath>

namespace {

constexpr double pointsPerInch = 72;

// Graphviz's numbers are trusted no further than this, in points: some 350
// metres, far past any layout of the states drawn, and well inside what a
// scene, an image and an int can hold. Anything else (nan, inf, 1e308) is a
// fault of the layout program.
constexpr double largestCoordinate = 1e6;

// The number `text` holds, when it can be drawn: finite and within reach.
std::optional<double> drawable(QStringView text)
{
    bool ok = false;
    const double value = text.trimmed().toDouble(&ok);
    if (!ok || !std::isfinite(value) || std::abs(value) > largestCoordinate)
        return std::nullopt;
    return value;
}

// A size: as drawable, and not negative.
std::optional<double> drawableSize(QStringView text, double unit)
{
    const std::optional<double> value = drawable(text);
    if (!value || *value < 0 || *value * unit > largestCoordinate)
        return std::nullopt;
    return *value * unit;
}

// Graphviz writes its coordinates as text: "x,y" for a point, "llx,lly,urx,ury"
// for a box. Its y axis grows upwards, from the bottom of the bounding box.
class Coordinates
{
public:
    explicit Coordinates(double top)
        : m_top(top)
    {
    }

    std::optional<QPointF> point(QStringView text) const
    {
        const qsizetype comma = text.indexOf(u',');
        if (comma < 0)
            return std::nullopt;
        const std::optional<double> x = drawable(text.first(comma));
        const std::optional<double> y = drawable(text.sliced(comma + 1));
        if (!x || !y)
            return std::nullopt;
        return QPointF(*x, m_top - *y);
    }

private:
    double m_top;
};

// The box must be one: its corners in order, so its width and height are sizes.
std::optional<QRectF> boundingBox(const QString &text)
{
    const QStringList parts = text.split(u',');
    if (parts.size() != 4)
        return std::nullopt;
    double values[4];
    for (int i = 0; i < 4; ++i) {
        const std::optional<double> value = drawable(parts[i]);
        if (!value)
            return std::nullopt;
        values[i] = *value;
    }
    if (values[2] < values[0] || values[3] < values[1])
        return std::nullopt;
    return QRectF(QPointF(values[0], values[1]), QPointF(values[2], values[3]));
}

// An edge's "pos": "e,x,y" (the arrowhead's tip) and "s,x,y" (a tail arrow)
// before the spline's points; several splines are separated by ';' and only
// the first is drawn, since an automaton's edges are never split.
bool readSpline(const QString &pos, const Coordinates &at, LaidOutGraph::Edge &edge)
{
    const QString first = pos.section(u';', 0, 0);
    const QStringList tokens = first.split(u' ', Qt::SkipEmptyParts);
    for (const QString &token : tokens) {
        if (token.startsWith(QLatin1String("e,"))) {
            edge.arrowTip = at.point(QStringView(token).sliced(2));
            if (!edge.arrowTip)
                return false;
        } else if (token.startsWith(QLatin1String("s,"))) {
            if (!at.point(QStringView(token).sliced(2)))
                return false;
        } else {
            const std::optional<QPointF> point = at.point(token);
            if (!point)
                return false;
            edge.spline.append(*point);
        }
    }
    return edge.spline.size() >= 4 && (edge.spline.size() - 1) % 3 == 0;
}

} // namespace

std::optional<LaidOutGraph> parseGraphvizJson(const QByteArray &json, QString &error)
{
    QJsonParseError parseError;
    const QJsonDocument document = QJsonDocument::fromJson(json, &parseError);
    if (document.isNull()) {
        error = QStringLiteral("its output is not JSON (%1 at byte %2)")
                    .arg(parseError.errorString())
                    .arg(parseError.offset);
        return std::nullopt;
    }
    const QJsonObject root = document.object();
    const std::optional<QRectF> box = boundingBox(root.value(QLatin1String("bb")).toString());
    if (!box) {
        error = QStringLiteral("its output has no bounding box that can be drawn");
        return std::nullopt;
    }

    LaidOutGraph graph;
    const Coordinates at(box->bottom());
    graph.bounds = QRectF(box->left(), 0, box->width(), box->height());

    // Edges name their ends by the nodes' _gvid numbers.
    QHash<int, QString> namesById;
    const QJsonArray objects = root.value(QLatin1String("objects")).toArray();
    for (const QJsonValue &value : objects) {
        const QJsonObject object = value.toObject();
        const QString name = object.value(QLatin1String("name")).toString();
        const QJsonValue pos = object.value(QLatin1String("pos"));
        if (pos.isUndefined())
            continue; // a subgraph
        const std::optional<QPointF> centre = at.point(pos.toString());
        const std::optional<double> width = drawableSize(object.value(QLatin1String("width")).toString(), pointsPerInch);
        const std::optional<double> height = drawableSize(object.value(QLatin1String("height")).toString(), pointsPerInch);
        if (!centre || !width || !height) {
            error = QStringLiteral("its output places node %1 nowhere it can be drawn").arg(name.left(40));
            return std::nullopt;
        }
        graph.nodes.insert(name, {*centre, QSizeF(*width, *height)});
        namesById.insert(object.value(QLatin1String("_gvid")).toInt(-1), name);
    }

    const QJsonArray edges = root.value(QLatin1String("edges")).toArray();
    for (const QJsonValue &value : edges) {
        const QJsonObject object = value.toObject();
        LaidOutGraph::Edge edge;
        edge.tail = namesById.value(object.value(QLatin1String("tail")).toInt(-1));
        edge.head = namesById.value(object.value(QLatin1String("head")).toInt(-1));
        edge.dashed = object.value(QLatin1String("style")).toString().contains(QLatin1String("dashed"));
        const QJsonValue labelPos = object.value(QLatin1String("lp"));
        if (!labelPos.isUndefined())
            edge.labelCentre = at.point(labelPos.toString());
        if (edge.tail.isEmpty() || edge.head.isEmpty()
            || !readSpline(object.value(QLatin1String("pos")).toString(), at, edge)
            || (!labelPos.isUndefined() && !edge.labelCentre)) {
            error = QStringLiteral("its output has an edge it does not place where it can be drawn");
            return std::nullopt;
        }
        graph.edges.append(edge);
    }
    return graph;
}
