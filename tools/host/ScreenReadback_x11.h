#pragma once
// Linux only: waiting for a host window to show, and reading back what the
// screen shows of it.

#include "tools/host/ResponsePlot.h"

#include <X11/Xlib.h>

#include <string>

namespace host {

// Waits until the mapped window is viewable (a window manager may take a
// while to let it show); false after timeoutMs.
bool WaitViewable(Display* display, Window window, int timeoutMs);

// What the screen shows of the window, its whole size from its top-left
// corner, read from the root window at its place: what windows of other
// connections drew into it counts, whatever their visual. False with a
// message when it is not wholly on the screen or cannot be read.
bool ReadScreen(Display* display, Window window, RgbImage& image, std::string& error);

}  // namespace host
