#pragma once

#include "graphics/IGraphics.h"

#include <string>

// A graphics context with no window: it draws onto its surface like any other,
// but presents nowhere, reads its pictures from files, and every dialog
// answers that nothing was chosen. The editor's logic runs on it on every
// platform, and so do its tests and benchmarks.
class IGraphicsWindowless : public IGraphics
{
public:
  // Pictures are read from imageFolder joined with their names (the names
  // alone when the folder is empty).
  IGraphicsWindowless(IPlugBase* plug, int width, int height, std::string imageFolder = "",
                      int fps = kDefaultFps);

  bool PresentRegion(const IBox& box) override;
  void CancelValueEntry() override {}
  int ShowMessageBox(const char*, const char*, int) override { return 0; }
  IMenu* ShowPopupMenu(IMenu*, const IBox&) override { return nullptr; }
  void OpenValueEntry(IControl*, const ITextStyle&, const IBox&, const char*, IParamEntry*) override
  {
  }
  void GetHostFolder(std::string& folder) override { folder.clear(); }
  void GetPluginFolder(std::string& folder) override { folder.clear(); }
  void GetDesktopFolder(std::string& folder) override { folder.clear(); }
  void GetAppDataFolder(std::string& folder, bool) override { folder.clear(); }
  void GetUserAppDataFolder(std::string& folder) override { folder.clear(); }
  void AskForFile(std::string& file, int, std::string&, const char*) override { file.clear(); }
  bool AskForColour(IColour&, const char*) override { return false; }
  bool OpenLink(const char*, const char*, const char*, const char*) override { return false; }
  void* OpenWindow(void*) override { return nullptr; }
  void CloseWindow() override {}
  void* GetWindowHandle() override { return nullptr; }
  bool ReadClipboardText(std::string& text) override
  {
    text.clear();
    return false;
  }
  void UnusedHook27() override {}
  LICE_IBitmap* LoadResourceImage(int id, const char* name) override;
  std::unique_ptr<LICE_PNGRows> OpenResourceRows(int id, const char* name) override;

  // The box of the last PresentRegion, and how many there were.
  const IBox& LastPresented() const { return mLastPresented; }
  int NPresented() const { return mNPresented; }

private:
  std::string PicturePath(const char* name) const;

  std::string mImageFolder;
  IBox mLastPresented;
  int mNPresented = 0;
};
