// The well-known folders and the clipboard's text.

#include "desktop_support.h"
#include "platform/win/WinDesktop.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

namespace {

bool IsFolder(const std::string& path)
{
  const DWORD attributes = GetFileAttributesA(path.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

bool IsFile(const std::string& path)
{
  const DWORD attributes = GetFileAttributesA(path.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

bool EndsInBackslash(const std::string& path)
{
  return !path.empty() && path.back() == '\\';
}

TEST(DesktopFolders, AFolderIsThePathUpToItsLastBackslash)
{
  const struct {
    const char* path;
    const char* folder;
  } cases[] = {
      {"C:\\Program Files\\Host\\host.exe", "C:\\Program Files\\Host\\"},
      {"C:\\host.exe", "C:\\"},
      {"host.exe", ""},          // no backslash
      {"C:\\Hosts\\", ""},       // nothing after the last backslash
      {"", ""},
      {nullptr, ""},
  };
  for (const auto& c : cases)
    EXPECT_EQ(WinFolderOfPath(c.path), c.folder) << (c.path ? c.path : "(null)");
}

TEST(DesktopFolders, ModuleFoldersEndInABackslashShellFoldersDoNot)
{
  const std::string host = WinHostFolder();
  EXPECT_TRUE(EndsInBackslash(host)) << host;
  EXPECT_TRUE(IsFile(host + "morvex_platform_tests.exe")) << host;
  EXPECT_EQ(WinModuleFolder(GetModuleHandleA(nullptr)), host);

  char system[MAX_PATH] = "";
  GetSystemDirectoryA(system, sizeof system);
  EXPECT_EQ(lstrcmpiA(WinModuleFolder(GetModuleHandleA("kernel32.dll")).c_str(),
                      (std::string(system) + "\\").c_str()),
            0);
  EXPECT_EQ(WinModuleFolder(reinterpret_cast<HMODULE>(0x1230)), "") << "not a module";

  const std::string shellFolders[] = {WinDesktopFolder(), WinAppDataFolder(true),
                                      WinAppDataFolder(false), WinUserAppDataFolder()};
  for (const std::string& folder : shellFolders) {
    EXPECT_TRUE(IsFolder(folder)) << folder;
    EXPECT_FALSE(EndsInBackslash(folder)) << folder;
  }
  EXPECT_NE(shellFolders[1], shellFolders[2]) << "all users and this user differ";
  EXPECT_EQ(shellFolders[3], shellFolders[2]);
}

// Puts one block of this format on the clipboard, or empties it.
bool PutOnClipboard(HWND owner, UINT format, const void* data, std::size_t bytes)
{
  if (!OpenClipboard(owner)) return false;
  EmptyClipboard();
  bool put = true;
  if (data) {
    HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, bytes);
    std::memcpy(GlobalLock(block), data, bytes);
    GlobalUnlock(block);
    put = SetClipboardData(format, block) != nullptr;
  }
  CloseClipboard();
  return put;
}

TEST(DesktopClipboard, UnicodeTextComesBackAsUtf8AndNothingElseIsText)
{
  const wchar_t gain[] = L"Gain \u00B16 dB \u2013 \u00DCberh\u00F6hung \u20AC";
  const char gainUtf8[] = "Gain \xC2\xB1" "6 dB \xE2\x80\x93 \xC3\x9C" "berh\xC3\xB6hung \xE2\x82\xAC";
  const char narrow[] = "Gain";
  const struct {
    const char* what;
    UINT format;
    const void* data;
    std::size_t bytes;
    bool read;
    const char* text;
  } cases[] = {
      {"Unicode text", CF_UNICODETEXT, gain, sizeof gain, true, gainUtf8},
      {"empty Unicode text", CF_UNICODETEXT, L"", sizeof(wchar_t), true, ""},
      // The system offers ANSI text as Unicode text too.
      {"ANSI text", CF_TEXT, narrow, sizeof narrow, true, "Gain"},
      {"only non-Unicode text", CF_DSPTEXT, narrow, sizeof narrow, false, ""},
      {"an empty clipboard", 0, nullptr, 0, false, ""},
  };
  TestHostWindows windows;
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    ASSERT_TRUE(PutOnClipboard(windows.host, c.format, c.data, c.bytes));
    std::string text = "stale";
    EXPECT_EQ(WinReadClipboardText(text), c.read);
    EXPECT_EQ(text, c.text);
  }
}

}  // namespace
