#pragma once

#include "graphics/IGraphics.h"
#include "platform/win/WinDesktop.h"

#include <windows.h>

#include <string>

class IParamEntry;

// The editor as a Win32 child window inside the host's parent window. It
// redraws from a 40 ms timer, turns window messages into the graphics
// context's routing calls, copies the drawing surface to the screen, shows
// tooltips and hosts the in-place value-entry field. Everything runs on the
// thread that owns the window, the host's user-interface thread.
class IGraphicsWin : public IGraphics
{
public:
  static constexpr const char* kWindowClass = "IPlugWndClass";
  static constexpr UINT_PTR kTimerId = 2;
  static constexpr int kEntryFieldId = 99;

  IGraphicsWin(IPlugBase* plug, int width, int height, int fps, HINSTANCE moduleInstance);
  ~IGraphicsWin() override;

  bool PresentRegion(const IBox& box) override;
  void CancelValueEntry() override;
  void SetEditorSize(int width, int height) override;
  bool HasWindow() override { return mWindow != nullptr; }
  const char* GetDrawingApiName() override { return "Windows GDI"; }
  int ShowMessageBox(const char* text, const char* caption, int type) override;
  IMenu* ShowPopupMenu(IMenu* menu, const IBox& box) override;
  void OpenValueEntry(IControl* control, const ITextStyle& style, const IBox& box,
                      const char* text, IParamEntry* param) override;
  void GetHostFolder(std::string& folder) override;
  void GetPluginFolder(std::string& folder) override;
  void GetDesktopFolder(std::string& folder) override;
  void GetAppDataFolder(std::string& folder, bool allUsers) override;
  void GetUserAppDataFolder(std::string& folder) override;
  void AskForFile(std::string& file, int action, std::string& folder,
                  const char* extensions) override;
  bool AskForColour(IColour& colour, const char* prompt) override;
  bool OpenLink(const char* address, const char* title, const char* confirmation,
                const char* failureMessage) override;
  void* OpenWindow(void* parent) override;
  void CloseWindow() override;
  void* GetWindowHandle() override { return mWindow; }
  bool ReadClipboardText(std::string& text) override;
  void HideCursorForDrag() override;
  void RestoreCursor() override;
  void UnusedHook27() override {}
  LICE_IBitmap* LoadResourceImage(int id, const char* name) override;
  std::unique_ptr<LICE_PNGRows> OpenResourceRows(int id, const char* name) override;
  // The parent's DPI over 96, as GetDpiForWindow tells it where Windows has it.
  double ScreenScale() override;

  // How many open editor windows of the module hold the window class.
  static int WindowClassUsers();
  EntryState GetEntryState() const { return mEntryState; }
  HWND EntryField() const { return mEntryField; }
  HWND TooltipWindow() const { return mTooltipWindow; }

protected:
  void ScaleChanged() override;

private:
  static LRESULT CALLBACK WindowProc(HWND window, UINT msg, WPARAM wParam, LPARAM lParam);
  static LRESULT CALLBACK EntryProc(HWND field, UINT msg, WPARAM wParam, LPARAM lParam);
  LRESULT HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam);
  LRESULT HandleEntryMessage(UINT msg, WPARAM wParam, LPARAM lParam);

  void OnTimer();
  void OnMouseMove(WPARAM wParam, LPARAM lParam);
  LRESULT OnKey(UINT msg, WPARAM wParam, LPARAM lParam);
  // Applies the typed text to the entry's control, as the user's edit.
  void CommitEntry();
  // Closes the field without applying anything.
  void CloseEntry();
  // The window is gone without CloseWindow (its parent was destroyed).
  void ForgetWindow();

  void SetUpTooltips();
  void ShowTooltip(bool show);

  // Module-wide: the redraw rate of the latest window to open.
  static double sRedrawRate;

  HINSTANCE mModuleInstance;
  HWND mWindow = nullptr;
  HWND mEntryField = nullptr;
  HWND mTooltipWindow = nullptr;
  IControl* mEntryControl = nullptr;
  IParamEntry* mEntryParam = nullptr;
  WNDPROC mEntryDefaultProc = nullptr;
  HFONT mEntryFont = nullptr;
  EntryState mEntryState = EntryState::None;
  bool mTooltipShown = false;
  int mTooltipIndex = -1;
  COLORREF* mCustomColours = nullptr;  // the colour dialog's custom colours
  HWND mParentWindow = nullptr;
  WinMainWindow mMainWindow;  // the host's window that owns message boxes
  bool mClosing = false;
  int mWheelRemainder = 0;
  double mWindowScale = 1.0;  // the factor the window was last sized for
};
