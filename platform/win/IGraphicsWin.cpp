// The editor window's life: the window class shared by the module's editors,
// opening and closing, presenting the drawing surface, and the module's
// pictures.
#include "platform/win/IGraphicsWin.h"

#include "framework/IPlugBase.h"
#include "raster/LICE_MemBitmap.h"
#include "raster/LICE_PNGResource.h"
#include "raster/LICE_PNGRows.h"
#include "raster/LICE_SysBitmap.h"

#include <mutex>

namespace
{
// Module-wide: the open windows holding the class, and the redraw rate of the
// latest window to open.
std::mutex gClassLock;
int gClassUsers = 0;
HINSTANCE gClassInstance = nullptr;

// A class can outlive its windows when a host destroyed an editor's window
// without closing the editor; it must not outlive the module whose window
// procedure it names.
struct ClassAtUnload
{
  ~ClassAtUnload()
  {
    if (gClassInstance) UnregisterClassA(IGraphicsWin::kWindowClass, gClassInstance);
  }
} gClassAtUnload;

bool AcquireWindowClass(HINSTANCE instance, WNDPROC proc)
{
  std::lock_guard<std::mutex> lock(gClassLock);
  if (gClassUsers++ == 0)
  {
    WNDCLASSA wc = {};
    wc.style = CS_DBLCLKS;
    wc.lpfnWndProc = proc;
    wc.hInstance = instance;
    wc.hCursor = LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_ARROW));
    wc.lpszClassName = IGraphicsWin::kWindowClass;
    // A class left registered by a window its host destroyed serves as well.
    if (!RegisterClassA(&wc) && GetLastError() != ERROR_CLASS_ALREADY_EXISTS)
    {
      --gClassUsers;
      return false;
    }
    gClassInstance = instance;
  }
  return true;
}

void ReleaseWindowClass(HINSTANCE instance)
{
  std::lock_guard<std::mutex> lock(gClassLock);
  if (gClassUsers > 0 && --gClassUsers == 0 && UnregisterClassA(IGraphicsWin::kWindowClass, instance))
    gClassInstance = nullptr;
}
}  // namespace

double IGraphicsWin::sRedrawRate = IGraphics::kDefaultFps;

IGraphicsWin::IGraphicsWin(IPlugBase* plug, int width, int height, int fps,
                           HINSTANCE moduleInstance)
  : IGraphics(plug, width, height, fps), mModuleInstance(moduleInstance)
{
}

IGraphicsWin::~IGraphicsWin()
{
  CloseWindow();
  delete[] mCustomColours;
}

int IGraphicsWin::WindowClassUsers()
{
  std::lock_guard<std::mutex> lock(gClassLock);
  return gClassUsers;
}

void* IGraphicsWin::OpenWindow(void* parent)
{
  mParentWindow = static_cast<HWND>(parent);
  int x = 0, y = 0, w = ScreenWidth(), h = ScreenHeight();
  if (mWindow)
  {
    // Reopening keeps where the window was and how big, unless the factor
    // changed meanwhile.
    RECT r;
    GetWindowRect(mWindow, &r);
    if (mWindowScale == Scale())
    {
      w = r.right - r.left;
      h = r.bottom - r.top;
    }
    MapWindowPoints(HWND_DESKTOP, GetParent(mWindow), reinterpret_cast<POINT*>(&r), 1);
    x = r.left;
    y = r.top;
    CloseWindow();
  }

  if (!AcquireWindowClass(mModuleInstance, WindowProc)) return nullptr;
  sRedrawRate = FPS() > 0 ? FPS() : kDefaultFps;
  HWND window = CreateWindowExA(0, kWindowClass, "IPlug", WS_CHILD | WS_VISIBLE, x, y, w, h,
                                mParentWindow, nullptr, mModuleInstance, this);
  if (!window)
  {
    ReleaseWindowClass(mModuleInstance);
    return nullptr;
  }
  mWindow = window;
  mWindowScale = Scale();
  for (int i = 0; i < NControls(); ++i) GetControl(i)->SetDirty(false);
  if (TooltipsEnabled()) SetUpTooltips();
  return mWindow;
}

void IGraphicsWin::CloseWindow()
{
  if (!mWindow) return;
  CloseEntry();
  if (mTooltipWindow) DestroyWindow(mTooltipWindow);
  mTooltipWindow = nullptr;
  mTooltipShown = false;
  mTooltipIndex = -1;
  mClosing = true;
  DestroyWindow(mWindow);  // also ends its timer
  mClosing = false;
  mWindow = nullptr;
  ReleaseWindowClass(mModuleInstance);
}

void IGraphicsWin::ForgetWindow()
{
  // The host destroyed its parent window, and ours with it, before closing the
  // editor: nothing may touch the handles any more.
  mEntryField = nullptr;
  mEntryDefaultProc = nullptr;
  CloseEntry();
  mTooltipWindow = nullptr;
  mTooltipShown = false;
  mTooltipIndex = -1;
  mWindow = nullptr;
  ReleaseWindowClass(mModuleInstance);
}

bool IGraphicsWin::PresentRegion(const IBox& box)
{
  PAINTSTRUCT ps;
  HDC dc = BeginPaint(mWindow, &ps);
  if (dc && GetDrawBitmap())
  {
    BitBlt(dc, box.left, box.top, box.W(), box.H(), GetDrawBitmap()->DeviceContext(), box.left,
           box.top, SRCCOPY);
  }
  EndPaint(mWindow, &ps);
  return true;
}

LICE_IBitmap* IGraphicsWin::LoadResourceImage(int id, const char* name)
{
  return LICE_LoadPNGResource(mModuleInstance, static_cast<unsigned>(id), name);
}

std::unique_ptr<LICE_PNGRows> IGraphicsWin::OpenResourceRows(int id, const char* name)
{
  return LICE_OpenPNGResourceRows(mModuleInstance, static_cast<unsigned>(id), name);
}

void IGraphicsWin::SetEditorSize(int width, int height)
{
  if (width == Width() && height == Height()) return;
  const int oldWidth = ScreenWidth(), oldHeight = ScreenHeight();
  IGraphics::SetEditorSize(width, height);
  if (!mWindow) return;
  const int dw = ScreenWidth() - oldWidth;
  const int dh = ScreenHeight() - oldHeight;

  auto grow = [dw, dh](HWND window) {
    RECT r;
    GetWindowRect(window, &r);
    SetWindowPos(window, nullptr, 0, 0, r.right - r.left + dw, r.bottom - r.top + dh,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  };
  grow(mWindow);
  const LONG_PTR style = GetWindowLongPtrA(mWindow, GWL_STYLE);
  const LONG_PTR exStyle = GetWindowLongPtrA(mWindow, GWL_EXSTYLE);
  const int api = GetPlug() ? GetPlug()->ApiCode() : 0;
  // VST 3 hosts size their own windows through the plug frame.
  if ((style & WS_CHILD) && !(exStyle & WS_EX_MDICHILD) && api != 1 && api != 3)
  {
    if (HWND parent = GetParent(mWindow))
    {
      HWND grandparent = (GetWindowLongPtrA(parent, GWL_STYLE) & WS_CHILD) ? GetParent(parent)
                                                                            : nullptr;
      grow(parent);
      if (grandparent) grow(grandparent);
    }
  }
  RECT all = {0, 0, ScreenWidth(), ScreenHeight()};
  InvalidateRect(mWindow, &all, FALSE);
}

void IGraphicsWin::ScaleChanged()
{
  if (!mWindow) return;
  mWindowScale = Scale();
  SetWindowPos(mWindow, nullptr, 0, 0, ScreenWidth(), ScreenHeight(),
               SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  InvalidateRect(mWindow, nullptr, FALSE);
}

double IGraphicsWin::ScreenScale()
{
  // Windows before 10 (1607) have no per-window DPI: the factor is then 1.
  using GetDpiForWindowFn = UINT(WINAPI*)(HWND);
  static const auto getDpiForWindow = reinterpret_cast<GetDpiForWindowFn>(
      reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA("user32.dll"), "GetDpiForWindow")));
  HWND window = mParentWindow ? mParentWindow : mWindow;
  const UINT dpi = getDpiForWindow && window ? getDpiForWindow(window) : 0;
  return dpi > 0 ? dpi / 96.0 : 1.0;
}

void IGraphicsWin::HideCursorForDrag()
{
  if (CursorHidden()) return;
  POINT p;
  GetCursorPos(&p);
  ShowCursor(FALSE);
  SetCursorHidden(true, p.x, p.y);
}

void IGraphicsWin::RestoreCursor()
{
  if (!CursorHidden()) return;
  SetCursorPos(HiddenCursorX(), HiddenCursorY());
  ShowCursor(TRUE);
  SetCursorHidden(false);
}
