// The built Morvex.vst3 as Windows sees the file: every picture of the editor's
// layout decodes from its "PNG" resource at the frame size and count the layout
// gives, and the version block names the product.
#include "engine/MorvexEditor.h"
#include "raster/LICE_MemBitmap.h"
#include "raster/LICE_PNGResource.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

namespace {

std::wstring moduleFile()
{
  return (std::filesystem::path(MORVEX_MODULE_PATH) / "Contents" / "x86_64-win" / "Morvex.vst3")
      .wstring();
}

unsigned alphaAt(LICE_MemBitmap& bitmap, int x, int y)
{
  return bitmap.Pixels()[y * bitmap.RowSpan() + x] >> 24;
}

class ModuleResources : public ::testing::Test
{
protected:
  static void SetUpTestSuite()
  {
    sModule = LoadLibraryExW(moduleFile().c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
  }
  static void TearDownTestSuite()
  {
    if (sModule)
      FreeLibrary(sModule);
    sModule = nullptr;
  }
  void SetUp() override { ASSERT_NE(sModule, nullptr) << "cannot open the built module as data"; }

  static HMODULE sModule;
};

HMODULE ModuleResources::sModule = nullptr;

std::string versionString(const std::vector<char>& block, const char* name)
{
  char* text = nullptr;
  UINT length = 0;
  const std::string key = std::string("\\StringFileInfo\\040904B0\\") + name;
  if (!VerQueryValueA(block.data(), key.c_str(), reinterpret_cast<void**>(&text), &length) || !text)
    return "";
  return std::string(text);
}

}  // namespace

TEST_F(ModuleResources, everyEditorPictureDecodesWithItsFramesStacked)
{
  for (const MorvexEditor::ControlSpec& c : MorvexEditor::kControls)
  {
    SCOPED_TRACE(c.file);
    std::unique_ptr<LICE_MemBitmap> bitmap(LICE_LoadPNGResource(sModule, c.resourceId, c.file));
    ASSERT_NE(bitmap, nullptr);
    EXPECT_EQ(bitmap->Width(), c.frameWidth);
    EXPECT_EQ(bitmap->Height(), c.frameHeight * c.frames);
  }
}

TEST_F(ModuleResources, theBackgroundIsOpaqueAndControlsLeaveTheirCornersClear)
{
  // The controls are laid over the background with their alpha: a frame that
  // covered its corner would paint a box over the panel.
  for (const MorvexEditor::ControlSpec& c : MorvexEditor::kControls)
  {
    SCOPED_TRACE(c.file);
    std::unique_ptr<LICE_MemBitmap> bitmap(LICE_LoadPNGResource(sModule, c.resourceId, c.file));
    ASSERT_NE(bitmap, nullptr);
    if (c.kind == MorvexEditor::Kind::Background)
    {
      for (int y = 0; y < bitmap->Height(); ++y)
        for (int x = 0; x < bitmap->Width(); ++x)
          ASSERT_EQ(alphaAt(*bitmap, x, y), 0xFFu) << x << "," << y;
      continue;
    }
    for (int frame = 0; frame < c.frames; ++frame)
      ASSERT_EQ(alphaAt(*bitmap, 0, frame * c.frameHeight), 0u) << "frame " << frame;
  }
}

TEST_F(ModuleResources, theVersionBlockNamesPellicornMorvexAndTheProjectVersion)
{
  const std::wstring file = moduleFile();
  DWORD ignored = 0;
  const DWORD size = GetFileVersionInfoSizeW(file.c_str(), &ignored);
  ASSERT_GT(size, 0u);
  std::vector<char> block(size);
  ASSERT_TRUE(GetFileVersionInfoW(file.c_str(), 0, size, block.data()));

  VS_FIXEDFILEINFO* fixed = nullptr;
  UINT length = 0;
  ASSERT_TRUE(VerQueryValueA(block.data(), "\\", reinterpret_cast<void**>(&fixed), &length));
  EXPECT_EQ(fixed->dwFileVersionMS, 0x00050001u);
  EXPECT_EQ(fixed->dwFileVersionLS, 0u);
  EXPECT_EQ(fixed->dwProductVersionMS, 0x00050001u);
  EXPECT_EQ(fixed->dwFileType, static_cast<DWORD>(VFT_DLL));

  EXPECT_EQ(versionString(block, "CompanyName"), "Pellicorn");
  EXPECT_EQ(versionString(block, "ProductName"), "Morvex");
  EXPECT_EQ(versionString(block, "FileVersion"), "5.1.0");
  EXPECT_EQ(versionString(block, "ProductVersion"), "5.1.0");
  EXPECT_EQ(versionString(block, "OriginalFilename"), "Morvex.vst3");
  EXPECT_EQ(versionString(block, "FileDescription"), "Morvex console equaliser (VST 3)");
}
