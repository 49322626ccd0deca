#pragma once

#include <QList>
#include <QRect>
#include <QSize>
#include <QString>

class QWidget;

// Where the windows that open beside the main window go (the Diagram, Test
// Strings, the Tools menu's reports, the guide): never over the main window's
// menus and fields while the screen has room elsewhere, and where the user
// left them the last time. Window systems without a window manager place a new
// window at the screen's corner, over the main window, so the program places
// each one itself.
namespace WindowPlaces {

// Between a window and the main window, in pixels.
inline constexpr int gap = 8;

// The outer rectangle of a window of outer size `wanted` beside the main
// window's outer rectangle `main`, on the free area `screen` of its screen:
// to the right of the main window where it fits, else to its left, else below
// it, level with the main window's top (or left) edge as far as the screen
// allows. It goes first where it covers none of the `open` windows, then
// anywhere beside. Where it fits on no side, it is made smaller, down to
// `least`, to fit the side with the most room. On a screen too small even for
// that, it goes on the screen as far to the right of the main window as the
// screen allows.
QRect beside(const QRect &main, const QSize &wanted, const QSize &least, const QRect &screen,
             const QList<QRect> &open = {});

// Keeps `window`, a window of its own owned by `main`, beside the main window.
// Each time it is shown it goes where it was when it was last hidden, at that
// size (a place remembered under `key` in the program's settings, so also at
// the next start of the program), unless that place would now cover the main
// window or is not wholly on a screen: then beside the main window, at the
// remembered size as far as there is room. Only the place and the size are
// kept, and only while the window is neither maximized nor minimized.
void keepBeside(QWidget &window, const QString &key, QWidget &main);

// What keepBeside() remembers of the window kept under `key`: its outer
// top-left corner and its inside size; empty when nothing is remembered.
QRect remembered(const QString &key);

} // namespace WindowPlaces
