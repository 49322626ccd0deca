#pragma once

#include <QFont>
#include <QFontMetricsF>
#include <QGraphicsItem>
#include <QPainterPath>
#include <QStringList>

// The pieces of a drawn automaton. Each paints itself from the geometry the
// layout gave it; a highlight is a property the item paints with, so following
// a run never lays anything out again.

// How a state is filled: by the run's highlight, or not at all.
enum class StateFill { None, Current, Accepted, Rejected };

// The faces the diagram is drawn in: the same sans-serif face Graphviz measured
// the labels with, in points, which are the scene's units. Made once per drawing:
// resolving a font for each of a thousand labels would cost more than the rest.
struct DiagramFonts
{
    DiagramFonts();

    QFont state;
    QFont edge;
    QFontMetricsF edgeMetrics;
};

// A state: its circle (two for a final state) and its name, centred on pos().
class StateItem final : public QGraphicsItem
{
public:
    StateItem(const QString &label, bool isFinal, const QSizeF &size, const QFont &font,
              QGraphicsItem *parent = nullptr);

    bool isFinal() const { return m_final; }
    QString label() const { return m_lines.join(u'\n'); }
    StateFill fill() const { return m_fill; }
    void setFill(StateFill fill);

    QRectF boundingRect() const override;
    QPainterPath shape() const override;
    void paint(QPainter *painter, const QStyleOptionGraphicsItem *option, QWidget *widget) override;

private:
    QStringList m_lines;
    bool m_final;
    QSizeF m_size;
    QFont m_font;
    StateFill m_fill = StateFill::None;
};

// An arrow: a transition with its label, a stay (dashed), or the start arrow
// (no label). Drawn at the coordinates of the layout; pos() stays at the origin.
class EdgeItem final : public QGraphicsItem
{
public:
    EdgeItem(const QList<QPointF> &spline, const std::optional<QPointF> &arrowTip, bool dashed,
             const QString &label, const std::optional<QPointF> &labelCentre, const DiagramFonts &fonts,
             QGraphicsItem *parent = nullptr);

    bool isDashed() const { return m_dashed; }
    QString label() const { return m_label; }
    bool isHighlighted() const { return m_highlighted; }
    void setHighlighted(bool highlighted);

    QRectF boundingRect() const override;
    void paint(QPainter *painter, const QStyleOptionGraphicsItem *option, QWidget *widget) override;

private:
    QPainterPath m_path;
    QPolygonF m_arrowhead;
    bool m_dashed;
    QString m_label;
    QRectF m_labelRect;
    QFont m_font;
    QRectF m_bounds;
    bool m_highlighted = false;
};
