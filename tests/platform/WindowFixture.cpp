#include "tests/platform/WindowFixture.h"

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

void Pump(int milliseconds)
{
  const DWORD end = GetTickCount() + static_cast<DWORD>(milliseconds);
  do
  {
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE))
    {
      TranslateMessage(&msg);
      DispatchMessageA(&msg);
    }
    Sleep(5);
  } while (static_cast<LONG>(GetTickCount() - end) < 0);
}

std::vector<uint32_t> ReadWindow(HWND window, int width, int height)
{
  BITMAPINFO info = {};
  info.bmiHeader.biSize = sizeof info.bmiHeader;
  info.bmiHeader.biWidth = width;
  info.bmiHeader.biHeight = -height;
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  void* bits = nullptr;
  HBITMAP section = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  HDC memory = CreateCompatibleDC(nullptr);
  HGDIOBJ old = SelectObject(memory, section);
  HDC screen = GetDC(window);
  BitBlt(memory, 0, 0, width, height, screen, 0, 0, SRCCOPY);
  ReleaseDC(window, screen);
  std::vector<uint32_t> pixels(static_cast<size_t>(width) * height);
  const uint32_t* source = static_cast<const uint32_t*>(bits);
  for (size_t i = 0; i < pixels.size(); ++i) pixels[i] = source[i] & 0xFFFFFF;
  SelectObject(memory, old);
  DeleteDC(memory);
  DeleteObject(section);
  return pixels;
}

LPARAM ScreenPoint(HWND window, int x, int y)
{
  POINT p = {x, y};
  ClientToScreen(window, &p);
  return MAKELPARAM(p.x, p.y);
}
