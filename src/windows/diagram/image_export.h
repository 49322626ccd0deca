#pragma once

#include <QByteArray>
#include <QImage>
#include <QString>

class QGraphicsScene;

// The diagram as an image, exactly as drawn (a highlight included).
namespace ImageExport {

enum class Format { Png, Svg };

// Pixels per point of a bitmap: twice the screen's 4/3, so an exported picture
// stays sharp when a course page or a slide scales it up.
inline constexpr qreal pixelsPerPoint = 2 * 96.0 / 72.0;
// No side of a bitmap grows past this; a larger drawing is scaled down to fit.
inline constexpr int largestSide = 8000;

QImage bitmap(QGraphicsScene &scene);
QByteArray svg(QGraphicsScene &scene);

// Writes the diagram to `path` through the one atomic save (TwFile::saveWith),
// so a failure leaves the old file as it was. Returns the reason it could not,
// or an empty text.
QString save(QGraphicsScene &scene, const QString &path, Format format);

} // namespace ImageExport
