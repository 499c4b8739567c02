// The editor window's desktop services: message box, popup menu, folders,
// dialogs, web links and the clipboard, each handed to its Win32 function.
#include "platform/win/IGraphicsWin.h"
#include "platform/win/WinDesktop.h"

int IGraphicsWin::ShowMessageBox(const char* text, const char* caption, int type)
{
  return WinShowMessageBox(mMainWindow, mParentWindow, text, caption, static_cast<UINT>(type));
}

IMenu* IGraphicsWin::ShowPopupMenu(IMenu* menu, const IBox& box)
{
  // The menu takes the mouse; no control may still think it holds it.
  DropMouseCapture();
  IMenu* chosen = mWindow ? WinShowPopupMenu(mWindow, menu, box) : nullptr;
  if (mWindow) InvalidateRect(mWindow, nullptr, FALSE);
  return chosen;
}

void IGraphicsWin::GetHostFolder(std::string& folder) { folder = WinHostFolder(); }

void IGraphicsWin::GetPluginFolder(std::string& folder) { folder = WinModuleFolder(mModuleInstance); }

void IGraphicsWin::GetDesktopFolder(std::string& folder) { folder = WinDesktopFolder(); }

void IGraphicsWin::GetAppDataFolder(std::string& folder, bool allUsers)
{
  folder = WinAppDataFolder(allUsers);
}

void IGraphicsWin::GetUserAppDataFolder(std::string& folder) { folder = WinUserAppDataFolder(); }

void IGraphicsWin::AskForFile(std::string& file, int action, std::string& folder,
                              const char* extensions)
{
  WinAskForFile(mWindow, file, action, folder, extensions);
}

bool IGraphicsWin::AskForColour(IColour& colour, const char* prompt)
{
  if (!mWindow) return false;
  if (!mCustomColours) mCustomColours = new COLORREF[16]();  // kept for later dialogs
  return WinAskForColour(mWindow, mCustomColours, colour, prompt);
}

bool IGraphicsWin::OpenLink(const char* address, const char* title, const char* confirmation,
                            const char* failureMessage)
{
  return WinOpenLink(mWindow, address, title, confirmation, failureMessage);
}

bool IGraphicsWin::ReadClipboardText(std::string& text) { return WinReadClipboardText(text); }
