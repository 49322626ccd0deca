#pragma once

#include <QRect>
#include <QString>
#include <QtMath>

// Window geometry is designed in layout units of 1/1440 inch. Qt measures in
// device-independent pixels of 1/96 inch, so one pixel is 15 units whatever the
// screen's real density; Qt scales for high-density screens by itself.
namespace LayoutUnits {

inline constexpr int perPixel = 15;

inline int toPixels(int units) { return qRound(double(units) / perPixel); }
inline int fromPixels(int pixels) { return pixels * perPixel; }

// A control's place as designed: left, top, width, height in layout units.
inline QRect toPixels(const QRect &units)
{
    return QRect(toPixels(units.left()), toPixels(units.top()), toPixels(units.width()), toPixels(units.height()));
}

} // namespace LayoutUnits

// Every control of the program is placed here: under its established name (the
// object name tests find it by), at its designed place in layout units.
template <typename Control>
Control *placed(Control *control, const QString &name, const QRect &units)
{
    control->setObjectName(name);
    control->setGeometry(LayoutUnits::toPixels(units));
    return control;
}
