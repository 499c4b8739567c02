#include "platform/win/WinDesktop.h"

#include <cstring>

namespace {

struct MainWindowSearch
{
  WinMainWindow* main;
  DWORD processId;
};

BOOL CALLBACK TakeFirstOfClass(HWND window, LPARAM param)
{
  auto* search = reinterpret_cast<MainWindowSearch*>(param);
  DWORD processId = 0;
  GetWindowThreadProcessId(window, &processId);
  if (processId != search->processId) return TRUE;
  char className[WinMainWindow::kClassNameSize] = "";
  GetClassNameA(window, className, sizeof className);
  if (std::strcmp(className, search->main->className) != 0) return TRUE;
  search->main->window = window;
  return FALSE;
}

}  // namespace

HWND WinFindMainWindow(WinMainWindow& main, HWND parent)
{
  if (main.window) return main.window;
  if (parent) {
    for (HWND up = parent; up; up = GetParent(up)) main.window = up;
    GetClassNameA(main.window, main.className, sizeof main.className);
  } else if (main.className[0]) {
    MainWindowSearch search = {&main, GetCurrentProcessId()};
    EnumWindows(TakeFirstOfClass, reinterpret_cast<LPARAM>(&search));
  }
  return main.window;
}

int WinShowMessageBox(WinMainWindow& main, HWND parent, const char* text, const char* caption,
                      UINT type)
{
  return MessageBoxA(WinFindMainWindow(main, parent), text, caption, type);
}
