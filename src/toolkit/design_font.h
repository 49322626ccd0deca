#pragma once

#include <QFont>
#include <QStringList>

// The program's designed face, "MS Sans Serif", at a given point size. Where it is
// not installed, a face of the same widths stands in (Microsoft Sans Serif, Arial,
// or Liberation Sans, which shares Arial's metrics), so the designed control sizes
// still hold their captions; failing those, the system's sans-serif face.
inline QFont designFont(double pointSize, bool bold = false)
{
    QFont font;
    font.setFamilies({QStringLiteral("MS Sans Serif"), QStringLiteral("Microsoft Sans Serif"),
                      QStringLiteral("Arial"), QStringLiteral("Liberation Sans")});
    font.setStyleHint(QFont::SansSerif);
    font.setPointSizeF(pointSize);
    font.setBold(bold);
    return font;
}
