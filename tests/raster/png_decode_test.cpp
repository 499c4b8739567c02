// Decoding PNG data held in memory: every stored format comes out as 0xAARRGGBB
// pixels with straight alpha.

#include "raster/LICE_MemBitmap.h"
#include "raster/LICE_PNG.h"
#include "raster/LICE_PNGRows.h"
#include "tests/raster/png_chunks.h"
#include "tests/raster/png_test_writer.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

using pngtest::Bytes;
using pngtest::PngImage;

namespace {

PngImage Image(int width, int height, int bitDepth, int colorType, std::vector<Bytes> rows)
{
  PngImage image;
  image.width = width;
  image.height = height;
  image.bitDepth = bitDepth;
  image.colorType = colorType;
  image.rows = std::move(rows);
  return image;
}

PngImage WithPalette(PngImage image, std::vector<png_color> palette, Bytes alpha = {})
{
  image.palette = std::move(palette);
  image.paletteAlpha = std::move(alpha);
  return image;
}

PngImage WithTransparentColor(PngImage image, png_uint_16 grey, png_uint_16 r, png_uint_16 g,
                              png_uint_16 b)
{
  image.hasTransparentColor = true;
  image.transparentColor.gray = grey;
  image.transparentColor.red = r;
  image.transparentColor.green = g;
  image.transparentColor.blue = b;
  return image;
}

PngImage Interlaced(PngImage image)
{
  image.interlaced = true;
  return image;
}

std::unique_ptr<LICE_MemBitmap> Decode(const Bytes& png)
{
  return std::unique_ptr<LICE_MemBitmap>(LICE_ReadPNGMemory(png.data(), int(png.size())));
}

// Pixels of a bitmap row by row, without the row padding.
std::vector<LICE_Color32> PixelsOf(LICE_IBitmap& bitmap)
{
  std::vector<LICE_Color32> out;
  for (int y = 0; y < bitmap.Height(); ++y) {
    for (int x = 0; x < bitmap.Width(); ++x) {
      out.push_back(bitmap.Pixels()[y * bitmap.RowSpan() + x]);
    }
  }
  return out;
}

struct FormatCase {
  const char* name;
  PngImage image;
  std::vector<LICE_Color32> expected;  // row by row
};

// Expected words are written out from the stored samples: alpha in the top byte,
// then red, green, blue; absent alpha is 255, 16-bit samples keep their high byte,
// low-depth grey is scaled to 0..255 (1 bit: 0/255, 2 bits: steps of 85).
std::vector<FormatCase> FormatCases()
{
  const std::vector<png_color> palette = {{1, 2, 3}, {200, 100, 50}, {0, 0, 255}};
  return {
      {"Rgb8x1NoAlphaGivesOpaque", Image(1, 1, 8, PNG_COLOR_TYPE_RGB, {{0x12, 0x34, 0x56}}),
       {0xFF123456}},
      {"Rgb8TwoRows",
       Image(3, 2, 8, PNG_COLOR_TYPE_RGB,
             {{255, 0, 0, 0, 255, 0, 0, 0, 255}, {1, 2, 3, 4, 5, 6, 7, 8, 9}}),
       {0xFFFF0000, 0xFF00FF00, 0xFF0000FF, 0xFF010203, 0xFF040506, 0xFF070809}},
      {"Rgba8KeepsStraightAlpha",
       Image(2, 2, 8, PNG_COLOR_TYPE_RGB_ALPHA,
             {{10, 20, 30, 0, 255, 0, 0, 128}, {200, 201, 202, 255, 9, 8, 7, 1}}),
       {0x000A141E, 0x80FF0000, 0xFFC8C9CA, 0x01090807}},
      {"PaletteWithoutTrnsIsOpaque",
       WithPalette(Image(3, 1, 8, PNG_COLOR_TYPE_PALETTE, {{2, 0, 1}}), palette),
       {0xFF0000FF, 0xFF010203, 0xFFC86432}},
      {"PaletteTrnsBecomesAlphaAndShortTrnsLeavesRestOpaque",
       WithPalette(Image(3, 1, 8, PNG_COLOR_TYPE_PALETTE, {{2, 0, 1}}), palette, {0, 77}),
       {0xFF0000FF, 0x00010203, 0x4DC86432}},
      {"Palette4BitPacked",
       WithPalette(Image(3, 1, 4, PNG_COLOR_TYPE_PALETTE, {{0x12, 0x00}}), palette, {255, 16, 32}),
       {0x10C86432, 0x200000FF, 0xFF010203}},
      {"Rgba16KeepsHighBytes",
       Image(1, 1, 16, PNG_COLOR_TYPE_RGB_ALPHA, {{0xAB, 0xCD, 0x12, 0x34, 0xFF, 0x00, 0x80, 0xFF}}),
       {0x80AB12FF}},
      {"Rgb16IsOpaque", Image(1, 1, 16, PNG_COLOR_TYPE_RGB, {{0x01, 0xFF, 0x7F, 0x00, 0xFE, 0x80}}),
       {0xFF017FFE}},
      {"Grey16", Image(2, 1, 16, PNG_COLOR_TYPE_GRAY, {{0xAB, 0xCD, 0x00, 0xFF}}),
       {0xFFABABAB, 0xFF000000}},
      {"Grey1BitIsBlackOrWhite",
       // bits 1 0 1 1 0 0 1 1 | 1 0
       Image(10, 1, 1, PNG_COLOR_TYPE_GRAY, {{0xB3, 0x80}}),
       {0xFFFFFFFF, 0xFF000000, 0xFFFFFFFF, 0xFFFFFFFF, 0xFF000000, 0xFF000000, 0xFFFFFFFF,
        0xFFFFFFFF, 0xFFFFFFFF, 0xFF000000}},
      {"Grey2BitScales", Image(4, 1, 2, PNG_COLOR_TYPE_GRAY, {{0x1B}}),
       {0xFF000000, 0xFF555555, 0xFFAAAAAA, 0xFFFFFFFF}},
      {"Grey8TrnsMakesThatGreyTransparent",
       WithTransparentColor(Image(2, 1, 8, PNG_COLOR_TYPE_GRAY, {{7, 8}}), 7, 0, 0, 0),
       {0x00070707, 0xFF080808}},
      {"Grey1BitTrnsOnWhite",
       WithTransparentColor(Image(2, 1, 1, PNG_COLOR_TYPE_GRAY, {{0x80}}), 1, 0, 0, 0),
       {0x00FFFFFF, 0xFF000000}},
      {"GreyAlpha8", Image(2, 1, 8, PNG_COLOR_TYPE_GRAY_ALPHA, {{0x40, 0x90, 0xFF, 0x00}}),
       {0x90404040, 0x00FFFFFF}},
      {"RgbTrnsMakesThatColourTransparent",
       WithTransparentColor(Image(2, 1, 8, PNG_COLOR_TYPE_RGB, {{1, 2, 3, 1, 2, 4}}), 0, 1, 2, 3),
       {0x00010203, 0xFF010204}},
  };
}

class PngFormats : public ::testing::TestWithParam<FormatCase> {};

TEST_P(PngFormats, DecodesToStraightArgbWordsWholeAndRowByRow)
{
  const FormatCase& c = GetParam();
  const Bytes png = pngtest::EncodePng(c.image);
  ASSERT_FALSE(png.empty());
  auto bitmap = Decode(png);
  ASSERT_NE(bitmap, nullptr);
  EXPECT_EQ(bitmap->Width(), c.image.width);
  EXPECT_EQ(bitmap->Height(), c.image.height);
  EXPECT_EQ(PixelsOf(*bitmap), c.expected);
  // A few rows at a time, from the bytes in place and from a copy of them.
  for (bool copy : {false, true})
  {
    auto rows = copy ? LICE_PNGRows::Open(png) : LICE_PNGRows::Open(png.data(), int(png.size()));
    ASSERT_NE(rows, nullptr);
    EXPECT_TRUE(rows->DecodeTo(1));
    EXPECT_TRUE(rows->DecodeTo(c.image.height + 5));
    EXPECT_EQ(c.image.height, rows->RowsDone());
    EXPECT_EQ(PixelsOf(*rows->Bitmap()), c.expected);
  }
}

INSTANTIATE_TEST_SUITE_P(Png, PngFormats, ::testing::ValuesIn(FormatCases()),
                         [](const ::testing::TestParamInfo<FormatCase>& info) {
                           return std::string(info.param.name);
                         });

// A 7 x 5 RGBA pattern whose every pixel differs.
PngImage Pattern(int width, int height)
{
  return pngtest::RgbaImage(width, height, [](int x, int y) {
    return LICE_Color32((x * 37 + y * 11) & 0xFF) << 24 | LICE_Color32(x * 30) << 16 |
           LICE_Color32(y * 40) << 8 | LICE_Color32(x + y);
  });
}

TEST(PngMemory, RowsLandOnThePaddedRowSpanTopRowFirst)
{
  const PngImage image = Pattern(7, 5);
  auto bitmap = Decode(pngtest::EncodePng(image));
  ASSERT_NE(bitmap, nullptr);
  ASSERT_EQ(bitmap->RowSpan(), 8);
  for (int y = 0; y < 5; ++y) {
    for (int x = 0; x < 7; ++x) {
      const unsigned char* stored = reinterpret_cast<unsigned char*>(bitmap->Pixels() + y * 8 + x);
      const Bytes& row = image.rows[size_t(y)];
      // Memory order is blue, green, red, alpha.
      EXPECT_EQ(stored[0], row[size_t(x) * 4 + 2]);
      EXPECT_EQ(stored[1], row[size_t(x) * 4 + 1]);
      EXPECT_EQ(stored[2], row[size_t(x) * 4 + 0]);
      EXPECT_EQ(stored[3], row[size_t(x) * 4 + 3]);
    }
  }
}

TEST(PngMemory, InterlacedImageDecodesLikeTheProgressiveOne)
{
  const PngImage image = Pattern(13, 9);
  auto plain = Decode(pngtest::EncodePng(image));
  auto interlaced = Decode(pngtest::EncodePng(Interlaced(image)));
  ASSERT_NE(plain, nullptr);
  ASSERT_NE(interlaced, nullptr);
  EXPECT_EQ(PixelsOf(*interlaced), PixelsOf(*plain));
}

TEST(PngMemory, RefusesDataShorterThanTheSignature)
{
  const Bytes png = pngtest::EncodePng(Pattern(2, 2));
  EXPECT_EQ(LICE_ReadPNGMemory(png.data(), 7), nullptr);
  EXPECT_EQ(LICE_ReadPNGMemory(png.data(), 0), nullptr);
  EXPECT_EQ(LICE_ReadPNGMemory(png.data(), -1), nullptr);
  EXPECT_EQ(LICE_ReadPNGMemory(nullptr, 100), nullptr);
}

TEST(PngMemory, RefusesABadSignature)
{
  const unsigned char notPng[8] = {0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0B};
  EXPECT_EQ(LICE_ReadPNGMemory(notPng, 8), nullptr);

  Bytes png = pngtest::EncodePng(Pattern(2, 2));
  png[1] = 'p';
  EXPECT_EQ(Decode(png), nullptr);
}

TEST(PngMemory, RefusesAnImageCutOffInItsData)
{
  const Bytes png = pngtest::EncodePng(Pattern(7, 5));
  const auto chunks = pngtest::ListChunks(png);
  for (const pngtest::Chunk& c : chunks) {
    if (c.type != "IDAT") continue;
    // Half the compressed data, then nothing.
    const Bytes cut(png.begin(), png.begin() + long(c.offset + 8 + c.length / 2));
    EXPECT_EQ(Decode(cut), nullptr);
  }
}

TEST(PngMemory, RefusesACorruptedImageChunk)
{
  Bytes png = pngtest::EncodePng(Pattern(7, 5));
  for (const pngtest::Chunk& c : pngtest::ListChunks(png)) {
    if (c.type == "IDAT") png[c.offset + 8] ^= 0x01;  // the CRC no longer matches
  }
  EXPECT_EQ(Decode(png), nullptr);
}

TEST(PngMemory, AChunkLengthFarPastTheEndFailsAtOnce)
{
  // Reading past the end is an error, not an endless supply of zero bytes that
  // libpng would skip through up to the bogus length.
  Bytes png = pngtest::EncodePng(Pattern(7, 5));
  for (const pngtest::Chunk& c : pngtest::ListChunks(png)) {
    if (c.type == "IDAT") pngtest::WriteBigEndian32(png, c.offset, 0x7FFFFF00u);
  }
  const auto start = std::chrono::steady_clock::now();
  EXPECT_EQ(Decode(png), nullptr);
  const auto elapsed = std::chrono::steady_clock::now() - start;
  EXPECT_LT(std::chrono::duration_cast<std::chrono::milliseconds>(elapsed).count(), 200);
}

TEST(PngMemory, AFileMissingOnlyItsEndChunkStillDecodes)
{
  // Every row is read before the end chunk would be, so losing it loses nothing.
  const PngImage image = Pattern(7, 5);
  const Bytes png = pngtest::EncodePng(image);
  const auto chunks = pngtest::ListChunks(png);
  ASSERT_EQ(chunks.back().type, "IEND");
  const Bytes withoutEnd(png.begin(), png.begin() + long(chunks.back().offset));
  auto bitmap = Decode(withoutEnd);
  ASSERT_NE(bitmap, nullptr);
  EXPECT_EQ(PixelsOf(*bitmap), PixelsOf(*Decode(png)));
}

}  // namespace

namespace {

// Decoding a few rows at a time: only what was asked is decoded, damaged data
// fails where the damage starts and keeps what came before, and pictures
// whose rows do not arrive top to bottom are refused.
TEST(PngRows, DecodesOnlyWhatIsAskedAndKeepsRowsBeforeDamage)
{
  const PngImage image = Pattern(7, 40);
  const Bytes png = pngtest::EncodePng(image);
  auto whole = Decode(png);
  ASSERT_NE(whole, nullptr);
  const std::vector<LICE_Color32> all = PixelsOf(*whole);

  auto rows = LICE_PNGRows::Open(png.data(), int(png.size()));
  ASSERT_NE(rows, nullptr);
  EXPECT_EQ(7, rows->Width());
  EXPECT_EQ(40, rows->Height());
  EXPECT_EQ(0, rows->RowsDone());
  ASSERT_TRUE(rows->DecodeTo(10));
  EXPECT_EQ(10, rows->RowsDone());
  ASSERT_TRUE(rows->DecodeTo(4));  // already there
  EXPECT_EQ(10, rows->RowsDone());
  const std::vector<LICE_Color32> first = PixelsOf(*rows->Bitmap());
  EXPECT_TRUE(std::equal(all.begin(), all.begin() + 70, first.begin()));

  // Noise that does not compress, cut short inside the image: the rows
  // before the cut decode, the rest fails, now and on every later try.
  uint32_t seed = 7;
  const PngImage noise = pngtest::RgbaImage(128, 128, [&seed](int, int) {
    seed = seed * 1664525u + 1013904223u;
    return seed;
  });
  const Bytes noisy = pngtest::EncodePng(noise);
  auto intact = Decode(noisy);
  ASSERT_NE(intact, nullptr);
  const Bytes cut(noisy.begin(), noisy.begin() + noisy.size() / 2);
  auto damaged = LICE_PNGRows::Open(cut.data(), int(cut.size()));
  ASSERT_NE(damaged, nullptr);
  EXPECT_TRUE(damaged->DecodeTo(10));
  EXPECT_FALSE(damaged->DecodeTo(128));
  EXPECT_FALSE(damaged->DecodeTo(128));
  EXPECT_GE(damaged->RowsDone(), 10);
  EXPECT_LT(damaged->RowsDone(), 128);
  const std::vector<LICE_Color32> kept = PixelsOf(*damaged->Bitmap());
  const std::vector<LICE_Color32> good = PixelsOf(*intact);
  EXPECT_TRUE(std::equal(good.begin(), good.begin() + 128 * damaged->RowsDone(), kept.begin()));

  EXPECT_EQ(nullptr, LICE_PNGRows::Open(pngtest::EncodePng(Interlaced(image))));
  EXPECT_EQ(nullptr, LICE_PNGRows::Open(png.data(), 7));
  EXPECT_EQ(nullptr, LICE_PNGRows::Open(Bytes(png.begin(), png.begin() + 30)));
}

}  // namespace
