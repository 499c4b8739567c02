// The editor window's desktop services on Linux. Morvex shows no dialog, no
// menu of its own (VST 3 hosts show theirs for a parameter), no link and no
// clipboard, so each of those answers that nothing was chosen. The folders
// follow the XDG conventions; host and plug-in folders end in a slash, the
// others do not, and each is "" when it cannot be had.
#include "platform/x11/IGraphicsX11.h"

#include <dlfcn.h>
#include <unistd.h>

#include <cstdlib>
#include <string>

namespace
{
std::string FolderOfPath(const std::string& path)
{
  const std::size_t slash = path.rfind('/');
  if (slash == std::string::npos || slash + 1 == path.size()) return std::string();
  return path.substr(0, slash + 1);
}

std::string HomeFolder(const char* below)
{
  const char* home = std::getenv("HOME");
  if (!home || !*home) return std::string();
  return std::string(home) + below;
}
}  // namespace

int IGraphicsX11::ShowMessageBox(const char*, const char*, int) { return 0; }

IMenu* IGraphicsX11::ShowPopupMenu(IMenu*, const IBox&) { return nullptr; }

void IGraphicsX11::OpenValueEntry(IControl*, const ITextStyle&, const IBox&, const char*,
                                  IParamEntry*)
{
}

void IGraphicsX11::AskForFile(std::string& file, int, std::string&, const char*) { file.clear(); }

bool IGraphicsX11::AskForColour(IColour&, const char*) { return false; }

bool IGraphicsX11::OpenLink(const char*, const char*, const char*, const char*) { return false; }

bool IGraphicsX11::ReadClipboardText(std::string& text)
{
  text.clear();
  return false;
}

void IGraphicsX11::GetHostFolder(std::string& folder)
{
  char path[4096];
  const ssize_t length = readlink("/proc/self/exe", path, sizeof path);
  // A path that filled the buffer was cut, and its folder would be wrong.
  folder = length > 0 && length < static_cast<ssize_t>(sizeof path)
               ? FolderOfPath(std::string(path, static_cast<std::size_t>(length)))
               : std::string();
}

void IGraphicsX11::GetPluginFolder(std::string& folder)
{
  // The shared object this function is in: the plug-in's own module.
  Dl_info info = {};
  static const int kHere = 0;
  folder = dladdr(&kHere, &info) && info.dli_fname ? FolderOfPath(info.dli_fname) : std::string();
}

void IGraphicsX11::GetDesktopFolder(std::string& folder) { folder = HomeFolder("/Desktop"); }

void IGraphicsX11::GetAppDataFolder(std::string& folder, bool allUsers)
{
  if (allUsers)
  {
    folder = "/etc/xdg";
    return;
  }
  const char* config = std::getenv("XDG_CONFIG_HOME");
  folder = config && *config == '/' ? std::string(config) : HomeFolder("/.config");
}

void IGraphicsX11::GetUserAppDataFolder(std::string& folder) { GetAppDataFolder(folder, false); }
