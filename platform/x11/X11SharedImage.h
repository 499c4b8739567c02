#pragma once

#include <X11/Xlib.h>
#include <X11/extensions/XShm.h>

#include <memory>

class LICE_SysBitmap;

// A window-sized image in memory the X server shares (MIT-SHM): presenting
// copies the region into it and the server reads it from there, instead of
// receiving every pixel through the connection.
class X11SharedImage
{
public:
  // Null where the server offers no MIT-SHM or cannot attach the memory (a
  // display on another machine); presenting then sends the pixels.
  static std::unique_ptr<X11SharedImage> Create(Display* display, Visual* visual, int width,
                                                int height);
  ~X11SharedImage();

  X11SharedImage(const X11SharedImage&) = delete;
  X11SharedImage& operator=(const X11SharedImage&) = delete;

  // Draws the box of the surface into the window and waits until the server
  // has read it, so the memory is free again. False when the box does not fit.
  bool Put(Window window, GC gc, LICE_SysBitmap& surface, int x, int y, int width, int height);

private:
  explicit X11SharedImage(Display* display);

  Display* mDisplay;
  XImage* mImage = nullptr;
  XShmSegmentInfo mSegment = {};
  bool mAttached = false;
};
