// The editor window's messages: each becomes a call on the graphics context.
#include "platform/win/IGraphicsWin.h"

#include <windowsx.h>

namespace
{
// WM_DPICHANGED_AFTERPARENT, which older SDK headers lack.
constexpr UINT kDpiChangedAfterParent = 0x02E3;

IMouseKeys KeysFrom(WPARAM wParam)
{
  IMouseKeys keys;
  keys.left = (wParam & MK_LBUTTON) != 0;
  keys.right = (wParam & MK_RBUTTON) != 0;
  keys.shift = (wParam & MK_SHIFT) != 0;
  keys.control = (wParam & MK_CONTROL) != 0;
  keys.alt = (GetKeyState(VK_MENU) & 0x8000) != 0;
  return keys;
}

// Space, the arrows, digits and letters; anything else is not the editor's.
int MapKey(WPARAM key)
{
  switch (key)
  {
    case VK_SPACE: return 0;
    case VK_UP: return 1;
    case VK_DOWN: return 2;
    case VK_LEFT: return 3;
    case VK_RIGHT: return 4;
    default: break;
  }
  if (key >= '0' && key <= '9') return 5 + static_cast<int>(key - '0');
  if (key >= 'A' && key <= 'Z') return 15 + static_cast<int>(key - 'A');
  return -1;
}
}  // namespace

LRESULT CALLBACK IGraphicsWin::WindowProc(HWND window, UINT msg, WPARAM wParam, LPARAM lParam)
{
  if (msg == WM_CREATE)
  {
    auto* self = static_cast<IGraphicsWin*>(reinterpret_cast<CREATESTRUCTA*>(lParam)->lpCreateParams);
    SetWindowLongPtrA(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
    self->mWindow = window;
    SetTimer(window, kTimerId, static_cast<UINT>(1000.0 / sRedrawRate), nullptr);
    SetFocus(window);
    return 0;
  }
  auto* self = reinterpret_cast<IGraphicsWin*>(GetWindowLongPtrA(window, GWLP_USERDATA));
  if (!self || window != self->mWindow) return DefWindowProcA(window, msg, wParam, lParam);
  if (msg == WM_NCDESTROY)
  {
    SetWindowLongPtrA(window, GWLP_USERDATA, 0);
    if (!self->mClosing) self->ForgetWindow();
    return DefWindowProcA(window, msg, wParam, lParam);
  }
  return self->HandleMessage(msg, wParam, lParam);
}

LRESULT IGraphicsWin::HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam)
{
  // While the user types, the editor only listens for a press that cancels.
  if (mEntryField && mEntryState == EntryState::Editing)
  {
    if (msg == WM_LBUTTONDOWN || msg == WM_RBUTTONDOWN)
    {
      mEntryState = EntryState::Cancel;
      return 0;
    }
    return DefWindowProcA(mWindow, msg, wParam, lParam);
  }

  const int x = GET_X_LPARAM(lParam);
  const int y = GET_Y_LPARAM(lParam);
  switch (msg)
  {
    case WM_SETFOCUS:
    case WM_KILLFOCUS: return 0;

    case WM_PAINT:
    {
      RECT r;
      if (GetUpdateRect(mWindow, &r, FALSE)) DrawRegion(IBox(r.left, r.top, r.right, r.bottom));
      // An editor with nothing to draw must still end the paint request.
      ValidateRect(mWindow, nullptr);
      return 0;
    }

    case WM_CLOSE: CloseWindow(); return 0;

    case kDpiChangedAfterParent:
      // The host's window moved to a screen of another factor.
      ReportScreenScale(ScreenScale());
      return 0;

    case WM_KEYDOWN:
    case WM_KEYUP: return OnKey(msg, wParam, lParam);

    case WM_TIMER:
      if (wParam == kTimerId) OnTimer();
      return 0;

    case WM_CTLCOLOREDIT:
    {
      if (!mEntryControl) return 0;
      HDC dc = reinterpret_cast<HDC>(wParam);
      const ITextStyle& style = mEntryControl->GetText();
      const COLORREF background =
          RGB(style.entryBackground.red, style.entryBackground.green, style.entryBackground.blue);
      SetBkColor(dc, background);
      SetTextColor(dc, RGB(style.entryText.red, style.entryText.green, style.entryText.blue));
      SetBkMode(dc, OPAQUE);
      SetDCBrushColor(dc, background);
      return reinterpret_cast<LRESULT>(GetStockObject(DC_BRUSH));
    }

    case WM_MOUSEMOVE: OnMouseMove(wParam, lParam); return 0;

    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_MBUTTONDOWN:
      if (mTooltipShown) ShowTooltip(false);
      if (mEntryField)
      {
        // A press elsewhere in the editor takes the typed value.
        mEntryState = EntryState::Commit;
        return 0;
      }
      SetFocus(mWindow);
      SetCapture(mWindow);
      HandleMouseDown(x, y, KeysFrom(wParam));
      return 0;

    case WM_LBUTTONUP:
    case WM_RBUTTONUP:
      ReleaseCapture();
      HandleMouseUp(x, y, KeysFrom(wParam));
      return 0;

    case WM_LBUTTONDBLCLK:
      if (HandleMouseDoubleClick(x, y, KeysFrom(wParam))) SetCapture(mWindow);
      return 0;

    case WM_MOUSEWHEEL:
    {
      if (mEntryField)
      {
        mEntryState = EntryState::Cancel;
        return 0;
      }
      // Whole notches only; what is left of a finer wheel's turn waits for
      // the next message, so a touchpad's small steps still add up.
      const int delta = GET_WHEEL_DELTA_WPARAM(wParam);
      if ((delta > 0) != (mWheelRemainder > 0)) mWheelRemainder = 0;  // turned the other way
      mWheelRemainder += delta;
      const int steps = mWheelRemainder / WHEEL_DELTA;
      mWheelRemainder -= steps * WHEEL_DELTA;
      if (steps == 0) return 0;
      // The wheel reports the pointer in screen coordinates.
      RECT r;
      GetWindowRect(mWindow, &r);
      HandleMouseWheel(x - r.left, y - r.top, KeysFrom(GET_KEYSTATE_WPARAM(wParam)), steps);
      return 0;
    }

    case WM_MOUSEHOVER: ShowTooltip(true); return 0;

    case WM_MOUSELEAVE:
      if (mTooltipShown) ShowTooltip(false);
      HandleMouseOut();
      return 0;

    default: return DefWindowProcA(mWindow, msg, wParam, lParam);
  }
}

LRESULT IGraphicsWin::OnKey(UINT msg, WPARAM wParam, LPARAM lParam)
{
  if (msg == WM_KEYDOWN)
  {
    const int key = MapKey(wParam);
    if (key >= 0)
    {
      POINT p;
      GetCursorPos(&p);
      ScreenToClient(mWindow, &p);
      if (HandleKeyDown(p.x, p.y, key)) return 0;
    }
  }
  // Keys the editor does not take are the host's: its shortcuts keep working
  // while the editor has the focus.
  HWND root = GetAncestor(mWindow, GA_ROOT);
  if (root && root != mWindow) SendMessageA(root, msg, wParam, lParam);
  return DefWindowProcA(mWindow, msg, wParam, lParam);
}

void IGraphicsWin::OnTimer()
{
  if (mEntryField && mEntryState != EntryState::None)
  {
    switch (mEntryState)
    {
      case EntryState::Update: mEntryState = EntryState::None; break;
      case EntryState::Commit:
        CommitEntry();
        CloseEntry();
        break;
      case EntryState::Cancel: CloseEntry(); break;
      default: break;
    }
    return;
  }

  IBox dirty;
  if (!FindDirtyRegion(dirty)) return;
  RECT r = {dirty.left, dirty.top, dirty.right, dirty.bottom};
  InvalidateRect(mWindow, &r, FALSE);
  if (mEntryField && mEntryControl)
  {
    // The field is not painted over.
    const IBox& e = mEntryControl->GetBox();
    RECT field = {e.left, e.top, e.right, e.bottom};
    ValidateRect(mWindow, &field);
    UpdateWindow(mWindow);
    mEntryState = EntryState::Update;
  }
  else
  {
    UpdateWindow(mWindow);
  }
}

void IGraphicsWin::OnMouseMove(WPARAM wParam, LPARAM lParam)
{
  const int x = GET_X_LPARAM(lParam);
  const int y = GET_Y_LPARAM(lParam);
  const IMouseKeys keys = KeysFrom(wParam);
  if (keys.left || keys.right)
  {
    if (GetCapture() == mWindow && !mEntryField) HandleMouseDrag(x, y, keys);
    return;
  }
  if (!HandleMouseOver(x, y, keys)) return;
  TRACKMOUSEEVENT track = {sizeof track, TME_LEAVE, mWindow, HOVER_DEFAULT};
  if (TooltipsEnabled() && GetMouseOver() != mTooltipIndex)
  {
    mTooltipIndex = GetMouseOver();
    if (mTooltipIndex >= 0) track.dwFlags |= TME_HOVER;
    if (mTooltipShown) ShowTooltip(false);
  }
  TrackMouseEvent(&track);
}
