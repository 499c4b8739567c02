// The editor window's events and timer, served by the host's run loop: each
// event becomes a call on the graphics context, as on Windows.
#include "platform/x11/IGraphicsX11.h"

#include "platform/x11/X11ErrorTrap.h"

#include <X11/Xlib.h>
#include <X11/keysym.h>

#include <chrono>
#include <cstdlib>

namespace
{
// The XEmbed messages the window takes and sends.
enum XEmbedMessage : long
{
  kEmbeddedNotify = 0,
  kWindowActivate = 1,
  kWindowDeactivate = 2,
  kRequestFocus = 3,
  kFocusIn = 4,
  kFocusOut = 5,
};

int64_t NowMs()
{
  using namespace std::chrono;
  return duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
}

IMouseKeys KeysFrom(unsigned state)
{
  IMouseKeys keys;
  keys.left = (state & Button1Mask) != 0;
  keys.right = (state & Button3Mask) != 0;
  keys.shift = (state & ShiftMask) != 0;
  keys.control = (state & ControlMask) != 0;
  keys.alt = (state & Mod1Mask) != 0;
  return keys;
}

// Space, the arrows, digits and letters; anything else is not the editor's.
int MapKey(KeySym key)
{
  switch (key)
  {
    case XK_space: return 0;
    case XK_Up: return 1;
    case XK_Down: return 2;
    case XK_Left: return 3;
    case XK_Right: return 4;
    default: break;
  }
  if (key >= XK_0 && key <= XK_9) return 5 + static_cast<int>(key - XK_0);
  if (key >= XK_a && key <= XK_z) return 15 + static_cast<int>(key - XK_a);
  if (key >= XK_A && key <= XK_Z) return 15 + static_cast<int>(key - XK_A);
  return -1;
}
}  // namespace

int IGraphicsX11::EventDescriptor()
{
  return mDisplay ? ConnectionNumber(mDisplay) : -1;
}

int IGraphicsX11::RedrawIntervalMs()
{
  return 1000 / (FPS() > 0 ? FPS() : kDefaultFps);
}

void IGraphicsX11::OnEventsReady()
{
  if (!mDisplay) return;
  X11ErrorTrap trap(mDisplay);
  HandlePendingEvents();
  if (mDisplay) XFlush(mDisplay);
}

void IGraphicsX11::OnTimerTick()
{
  if (!mDisplay) return;
  X11ErrorTrap trap(mDisplay);
  // Events Xlib already read while answering a request do not wake the
  // descriptor again, and some hosts never report it: they are served here.
  HandlePendingEvents();
  const int64_t now = NowMs();
  IBox dirty;
  if (mWindow && mPacer.Due(now) && FindDirtyRegion(dirty))
  {
    DrawRegion(dirty);
    mPacer.Drew(now);
  }
  if (mDisplay) XFlush(mDisplay);
}

void IGraphicsX11::HandlePendingEvents()
{
  while (mDisplay && XPending(mDisplay) > 0)
  {
    XEvent event;
    XNextEvent(mDisplay, &event);
    HandleEvent(event);
  }
}

void IGraphicsX11::HandleEvent(XEvent& event)
{
  if (!mWindow || event.xany.window != mWindow) return;
  switch (event.type)
  {
    case ClientMessage: OnXEmbedMessage(event); break;
    case ReparentNotify: mParent = event.xreparent.parent; break;
    case Expose:
    {
      const XExposeEvent& e = event.xexpose;
      mExposed = mExposed.Union(IBox(e.x, e.y, e.x + e.width, e.y + e.height));
      // The last of a series draws the union once.
      if (e.count == 0)
      {
        DrawRegion(mExposed);
        mExposed = IBox();
      }
      break;
    }
    case ButtonPress: OnButtonPress(event); break;
    case ButtonRelease: OnButtonRelease(event); break;
    case MotionNotify: OnMotion(event); break;
    case LeaveNotify:
      if (!mGrabbed) HandleMouseOut();
      break;
    case KeyPress: OnKeyPress(event); break;
    case DestroyNotify: ForgetWindow(); break;
    default: break;
  }
}

void IGraphicsX11::OnButtonPress(XEvent& event)
{
  const XButtonEvent& e = event.xbutton;
  IMouseKeys keys = KeysFrom(e.state);
  switch (e.button)
  {
    case Button4: HandleMouseWheel(e.x, e.y, keys, 1); return;
    case Button5: HandleMouseWheel(e.x, e.y, keys, -1); return;
    case Button1: keys.left = true; break;
    case Button3: keys.right = true; break;
    default: return;
  }

  const bool doubleClick = e.button == Button1 && mClickPending &&
                           e.time - mClickTime <= kDoubleClickMs &&
                           std::abs(e.x - mClickX) <= kDoubleClickDistance &&
                           std::abs(e.y - mClickY) <= kDoubleClickDistance;
  // A third press begins again.
  mClickPending = e.button == Button1 && !doubleClick;
  mClickTime = e.time;
  mClickX = e.x;
  mClickY = e.y;
  TakeFocus(e.time);
  if (doubleClick)
  {
    if (HandleMouseDoubleClick(e.x, e.y, keys)) GrabPointer(e.time);
    return;
  }
  GrabPointer(e.time);
  HandleMouseDown(e.x, e.y, keys);
}

void IGraphicsX11::OnButtonRelease(XEvent& event)
{
  const XButtonEvent& e = event.xbutton;
  if (e.button != Button1 && e.button != Button3) return;
  // The state still holds the button being released.
  const unsigned released = e.button == Button1 ? Button1Mask : Button3Mask;
  UngrabPointer(e.time);
  HandleMouseUp(e.x, e.y, KeysFrom(e.state & ~released));
}

void IGraphicsX11::OnMotion(XEvent& event)
{
  // Only the latest position of a run of moves matters: drags add up the
  // distance from where the last one ended.
  XEvent later;
  while (XCheckTypedWindowEvent(mDisplay, mWindow, MotionNotify, &later)) event = later;
  const XMotionEvent& e = event.xmotion;
  const IMouseKeys keys = KeysFrom(e.state);
  if (keys.left || keys.right)
  {
    if (mGrabbed) HandleMouseDrag(e.x, e.y, keys);
    return;
  }
  HandleMouseOver(e.x, e.y, keys);
}

void IGraphicsX11::OnKeyPress(XEvent& event)
{
  XKeyEvent& e = event.xkey;
  const int key = MapKey(XLookupKeysym(&e, 0));
  if (key >= 0 && HandleKeyDown(e.x, e.y, key)) return;
  // Keys the editor does not take are the host's: its shortcuts keep
  // working while the pointer is over the editor.
  if (!mParent) return;
  e.window = mParent;
  XSendEvent(mDisplay, mParent, True, KeyPressMask, &event);
}

void IGraphicsX11::GrabPointer(unsigned long time)
{
  const unsigned mask = ButtonPressMask | ButtonReleaseMask | PointerMotionMask;
  mGrabbed = XGrabPointer(mDisplay, mWindow, False, mask, GrabModeAsync, GrabModeAsync, None,
                          None, time) == GrabSuccess;
}

void IGraphicsX11::UngrabPointer(unsigned long time)
{
  if (!mGrabbed) return;
  XUngrabPointer(mDisplay, time);
  mGrabbed = false;
}

void IGraphicsX11::OnXEmbedMessage(XEvent& event)
{
  const XClientMessageEvent& e = event.xclient;
  if (!mXEmbedAtom || e.message_type != mXEmbedAtom || e.format != 32) return;
  switch (e.data.l[1])
  {
    case kEmbeddedNotify:
      // data.l[3] is the embedder's window; keys the editor refuses go there.
      mEmbedder = static_cast<unsigned long>(e.data.l[3]);
      if (mEmbedder) mParent = mEmbedder;
      break;
    case kWindowActivate: mEmbedActive = true; break;
    case kWindowDeactivate: mEmbedActive = false; break;
    case kFocusIn: mEmbedFocus = true; break;
    case kFocusOut: mEmbedFocus = false; break;
    default: break;
  }
}

void IGraphicsX11::TakeFocus(unsigned long time)
{
  if (mEmbedder)
  {
    // An embedder owns the keyboard and passes keys on to the window it
    // gave the focus to; it is asked, not overruled.
    if (!mEmbedFocus) SendXEmbed(kRequestFocus, time);
    return;
  }
  // Taking the focus of a window that is not on the screen is an error.
  XWindowAttributes attributes;
  if (!XGetWindowAttributes(mDisplay, mWindow, &attributes) || attributes.map_state != IsViewable)
    return;
  XSetInputFocus(mDisplay, mWindow, RevertToParent, time);
}

void IGraphicsX11::SendXEmbed(long message, unsigned long time)
{
  XEvent event = {};
  event.xclient.type = ClientMessage;
  event.xclient.window = mEmbedder;
  event.xclient.message_type = mXEmbedAtom;
  event.xclient.format = 32;
  event.xclient.data.l[0] = static_cast<long>(time);
  event.xclient.data.l[1] = message;
  XSendEvent(mDisplay, mEmbedder, False, NoEventMask, &event);
}
