#include "windows/diagram/image_export.h"

#include <QBuffer>
#include <QDir>
#include <QGraphicsScene>
#include <QImageWriter>
#include <QPainter>
#include <QSaveFile>
#include <QSvgGenerator>

namespace ImageExport {

namespace {

constexpr qreal metresPerInch = 0.0254;

void render(QGraphicsScene &scene, QPainter &painter, const QRectF &target)
{
    painter.setRenderHints(QPainter::Antialiasing | QPainter::TextAntialiasing | QPainter::SmoothPixmapTransform);
    scene.render(&painter, target, scene.sceneRect(), Qt::KeepAspectRatio);
}

} // namespace

QImage bitmap(QGraphicsScene &scene)
{
    const QSizeF points = scene.sceneRect().size();
    qreal scale = pixelsPerPoint;
    const qreal longest = qMax(points.width(), points.height()) * scale;
    if (longest > largestSide)
        scale *= largestSide / longest;
    const QSize pixels = (points * scale).toSize().expandedTo(QSize(1, 1));

    QImage image(pixels, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::white);
    // Printed at the drawing's natural size: a point is still 1/72 inch.
    const int dotsPerMetre = qRound(scale * 72 / metresPerInch);
    image.setDotsPerMeterX(dotsPerMetre);
    image.setDotsPerMeterY(dotsPerMetre);
    QPainter painter(&image);
    render(scene, painter, QRectF(QPointF(0, 0), pixels));
    return image;
}

QByteArray svg(QGraphicsScene &scene)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    const QSizeF points = scene.sceneRect().size();
    QSvgGenerator generator;
    generator.setOutputDevice(&buffer);
    generator.setTitle(QStringLiteral("Diagram"));
    generator.setResolution(72); // one unit of the SVG is one point
    generator.setSize(points.toSize());
    generator.setViewBox(QRectF(QPointF(0, 0), points));
    QPainter painter(&generator);
    render(scene, painter, QRectF(QPointF(0, 0), points));
    painter.end();
    return bytes;
}

QString save(QGraphicsScene &scene, const QString &path, Format format)
{
    QByteArray bytes;
    if (format == Format::Svg) {
        bytes = svg(scene);
    } else {
        QBuffer buffer(&bytes);
        buffer.open(QIODevice::WriteOnly);
        QImageWriter writer(&buffer, "png");
        if (!writer.write(bitmap(scene)))
            return writer.errorString();
    }

    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return file.errorString();
    if (file.write(bytes) != bytes.size() || !file.commit())
        return file.errorString();
    return QString();
}

} // namespace ImageExport
