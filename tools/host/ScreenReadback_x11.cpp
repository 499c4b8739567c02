#include "tools/host/ScreenReadback_x11.h"

#include <X11/Xutil.h>

#include <chrono>
#include <thread>

namespace host {

namespace {

// One colour channel of a pixel, scaled to eight bits whatever the mask's
// width.
uint32_t Channel(unsigned long pixel, unsigned long mask)
{
  if (mask == 0) return 0;
  int shift = 0;
  while (!(mask & (1ul << shift))) ++shift;
  const unsigned long max = mask >> shift;
  const unsigned long value = (pixel & mask) >> shift;
  return static_cast<uint32_t>((value * 255 + max / 2) / max);
}

}  // namespace

bool WaitViewable(Display* display, Window window, int timeoutMs)
{
  const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
  for (;;)
  {
    XWindowAttributes attributes;
    if (XGetWindowAttributes(display, window, &attributes) && attributes.map_state == IsViewable)
      return true;
    if (std::chrono::steady_clock::now() >= end) return false;
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
  }
}

bool ReadScreen(Display* display, Window window, RgbImage& image, std::string& error)
{
  XWindowAttributes attributes;
  if (!XGetWindowAttributes(display, window, &attributes))
  {
    error = "cannot read the editor window's size";
    return false;
  }
  // Pixels of other visual classes would need a colour map to mean colours.
  const Visual* rootVisual = DefaultVisualOfScreen(attributes.screen);
  if (rootVisual->c_class != TrueColor)
  {
    error = "the screen is not TrueColor: give the X server a 24-bit screen";
    return false;
  }
  const Window root = attributes.root;
  int x = 0, y = 0;
  Window child;
  XTranslateCoordinates(display, window, root, 0, 0, &x, &y, &child);
  const int width = attributes.width, height = attributes.height;
  // A part off the screen would be an X error, which ends the process.
  const Screen* screen = attributes.screen;
  if (x < 0 || y < 0 || x + width > WidthOfScreen(screen) || y + height > HeightOfScreen(screen))
  {
    error = "the editor window is not wholly on the screen";
    return false;
  }

  XImage* shot = XGetImage(display, root, x, y, static_cast<unsigned>(width),
                           static_cast<unsigned>(height), AllPlanes, ZPixmap);
  if (!shot)
  {
    error = "cannot read the editor back from the screen";
    return false;
  }
  image.width = width;
  image.height = height;
  image.pixels.resize(static_cast<size_t>(width) * height);
  for (int row = 0; row < height; ++row)
    for (int col = 0; col < width; ++col)
    {
      const unsigned long p = XGetPixel(shot, col, row);
      image.pixels[static_cast<size_t>(row) * width + col] =
          Channel(p, shot->red_mask) << 16 | Channel(p, shot->green_mask) << 8 |
          Channel(p, shot->blue_mask);
    }
  XDestroyImage(shot);
  return true;
}

}  // namespace host
