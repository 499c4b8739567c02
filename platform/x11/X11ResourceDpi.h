#pragma once

struct _XDisplay;

// The screen resolution desktops publish as Xft.dpi in the server's resource
// database (RESOURCE_MANAGER), or 0 when none is set or it is no number.
double ReadXftDpi(_XDisplay* display);
