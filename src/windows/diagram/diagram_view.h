#pragma once

#include <QGraphicsView>

// Looks at the diagram: zoom (the wheel with Ctrl, or zoomIn/zoomOut), panning
// by dragging, and fitting the whole drawing into the window. A fitted view
// stays fitted when the window is resized, until the user zooms.
class DiagramView final : public QGraphicsView
{
    Q_OBJECT

public:
    explicit DiagramView(QGraphicsScene *scene, QWidget *parent = nullptr);

    void zoomIn();
    void zoomOut();
    void fitToWindow();
    qreal zoom() const { return transform().m11(); }

protected:
    void wheelEvent(QWheelEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;

private:
    void zoomBy(qreal factor);

    bool m_fitted = true;
};
