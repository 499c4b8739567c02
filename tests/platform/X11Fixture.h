#pragma once
// A connection to the test's X display, a host's top-level window for
// editors to open in, pointer and keys made by the server's XTEST extension
// (so they reach the editor exactly as a user's would), and reading back
// what a window shows.

#include <X11/Xlib.h>

#include <cstdint>
#include <vector>

class X11Session
{
public:
  X11Session();
  ~X11Session();
  X11Session(const X11Session&) = delete;
  X11Session& operator=(const X11Session&) = delete;

  // Null when there is no display or it lacks XTEST.
  Display* Connection() const { return mDisplay; }

  // A mapped top-level window that records the key presses reaching it; 0
  // when the display has no TrueColor visual of that depth.
  Window NewHostWindow(int width = 1240, int height = 360, int depth = 24);
  void DestroyWindow(Window window);
  std::vector<Window> Children(Window parent);
  // Key presses that reached the window, as key symbols.
  std::vector<KeySym> KeysAt(Window window);

  // The pointer to a point of the window; buttons and keys down or up.
  void MoveTo(Window window, int x, int y);
  void Button(unsigned button, bool down, unsigned long delayMs = 0);
  void Click(unsigned button);
  void Key(KeySym key, bool down);
  // Waits until the server has carried out everything asked so far.
  void Sync();

  // The window as the screen shows it, 0x00RRGGBB per pixel, row by row.
  std::vector<uint32_t> ReadWindow(Window window, int width, int height);

private:
  Display* mDisplay = nullptr;
  std::vector<Window> mWindows;
};
