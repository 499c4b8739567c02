// Decoding PNG files by UTF-8 path, into new or given bitmaps, and the loader
// registry that offers it by name.

#include "raster/LICE_ImageLoaders.h"
#include "raster/LICE_MemBitmap.h"
#include "raster/LICE_PNG.h"
#include "raster/LICE_PNGResource.h"
#include "tests/raster/png_test_writer.h"

#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

using pngtest::Bytes;

namespace {

namespace fs = std::filesystem;

// 3 x 2 RGBA: every pixel distinct, row 1 unlike row 0.
const LICE_Color32 kPixels[2][3] = {{0xFF102030, 0x80405060, 0x00708090},
                                    {0x11A0B0C0, 0x22D0E0F0, 0x33010203}};

Bytes SmallPng()
{
  return pngtest::EncodePng(pngtest::RgbaImage(3, 2, [](int x, int y) { return kPixels[y][x]; }));
}

// A file in the test temp folder, removed again at the end of the test.
class TempFile {
 public:
  TempFile(const std::string& utf8Name, const Bytes& contents)
      : path_(fs::u8path(::testing::TempDir()) / fs::u8path(utf8Name)), utf8_(path_.u8string())
  {
    std::ofstream out(path_, std::ios::binary);
    out.write(reinterpret_cast<const char*>(contents.data()), std::streamsize(contents.size()));
  }
  ~TempFile()
  {
    std::error_code ignored;
    fs::remove(path_, ignored);
  }
  const char* utf8() const { return utf8_.c_str(); }

 private:
  fs::path path_;
  std::string utf8_;
};

// Stores its bottom row first, with rows exactly as wide as the bitmap.
class BottomUpBitmap : public LICE_IBitmap {
 public:
  LICE_Color32* Pixels() override { return pixels_.empty() ? nullptr : pixels_.data(); }
  int Width() const override { return width_; }
  int Height() const override { return height_; }
  int RowSpan() const override { return width_; }
  bool IsBottomUp() const override { return true; }
  bool Resize(int width, int height) override
  {
    width_ = width;
    height_ = height;
    pixels_.assign(size_t(width) * size_t(height), 0);
    return true;
  }
  LICE_Color32 StoredRow(int row, int x) const { return pixels_[size_t(row * width_ + x)]; }

 private:
  std::vector<LICE_Color32> pixels_;
  int width_ = 0;
  int height_ = 0;
};

void ExpectSmallPngTopDown(LICE_IBitmap& bitmap)
{
  ASSERT_EQ(bitmap.Width(), 3);
  ASSERT_EQ(bitmap.Height(), 2);
  for (int y = 0; y < 2; ++y) {
    for (int x = 0; x < 3; ++x) EXPECT_EQ(bitmap.Pixels()[y * bitmap.RowSpan() + x], kPixels[y][x]);
  }
}

TEST(PngFile, DecodesIntoANewHeapBitmap)
{
  TempFile file("morvex_png_new.png", SmallPng());
  std::unique_ptr<LICE_IBitmap> bitmap(LICE_ReadPNGFile(file.utf8()));
  ASSERT_NE(bitmap, nullptr);
  EXPECT_NE(dynamic_cast<LICE_MemBitmap*>(bitmap.get()), nullptr);
  ExpectSmallPngTopDown(*bitmap);
}

TEST(PngFile, ResizesAndFillsTheGivenDestination)
{
  TempFile file("morvex_png_dest.png", SmallPng());
  LICE_MemBitmap destination(10, 10);
  EXPECT_EQ(LICE_ReadPNGFile(file.utf8(), &destination), &destination);
  ExpectSmallPngTopDown(destination);
}

TEST(PngFile, FillsABottomUpDestinationFromItsLastStoredRow)
{
  TempFile file("morvex_png_bottomup.png", SmallPng());
  BottomUpBitmap destination;
  ASSERT_EQ(LICE_ReadPNGFile(file.utf8(), &destination), &destination);
  ASSERT_EQ(destination.Width(), 3);
  for (int x = 0; x < 3; ++x) {
    EXPECT_EQ(destination.StoredRow(1, x), kPixels[0][x]);
    EXPECT_EQ(destination.StoredRow(0, x), kPixels[1][x]);
  }
}

TEST(PngFile, OpensAUtf8PathWithNonAsciiLetters)
{
  TempFile file("morvex_png_\xC3\xA9t\xC3\xA9_\xE2\x82\xAC.png", SmallPng());
  std::unique_ptr<LICE_IBitmap> bitmap(LICE_ReadPNGFile(file.utf8()));
  ASSERT_NE(bitmap, nullptr);
  ExpectSmallPngTopDown(*bitmap);
}

TEST(PngFile, MissingFileGivesNull)
{
  const std::string path = ::testing::TempDir() + "morvex_png_no_such_file.png";
  EXPECT_EQ(LICE_ReadPNGFile(path.c_str()), nullptr);
  EXPECT_EQ(LICE_ReadPNGFile(nullptr), nullptr);
}

TEST(PngFile, CorruptFileGivesNullAndKeepsTheCallersDestination)
{
  Bytes png = SmallPng();
  png.resize(png.size() - 20);  // into the image data
  TempFile file("morvex_png_cut.png", png);
  LICE_MemBitmap destination(4, 4);
  EXPECT_EQ(LICE_ReadPNGFile(file.utf8(), &destination), nullptr);
  // Still ours to use and delete.
  EXPECT_GE(destination.Width(), 0);

  TempFile notPng("morvex_png_text.png", Bytes{'h', 'e', 'l', 'l', 'o', ' ', 'p', 'n', 'g'});
  EXPECT_EQ(LICE_ReadPNGFile(notPng.utf8()), nullptr);
}

TEST(PngByName, ChecksTheExtensionOnlyWhenAsked)
{
  TempFile upper("morvex_png_upper.PNG", SmallPng());
  TempFile bmp("morvex_png_named.bmp", SmallPng());

  std::unique_ptr<LICE_IBitmap> fromUpper(LICE_ReadPNGByName(upper.utf8(), true, nullptr));
  ASSERT_NE(fromUpper, nullptr);
  ExpectSmallPngTopDown(*fromUpper);

  EXPECT_EQ(LICE_ReadPNGByName(bmp.utf8(), true, nullptr), nullptr);
  std::unique_ptr<LICE_IBitmap> unchecked(LICE_ReadPNGByName(bmp.utf8(), false, nullptr));
  ASSERT_NE(unchecked, nullptr);
  ExpectSmallPngTopDown(*unchecked);
}

TEST(PngByName, ExtensionIsDotPngInAnyLetterCase)
{
  const struct {
    const char* path;
    bool png;
  } cases[] = {
      {"a.png", true},   {"a.PNG", true},     {"dir.x/b.PnG", true}, {".png", true},
      {"a.bmp", false},  {"a.png.bak", false}, {"apng", false},      {"a.pn", false},
      {"png", false},    {"", false},          {nullptr, false},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(LICE_HasPNGExtension(c.path), c.png) << (c.path ? c.path : "(null)");
  }
}

TEST(PngResourceName, ExtensionIsTheTextAfterTheLastDot)
{
  const struct {
    const char* name;
    bool png;
  } cases[] = {
      {"knob.png", true},   {"KNOB.PNG", true},  {"a.b.Png", true},   {"knob.bmp", false},
      {"knob.pngx", false}, {"knob.", false},    {"knob.pn", false},  {"png.bmp", false},
      // Without a dot the text after the first character counts.
      {"xpng", true},       {"png", false},      {"", false},         {nullptr, false},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(LICE_IsPNGResourceName(c.name), c.png) << (c.name ? c.name : "(null)");
  }
}

TEST(ImageLoaderRegistry, StartsWithThePngLoaderAndItsDialogFilter)
{
  ASSERT_NE(ImageLoaderList, nullptr);
  EXPECT_EQ(ImageLoaderList->load, &LICE_ReadPNGByName);
  static const char kFilter[] = "PNG files (*.PNG)\0*.PNG\0";  // plus the literal's own zero
  ASSERT_NE(ImageLoaderList->filterText, nullptr);
  EXPECT_EQ(std::memcmp(ImageLoaderList->filterText(), kFilter, sizeof kFilter), 0);

  TempFile file("morvex_png_registry.png", SmallPng());
  std::unique_ptr<LICE_IBitmap> bitmap(ImageLoaderList->load(file.utf8(), true, nullptr));
  ASSERT_NE(bitmap, nullptr);
  ExpectSmallPngTopDown(*bitmap);
}

TEST(ImageLoaderRegistry, NewLoadersArePrepended)
{
  ImageLoaderEntry* const before = ImageLoaderList;
  ImageLoaderEntry extra = {nullptr, nullptr, nullptr};
  LICE_AddImageLoader(&extra);
  EXPECT_EQ(ImageLoaderList, &extra);
  EXPECT_EQ(extra.next, before);
  ImageLoaderList = before;
}

}  // namespace
