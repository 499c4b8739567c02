// The message box's owner, opening a web address, and the colour dialog, each
// answered by a second actor as a user would.

#include "desktop_support.h"
#include "platform/win/WinDesktop.h"

#include <gtest/gtest.h>

#include <colordlg.h>

#include <cstring>
#include <string>

namespace {

std::string TextOf(HWND window)
{
  char text[256] = "";
  GetWindowTextA(window, text, sizeof text);
  return text;
}

std::string ItemTextOf(HWND dialog, int item)
{
  char text[256] = "";
  GetDlgItemTextA(dialog, item, text, sizeof text);
  return text;
}

// Presses a dialog button the way its click notifies the dialog.
void Press(HWND dialog, int button)
{
  PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(button, BN_CLICKED),
               reinterpret_cast<LPARAM>(GetDlgItem(dialog, button)));
}

const int kMessageTextItem = 0xFFFF;

// An editor in a floating window that the host's main window owns, as many
// hosts show plug-ins: the editor's root is the floating window, but message
// boxes belong to the host's main window above it.
struct FloatingEditor
{
  HWND floating;
  HWND editor;
  explicit FloatingEditor(HWND host)
  {
    floating = CreateWindowExA(WS_EX_TOOLWINDOW, "STATIC", "Plug-in", WS_POPUP | WS_VISIBLE, 60, 60,
                               300, 120, host, nullptr, nullptr, nullptr);
    editor = CreateWindowExA(0, "STATIC", "", WS_CHILD | WS_VISIBLE, 0, 0, 300, 120, floating,
                             nullptr, nullptr, nullptr);
  }
  ~FloatingEditor() { DestroyWindow(floating); }
};

TEST(DesktopMessageBox, IsOwnedByTheHostsMainWindowFoundOnceAndLaterByItsClassName)
{
  TestHostWindows windows;
  FloatingEditor plugin(windows.host);
  WinMainWindow main;
  EXPECT_EQ(WinFindMainWindow(main, nullptr), nullptr) << "nothing to go by yet";

  HWND owner = nullptr;
  std::string text;
  ModalActor actor([] { return FindVisibleWindow("#32770", "Morvex box"); },
                   [&](HWND box) {
                     owner = GetWindow(box, GW_OWNER);
                     text = ItemTextOf(box, kMessageTextItem);
                     Press(box, IDCANCEL);
                   });
  const int answer = WinShowMessageBox(main, plugin.editor, "Reset all?", "Morvex box", MB_OKCANCEL);
  ASSERT_TRUE(actor.Finish());
  EXPECT_EQ(owner, windows.host);
  EXPECT_EQ(text, "Reset all?");
  EXPECT_EQ(answer, IDCANCEL);
  EXPECT_EQ(main.window, windows.host);
  EXPECT_STREQ(main.className, kTestHostClass);

  // Without a parent, the remembered class name finds it, and only the exact name.
  WinMainWindow later;
  std::strcpy(later.className, main.className);
  EXPECT_EQ(WinFindMainWindow(later, nullptr), windows.host);
  WinMainWindow otherClass;
  std::strcpy(otherClass.className, "MorvexDesktopTestHos");
  EXPECT_EQ(WinFindMainWindow(otherClass, nullptr), nullptr);
}

// What the link's stand-in for the shell saw.
struct ShellLog
{
  bool connected = true;
  INT_PTR openResult = 42;
  int connectionQueries = 0;
  std::string opened;
};
ShellLog gShell;

bool LoggedConnected()
{
  ++gShell.connectionQueries;
  return gShell.connected;
}

INT_PTR LoggedOpen(HWND, const char* address)
{
  gShell.opened = address;
  return gShell.openResult;
}

TEST(DesktopOpenLink, OpensAtOnceOrAfterYesAndShowsTheFailureMessageWhenItCannot)
{
  const char* const address = "https://morvex.example/manual";
  const struct {
    const char* what;
    const char* confirmation;
    const char* failure;
    bool connected;
    INT_PTR openResult;
    int answer;               // the button pressed in the box, 0 when none may appear
    const char* boxText;      // the box the user sees, null when none
    bool opened;              // whether the address reached the shell
    bool result;
  } cases[] = {
      {"without a confirmation it opens at once", nullptr, "No way", true, 42, 0, nullptr, true,
       true},
      {"a confirmation answered No opens nothing", "Open the manual?", "No way", true, 42, IDNO,
       "Open the manual?", false, false},
      {"a confirmation answered Yes opens", "Open the manual?", nullptr, true, 42, IDYES,
       "Open the manual?", true, true},
      {"no connection shows the failure", nullptr, "No way", false, 42, IDOK, "No way", false,
       false},
      {"a shell failure shows the failure", nullptr, "No way", true, 2, IDOK, "No way", true,
       false},
      {"a shell failure without a message shows nothing", nullptr, nullptr, true, 2, 0, nullptr,
       true, false},
  };
  const WinLinkShell shell = {LoggedConnected, LoggedOpen};
  TestHostWindows windows;
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    gShell = ShellLog();
    gShell.connected = c.connected;
    gShell.openResult = c.openResult;
    std::string boxText;
    ModalActor actor([] { return FindVisibleWindow("#32770", "Manual"); },
                     [&](HWND box) {
                       boxText = ItemTextOf(box, kMessageTextItem);
                       Press(box, c.answer ? c.answer : IDCANCEL);
                     });
    const bool result = WinOpenLink(windows.editor, address, "Manual", c.confirmation, c.failure, shell);
    EXPECT_EQ(actor.Finish(), c.boxText != nullptr);
    EXPECT_EQ(boxText, c.boxText ? c.boxText : "");
    EXPECT_EQ(gShell.opened, c.opened ? address : "");
    EXPECT_EQ(result, c.result);
    if (c.answer == IDNO) {
      EXPECT_EQ(gShell.connectionQueries, 0);
    }
  }
}

TEST(DesktopColour, OkReplacesRedGreenBlueAndKeepsAlphaCancelChangesNothing)
{
  TestHostWindows windows;
  COLORREF custom[16] = {};

  // OK: the dialog starts from the colour and is titled with the prompt; the
  // colour added to the custom row lands in the caller's row.
  IColour colour(77, 10, 20, 30);
  std::string shownRed, shownGreen, shownBlue;
  ModalActor picker([] { return FindVisibleWindow("#32770", "Knob colour"); },
                    [&](HWND dialog) {
                      shownRed = ItemTextOf(dialog, COLOR_RED);
                      shownGreen = ItemTextOf(dialog, COLOR_GREEN);
                      shownBlue = ItemTextOf(dialog, COLOR_BLUE);
                      SetDlgItemTextA(dialog, COLOR_RED, "200");
                      SetDlgItemTextA(dialog, COLOR_GREEN, "100");
                      SetDlgItemTextA(dialog, COLOR_BLUE, "50");
                      Press(dialog, COLOR_ADD);
                      Press(dialog, IDOK);
                    });
  EXPECT_TRUE(WinAskForColour(windows.editor, custom, colour, "Knob colour"));
  ASSERT_TRUE(picker.Finish());
  EXPECT_EQ(shownRed + " " + shownGreen + " " + shownBlue, "10 20 30");
  EXPECT_EQ(colour.alpha, 77);
  EXPECT_EQ(colour.red, 200);
  EXPECT_EQ(colour.green, 100);
  EXPECT_EQ(colour.blue, 50);
  EXPECT_EQ(custom[0], RGB(200, 100, 50));

  // Cancel.
  const IColour before = colour;
  std::string title;
  ModalActor canceller([&] { return FindOwnedDialog(windows.host); },
                       [&](HWND dialog) {
                         title = TextOf(dialog);
                         SetDlgItemTextA(dialog, COLOR_RED, "1");
                         Press(dialog, IDCANCEL);
                       });
  EXPECT_FALSE(WinAskForColour(windows.editor, custom, colour, nullptr));
  ASSERT_TRUE(canceller.Finish());
  EXPECT_FALSE(title.empty()) << "without a prompt the dialog keeps its own title";
  EXPECT_EQ(colour.red, before.red);
  EXPECT_EQ(colour.green, before.green);
  EXPECT_EQ(colour.blue, before.blue);

  EXPECT_FALSE(WinAskForColour(nullptr, custom, colour, "Knob colour")) << "no owner";
}

}  // namespace
