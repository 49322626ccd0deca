#pragma once

#include <QFont>

// The program's designed face, "MS Sans Serif", at a given point size. Where the
// face is not installed Qt substitutes the system's sans-serif face.
inline QFont designFont(double pointSize, bool bold = false)
{
    QFont font(QStringLiteral("MS Sans Serif"));
    font.setStyleHint(QFont::SansSerif);
    font.setPointSizeF(pointSize);
    font.setBold(bold);
    return font;
}
