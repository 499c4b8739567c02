#include "platform/win/WinDesktop.h"

#include <shlobj.h>

#include <cstring>

namespace {

constexpr DWORD kModulePathSize = 256;

}  // namespace

std::string WinFolderOfPath(const char* path)
{
  const char* lastSlash = path ? std::strrchr(path, '\\') : nullptr;
  if (!lastSlash || lastSlash[1] == '\0') return std::string();
  return std::string(path, static_cast<std::size_t>(lastSlash - path + 1));
}

std::string WinModuleFolder(HMODULE module)
{
  char path[kModulePathSize] = "";
  const DWORD length = GetModuleFileNameA(module, path, kModulePathSize);
  // A path that filled the buffer was cut, and its folder would be wrong.
  if (length == 0 || length >= kModulePathSize) return std::string();
  return WinFolderOfPath(path);
}

std::string WinHostFolder()
{
  return WinModuleFolder(nullptr);
}

std::string WinDesktopFolder()
{
  char path[MAX_PATH] = "";
  if (!SHGetSpecialFolderPathA(nullptr, path, CSIDL_DESKTOP, FALSE)) return std::string();
  return path;
}

std::string WinAppDataFolder(bool allUsers)
{
  char path[MAX_PATH] = "";
  const int folder = allUsers ? CSIDL_COMMON_APPDATA : CSIDL_APPDATA;
  if (FAILED(SHGetFolderPathA(nullptr, folder, nullptr, SHGFP_TYPE_CURRENT, path)))
    return std::string();
  return path;
}

std::string WinUserAppDataFolder()
{
  return WinAppDataFolder(false);
}
