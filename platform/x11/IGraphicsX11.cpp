// The editor window's life: opening it in the host's window, closing it,
// presenting the drawing surface, and the module's pictures.
#include "platform/x11/IGraphicsX11.h"

#include "framework/UnloadList.h"
#include "platform/x11/ModulePictures.h"
#include "platform/x11/X11ErrorTrap.h"
#include "platform/x11/X11ResourceDpi.h"
#include "platform/x11/X11SharedImage.h"
#include "raster/LICE_MemBitmap.h"
#include "raster/LICE_PNG.h"
#include "raster/LICE_PNGResource.h"
#include "raster/LICE_PNGRows.h"
#include "raster/LICE_SysBitmap.h"

#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include <cstdint>

namespace
{
constexpr long kEventMask = ExposureMask | ButtonPressMask | ButtonReleaseMask | PointerMotionMask |
                            LeaveWindowMask | KeyPressMask | StructureNotifyMask;

// _XEMBED_INFO: protocol version 0, and the embedder is to show the window.
constexpr long kXEmbedVersion = 0;
constexpr long kXEmbedMapped = 1 << 0;

// The drawing surface's 32-bit BGRA rows are a 24-bit TrueColor pixel each
// on a little-endian machine; Xlib swaps them for a server that differs.
bool FindSurfaceVisual(Display* display, int screen, XVisualInfo& info)
{
  return XMatchVisualInfo(display, screen, 24, TrueColor, &info) &&
         info.red_mask == 0xFF0000 && info.green_mask == 0x00FF00 && info.blue_mask == 0x0000FF;
}

// The editors whose windows are open: a host that unloads the module with an
// editor still open must not be left with a window whose code is gone.
UnloadList<IGraphicsX11> gOpenEditors([](IGraphicsX11* editor) { editor->CloseWindow(); });
}  // namespace

IGraphicsX11::IGraphicsX11(IPlugBase* plug, int width, int height, int fps)
  : IGraphics(plug, width, height, fps), mPacer(1000 / (fps > 0 ? fps : kDefaultFps))
{
}

IGraphicsX11::~IGraphicsX11()
{
  CloseWindow();
}

void* IGraphicsX11::GetWindowHandle()
{
  return mWindow ? reinterpret_cast<void*>(static_cast<uintptr_t>(mWindow)) : nullptr;
}

void* IGraphicsX11::OpenWindow(void* parent)
{
  int x = 0, y = 0;
  unsigned width = static_cast<unsigned>(ScreenWidth()), height = static_cast<unsigned>(ScreenHeight());
  if (mWindow)
  {
    // Reopening keeps where the window was and how big, unless the factor
    // changed meanwhile.
    X11ErrorTrap trap(mDisplay);
    Window root;
    unsigned w, h, border, depth;
    XGetGeometry(mDisplay, mWindow, &root, &x, &y, &w, &h, &border, &depth);
    if (mWindowScale == Scale())
    {
      width = w;
      height = h;
    }
  }
  CloseWindow();

  const Window parentWindow = static_cast<Window>(reinterpret_cast<uintptr_t>(parent));
  if (!parentWindow || width == 0 || height == 0) return nullptr;
  mDisplay = XOpenDisplay(nullptr);
  if (!mDisplay) return nullptr;

  X11ErrorTrap trap(mDisplay);
  // A parent that is no window fails here; one on another screen than the
  // default gets a visual of its own screen.
  XWindowAttributes parentAttributes;
  XVisualInfo visual;
  if (!XGetWindowAttributes(mDisplay, parentWindow, &parentAttributes) ||
      !FindSurfaceVisual(mDisplay, XScreenNumberOfScreen(parentAttributes.screen), visual))
  {
    CloseWindow();
    return nullptr;
  }
  // Our own visual and colormap, so that a parent of any depth will do.
  mVisual = visual.visual;
  mColormap = XCreateColormap(mDisplay, parentWindow, visual.visual, AllocNone);
  XSetWindowAttributes attributes = {};
  attributes.colormap = mColormap;
  attributes.border_pixel = 0;
  attributes.background_pixmap = None;  // every pixel is ours to draw
  attributes.event_mask = kEventMask;
  mXEmbedAtom = XInternAtom(mDisplay, "_XEMBED", False);
  const Atom infoAtom = XInternAtom(mDisplay, "_XEMBED_INFO", False);
  mWindow = XCreateWindow(mDisplay, parentWindow, x, y, width, height, 0, visual.depth,
                          InputOutput, visual.visual,
                          CWColormap | CWBorderPixel | CWBackPixmap | CWEventMask, &attributes);
  // In the same request batch as the window itself: an embedder reads it on
  // the window's CreateNotify, and some give up on a window without it.
  const long info[2] = {kXEmbedVersion, kXEmbedMapped};
  XChangeProperty(mDisplay, mWindow, infoAtom, infoAtom, 32, PropModeReplace,
                  reinterpret_cast<const unsigned char*>(info), 2);
  mGC = XCreateGC(mDisplay, mWindow, 0, nullptr);
  XMapWindow(mDisplay, mWindow);
  // Anything refused shows here, as the failure the host must hear of.
  if (trap.SyncFailed())
  {
    CloseWindow();
    return nullptr;
  }
  mParent = parentWindow;
  mWindowScale = Scale();
  gOpenEditors.Add(this);
  if (mSharedMemoryAllowed)
    mSharedImage = X11SharedImage::Create(mDisplay, visual.visual, ScreenWidth(), ScreenHeight());
  for (int i = 0; i < NControls(); ++i) GetControl(i)->SetDirty(false);
  return GetWindowHandle();
}

void IGraphicsX11::CloseWindow()
{
  if (!mDisplay) return;
  {
    X11ErrorTrap trap(mDisplay);
    mSharedImage.reset();
    if (mGrabbed) UngrabPointer(CurrentTime);
    // Errors here are of a window the host already destroyed.
    if (mWindow) XDestroyWindow(mDisplay, mWindow);
    if (mBlankCursor) XFreeCursor(mDisplay, mBlankCursor);
    if (mGC) XFreeGC(mDisplay, mGC);
    if (mColormap) XFreeColormap(mDisplay, mColormap);
    XSync(mDisplay, False);
  }
  XCloseDisplay(mDisplay);
  gOpenEditors.Remove(this);
  mDisplay = nullptr;
  mWindow = mParent = mColormap = mBlankCursor = mXEmbedAtom = mEmbedder = 0;
  mEmbedActive = mEmbedFocus = false;
  mPacer.Reset();
  mGC = nullptr;
  mVisual = nullptr;
  mGrabbed = false;
  mClickPending = false;
  mExposed = IBox();
  SetCursorHidden(false);
}

void IGraphicsX11::ForgetWindow()
{
  mWindow = mEmbedder = 0;
  mEmbedActive = mEmbedFocus = false;
  mGrabbed = false;
  mClickPending = false;
}

bool IGraphicsX11::PresentRegion(const IBox& box)
{
  LICE_SysBitmap* surface = GetDrawBitmap();
  if (!mWindow || !surface || !surface->Pixels()) return true;
  const IBox all(0, 0, surface->Width(), surface->Height());
  if (!box.Intersects(all)) return true;
  const IBox r = box.Intersect(all);

  X11ErrorTrap trap(mDisplay);
  if (mSharedImage && mSharedImage->Put(mWindow, mGC, *surface, r.left, r.top, r.W(), r.H()))
    return true;

  XImage image = {};
  image.width = surface->RowSpan();
  image.height = surface->Height();
  image.format = ZPixmap;
  image.data = reinterpret_cast<char*>(surface->Pixels());
  image.byte_order = LSBFirst;
  image.bitmap_unit = 32;
  image.bitmap_bit_order = LSBFirst;
  image.bitmap_pad = 32;
  image.depth = 24;
  image.bytes_per_line = surface->RowSpan() * 4;
  image.bits_per_pixel = 32;
  image.red_mask = 0xFF0000;
  image.green_mask = 0x00FF00;
  image.blue_mask = 0x0000FF;
  if (!XInitImage(&image)) return false;
  XPutImage(mDisplay, mWindow, mGC, &image, r.left, r.top, r.left, r.top,
            static_cast<unsigned>(r.W()), static_cast<unsigned>(r.H()));
  return true;
}

void IGraphicsX11::StopSharedMemory()
{
  mSharedMemoryAllowed = false;
  mSharedImage.reset();
}

void IGraphicsX11::WaitUntilDrawn()
{
  if (!mDisplay) return;
  X11ErrorTrap trap(mDisplay);
  XSync(mDisplay, False);
}

LICE_IBitmap* IGraphicsX11::LoadResourceImage(int id, const char* name)
{
  if (!LICE_IsPNGResourceName(name)) return nullptr;
  const ModulePicture* picture = FindModulePicture(id);
  return picture ? LICE_ReadPNGMemory(picture->data, picture->size) : nullptr;
}

std::unique_ptr<LICE_PNGRows> IGraphicsX11::OpenResourceRows(int id, const char* name)
{
  if (!LICE_IsPNGResourceName(name)) return nullptr;
  // The pictures are part of the module's image: read in place.
  const ModulePicture* picture = FindModulePicture(id);
  return picture ? LICE_PNGRows::Open(picture->data, picture->size) : nullptr;
}

double IGraphicsX11::ScreenScale()
{
  const double dpi = ReadXftDpi(mDisplay);
  return dpi > 0.0 ? dpi / 96.0 : 1.0;
}

void IGraphicsX11::SetEditorSize(int width, int height)
{
  if (width == Width() && height == Height()) return;
  IGraphics::SetEditorSize(width, height);
  FitWindowToSurface();
}

void IGraphicsX11::ScaleChanged()
{
  FitWindowToSurface();
}

void IGraphicsX11::FitWindowToSurface()
{
  if (!mWindow) return;
  X11ErrorTrap trap(mDisplay);
  mWindowScale = Scale();
  XResizeWindow(mDisplay, mWindow, static_cast<unsigned>(ScreenWidth()),
                static_cast<unsigned>(ScreenHeight()));
  if (mSharedMemoryAllowed)
    mSharedImage = X11SharedImage::Create(mDisplay, static_cast<Visual*>(mVisual), ScreenWidth(),
                                          ScreenHeight());
  XClearArea(mDisplay, mWindow, 0, 0, 0, 0, True);  // an exposure of all of it
  XFlush(mDisplay);
}

void IGraphicsX11::HideCursorForDrag()
{
  if (CursorHidden() || !mWindow) return;
  X11ErrorTrap trap(mDisplay);
  Window root, child;
  int rootX, rootY, x, y;
  unsigned state;
  if (!XQueryPointer(mDisplay, mWindow, &root, &child, &rootX, &rootY, &x, &y, &state)) return;
  if (!mBlankCursor)
  {
    static const char kNoBits[1] = {0};
    Pixmap blank = XCreateBitmapFromData(mDisplay, mWindow, kNoBits, 1, 1);
    XColor black = {};
    mBlankCursor = XCreatePixmapCursor(mDisplay, blank, blank, &black, &black, 0, 0);
    XFreePixmap(mDisplay, blank);
  }
  XDefineCursor(mDisplay, mWindow, mBlankCursor);
  XFlush(mDisplay);
  SetCursorHidden(true, rootX, rootY);
}

void IGraphicsX11::RestoreCursor()
{
  if (!CursorHidden()) return;
  if (mWindow)
  {
    X11ErrorTrap trap(mDisplay);
    XWarpPointer(mDisplay, None, DefaultRootWindow(mDisplay), 0, 0, 0, 0, HiddenCursorX(),
                 HiddenCursorY());
    XUndefineCursor(mDisplay, mWindow);
    XFlush(mDisplay);
  }
  SetCursorHidden(false);
}
