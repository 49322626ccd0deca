#include "windows/diagram/diagram_items.h"

#include "analysis/dot_text.h"

#include <QFontMetricsF>
#include <QPainter>
#include <QStyleOptionGraphicsItem>
#include <QtMath>

namespace {

const QColor ink(0x21, 0x21, 0x21);
const QColor highlightInk(0xe6, 0x51, 0x00);
constexpr qreal lineWidth = 1.2;
constexpr qreal highlightWidth = 2.6;
// Graphviz leaves 4 points between the two circles of a final state, and draws
// an arrowhead 10 points long and 7 wide.
constexpr qreal finalGap = 4;
constexpr qreal arrowLength = 10;
constexpr qreal arrowHalfWidth = 3.5;

struct FillColours
{
    QColor fill;
    QColor border;
};

FillColours coloursOf(StateFill fill)
{
    switch (fill) {
    case StateFill::Current: return {QColor(0xff, 0xe0, 0x82), highlightInk};
    case StateFill::Accepted: return {QColor(0xa5, 0xd6, 0xa7), QColor(0x2e, 0x7d, 0x32)};
    case StateFill::Rejected: return {QColor(0xef, 0x9a, 0x9a), QColor(0xc6, 0x28, 0x28)};
    case StateFill::None: break;
    }
    return {Qt::white, ink};
}

// Below this height on screen a label is unreadable: it is left out, which
// also keeps a large drawing quick to paint.
constexpr qreal smallestReadable = 4;

bool readable(const QStyleOptionGraphicsItem *option, const QPainter *painter, const QFont &font)
{
    return option->levelOfDetailFromTransform(painter->worldTransform()) * font.pixelSize() >= smallestReadable;
}

QFont diagramFont(int size)
{
    QFont font;
    font.setFamilies({QLatin1String(DotText::fontName), QStringLiteral("DejaVu Sans"),
                      QStringLiteral("Liberation Sans"), QStringLiteral("Arial")});
    font.setStyleHint(QFont::SansSerif);
    font.setPixelSize(size); // the scene's units are points
    return font;
}

QPolygonF arrowhead(const QPointF &from, const QPointF &tip)
{
    const QPointF along = tip - from;
    const qreal length = qSqrt(QPointF::dotProduct(along, along));
    if (length <= 0)
        return {};
    const QPointF unit = along / length;
    const QPointF normal(-unit.y(), unit.x());
    const QPointF base = tip - unit * arrowLength;
    return QPolygonF({tip, base + normal * arrowHalfWidth, base - normal * arrowHalfWidth});
}

} // namespace

DiagramFonts::DiagramFonts()
    : state(diagramFont(DotText::stateFontSize))
    , edge(diagramFont(DotText::edgeFontSize))
    , edgeMetrics(edge)
{
}

StateItem::StateItem(const QString &label, bool isFinal, const QSizeF &size, const QFont &font,
                     QGraphicsItem *parent)
    : QGraphicsItem(parent)
    , m_lines(label.split(u'\n'))
    , m_final(isFinal)
    , m_size(size)
    , m_font(font)
{
}

void StateItem::setFill(StateFill fill)
{
    if (fill == m_fill)
        return;
    m_fill = fill;
    update();
}

QRectF StateItem::boundingRect() const
{
    const qreal margin = highlightWidth / 2;
    return QRectF(QPointF(-m_size.width() / 2, -m_size.height() / 2), m_size).adjusted(-margin, -margin, margin, margin);
}

QPainterPath StateItem::shape() const
{
    QPainterPath path;
    path.addEllipse(QRectF(QPointF(-m_size.width() / 2, -m_size.height() / 2), m_size));
    return path;
}

void StateItem::paint(QPainter *painter, const QStyleOptionGraphicsItem *option, QWidget *)
{
    const FillColours colours = coloursOf(m_fill);
    const QRectF outer(QPointF(-m_size.width() / 2, -m_size.height() / 2), m_size);
    painter->setPen(QPen(colours.border, m_fill == StateFill::None ? lineWidth : highlightWidth));
    painter->setBrush(colours.fill);
    painter->drawEllipse(outer);
    if (m_final) {
        painter->setPen(QPen(colours.border, lineWidth));
        painter->setBrush(Qt::NoBrush);
        painter->drawEllipse(outer.adjusted(finalGap, finalGap, -finalGap, -finalGap));
    }
    if (!readable(option, painter, m_font))
        return;
    painter->setPen(ink);
    painter->setFont(m_font);
    painter->drawText(outer, Qt::AlignCenter, m_lines.join(u'\n'));
}

EdgeItem::EdgeItem(const QList<QPointF> &spline, const std::optional<QPointF> &arrowTip, bool dashed,
                   const QString &label, const std::optional<QPointF> &labelCentre, const DiagramFonts &fonts,
                   QGraphicsItem *parent)
    : QGraphicsItem(parent)
    , m_dashed(dashed)
    , m_label(labelCentre ? label : QString())
    , m_font(fonts.edge)
{
    if (!spline.isEmpty()) {
        m_path.moveTo(spline.first());
        for (qsizetype i = 1; i + 2 < spline.size(); i += 3)
            m_path.cubicTo(spline[i], spline[i + 1], spline[i + 2]);
        if (arrowTip)
            m_arrowhead = arrowhead(spline.last(), *arrowTip);
    }
    const qreal margin = highlightWidth;
    m_bounds = m_path.boundingRect().united(m_arrowhead.boundingRect()).adjusted(-margin, -margin, margin, margin);
    if (!m_label.isEmpty()) {
        const QRectF text = fonts.edgeMetrics.boundingRect(QRectF(), Qt::AlignCenter, m_label);
        m_labelRect = QRectF(*labelCentre - QPointF(text.width() / 2, text.height() / 2), text.size());
        m_bounds = m_bounds.united(m_labelRect);
    }
}

void EdgeItem::setHighlighted(bool highlighted)
{
    if (highlighted == m_highlighted)
        return;
    m_highlighted = highlighted;
    update();
}

QRectF EdgeItem::boundingRect() const
{
    return m_bounds;
}

void EdgeItem::paint(QPainter *painter, const QStyleOptionGraphicsItem *option, QWidget *)
{
    const QColor colour = m_highlighted ? highlightInk : ink;
    QPen pen(colour, m_highlighted ? highlightWidth : lineWidth);
    if (m_dashed)
        pen.setDashPattern({4, 3});
    painter->setPen(pen);
    painter->setBrush(Qt::NoBrush);
    painter->drawPath(m_path);
    if (!m_arrowhead.isEmpty()) {
        painter->setPen(QPen(colour, lineWidth, Qt::SolidLine, Qt::RoundCap, Qt::MiterJoin));
        painter->setBrush(colour);
        painter->drawPolygon(m_arrowhead);
    }
    if (!m_label.isEmpty() && readable(option, painter, m_font)) {
        painter->setPen(colour);
        painter->setFont(m_font);
        painter->drawText(m_labelRect, Qt::AlignCenter, m_label);
    }
}
