#pragma once

#include "graphics/IBox.h"
#include "graphics/IControl.h"
#include "graphics/IGraphicsTypes.h"
#include "graphics/IMenu.h"

#include <functional>
#include <memory>
#include <string>
#include <vector>

class IParamEntry;
class IPlugBase;
class LICE_IBitmap;
class LICE_IFont;
class LICE_MemBitmap;
class LICE_SysBitmap;
class IScaledPicture;
class IReadoutControl;
class LICE_PNGRows;

// The editor's drawing context: its controls, its off-screen surface, the
// mouse state, and the module-wide caches of decoded pictures and fonts.
//
// It routes mouse and key events from the window to the controls, redraws the
// region of dirty controls and moves values both ways between controls and the
// plug-in. The window, the screen, dialogs and the module's resources are
// reached only through the virtual operations, which each platform's window
// implements; everything else here is the same on every platform.
//
// Scale: the layout (control boxes, drags) is in the editor's own pixels, the
// surface and the window in screen pixels, the layout times the scale factor.
// At a factor of 1 the two are the same. Pictures at other factors come from
// each picture's double-size version where the module has one.
//
// Threads: everything runs on the user-interface thread except
// UpdateParameterControls, which the audio thread also calls; it only stores
// control values and flags, and the window's timer draws them.
class IGraphics
{
public:
  enum FileAction
  {
    kFileOpen = 0,
    kFileSave = 1
  };
  static constexpr int kDefaultFps = 25;

  IGraphics(IPlugBase* plug, int width, int height, int fps = kDefaultFps);

  // --- What each platform's window provides -------------------------------------------
  // Copies the box from the drawing surface to the window.
  virtual bool PresentRegion(const IBox& box) = 0;
  virtual bool MeasureText(ITextStyle& style, const char* text, IBox& box);
  virtual void CancelValueEntry() = 0;
  virtual void SetEditorSize(int width, int height);
  virtual bool HasWindow() { return GetWindowHandle() != nullptr; }
  virtual const char* GetDrawingApiName() { return ""; }
  virtual int ShowMessageBox(const char* text, const char* caption, int type) = 0;
  // The menu (the top one or a submenu) that holds the user's choice, or null.
  virtual IMenu* ShowPopupMenu(IMenu* menu, const IBox& box) = 0;
  virtual void OpenValueEntry(IControl* control, const ITextStyle& style, const IBox& box,
                              const char* text, IParamEntry* param) = 0;
  virtual void GetHostFolder(std::string& folder) = 0;
  virtual void GetPluginFolder(std::string& folder) = 0;
  virtual void GetDesktopFolder(std::string& folder) = 0;
  virtual void GetAppDataFolder(std::string& folder, bool allUsers) = 0;
  virtual void GetUserAppDataFolder(std::string& folder) = 0;
  // file: in, the proposed name; out, the chosen path or "" when cancelled.
  // folder: in, where to start; out, the chosen file's folder.
  virtual void AskForFile(std::string& file, int action, std::string& folder,
                          const char* extensions) = 0;
  virtual bool AskForColour(IColour& colour, const char* prompt) = 0;
  virtual bool OpenLink(const char* address, const char* title, const char* confirmation,
                        const char* failureMessage) = 0;
  // Hooks nothing calls; they keep the operations in their order.
  virtual void* UnusedHook17() { return nullptr; }
  // Opens the editor window as a child of parent; null when it cannot be made.
  virtual void* OpenWindow(void* parent) = 0;
  virtual void UnusedHook19() {}
  virtual void UnusedHook20() {}
  virtual void CloseWindow() = 0;
  virtual void* GetWindowHandle() = 0;
  virtual bool ReadClipboardText(std::string& text) = 0;
  virtual ~IGraphics();
  virtual void HideCursorForDrag() {}
  virtual void RestoreCursor() {}
  virtual void UnusedHook27() = 0;
  // Decodes the picture with this resource id; the name selects the decoder.
  // Null when it cannot be loaded. The caller owns the result.
  virtual LICE_IBitmap* LoadResourceImage(int id, const char* name) = 0;
  // The factor the screen under the window asks for (its DPI over 96), or 1
  // where the platform cannot tell.
  virtual double ScreenScale() { return 1.0; }
  // The picture with this resource id opened for decoding a few rows at a
  // time; null where it cannot be, and LoadResourceImage decodes it whole.
  virtual std::unique_ptr<LICE_PNGRows> OpenResourceRows(int id, const char* name);

  IGraphics(const IGraphics&) = delete;
  IGraphics& operator=(const IGraphics&) = delete;

  // --- Building --------------------------------------------------------------------
  // Controls belong to the context from here on.
  void AttachBackground(IControl* control);
  int AttachControl(IControl* control);
  void SetKeyCatcher(IControl* control);
  // The attached control that shows what the user points at and edits;
  // null for none.
  void SetReadout(IReadoutControl* readout) { mReadout = readout; }
  // The picture with this resource id, decoded once per module and shared by
  // every editor. A picture that cannot be loaded gives a reference with no
  // bitmap, whose controls draw nothing, so the editor still opens.
  IBitmapRef LoadEditorImage(int id, const char* name, int frames = 1);
  void PrepareDrawing();

  // --- Drawing -----------------------------------------------------------------------
  // Composites the source rectangle at (srcX, srcY) of the picture into dest,
  // clipped to the region being redrawn. A null blend draws with source alpha.
  bool BlitBitmap(const IBitmapRef& bitmap, const IBox& dest, int srcX, int srcY,
                  const IBlend* blend);
  // Draws text in the box; with measure, sets the box to the text's extent
  // (aligned as the style says) and draws nothing. False when no font can be had.
  bool DrawStyledText(ITextStyle& style, const char* text, IBox& box, bool measure = false);
  LICE_IFont* FindOrCreateFont(ITextStyle& style);
  // The union of the dirty controls' boxes; false when nothing is dirty.
  bool FindDirtyRegion(IBox& region);
  // Draws the controls meeting the box onto the surface and presents the box.
  bool DrawRegion(const IBox& box);

  // --- Mouse and keys ----------------------------------------------------------------
  // Positions are in screen pixels, except FindControlAt's, in layout units.
  int FindControlAt(int x, int y);
  void HandleMouseDown(int x, int y, const IMouseKeys& keys);
  void HandleMouseUp(int x, int y, const IMouseKeys& keys);
  void HandleMouseDrag(int x, int y, const IMouseKeys& keys);
  // True when the window must take the mouse capture.
  bool HandleMouseDoubleClick(int x, int y, const IMouseKeys& keys);
  void HandleMouseWheel(int x, int y, const IMouseKeys& keys, int steps);
  bool HandleMouseOver(int x, int y, const IMouseKeys& keys);
  void HandleMouseOut();
  bool HandleKeyDown(int x, int y, int key);
  void DropMouseCapture();

  // --- Values ------------------------------------------------------------------------
  // A value set outside the editor (host, state, engine) reaches the controls
  // of that parameter. A plain value is clamped and normalized first.
  void UpdateParameterControls(int paramIdx, double value, bool normalized);
  // The right-click prompt: a menu of the parameter's texts, or a typed value.
  void AskParameterValue(IControl* control, IParamEntry* param, const IBox& box);
  // A value the user picked from a menu or typed, sent to the host as one
  // complete gesture.
  void SetValueFromUserAsGesture(IControl* control, double normalized);

  // --- Scale -------------------------------------------------------------------------
  // Factors run from 1 to 3 in steps of 0.25: the nearest step, limited to that range.
  static constexpr double kMinScale = 1.0;
  static constexpr double kMaxScale = 3.0;
  static double QuantizeScale(double factor);
  // A picture's double-size version: its resource number plus this, its file
  // in the "2x" folder beside the picture's own.
  static constexpr int kDoubleSizeIdOffset = 100;
  static std::string DoubleSizeName(const char* name);

  double Scale() const { return mScale; }
  // Redraws the surface at the factor, ends a press in progress and lets the
  // window take its new size. A factor it already has changes nothing.
  void SetScale(double factor);
  // The editor's size in screen pixels at the current factor, or at another.
  int ScreenWidth() const { return ScaleLength(mWidth, mScale); }
  int ScreenHeight() const { return ScaleLength(mHeight, mScale); }
  static int ScaleLength(int length, double factor);
  // A layout box on the screen: corner and size each scaled and rounded.
  IBox ToScreen(const IBox& layout) const;
  // Who hears that the screen under the window changed its factor (the
  // plug-in's view, which decides whether to follow); the window reports it.
  void SetScreenScaleHandler(std::function<void(double)> handler);
  void ReportScreenScale(double factor);

  // --- Access ------------------------------------------------------------------------
  IPlugBase* GetPlug() const { return mPlug; }
  int Width() const { return mWidth; }
  int Height() const { return mHeight; }
  int FPS() const { return mFps; }
  int NControls() const { return static_cast<int>(mControls.size()); }
  IControl* GetControl(int i) const;
  LICE_SysBitmap* GetDrawBitmap() const { return mDrawBitmap.get(); }
  const IBox& GetDrawRect() const { return mDrawRect; }
  int GetMouseCapture() const { return mMouseCapture; }
  int GetMouseOver() const { return mMouseOver; }
  int GetMouseX() const { return mMouseX; }
  int GetMouseY() const { return mMouseY; }
  bool TooltipsEnabled() const { return mEnableTooltips; }
  void EnableTooltips(bool enable) { mEnableTooltips = enable; }
  void SetHandleMouseOver(bool handle) { mHandleMouseOver = handle; }
  void SetStrictDrawing(bool strict) { mStrictDrawing = strict; }

  // --- The module-wide caches --------------------------------------------------------
  // Both live until the module unloads, when this runs; tests call it directly.
  static void ReleaseModuleCaches();
  static int NCachedImages();
  static int NCachedFonts();

protected:
  // The factor changed and the surface with it: the window takes its new size.
  virtual void ScaleChanged() {}
  bool CursorHidden() const { return mCursorHidden; }
  void SetCursorHidden(bool hidden, int x = -1, int y = -1);
  int HiddenCursorX() const { return mHiddenCursorX; }
  int HiddenCursorY() const { return mHiddenCursorY; }

private:
  int FindMouseOverControlAt(int x, int y) const;
  // Tells the readout where the pointer is, and what the user edits.
  void PointerOn(int c);
  void Edited(int c);
  // Captures control c, begins the gesture of its parameter and presses it.
  void PressControl(int c, int x, int y, const IMouseKeys& keys);
  void DeleteControls();
  void EndGesture();
  // A screen point in layout units (mouse events arrive in screen pixels).
  int ToLayout(int screen) const;
  // The picture and source corner a blit uses at the current factor.
  bool BlitScaled(const IBitmapRef& bitmap, const IBox& dest, int srcX, int srcY, int mode,
                  float weight);
  // The module-wide strip of a loaded picture at the current factor; null
  // for a picture of no resource.
  IScaledPicture* PictureAtScale(const IBitmapRef& ref);

  std::vector<std::unique_ptr<IControl>> mControls;
  IPlugBase* mPlug;
  IBox mDrawRect;
  bool mCursorHidden = false;
  int mHiddenCursorX = -1;
  int mHiddenCursorY = -1;
  std::unique_ptr<LICE_SysBitmap> mDrawBitmap;
  std::unique_ptr<LICE_MemBitmap> mScratchBitmap;
  int mWidth;
  int mHeight;
  int mFps;
  double mScale = 1.0;
  std::function<void(double)> mScreenScaleHandler;
  int mMouseCapture = -1;
  int mMouseOver = -1;
  int mMouseX = 0;
  int mMouseY = 0;
  bool mHandleMouseOver = false;
  bool mStrictDrawing = true;
  bool mEnableTooltips = false;
  std::unique_ptr<IControl> mKeyCatcher;
  IReadoutControl* mReadout = nullptr;
  // The parameter whose press-and-release gesture is open, or -1: the release
  // ends exactly the gesture the press began, and nothing else.
  int mGestureParam = -1;
};
