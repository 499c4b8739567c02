#include "tests/platform/WindowFixture.h"

#include "tools/host/ScreenReadback_win.h"

namespace
{
const char* const kHostClass = "MorvexTestHost";
}

HostWindow::HostWindow(int width, int height)
{
  WNDCLASSA wc = {};
  wc.lpfnWndProc = Proc;
  wc.hInstance = GetModuleHandleA(nullptr);
  wc.lpszClassName = kHostClass;
  wc.hbrBackground = static_cast<HBRUSH>(GetStockObject(GRAY_BRUSH));
  RegisterClassA(&wc);  // fails harmlessly when already registered
  mWindow = CreateWindowExA(0, kHostClass, "Host", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, width,
                            height, nullptr, nullptr, GetModuleHandleA(nullptr), this);
  Pump(20);
}

HostWindow::~HostWindow()
{
  DestroyWindow(mWindow);
  Pump(10);
}

LRESULT CALLBACK HostWindow::Proc(HWND window, UINT msg, WPARAM wParam, LPARAM lParam)
{
  if (msg == WM_CREATE)
  {
    auto* self = static_cast<HostWindow*>(reinterpret_cast<CREATESTRUCTA*>(lParam)->lpCreateParams);
    SetWindowLongPtrA(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
  }
  auto* self = reinterpret_cast<HostWindow*>(GetWindowLongPtrA(window, GWLP_USERDATA));
  if (self && msg == WM_KEYDOWN) self->keysDown.push_back(wParam);
  return DefWindowProcA(window, msg, wParam, lParam);
}

void Pump(int milliseconds) { host::PumpMessages(milliseconds); }

std::vector<uint32_t> ReadWindow(HWND window, int width, int height)
{
  host::RgbImage image;
  host::ReadScreen(window, width, height, image);
  return image.pixels;
}

LPARAM ScreenPoint(HWND window, int x, int y)
{
  POINT p = {x, y};
  ClientToScreen(window, &p);
  return MAKELPARAM(p.x, p.y);
}
