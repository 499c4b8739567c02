// From a glyph drawn white on black to the cached 8-bit mask: trimming to the
// inked columns, softening, inversion, rotation and the thresholded effects.

#include "raster/LICE_Font.h"
#include "raster/LICE_GlyphMask.h"
#include "raster/LICE_MemBitmap.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

using Mask = std::vector<std::vector<int>>;

// A black surface; Ink sets grey levels the way GDI leaves white text on black.
class Surface {
 public:
  Surface(int width, int height) : bitmap_(width, height)
  {
    for (int y = 0; y < height; ++y) {
      for (int x = 0; x < width; ++x) At(x, y) = 0;
    }
  }
  LICE_Color32& At(int x, int y) { return bitmap_.Pixels()[y * bitmap_.RowSpan() + x]; }
  void Ink(int x, int y, int level) { At(x, y) = LICE_RGBA(level, level, level, 0); }
  void InkColumn(int x, int level)
  {
    for (int y = 0; y < bitmap_.Height(); ++y) Ink(x, y, level);
  }
  LICE_IBitmap* bitmap() { return &bitmap_; }

 private:
  LICE_MemBitmap bitmap_;
};

Mask MaskOf(const LICE_GlyphCache& cache, const GlyphRecord& record)
{
  Mask rows;
  const unsigned char* mask = cache.Mask(record);
  if (!mask) return rows;
  for (int y = 0; y < record.height; ++y) {
    rows.emplace_back(mask + y * record.width, mask + (y + 1) * record.width);
  }
  return rows;
}

TEST(GlyphMargin, GrowsWithTheLineHeight)
{
  const int cases[][2] = {{0, 2}, {12, 2}, {15, 2}, {16, 3}, {31, 3}, {32, 4}, {40, 4}, {47, 4},
                          {48, 5}, {255, 17}};
  for (const auto& c : cases) EXPECT_EQ(LICE_GlyphMargin(c[0]), c[1]) << "line height " << c[0];
}

// The box drawn for a glyph of advance 5 with margin 2: 9 columns, 3 rows.
constexpr int kAdvance = 5;
constexpr int kMargin = 2;
constexpr int kBoxWidth = kAdvance + 2 * kMargin;
constexpr int kBoxHeight = 3;

struct TrimCase {
  const char* name;
  std::vector<std::pair<int, int>> inkedColumns;  // (column, level)
  int flags;
  int width;
  int leftOffset;
  std::vector<int> row;  // every row of the mask is this
};

class GlyphMaskTrim : public ::testing::TestWithParam<TrimCase> {};

TEST_P(GlyphMaskTrim, KeepsTheLeftMarginInkAndAtLeastAdvancePlusMargin)
{
  const TrimCase& c = GetParam();
  Surface surface(12, 4);
  for (const auto& column : c.inkedColumns) surface.InkColumn(column.first, column.second);
  LICE_GlyphCache cache;
  GlyphRecord record = {};
  LICE_BuildGlyphMask(cache, &record, surface.bitmap(), kBoxWidth, kBoxHeight, kAdvance, kMargin,
                      c.flags);
  EXPECT_EQ(record.coverageOffset, 1);
  EXPECT_EQ(record.advance, kAdvance);
  EXPECT_EQ(record.width, c.width);
  EXPECT_EQ(record.height, kBoxHeight);
  EXPECT_EQ(record.leftOffset, c.leftOffset);
  EXPECT_EQ(MaskOf(cache, record), Mask(kBoxHeight, c.row));
  EXPECT_EQ(cache.StoreSize(), c.width * kBoxHeight);
}

// Margin columns 0-1 and 7-8 around the pen's columns 2-6: L is the first inked
// column below 2 (else 2), R the larger of 7 and one past the last inked column.
INSTANTIATE_TEST_SUITE_P(
    Glyph, GlyphMaskTrim,
    ::testing::Values(
        TrimCase{"NoOverhangKeepsTheAdvance", {{3, 200}, {5, 100}}, 0, 5, 0, {0, 200, 0, 100, 0}},
        TrimCase{"LeftOverhangMovesTheMaskLeft", {{1, 90}, {4, 200}}, 0, 6, 1,
                 {90, 0, 0, 200, 0, 0}},
        TrimCase{"RightOverhangWidensTheMask", {{3, 10}, {8, 20}}, 0, 7, 0,
                 {0, 10, 0, 0, 0, 0, 20}},
        TrimCase{"InkInBothMarginsKeepsTheWholeBox", {{0, 1}, {8, 2}}, 0, 9, 2,
                 {1, 0, 0, 0, 0, 0, 0, 0, 2}},
        TrimCase{"EmptyGlyphKeepsItsAdvance", {}, 0, 5, 0, {0, 0, 0, 0, 0}},
        // Columns are judged inked before the inversion.
        TrimCase{"InvertStoresTheComplement", {{3, 200}}, FontInvert, 5, 0,
                 {255, 55, 255, 255, 255}},
        TrimCase{"MonoThresholdsAbove130", {{2, 130}, {3, 131}, {4, 255}}, FontMono, 5, 0,
                 {0, 255, 255, 0, 0}}),
    [](const ::testing::TestParamInfo<TrimCase>& info) { return std::string(info.param.name); });

TEST(GlyphMask, MasksFollowEachOtherInTheStore)
{
  Surface surface(12, 4);
  surface.InkColumn(3, 255);
  LICE_GlyphCache cache;
  GlyphRecord first = {};
  GlyphRecord second = {};
  LICE_BuildGlyphMask(cache, &first, surface.bitmap(), kBoxWidth, kBoxHeight, kAdvance, kMargin, 0);
  LICE_BuildGlyphMask(cache, &second, surface.bitmap(), kBoxWidth, kBoxHeight, kAdvance, kMargin,
                      0);
  EXPECT_EQ(first.coverageOffset, 1);
  EXPECT_EQ(second.coverageOffset, 1 + first.width * first.height);
  EXPECT_EQ(MaskOf(cache, second), MaskOf(cache, first));
}

TEST(GlyphMask, AnEmptyBoxRendersToNothing)
{
  Surface surface(4, 4);
  LICE_GlyphCache cache;
  GlyphRecord record = {};
  LICE_BuildGlyphMask(cache, &record, surface.bitmap(), 0, 3, 0, kMargin, 0);
  EXPECT_EQ(record.coverageOffset, -1);
  EXPECT_EQ(record.width, 0);
  EXPECT_EQ(cache.StoreSize(), 0);
}

// A 2 x 3 glyph with no margin: rows (1 2) (3 4) (5 6).
GlyphRecord TurnedGlyph(LICE_GlyphCache& cache, int flags)
{
  Surface surface(4, 4);
  for (int y = 0; y < 3; ++y) {
    surface.Ink(0, y, 1 + 2 * y);
    surface.Ink(1, y, 2 + 2 * y);
  }
  GlyphRecord record = {};
  LICE_BuildGlyphMask(cache, &record, surface.bitmap(), 2, 3, 2, 0, flags);
  return record;
}

TEST(GlyphMask, VerticalTurnsAQuarterClockwise)
{
  // new (row i, column j) = old (row 2 - j, column i)
  LICE_GlyphCache cache;
  const GlyphRecord record = TurnedGlyph(cache, FontVertical);
  EXPECT_EQ(record.width, 3);
  EXPECT_EQ(record.height, 2);
  EXPECT_EQ(MaskOf(cache, record), (Mask{{5, 3, 1}, {6, 4, 2}}));
}

TEST(GlyphMask, VerticalBottomUpTurnsTheOtherWay)
{
  // new (row i, column j) = old (row j, column 1 - i)
  LICE_GlyphCache cache;
  const GlyphRecord record = TurnedGlyph(cache, FontVertical | FontBottomUp);
  EXPECT_EQ(record.width, 3);
  EXPECT_EQ(record.height, 2);
  EXPECT_EQ(MaskOf(cache, record), (Mask{{2, 4, 6}, {1, 3, 5}}));
}

TEST(GlyphMask, BottomUpAloneDoesNotTurn)
{
  LICE_GlyphCache cache;
  const GlyphRecord record = TurnedGlyph(cache, FontBottomUp);
  EXPECT_EQ(MaskOf(cache, record), (Mask{{1, 2}, {3, 4}, {5, 6}}));
}

// One full-ink pixel in the middle of a 4 x 4 box without margins.
Mask EffectAround(int flags)
{
  Surface surface(4, 4);
  surface.Ink(1, 1, 200);
  LICE_GlyphCache cache;
  GlyphRecord record = {};
  LICE_BuildGlyphMask(cache, &record, surface.bitmap(), 4, 4, 4, 0, flags);
  return MaskOf(cache, record);
}

TEST(GlyphMask, ShadowFallsRightAndDownInEffectShade)
{
  EXPECT_EQ(EffectAround(FontShadow),
            (Mask{{0, 0, 0, 0}, {0, 255, 128, 0}, {0, 128, 128, 0}, {0, 0, 0, 0}}));
  // Shadow wins over outline.
  EXPECT_EQ(EffectAround(FontShadow | FontOutline), EffectAround(FontShadow));
}

TEST(GlyphMask, OutlineSurroundsOnFourSides)
{
  EXPECT_EQ(EffectAround(FontOutline),
            (Mask{{0, 128, 0, 0}, {128, 255, 128, 0}, {0, 128, 0, 0}, {0, 0, 0, 0}}));
}

TEST(GlyphMask, BlurSoftensBeforeTheMaskIsTaken)
{
  Surface surface(4, 4);
  surface.Ink(1, 1, 128);
  LICE_GlyphCache cache;
  GlyphRecord record = {};
  LICE_BuildGlyphMask(cache, &record, surface.bitmap(), 3, 3, 3, 0, FontBlur);
  // The softened levels of SoftenLastRowUsesTheSoftenedRowAbove below.
  EXPECT_EQ(MaskOf(cache, record), (Mask{{0, 32, 0}, {32, 64, 32}, {8, 16, 8}}));
}

TEST(SoftenBox, LastRowUsesTheSoftenedRowAbove)
{
  // Centre pixel P = 0x80 in every channel, in a 3 x 3 box of a 5 x 4 surface.
  //   first row:  1/2 c + 1/4 below + 1/8 left + 1/8 right   -> middle 0x20
  //   middle row: 1/2 c + 1/8 each neighbour, 1/4 the one side at the ends
  //               -> 0x20 0x40 0x20
  //   last row:   1/2 c + 1/4 of the softened row above + sides
  //               -> 0x08 0x10 0x08
  LICE_MemBitmap surface(5, 4);
  LICE_Color32* p = surface.Pixels();
  const int span = surface.RowSpan();
  for (int y = 0; y < 4; ++y) {
    for (int x = 0; x < 5; ++x) p[y * span + x] = 0;
  }
  p[span + 1] = 0x80808080;
  p[3] = 0x11111111;             // outside the box
  p[3 * span + 0] = 0x22222222;  // outside the box
  LICE_SoftenBox(&surface, 3, 3);
  const LICE_Color32 expected[3][3] = {{0, 0x20202020, 0},
                                       {0x20202020, 0x40404040, 0x20202020},
                                       {0x08080808, 0x10101010, 0x08080808}};
  for (int y = 0; y < 3; ++y) {
    for (int x = 0; x < 3; ++x) EXPECT_EQ(p[y * span + x], expected[y][x]) << x << "," << y;
  }
  EXPECT_EQ(p[3], 0x11111111u);
  EXPECT_EQ(p[3 * span], 0x22222222u);
}

TEST(SoftenBox, TwoByTwoUsesOnlyEdgeWeights)
{
  // Every pixel is an end of its row and of its column: 1/2 c + 1/4 side + 1/4
  // vertical neighbour (the softened one for the last row).
  LICE_MemBitmap surface(2, 2);
  LICE_Color32* p = surface.Pixels();
  const int span = surface.RowSpan();
  p[0] = 0xFF;
  p[1] = 0;
  p[span] = 0;
  p[span + 1] = 0;
  LICE_SoftenBox(&surface, 2, 2);
  EXPECT_EQ(p[0], 0x7Fu);         // 0xFF >> 1
  EXPECT_EQ(p[1], 0x3Fu);         // 0xFF >> 2 from the left
  EXPECT_EQ(p[span], 0x1Fu);      // 0x7F >> 2 from the softened row above
  EXPECT_EQ(p[span + 1], 0x0Fu);  // 0x3F >> 2
}

TEST(SoftenBox, OneRowIsLeftAlone)
{
  LICE_MemBitmap surface(4, 1);
  surface.Pixels()[1] = 0x80808080;
  LICE_SoftenBox(&surface, 4, 1);
  EXPECT_EQ(surface.Pixels()[1], 0x80808080u);
}

}  // namespace
