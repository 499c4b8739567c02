#pragma once

#include "graphics/IEditorRunLoop.h"
#include "graphics/IGraphics.h"
#include "graphics/IRedrawPacer.h"

#include <memory>
#include <string>

// Xlib's types, without Xlib's macros in every file that names the editor.
struct _XDisplay;
struct _XGC;
union _XEvent;
class X11SharedImage;

// The editor as an X11 child window inside the host's window. It has no
// thread of its own: the host's run loop calls its redraw timer and hands it
// the connection's events, which become the graphics context's routing
// calls, as window messages do on Windows. Each open window has its own
// connection to the display, so closing it takes everything of it along.
//
// The window is an XEmbed client of the host's window: it carries
// _XEMBED_INFO from its creation (hosts that embed check it the moment the
// window appears), and follows the embedder's focus and activation.
class IGraphicsX11 : public IGraphics, public IEditorRunLoop
{
public:
  // A second press of button 1 this soon and this near is a double click.
  static constexpr unsigned long kDoubleClickMs = 500;
  static constexpr int kDoubleClickDistance = 2;

  IGraphicsX11(IPlugBase* plug, int width, int height, int fps);
  ~IGraphicsX11() override;

  bool PresentRegion(const IBox& box) override;
  void CancelValueEntry() override {}
  void SetEditorSize(int width, int height) override;
  bool HasWindow() override { return mWindow != 0; }
  const char* GetDrawingApiName() override { return "X11"; }
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
  // parent is the host window's XID.
  void* OpenWindow(void* parent) override;
  void CloseWindow() override;
  void* GetWindowHandle() override;
  bool ReadClipboardText(std::string& text) override;
  void HideCursorForDrag() override;
  void RestoreCursor() override;
  void UnusedHook27() override {}
  LICE_IBitmap* LoadResourceImage(int id, const char* name) override;
  std::unique_ptr<LICE_PNGRows> OpenResourceRows(int id, const char* name) override;
  // Xft.dpi of the server's resource database over 96; 1 without it.
  double ScreenScale() override;

  int EventDescriptor() override;
  int RedrawIntervalMs() override;
  void OnEventsReady() override;
  void OnTimerTick() override;

  // What the XEmbed embedder has told the window: 0 when nobody embeds it.
  unsigned long Embedder() const { return mEmbedder; }
  bool EmbedderActive() const { return mEmbedActive; }
  bool HasEmbedderFocus() const { return mEmbedFocus; }

  // Whether presenting goes through shared memory (MIT-SHM).
  bool UsesSharedMemory() const { return mSharedImage != nullptr; }
  // From now on presents by sending the pixels through the connection, as
  // to a display on another machine; for comparing the two ways.
  void StopSharedMemory();
  // Waits until the server has drawn everything presented so far.
  void WaitUntilDrawn();

protected:
  void ScaleChanged() override;

private:
  // The window and the shared image follow the surface's size.
  void FitWindowToSurface();
  void HandleEvent(_XEvent& event);
  void OnButtonPress(_XEvent& event);
  void OnButtonRelease(_XEvent& event);
  void OnMotion(_XEvent& event);
  void OnKeyPress(_XEvent& event);
  void OnXEmbedMessage(_XEvent& event);
  // The keyboard follows a click inside: from the embedder, or from the
  // server once the window is on the screen.
  void TakeFocus(unsigned long time);
  void SendXEmbed(long message, unsigned long time);
  void GrabPointer(unsigned long time);
  void UngrabPointer(unsigned long time);
  void HandlePendingEvents();
  // The host destroyed its window, and ours with it, before closing the
  // editor: the window's ID is gone, the connection stays until CloseWindow.
  void ForgetWindow();

  _XDisplay* mDisplay = nullptr;
  unsigned long mWindow = 0;
  unsigned long mParent = 0;
  unsigned long mXEmbedAtom = 0;
  unsigned long mEmbedder = 0;
  bool mEmbedActive = false;
  bool mEmbedFocus = false;
  IRedrawPacer mPacer;
  double mWindowScale = 1.0;  // the factor the window was last sized for
  unsigned long mColormap = 0;
  unsigned long mBlankCursor = 0;
  void* mVisual = nullptr;
  _XGC* mGC = nullptr;
  std::unique_ptr<X11SharedImage> mSharedImage;
  bool mSharedMemoryAllowed = true;
  IBox mExposed;
  bool mGrabbed = false;
  // The last press of button 1 that could begin a double click.
  bool mClickPending = false;
  unsigned long mClickTime = 0;
  int mClickX = 0;
  int mClickY = 0;
};
