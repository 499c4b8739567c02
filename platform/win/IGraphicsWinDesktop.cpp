// Desktop services: placeholders until the Win32 services land.
#include "platform/win/IGraphicsWin.h"

int IGraphicsWin::ShowMessageBox(const char*, const char*, int) { return 0; }
IMenu* IGraphicsWin::ShowPopupMenu(IMenu*, const IBox&) { return nullptr; }
void IGraphicsWin::GetHostFolder(std::string& folder) { folder.clear(); }
void IGraphicsWin::GetPluginFolder(std::string& folder) { folder.clear(); }
void IGraphicsWin::GetDesktopFolder(std::string& folder) { folder.clear(); }
void IGraphicsWin::GetAppDataFolder(std::string& folder, bool) { folder.clear(); }
void IGraphicsWin::GetUserAppDataFolder(std::string& folder) { folder.clear(); }
void IGraphicsWin::AskForFile(std::string& file, int, std::string&, const char*) { file.clear(); }
bool IGraphicsWin::AskForColour(IColour&, const char*) { return false; }
bool IGraphicsWin::OpenLink(const char*, const char*, const char*, const char*) { return false; }
bool IGraphicsWin::ReadClipboardText(std::string& text)
{
  text.clear();
  return false;
}
