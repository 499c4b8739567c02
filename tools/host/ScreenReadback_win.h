#pragma once
// Windows only: running a window's messages for a while, and reading back what
// the screen shows of it.

#include "tools/host/ResponsePlot.h"

#include <windows.h>

namespace host {

// Dispatches this thread's messages for the given time.
void PumpMessages(int milliseconds);

// What the screen shows of the window's client area, width x height from its
// top-left corner, read from the screen itself rather than from anything the
// window drew into.
bool ReadScreen(HWND window, int width, int height, RgbImage& image);

}  // namespace host
