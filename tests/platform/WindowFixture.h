#pragma once
// A host's top-level window for editors to open in, the message pump that
// drives their timers, and reading back what a window shows on the screen.

#include <windows.h>

#include <cstdint>
#include <vector>

// A visible top-level window standing in for the host's. It records the keys
// that reach it.
class HostWindow
{
public:
  HostWindow(int width = 1240, int height = 360);
  ~HostWindow();
  HWND Handle() const { return mWindow; }

  std::vector<WPARAM> keysDown;

private:
  static LRESULT CALLBACK Proc(HWND window, UINT msg, WPARAM wParam, LPARAM lParam);
  HWND mWindow = nullptr;
};

// Dispatches this thread's messages for the given time.
void Pump(int milliseconds);

// The window's client area as the screen shows it, 0x00RRGGBB per pixel, row
// by row.
std::vector<uint32_t> ReadWindow(HWND window, int width, int height);

// Screen coordinates of a client point, packed as a mouse message's lParam.
LPARAM ScreenPoint(HWND window, int x, int y);
