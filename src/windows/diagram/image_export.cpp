#include "windows/diagram/image_export.h"

#include "document/tw_file_save.h"

#include <QBuffer>
#include <QDir>
#include <QGraphicsScene>
#include <QImageWriter>
#include <QPainter>
#include <QSvgGenerator>

#include <cmath>

namespace ImageExport {

namespace {

constexpr qreal metresPerInch = 0.0254;
// An SVG's size in points is kept within what an int holds with room to spare.
constexpr int largestSvgSide = 1 << 24;

// Whole units for a size that may be anything a drawing holds: at least 1 by
// 1 and at most `most` a side, rounded; a side that is not a number is 1.
// (Converting a float past what an int holds is undefined.)
QSize wholeSize(const QSizeF &size, int most)
{
    const auto side = [most](qreal length) {
        return std::isfinite(length) ? int(qBound<qreal>(1, std::round(length), most)) : 1;
    };
    return QSize(side(size.width()), side(size.height()));
}

void render(QGraphicsScene &scene, QPainter &painter, const QRectF &target)
{
    painter.setRenderHints(QPainter::Antialiasing | QPainter::TextAntialiasing | QPainter::SmoothPixmapTransform);
    scene.render(&painter, target, scene.sceneRect(), Qt::KeepAspectRatio);
}

} // namespace

QImage bitmap(QGraphicsScene &scene)
{
    const QSizeF points = scene.sceneRect().size();
    const qreal longest = qMax(points.width(), points.height());
    const qreal scale = longest * pixelsPerPoint > largestSide ? largestSide / longest : pixelsPerPoint;
    const QSize pixels = wholeSize(points * scale, largestSide);

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
    generator.setSize(wholeSize(points, largestSvgSide));
    generator.setViewBox(QRectF(QPointF(0, 0), points));
    QPainter painter(&generator);
    render(scene, painter, QRectF(QPointF(0, 0), points));
    painter.end();
    return bytes;
}

QString save(QGraphicsScene &scene, const QString &path, Format format)
{
    // Made whole in memory first: the PNG writer cannot be stopped cleanly by
    // a write that fails part-way.
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
    return TwFile::saveBytes(path, bytes).failure().message();
}

} // namespace ImageExport
