#pragma once

#include <QSize>
#include <optional>

class QWidget;

// Holds a resizable window at an outer size (frame included) of at least
// `leastWidth` x `leastHeight` layout units: a smaller size springs back, and
// the window system is told the minimum too, so a drag stops there. Returns
// the window's outer size in layout units afterwards, or nothing while the
// window is minimized, when nothing is done.
std::optional<QSize> keepMinimumOuterSize(QWidget &window, int leastWidth, int leastHeight);
