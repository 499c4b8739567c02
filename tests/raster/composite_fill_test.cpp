// LICE_FillArea: where it fills and how each mode blends the colour, with the
// integer weight k standing in for the colour's alpha.
#include "bitmap_test_bitmap.h"

#include "raster/LICE_Composite.h"
#include "raster/LICE_MemBitmap.h"

#include <gtest/gtest.h>

#include <climits>
#include <cstdio>
#include <limits>
#include <string>

namespace {

constexpr LICE_Color32 P(int r, int g, int b, int a) { return LICE_RGBA(r, g, b, a); }

std::string Hex(LICE_Color32 c)
{
  char text[16];
  std::snprintf(text, sizeof text, "%08X", unsigned(c));
  return text;
}

constexpr LICE_Color32 kUntouched = 0x12345678;
constexpr LICE_Color32 kInk = 0xFF0000FF;

struct AreaCase {
  const char* behaviour;
  int x, y, w, h;
  int left, top, cols, rows;  // what gets filled; cols 0: nothing
};

// Destination 6 x 4.
const AreaCase kAreas[] = {
    {"inside", 1, 1, 2, 2, 1, 1, 2, 2},
    {"cut at the right and bottom", 4, 2, 5, 5, 4, 2, 2, 2},
    {"a negative x shortens the width", -2, 0, 4, 1, 0, 0, 2, 1},
    {"a negative y shortens the height", 0, -3, 1, 5, 0, 0, 1, 2},
    {"entirely left of the bitmap", -4, 0, 4, 4, 0, 0, 0, 0},
    {"past the right edge", 6, 0, 2, 2, 0, 0, 0, 0},
    {"past the bottom edge", 0, 4, 2, 2, 0, 0, 0, 0},
    {"zero width", 1, 1, 0, 2, 0, 0, 0, 0},
    {"negative height", 1, 1, 2, -1, 0, 0, 0, 0},
    {"huge size from a far negative origin covers it all", -10, -10, INT_MAX, INT_MAX, 0, 0, 6,
     4},
    {"extreme negative origin and size do not overflow", INT_MIN, INT_MIN, INT_MIN, INT_MIN, 0, 0,
     0, 0},
};

TEST(FillArea, FillsExactlyTheClippedArea)
{
  for (bool bottomUp : {false, true}) {
    for (const AreaCase& c : kAreas) {
      SCOPED_TRACE(testing::Message() << c.behaviour << " bottom-up " << bottomUp);
      TestBitmap dest(6, 4, bottomUp, 9, kUntouched);
      LICE_FillArea(&dest, c.x, c.y, c.w, c.h, kInk, 1.0f, CompositeCopy);
      for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 6; ++x) {
          const bool inside = x >= c.left && x < c.left + c.cols && y >= c.top && y < c.top + c.rows;
          ASSERT_EQ(dest.At(x, y), inside ? kInk : kUntouched) << x << "," << y;
        }
    }
  }
}

TEST(FillArea, BottomUpRowsAreCountedFromTheEndOfStorage)
{
  // Logical rows 0..1 of a 3-row bottom-up bitmap are storage rows 2 and 1.
  TestBitmap dest(2, 3, true, 2, kUntouched);
  LICE_FillArea(&dest, 0, 0, 1, 2, kInk, 1.0f, CompositeCopy);
  EXPECT_EQ(dest.Stored(0, 2), kInk);
  EXPECT_EQ(dest.Stored(0, 1), kInk);
  EXPECT_EQ(dest.Stored(0, 0), kUntouched);
}

struct BlendCase {
  const char* behaviour;
  int mode;
  float weight;
  LICE_Color32 dest, colour, expected;
};

const BlendCase kBlends[] = {
    {"copy at full weight writes the colour, alpha included", CompositeCopy, 1.0f,
     P(1, 2, 3, 4), P(9, 8, 7, 6), P(9, 8, 7, 6)},
    // k 100, keep 156: R 200*156/256 = 121; G 200 - 121 = 79; B 255;
    // alpha toward k: 100 + 155*156/256 = 100 + 94 = 194.
    {"copy pulls alpha toward the weight, not the colour's alpha", CompositeCopy,
     100.0f / 256, P(200, 0, 255, 255), P(0, 200, 255, 0), P(121, 79, 255, 194)},
    // Bit 16: weight 1 * 51/255 = 0.2 -> k 51, keep 205. R 0 + 200*205/256 = 160;
    // A 51 + (255 - 51)*205/256 = 51 + 163 = 214.
    {"source alpha scales the weight by the colour's alpha",
     CompositeUseSourceAlpha | CompositeCopy, 1.0f, P(200, 0, 0, 255), P(0, 0, 0, 51),
     P(160, 0, 0, 214)},
    // 128/255 -> k 128: the halving shortcut, c/2 + d/2 per channel.
    {"alpha 128 with source alpha takes the halving shortcut",
     CompositeUseSourceAlpha | CompositeCopy, 1.0f, P(200, 0, 255, 255), P(0, 200, 1, 128),
     P(100, 100, 127, 191)},
    {"alpha 0 with source alpha fills nothing", CompositeUseSourceAlpha | CompositeCopy, 1.0f,
     P(1, 2, 3, 4), P(9, 8, 7, 0), P(1, 2, 3, 4)},
    // k 128, alpha argument 128: R 100 + 100; G 5; B 127; A 0 + 128*128/256 = 64.
    {"add", CompositeAdd, 0.5f, P(100, 5, 0, 0), P(200, 0, 255, 255), P(200, 5, 127, 64)},
    // R q 129: 198; A: alpha 128, q = 256 - 64 = 192: 96*256/192 = 128.
    {"dodge", CompositeDodge, 0.5f, P(100, 0, 0, 96), P(255, 0, 0, 0), P(198, 0, 0, 128)},
    // k 256: R 128*200/256 = 100; G 255*200 >> 8 = 199; B 0; A (65536*77) >> 16 = 77.
    {"multiply keeps alpha at full weight", CompositeMultiply, 1.0f, P(200, 200, 200, 77),
     P(128, 255, 0, 0), P(100, 199, 0, 77)},
    // k 128: R ((0 + 32768)*200) >> 16 = 100; A ((16384 + 32768)*200) >> 16 = 150.
    {"multiply at half weight", CompositeMultiply, 0.5f, P(200, 0, 0, 200), P(0, 0, 0, 0),
     P(100, 0, 0, 150)},
    // Overlay at k 256 with colour 0 on R: 100*100/256 -> 39; alpha t = 65536:
    // ((-32768*100)/256 + 65536)*100 >> 15 = 52736*100 >> 15 = 160.
    {"overlay", CompositeOverlay, 1.0f, P(100, 0, 0, 100), P(0, 0, 0, 0), P(39, 0, 0, 160)},
    {"HSV adjust with a mid-grey colour keeps a grey pixel and makes it opaque",
     CompositeHSVAdjust, 1.0f, P(80, 80, 80, 0), P(128, 128, 128, 0), P(80, 80, 80, 255)},
    {"HSV adjust below full weight writes k as alpha", CompositeHSVAdjust, 0.5f,
     P(80, 80, 80, 0), P(128, 128, 128, 0), P(80, 80, 80, 128)},
    {"an unknown mode fills nothing", 6, 0.7f, P(1, 2, 3, 4), P(9, 8, 7, 6), P(1, 2, 3, 4)},
    {"channel copy is no fill mode", LICE_ChannelCopyMode(0, 1), 0.7f, P(1, 2, 3, 4),
     P(9, 8, 7, 6), P(1, 2, 3, 4)},
    {"weight 0 fills nothing", CompositeAdd, 0.0f, P(1, 2, 3, 4), P(9, 8, 7, 6),
     P(1, 2, 3, 4)},
    {"a weight below 1/256 fills nothing", CompositeAdd, 0.003f, P(1, 2, 3, 4), P(9, 8, 7, 6),
     P(1, 2, 3, 4)},
    {"an undefined weight fills nothing", CompositeCopy, std::numeric_limits<float>::quiet_NaN(),
     P(1, 2, 3, 4), P(9, 8, 7, 6), P(1, 2, 3, 4)},
};

TEST(FillArea, EachModeGivesTheHandWorkedPixel)
{
  for (const BlendCase& c : kBlends) {
    SCOPED_TRACE(c.behaviour);
    LICE_MemBitmap dest(1, 1);
    *dest.Pixels() = c.dest;
    LICE_FillArea(&dest, 0, 0, 1, 1, c.colour, c.weight, c.mode);
    EXPECT_EQ(Hex(*dest.Pixels()), Hex(c.expected));
  }
}

TEST(FillArea, NothingToFillIsNoError)
{
  LICE_FillArea(nullptr, 0, 0, 4, 4, kInk, 1.0f, CompositeCopy);
  EmptyPixelsBitmap empty;
  LICE_FillArea(&empty, 0, 0, 4, 4, kInk, 1.0f, CompositeCopy);
  LICE_MemBitmap unsized;
  LICE_FillArea(&unsized, 0, 0, 4, 4, kInk, 1.0f, CompositeCopy);
  TestBitmap noSpan(2, 2, false, 0, kUntouched);
  LICE_FillArea(&noSpan, 0, 0, 2, 2, kInk, 1.0f, CompositeCopy);
  EXPECT_EQ(noSpan.Stored(0, 0), kUntouched);
}

}  // namespace
