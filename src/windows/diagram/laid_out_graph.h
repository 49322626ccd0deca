#pragma once

#include <QByteArray>
#include <QHash>
#include <QList>
#include <QPointF>
#include <QRectF>
#include <QString>
#include <optional>

// Where Graphviz put each node and edge, in points (1/72 inch) with y growing
// downwards, as a scene draws them. Nodes and edges are known by the ids the DOT
// text gave them (s0, s1, ..., start), never by what they show.
struct LaidOutGraph
{
    struct Node
    {
        QPointF centre;
        QSizeF size;           // the outer circle's width and height
    };

    struct Edge
    {
        QString tail;          // node ids
        QString head;
        bool dashed = false;
        QList<QPointF> spline; // a cubic Bezier path: a start point, then three points per segment
        std::optional<QPointF> arrowTip; // where the arrowhead ends, past the spline's end
        std::optional<QPointF> labelCentre;
    };

    QRectF bounds;
    QHash<QString, Node> nodes;
    QList<Edge> edges;
};

// Reads Graphviz's JSON output (-Tjson or -Tjson0), trusting none of it: every
// number must be finite and within a million points, and every size and the
// bounding box not negative, or nothing is drawn. On a fault, returns nothing
// and says what is wrong in `error`.
std::optional<LaidOutGraph> parseGraphvizJson(const QByteArray &json, QString &error);
