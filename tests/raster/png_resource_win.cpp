// Editor pictures read from a module's "PNG" resources. The module here is a copy
// of this test program with resources added by the Win32 resource updater,
// loaded as a data file.

#include "raster/LICE_MemBitmap.h"
#include "raster/LICE_PNGResource.h"
#include "tests/raster/png_test_writer.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <memory>
#include <string>
#include <utility>
#include <vector>

using pngtest::Bytes;

namespace {

class ModuleWithResources {
 public:
  explicit ModuleWithResources(const std::vector<std::pair<WORD, Bytes>>& pngResources)
  {
    char self[MAX_PATH];
    char temp[MAX_PATH];
    if (!GetModuleFileNameA(nullptr, self, MAX_PATH) || !GetTempPathA(MAX_PATH, temp)) return;
    path_ = std::string(temp) + "morvex_png_resources.exe";
    if (!CopyFileA(self, path_.c_str(), FALSE)) return;
    HANDLE update = BeginUpdateResourceA(path_.c_str(), FALSE);
    if (!update) return;
    bool ok = true;
    for (const auto& resource : pngResources) {
      ok = ok && UpdateResourceA(update, "PNG", MAKEINTRESOURCEA(resource.first),
                                 MAKELANGID(LANG_NEUTRAL, SUBLANG_NEUTRAL),
                                 const_cast<unsigned char*>(resource.second.data()),
                                 DWORD(resource.second.size()));
    }
    if (!EndUpdateResourceA(update, !ok) || !ok) return;
    module_ = LoadLibraryExA(path_.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
  }
  ~ModuleWithResources()
  {
    if (module_) FreeLibrary(module_);
    if (!path_.empty()) DeleteFileA(path_.c_str());
  }
  LICE_HINSTANCE handle() const { return module_; }

 private:
  std::string path_;
  HMODULE module_ = nullptr;
};

Bytes Background()
{
  return pngtest::EncodePng(pngtest::RgbaImage(
      5, 3, [](int x, int y) { return LICE_Color32(0xFF000000u | unsigned(x << 16) | unsigned(y)); }));
}

class PngResource : public ::testing::Test {
 protected:
  static void SetUpTestSuite()
  {
    const Bytes png = Background();
    module = new ModuleWithResources({{101, png},
                                      {102, Bytes(png.begin(), png.begin() + 7)},
                                      {103, Bytes(png.begin(), png.begin() + 40)}});
  }
  static void TearDownTestSuite()
  {
    delete module;
    module = nullptr;
  }
  static ModuleWithResources* module;
};

ModuleWithResources* PngResource::module = nullptr;

TEST_F(PngResource, CapitalPngNameFindsThePictureByIdentifier)
{
  ASSERT_NE(module->handle(), nullptr);
  std::unique_ptr<LICE_MemBitmap> bitmap(LICE_LoadPNGResource(module->handle(), 101, "bg.PNG"));
  ASSERT_NE(bitmap, nullptr);
  ASSERT_EQ(bitmap->Width(), 5);
  ASSERT_EQ(bitmap->Height(), 3);
  EXPECT_EQ(bitmap->Pixels()[2 * bitmap->RowSpan() + 4], 0xFF040002u);
}

TEST_F(PngResource, OnlyTheLow16BitsOfTheIdentifierCount)
{
  ASSERT_NE(module->handle(), nullptr);
  std::unique_ptr<LICE_MemBitmap> bitmap(
      LICE_LoadPNGResource(module->handle(), 0x10000u + 101u, "bg.png"));
  EXPECT_NE(bitmap, nullptr);
}

TEST_F(PngResource, BmpNameGivesNull)
{
  ASSERT_NE(module->handle(), nullptr);
  EXPECT_EQ(LICE_LoadPNGResource(module->handle(), 101, "bg.bmp"), nullptr);
}

TEST_F(PngResource, MissingShortOrCutResourcesGiveNull)
{
  ASSERT_NE(module->handle(), nullptr);
  EXPECT_EQ(LICE_LoadPNGResource(module->handle(), 999, "x.png"), nullptr);
  EXPECT_EQ(LICE_LoadPNGResource(module->handle(), 102, "x.png"), nullptr);  // 7 bytes
  EXPECT_EQ(LICE_LoadPNGResource(module->handle(), 103, "x.png"), nullptr);  // cut in IHDR
}

}  // namespace
