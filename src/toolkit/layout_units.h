#pragma once

#include <QRect>
#include <QtMath>

// Window geometry is designed in layout units of 1/1440 inch. Qt measures in
// device-independent pixels of 1/96 inch, so one pixel is 15 units whatever the
// screen's real density; Qt scales for high-density screens by itself.
namespace LayoutUnits {

inline constexpr int perPixel = 15;

inline int toPixels(int units) { return qRound(double(units) / perPixel); }
inline int fromPixels(int pixels) { return pixels * perPixel; }

// A control's place as designed: left, top, width, height in layout units.
inline QRect toPixels(int left, int top, int width, int height)
{
    return QRect(toPixels(left), toPixels(top), toPixels(width), toPixels(height));
}

inline QRect toPixels(const QRect &units)
{
    return toPixels(units.left(), units.top(), units.width(), units.height());
}

} // namespace LayoutUnits
