#include "tools/host/ScreenReadback_win.h"

namespace host {

void PumpMessages(int milliseconds)
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

bool ReadScreen(HWND window, int width, int height, RgbImage& image)
{
  POINT origin = {0, 0};
  ClientToScreen(window, &origin);
  BITMAPINFO info = {};
  info.bmiHeader.biSize = sizeof info.bmiHeader;
  info.bmiHeader.biWidth = width;
  info.bmiHeader.biHeight = -height;
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  void* bits = nullptr;
  HBITMAP section = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  if (!section) return false;
  HDC memory = CreateCompatibleDC(nullptr);
  HGDIOBJ previous = SelectObject(memory, section);
  HDC screen = GetDC(nullptr);
  const bool ok = BitBlt(memory, 0, 0, width, height, screen, origin.x, origin.y, SRCCOPY) != 0;
  ReleaseDC(nullptr, screen);
  if (ok)
  {
    GdiFlush();
    const uint32_t* pixels = static_cast<const uint32_t*>(bits);
    image.width = width;
    image.height = height;
    image.pixels.assign(pixels, pixels + static_cast<size_t>(width) * height);
    for (uint32_t& p : image.pixels) p &= 0xFFFFFF;
  }
  SelectObject(memory, previous);
  DeleteDC(memory);
  DeleteObject(section);
  return ok;
}

}  // namespace host
