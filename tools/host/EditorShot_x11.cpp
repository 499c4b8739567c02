// The host's side of an editor on Linux: a top-level X window sized to the
// view, the plug frame that is also the run loop the editor draws from, and
// a screen read-back.
#include "tools/host/EditorShot.h"

#include "tools/host/RunLoop_linux.h"

#include "pluginterfaces/gui/iplugview.h"

#include "tools/host/ScreenReadback_x11.h"

#include <X11/extensions/XTest.h>

#include <cstdint>

namespace host {

namespace {

constexpr int kShowTimeoutMs = 2000;

// The host window, mapped and viewable, or null with a message.
Window OpenHostWindow(Display* display, int width, int height, std::string& error)
{
  const int screen = DefaultScreen(display);
  const Window window = XCreateSimpleWindow(
      display, RootWindow(display, screen), 0, 0, static_cast<unsigned>(width),
      static_cast<unsigned>(height), 0, BlackPixel(display, screen), BlackPixel(display, screen));
  XStoreName(display, window, "Morvex");
  XMapWindow(display, window);
  XSync(display, False);
  if (!WaitViewable(display, window, kShowTimeoutMs))
  {
    XDestroyWindow(display, window);
    error = "the editor's window never showed";
    return 0;
  }
  return window;
}

// The pointer to a point of the window, and a button, through XTEST: the
// server makes the events, as for a user's mouse.
void PointerTo(Display* display, Window window, int x, int y)
{
  int rootX = 0, rootY = 0;
  Window child;
  XTranslateCoordinates(display, window, DefaultRootWindow(display), x, y, &rootX, &rootY, &child);
  XTestFakeMotionEvent(display, DefaultScreen(display), rootX, rootY, CurrentTime);
  XSync(display, False);
}

void LeftButton(Display* display, bool down)
{
  XTestFakeButtonEvent(display, 1, down ? True : False, CurrentTime);
  XSync(display, False);
}

}  // namespace

bool CaptureEditor(Steinberg::Vst::IEditController* controller, const EditorShotOptions& options,
                   RgbImage& image, std::string& error)
{
  Steinberg::ViewRect size;
  Steinberg::IPlugView* view = CreateEditorView(controller, Steinberg::kPlatformTypeX11EmbedWindowID,
                                                "an X window", options.scale, size, error);
  if (!view) return false;

  Display* display = XOpenDisplay(nullptr);
  if (!display)
  {
    view->release();
    error = "no X display: run under xvfb-run";
    return false;
  }
  const Window window = OpenHostWindow(display, size.getWidth(), size.getHeight(), error);
  if (!window)
  {
    view->release();
    XCloseDisplay(display);
    return false;
  }

  // The editor asks through the frame to be resized; the host window follows
  // before the view hears its new size.
  RunLoopFrame frame;
  frame.OnResize([display, window](int width, int height) {
    if (width <= 0 || height <= 0) return false;
    XResizeWindow(display, window, static_cast<unsigned>(width), static_cast<unsigned>(height));
    XSync(display, False);
    return true;
  });
  view->setFrame(&frame);
  void* parent = reinterpret_cast<void*>(static_cast<uintptr_t>(window));
  bool ok = view->attached(parent, Steinberg::kPlatformTypeX11EmbedWindowID) == Steinberg::kResultOk;
  if (!ok) error = "the plug-in's editor did not open";
  if (ok)
  {
    XSync(display, False);
    frame.Run(options.settleMs);
    if (options.rescale > 0.0)
    {
      ok = SetContentScale(view, options.rescale, error);
      frame.Run(options.settleMs);
    }
    int xtestEvent = 0, xtestError = 0, xtestMajor = 0, xtestMinor = 0;
    if (ok && options.drag &&
        !XTestQueryExtension(display, &xtestEvent, &xtestError, &xtestMajor, &xtestMinor))
    {
      ok = false;
      error = "the X display has no XTEST to drag with";
    }
    if (ok && options.drag)
    {
      PointerTo(display, window, options.dragX, options.dragY);
      frame.Run(60);
      LeftButton(display, true);
      frame.Run(60);
      const int steps = options.dragDy < 0 ? -options.dragDy : options.dragDy;
      for (int i = 1; i <= steps; ++i)
      {
        PointerTo(display, window, options.dragX, options.dragY + (options.dragDy < 0 ? -i : i));
        frame.Run(5);
      }
      frame.Run(options.settleMs);
    }
    if (ok) ok = ReadScreen(display, window, image, error);
    if (ok && options.drag)
    {
      LeftButton(display, false);
      frame.Run(60);
    }
    view->removed();
  }
  view->setFrame(nullptr);
  view->release();
  XDestroyWindow(display, window);
  XCloseDisplay(display);
  return ok;
}

}  // namespace host
