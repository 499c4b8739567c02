#include "platform/win/WinDesktop.h"

#include "graphics/IGraphics.h"

#include <cstdlib>
#include <cstring>

namespace {

// "abc de" gives the pattern "*.abc;*.de" and the first extension "abc".
std::string FilePattern(const char* extensions, std::string& first)
{
  std::string pattern;
  const char* at = extensions ? extensions : "";
  while (*at) {
    const std::size_t length = std::strcspn(at, " ");
    if (length > 0) {
      if (pattern.empty()) first.assign(at, length);
      else pattern += ';';
      pattern += "*.";
      pattern.append(at, length);
    }
    at += length;
    if (*at) ++at;
  }
  return pattern;
}

}  // namespace

const WinFileDialogs kWinSystemFileDialogs = {GetOpenFileNameA, GetSaveFileNameA};

void WinAskForFile(HWND owner, std::string& file, int action, std::string& folder,
                   const char* extensions, const WinFileDialogs& dialogs)
{
  if (!owner) {
    file.clear();
    return;
  }

  // The filter is the pattern twice, as description and as pattern, each with
  // its terminator, and a final terminator. An extension list that does not fit
  // the filter, or a first extension that does not fit the default, is the
  // caller's mistake: no dialog, no file, rather than a filter that offers
  // other files than asked for.
  std::string first;
  const std::string pattern = FilePattern(extensions, first);
  if (2 * (pattern.size() + 1) + 1 > kWinFilterSize || first.size() >= kWinDefaultExtensionSize) {
    file.clear();
    return;
  }
  char filter[kWinFilterSize] = {};
  std::memcpy(filter, pattern.data(), pattern.size());
  std::memcpy(filter + pattern.size() + 1, pattern.data(), pattern.size());

  // A proposed name that does not fit is left out rather than cut: a cut name
  // would propose another file.
  char path[kWinFileBufferSize] = "";
  if (file.size() < sizeof path) std::memcpy(path, file.c_str(), file.size() + 1);

  if (folder.empty()) folder = WinDesktopFolder();

  OPENFILENAMEA dialog = {};
  dialog.lStructSize = sizeof dialog;
  dialog.hwndOwner = owner;
  dialog.lpstrFilter = pattern.empty() ? nullptr : filter;
  dialog.lpstrFile = path;
  dialog.nMaxFile = sizeof path;
  dialog.lpstrInitialDir = folder.c_str();
  dialog.lpstrDefExt = first.empty() ? nullptr : first.c_str();

  BOOL chosen;
  if (action == IGraphics::kFileSave) {
    dialog.Flags = OFN_OVERWRITEPROMPT | OFN_PATHMUSTEXIST;
    chosen = dialogs.save(&dialog);
  } else {
    dialog.Flags = OFN_FILEMUSTEXIST | OFN_PATHMUSTEXIST;
    chosen = dialogs.open(&dialog);
  }
  if (!chosen) {
    file.clear();
    return;
  }

  path[sizeof path - 1] = '\0';
  char drive[_MAX_DRIVE] = "";
  char directory[_MAX_DIR] = "";
  _splitpath(path, drive, directory, nullptr, nullptr);
  folder = std::string(drive) + directory;
  file = path;
}
