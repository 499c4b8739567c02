#include "platform/x11/X11ResourceDpi.h"

#include <X11/Xlib.h>
#include <X11/Xresource.h>

#include <cmath>
#include <cstdlib>
#include <cstring>

double ReadXftDpi(Display* display)
{
  if (!display) return 0.0;
  // The string belongs to the display; it is what the root window held when
  // the connection opened.
  const char* resources = XResourceManagerString(display);
  if (!resources) return 0.0;
  XrmInitialize();
  XrmDatabase database = XrmGetStringDatabase(resources);
  if (!database) return 0.0;
  double dpi = 0.0;
  char* type = nullptr;
  XrmValue value;
  if (XrmGetResource(database, "Xft.dpi", "Xft.Dpi", &type, &value) && value.addr &&
      type && std::strcmp(type, "String") == 0)
  {
    char* end = nullptr;
    const double parsed = std::strtod(value.addr, &end);
    if (end != value.addr && std::isfinite(parsed) && parsed > 0.0) dpi = parsed;
  }
  XrmDestroyDatabase(database);
  return dpi;
}
