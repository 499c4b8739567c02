#include "tests/platform/X11Fixture.h"

#include <X11/Xutil.h>
#include <X11/extensions/XTest.h>

X11Session::X11Session()
{
  mDisplay = XOpenDisplay(nullptr);
  int event, error, major, minor;
  if (mDisplay && !XTestQueryExtension(mDisplay, &event, &error, &major, &minor))
  {
    XCloseDisplay(mDisplay);
    mDisplay = nullptr;
  }
}

X11Session::~X11Session()
{
  if (!mDisplay) return;
  for (Window w : mWindows) XDestroyWindow(mDisplay, w);
  // An editor that took the keyboard took it from the pointer; without a
  // window manager to hand it back, the next test would get no keys.
  XSetInputFocus(mDisplay, PointerRoot, RevertToPointerRoot, CurrentTime);
  XCloseDisplay(mDisplay);
}

Window X11Session::NewHostWindow(int width, int height, int depth)
{
  XVisualInfo visual;
  if (!XMatchVisualInfo(mDisplay, DefaultScreen(mDisplay), depth, TrueColor, &visual)) return 0;
  XSetWindowAttributes attributes = {};
  attributes.colormap = XCreateColormap(mDisplay, DefaultRootWindow(mDisplay), visual.visual,
                                        AllocNone);
  attributes.background_pixel = 0xFF202020;
  attributes.event_mask = KeyPressMask | StructureNotifyMask;
  const Window window = XCreateWindow(
      mDisplay, DefaultRootWindow(mDisplay), 0, 0, static_cast<unsigned>(width),
      static_cast<unsigned>(height), 0, depth, InputOutput, visual.visual,
      CWColormap | CWBackPixel | CWBorderPixel | CWEventMask, &attributes);
  XMapRaised(mDisplay, window);
  // Editors open in a window that is on the screen.
  for (XEvent e;;)
  {
    XWindowEvent(mDisplay, window, StructureNotifyMask, &e);
    if (e.type == MapNotify) break;
  }
  mWindows.push_back(window);
  return window;
}

void X11Session::DestroyWindow(Window window)
{
  XDestroyWindow(mDisplay, window);
  Sync();
  for (auto it = mWindows.begin(); it != mWindows.end(); ++it)
    if (*it == window)
    {
      mWindows.erase(it);
      break;
    }
}

std::vector<Window> X11Session::Children(Window parent)
{
  Window root, ofParent, *children = nullptr;
  unsigned count = 0;
  std::vector<Window> result;
  if (XQueryTree(mDisplay, parent, &root, &ofParent, &children, &count))
    result.assign(children, children + count);
  if (children) XFree(children);
  return result;
}

std::vector<KeySym> X11Session::KeysAt(Window window)
{
  Sync();
  std::vector<KeySym> keys;
  XEvent e;
  while (XCheckTypedWindowEvent(mDisplay, window, KeyPress, &e))
    keys.push_back(XLookupKeysym(&e.xkey, 0));
  return keys;
}

void X11Session::MoveTo(Window window, int x, int y)
{
  int rootX, rootY;
  Window child;
  XTranslateCoordinates(mDisplay, window, DefaultRootWindow(mDisplay), x, y, &rootX, &rootY,
                        &child);
  XTestFakeMotionEvent(mDisplay, DefaultScreen(mDisplay), rootX, rootY, CurrentTime);
  Sync();
}

void X11Session::Button(unsigned button, bool down, unsigned long delayMs)
{
  XTestFakeButtonEvent(mDisplay, button, down, delayMs);
  Sync();
}

void X11Session::Click(unsigned button)
{
  Button(button, true);
  Button(button, false);
}

void X11Session::Key(KeySym key, bool down)
{
  XTestFakeKeyEvent(mDisplay, XKeysymToKeycode(mDisplay, key), down, CurrentTime);
  Sync();
}

void X11Session::Sync()
{
  XSync(mDisplay, False);
}

std::vector<uint32_t> X11Session::ReadWindow(Window window, int width, int height)
{
  std::vector<uint32_t> pixels(static_cast<size_t>(width) * static_cast<size_t>(height));
  XImage* image = XGetImage(mDisplay, window, 0, 0, static_cast<unsigned>(width),
                            static_cast<unsigned>(height), AllPlanes, ZPixmap);
  if (!image) return {};
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x)
      pixels[static_cast<size_t>(y) * width + x] = XGetPixel(image, x, y) & 0xFFFFFF;
  XDestroyImage(image);
  return pixels;
}
