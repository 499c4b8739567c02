#pragma once
// The editor's desktop services on Windows: message box, popup menu, folders,
// file and colour dialogs, opening a web address and reading the clipboard.
// Thin functions over Win32 that the editor window calls; they keep no state of
// their own (what must last between calls, the caller keeps and passes in).
// All of them run on the thread that owns the editor window.

#include "graphics/IBox.h"
#include "graphics/IGraphicsTypes.h"
#include "graphics/IMenu.h"

#include <windows.h>
#include <commdlg.h>

#include <string>
#include <vector>

// --- Message box --------------------------------------------------------------------

// The host's top-level window, which owns our message boxes. The editor keeps
// one for its lifetime. Once found, the window is kept; when the caller clears
// it (say, the host's window has gone), the remembered class name finds the
// host's window again, even without a parent.
struct WinMainWindow
{
  static constexpr int kClassNameSize = 128;
  HWND window = nullptr;
  char className[kClassNameSize] = "";
};

// Finds main.window when it is not known yet: from parent, by walking GetParent
// as far as it goes (child to parent, owned popup to owner) and remembering the
// class name of the window it ends at; without a parent,
// the first top-level window of this process whose class name is the remembered
// one. Gives main.window, null when nothing was found.
HWND WinFindMainWindow(WinMainWindow& main, HWND parent);

// MessageBoxA owned by the host's main window (see WinFindMainWindow).
int WinShowMessageBox(WinMainWindow& main, HWND parent, const char* text, const char* caption,
                      UINT type);

// --- Popup menu ---------------------------------------------------------------------

// A submenu and the command id of its first item.
struct WinSubmenuBlock
{
  IMenu* menu;
  int firstId;
};

// Builds the Win32 popup menu of an IMenu. Command ids are handed out depth-first:
// the top menu's items are 0..n-1, and each submenu, when its item is reached,
// takes the next free block for its own items, its own submenus after it.
// submenus receives the blocks in building order. Null when the top menu cannot
// be made; a submenu that cannot be made is left out. The caller destroys it.
HMENU WinBuildPopupMenu(IMenu& menu, std::vector<WinSubmenuBlock>& submenus);

// The menu holding command id (the top menu or a submenu), with its chosen index
// set; null when no menu holds it.
IMenu* WinMenuForCommand(IMenu& menu, const std::vector<WinSubmenuBlock>& submenus, int id);

// Shows the menu at the box's left and bottom (owner's client pixels) and waits
// for the user. Gives the menu holding the choice, with its chosen index set, or
// null when nothing was chosen. The caller drops the editor's mouse capture
// before and invalidates the editor after.
IMenu* WinShowPopupMenu(HWND owner, IMenu* menu, const IBox& box);

// --- Folders ------------------------------------------------------------------------
// Host and plug-in folders end in a backslash; the shell folders do not. Every
// one is "" when it cannot be had.

// The folder part of a path, up to and including its last backslash; "" when
// there is no backslash or nothing follows the last one.
std::string WinFolderOfPath(const char* path);
// The folder of the host's executable.
std::string WinHostFolder();
// The folder of a loaded module, e.g. the plug-in's own.
std::string WinModuleFolder(HMODULE module);
std::string WinDesktopFolder();
// The application-data folder of all users, or of the current user only.
std::string WinAppDataFolder(bool allUsers);
std::string WinUserAppDataFolder();

// --- File dialog --------------------------------------------------------------------

// The common dialogs AskForFile shows; tests put their own in place to see what
// the dialog is given.
struct WinFileDialogs
{
  BOOL(WINAPI* open)(OPENFILENAMEA*);
  BOOL(WINAPI* save)(OPENFILENAMEA*);
};
extern const WinFileDialogs kWinSystemFileDialogs;

constexpr int kWinFileBufferSize = 256;  // 255 characters and the terminator
constexpr int kWinFilterSize = 256;
constexpr int kWinDefaultExtensionSize = 16;  // 15 characters and the terminator

// Asks for a file to open (any action but 1) or save (action 1).
// file: in, the proposed name; out, the chosen path, or "" when cancelled.
// folder: in, where to start (the desktop when empty, and then it stays so);
// out, the chosen file's drive and directory, unchanged when cancelled.
// extensions: space-separated, without dots, e.g. "wav aif"; the first is the
// default. Without an owner, file becomes "" and nothing is shown.
void WinAskForFile(HWND owner, std::string& file, int action, std::string& folder,
                   const char* extensions, const WinFileDialogs& dialogs = kWinSystemFileDialogs);

// --- Colour dialog ------------------------------------------------------------------

// Asks for a colour, starting from colour's red, green and blue, with prompt as
// the dialog's title when given. On OK replaces red, green and blue (alpha
// stays) and gives true. customColours is the dialog's row of 16 custom colours,
// which the caller keeps across calls. False without an owner.
bool WinAskForColour(HWND owner, COLORREF* customColours, IColour& colour, const char* prompt);

// --- Web address --------------------------------------------------------------------

// How an address is opened; tests put their own in place so no browser starts.
struct WinLinkShell
{
  bool (*connected)();
  // Greater than 32 when it opened, like ShellExecuteA.
  INT_PTR (*open)(HWND owner, const char* address);
};
extern const WinLinkShell kWinSystemLinkShell;

// Opens the address in the user's browser. With a confirmation, asks first
// (Yes/No, titled title) and opens nothing unless the answer is Yes. When there
// is no connection or the address cannot be opened, shows the failure message
// when one is given. True when the address was opened.
bool WinOpenLink(HWND owner, const char* address, const char* title, const char* confirmation,
                 const char* failureMessage, const WinLinkShell& shell = kWinSystemLinkShell);

// --- Clipboard ----------------------------------------------------------------------

// The clipboard's Unicode text as UTF-8. False, and text "", when there is none.
bool WinReadClipboardText(std::string& text);
