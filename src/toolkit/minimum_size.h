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

// The resize rule of a window with one control: the window keeps an outer size
// of at least `least`, and `control`, at its top-left corner, is `inset` smaller
// than the window's outer size (all in layout units), though never larger than
// the window's inside, so its scroll bars stay in view whatever the frame.
// Nothing changes while the window is minimized.
void fillBelowMinimum(QWidget &window, QWidget &control, const QSize &least, const QSize &inset);
