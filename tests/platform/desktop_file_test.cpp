// The file dialog: what it is given and what comes back, through a stand-in
// that records the dialog's request, and once through the real dialog.

#include "desktop_support.h"
#include "platform/win/WinDesktop.h"

#include <gtest/gtest.h>

#include <dlgs.h>

#include <cstring>
#include <string>

namespace {

// What the stand-in dialog received, and what it answers.
struct DialogLog
{
  const char* answer = nullptr;  // the chosen path, or null to cancel
  int calls = 0;
  bool save = false;
  HWND owner = nullptr;
  std::string filter;  // with its inner terminators, up to the final one
  std::string defaultExtension;
  std::string initialFile;
  std::string initialFolder;
  DWORD size = 0;
  DWORD flags = 0;
};
DialogLog gDialog;

BOOL Answer(OPENFILENAMEA* request, bool save)
{
  DialogLog& log = gDialog;
  ++log.calls;
  log.save = save;
  log.owner = request->hwndOwner;
  log.filter.clear();
  for (const char* at = request->lpstrFilter; at && *at; at += std::strlen(at) + 1)
    log.filter.append(at, std::strlen(at) + 1);
  log.defaultExtension = request->lpstrDefExt ? request->lpstrDefExt : "(none)";
  log.initialFile = request->lpstrFile;
  log.initialFolder = request->lpstrInitialDir ? request->lpstrInitialDir : "(none)";
  log.size = request->nMaxFile;
  log.flags = request->Flags;
  if (!log.answer) return FALSE;
  std::strcpy(request->lpstrFile, log.answer);
  return TRUE;
}
BOOL WINAPI AnswerOpen(OPENFILENAMEA* request) { return Answer(request, false); }
BOOL WINAPI AnswerSave(OPENFILENAMEA* request) { return Answer(request, true); }
const WinFileDialogs kStandIn = {AnswerOpen, AnswerSave};

TEST(DesktopFile, TheDialogGetsTheFilterDefaultNameAndFolderAndItsChoiceComesBack)
{
  const std::string desktop = WinDesktopFolder();
  ASSERT_FALSE(desktop.empty());
  using namespace std::string_literals;
  const struct {
    const char* what;
    int action;
    const char* extensions;
    const char* file;
    const char* folder;
    const char* answer;
    bool save;
    std::string filter;
    const char* defaultExtension;
    DWORD flags;
    std::string initialFolder;
    const char* fileOut;
    std::string folderOut;
  } cases[] = {
      {"a chosen path to save sets file and folder", 1, "abc de", "take", "C:\\songs", "D:\\mix\\take.abc",
       true, "*.abc;*.de\0*.abc;*.de\0"s, "abc", OFN_OVERWRITEPROMPT | OFN_PATHMUSTEXIST,
       "C:\\songs", "D:\\mix\\take.abc", "D:\\mix\\"},
      {"a cancelled open keeps the folder", 0, "wav", "", "C:\\songs", nullptr, false,
       "*.wav\0*.wav\0"s, "wav", OFN_FILEMUSTEXIST | OFN_PATHMUSTEXIST, "C:\\songs", "",
       "C:\\songs"},
      {"no folder starts on the desktop", 2, "  wav  aif ", "", "", nullptr, false,
       "*.wav;*.aif\0*.wav;*.aif\0"s, "wav", OFN_FILEMUSTEXIST | OFN_PATHMUSTEXIST, desktop, "",
       desktop},
      {"no extensions, no filter", 0, "", "", "C:\\songs", "C:\\songs\\notes", false, "",
       "(none)", OFN_FILEMUSTEXIST | OFN_PATHMUSTEXIST, "C:\\songs", "C:\\songs\\notes",
       "C:\\songs\\"},
  };
  TestHostWindows windows;
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    gDialog = DialogLog();
    gDialog.answer = c.answer;
    std::string file = c.file;
    std::string folder = c.folder;
    WinAskForFile(windows.editor, file, c.action, folder, c.extensions, kStandIn);
    ASSERT_EQ(gDialog.calls, 1);
    EXPECT_EQ(gDialog.save, c.save);
    EXPECT_EQ(gDialog.owner, windows.editor);
    EXPECT_EQ(gDialog.filter, c.filter);
    EXPECT_EQ(gDialog.defaultExtension, c.defaultExtension);
    EXPECT_EQ(gDialog.flags, c.flags);
    EXPECT_EQ(gDialog.initialFile, c.file);
    EXPECT_EQ(gDialog.initialFolder, c.initialFolder);
    EXPECT_EQ(gDialog.size, DWORD(kWinFileBufferSize));
    EXPECT_EQ(file, c.fileOut);
    EXPECT_EQ(folder, c.folderOut);
  }
}

TEST(DesktopFile, TextsBeyondTheirBuffersAreRefusedNeverCut)
{
  // "a" and three extensions of 38 characters make a pattern of 126 characters,
  // which twice with three terminators is a filter of 255 bytes; one more
  // character makes it 257.
  const std::string e38(38, 'e');
  const std::string fits = "a " + e38 + " " + e38 + " " + e38;
  const std::string tooMany = fits + "e";
  const std::string name255(255, 'n');
  const struct {
    const char* what;
    bool owner;
    std::string extensions;
    std::string file;
    bool shown;
    std::string initialFile;
  } cases[] = {
      {"a filter of 255 bytes", true, fits, "take", true, "take"},
      {"a filter of 257 bytes", true, tooMany, "take", false, ""},
      {"a first extension of 15 characters", true, std::string(15, 'x'), "take", true, "take"},
      {"a first extension of 16 characters", true, std::string(16, 'x'), "take", false, ""},
      {"a proposed name of 255 characters", true, "wav", name255, true, name255},
      {"a proposed name of 256 characters starts empty", true, "wav", name255 + "n", true, ""},
      {"no window shows nothing either", false, "wav", "take", false, ""},
  };
  TestHostWindows windows;
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    gDialog = DialogLog();
    std::string file = c.file;
    std::string folder = "C:\\songs";
    WinAskForFile(c.owner ? windows.editor : nullptr, file, 0, folder, c.extensions.c_str(),
                  kStandIn);
    EXPECT_EQ(gDialog.calls, c.shown ? 1 : 0);
    if (c.shown) {
      EXPECT_EQ(gDialog.initialFile, c.initialFile);
    }
    EXPECT_EQ(file, "");
    EXPECT_EQ(folder, "C:\\songs");
  }
}

// A fresh folder of its own in the temporary folder, removed afterwards.
struct TempFolder
{
  std::string path;
  TempFolder()
  {
    char temp[MAX_PATH] = "";
    GetTempPathA(sizeof temp, temp);
    path = std::string(temp) + "morvex-desktop-" + std::to_string(GetCurrentProcessId());
    CreateDirectoryA(path.c_str(), nullptr);
  }
  ~TempFolder() { RemoveDirectoryA(path.c_str()); }
};

TEST(DesktopFile, TheRealSaveDialogOffersThePatternAndAddsTheDefaultExtension)
{
  TestHostWindows windows;
  TempFolder temp;
  const struct {
    const char* what;
    bool save;
    std::string fileOut;
    std::string folderOut;
  } cases[] = {
      {"a typed name is saved with the default extension", true, temp.path + "\\take1.abc",
       temp.path + "\\"},
      {"cancel gives no file and keeps the folder", false, "", temp.path},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    std::string offered;
    ModalActor user([&] { return FindOwnedDialog(windows.host); },
                    [&](HWND dialog) {
                      char text[256] = "";
                      GetDlgItemTextA(dialog, cmb1, text, sizeof text);
                      offered = text;
                      if (c.save) {
                        // The name field is a combo box in newer dialogs, an edit field in older ones.
                        HWND name = GetDlgItem(dialog, cmb13);
                        SetWindowTextA(name ? name : GetDlgItem(dialog, edt1), "take1");
                        PostMessageA(dialog, WM_COMMAND, IDOK, 0);
                      } else {
                        PostMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
                      }
                    });
    std::string file = "old";
    std::string folder = temp.path;
    WinAskForFile(windows.editor, file, 1, folder, "abc de");
    ASSERT_TRUE(user.Finish());
    EXPECT_EQ(offered, "*.abc;*.de");
    EXPECT_EQ(file, c.fileOut);
    EXPECT_EQ(folder, c.folderOut);
  }
}

}  // namespace
