#include "windows/diagram/diagram_view.h"

#include <QWheelEvent>

namespace {

constexpr qreal zoomStep = 1.25;
constexpr qreal smallestZoom = 0.05;
constexpr qreal largestZoom = 20;
// A small automaton fitted into a large window would show labels a finger high;
// fitting stops at one and a half times the drawing's natural size (a point is
// 4/3 pixel).
constexpr qreal largestFit = 1.5 * 96.0 / 72.0;

} // namespace

DiagramView::DiagramView(QGraphicsScene *scene, QWidget *parent)
    : QGraphicsView(scene, parent)
{
    setRenderHints(QPainter::Antialiasing | QPainter::TextAntialiasing | QPainter::SmoothPixmapTransform);
    setDragMode(QGraphicsView::ScrollHandDrag);
    setTransformationAnchor(QGraphicsView::AnchorUnderMouse);
    setResizeAnchor(QGraphicsView::AnchorViewCenter);
    setViewportUpdateMode(QGraphicsView::SmartViewportUpdate);
    // Every item sets the pen, brush and font it paints with, so the view need
    // not save and restore the painter around each of a few thousand items.
    setOptimizationFlag(QGraphicsView::DontSavePainterState);
    setBackgroundBrush(Qt::white);
}

void DiagramView::zoomIn()
{
    zoomBy(zoomStep);
}

void DiagramView::zoomOut()
{
    zoomBy(1 / zoomStep);
}

void DiagramView::zoomBy(qreal factor)
{
    const qreal wanted = qBound(smallestZoom, zoom() * factor, largestZoom);
    m_fitted = false;
    scale(wanted / zoom(), wanted / zoom());
}

void DiagramView::fitToWindow()
{
    m_fitted = true;
    const QRectF drawing = sceneRect();
    const QSizeF room = viewport()->size();
    if (drawing.isEmpty() || room.isEmpty())
        return;
    const qreal fit = qMin(room.width() / drawing.width(), room.height() / drawing.height());
    const qreal wanted = qBound(smallestZoom, fit, largestFit);
    setTransform(QTransform::fromScale(wanted, wanted));
    centerOn(drawing.center());
}

void DiagramView::wheelEvent(QWheelEvent *event)
{
    if (!(event->modifiers() & Qt::ControlModifier)) {
        QGraphicsView::wheelEvent(event);
        return;
    }
    const int steps = event->angleDelta().y();
    if (steps != 0)
        zoomBy(qPow(zoomStep, steps / 120.0));
    event->accept();
}

void DiagramView::resizeEvent(QResizeEvent *event)
{
    QGraphicsView::resizeEvent(event);
    if (m_fitted)
        fitToWindow();
}
