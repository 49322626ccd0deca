#pragma once

class QWidget;

// A window made of a plain QWidget reads to assistive technology as a pane of
// another window ("filler" through Linux's AT-SPI), which a screen reader does
// not announce as a window. Made in its constructor, a window marked here
// reads as a window (a frame) of its own, its controls within it as before.
void readAsWindow(QWidget &window);
