// Compositing a cached glyph mask: the anti-aliased, thresholded and effect
// rules per composite mode, the glyph's offset, clipping and opaque backgrounds.

#include "raster/LICE_Font.h"
#include "raster/LICE_GlyphDraw.h"
#include "raster/LICE_MemBitmap.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

constexpr LICE_Color32 kWhite = 0xFFFFFFFF;
constexpr LICE_Color32 kBlack = 0xFF000000;

// A bitmap filled with one colour.
struct Canvas {
  explicit Canvas(LICE_Color32 fill, int width = 8, int height = 6) : bitmap(width, height)
  {
    for (int y = 0; y < height; ++y) {
      for (int x = 0; x < width; ++x) At(x, y) = fill;
    }
  }
  LICE_Color32& At(int x, int y) { return bitmap.Pixels()[y * bitmap.RowSpan() + x]; }
  LICE_MemBitmap bitmap;
};

LICE_GlyphPaint Paint(LICE_Color32 text, int mode = CompositeCopy, float weight = 1.0f,
                      int flags = 0)
{
  return LICE_GlyphPaint{text, 0xFF00FF00, 0xFF0000FF, 1, mode, weight, flags};
}

const LICE_Rect kEverywhere = {-100, -100, 100, 100};

// Draws a one-pixel glyph of coverage v at (2, 1) and gives that pixel.
LICE_Color32 OnePixel(LICE_Color32 background, int v, const LICE_GlyphPaint& paint)
{
  Canvas canvas(background);
  const unsigned char mask[1] = {(unsigned char)v};
  const GlyphRecord glyph = {1, 1, 1, 1, 'x', 0};
  EXPECT_TRUE(LICE_DrawGlyphMask(&canvas.bitmap, glyph, mask, 2, 1, kEverywhere, paint));
  return canvas.At(2, 1);
}

struct PixelCase {
  const char* name;
  LICE_Color32 background;
  int coverage;
  LICE_GlyphPaint paint;
  LICE_Color32 expected;
};

class GlyphPixel : public ::testing::TestWithParam<PixelCase> {};

TEST_P(GlyphPixel, FollowsTheRuleOfItsMode)
{
  const PixelCase& c = GetParam();
  EXPECT_EQ(OnePixel(c.background, c.coverage, c.paint), c.expected);
}

// Expected channels from the rules, c the ink, d the old channel, v the coverage:
//   copy, k = 256:  d' = c + (d - c)(255 - v) / 256, alpha pulled toward 255 alike
//   copy, other k:  g = 256 - k v / 256, d' = c + (d - c) g / 256
//   add and the others at k = 256 use weight v + 1; multiply uses f the same way
INSTANTIATE_TEST_SUITE_P(
    Glyph, GlyphPixel,
    ::testing::Values(
        // black ink, v 255 on white: 0 + 255 * 0 / 256 = 0
        PixelCase{"CopyFullCoverage", kWhite, 255, Paint(kBlack), 0xFF000000},
        // v 128: 255 * 127 / 256 = 126
        PixelCase{"CopyHalfCoverage", kWhite, 128, Paint(kBlack), 0xFF7E7E7E},
        // alpha 0 -> 255 + (0 - 255) * 127 / 256 = 255 - 126 = 129
        PixelCase{"CopyPullsAlphaTowardOpaque", 0x00FFFFFF, 128, Paint(kBlack), 0x817E7E7E},
        // k 128, v 255: g = 256 - 127 = 129; 255 * 129 / 256 = 128; alpha 255 - 128 = 127
        PixelCase{"CopyHalfWeight", 0x00FFFFFF, 255, Paint(kBlack, CompositeCopy, 0.5f),
                  0x7F808080},
        // the ink's own alpha plays no part in the blend
        PixelCase{"CopyIgnoresInkAlpha", kWhite, 255, Paint(0x00102030), 0xFF102030},
        // add, weight v + 1 = 101: 10 + 200 * 101 / 256 = 88; alpha 0 + 255 * 101 / 256 = 100
        PixelCase{"AddUsesCoveragePlusOne", 0x000A0A0A, 100, Paint(0xFFC8C8C8, CompositeAdd),
                  0x64585858},
        // multiply, f 256: (128 * 256 * 200) >> 16 = 100; alpha (65280 * 255) >> 16 = 254
        PixelCase{"MultiplyFullCoverage", 0xFFC8C8C8, 255, Paint(0xFF808080, CompositeMultiply),
                  0xFE646464},
        // source-alpha bit is ignored: the low byte picks the rule
        PixelCase{"ModeBit16Ignored", kWhite, 255,
                  Paint(kBlack, CompositeCopy | CompositeUseSourceAlpha), 0xFF000000},
        // mono at weight 1 in copy mode writes the ink word, alpha included
        PixelCase{"MonoOpaqueWritesTheInkWord", kWhite, 255, Paint(0x80FF0000, CompositeCopy, 1.0f, FontMono),
                  0x80FF0000},
        // mono, k 128: red 0 -> 255 + (0 - 255) * 128 / 256 = 128; others 0 + 255 * 128 / 256 = 127
        PixelCase{"MonoHalfWeight", 0xFF00FFFF, 255, Paint(0x80FF0000, CompositeCopy, 0.5f, FontMono),
                  0xFF807F7F},
        // mono multiply, k 256: d c / 256; alpha (65536 - 256) * 255 >> 16 = 254
        PixelCase{"MonoMultiply", 0xFFC8C8C8, 255, Paint(0xFF808080, CompositeMultiply, 1.0f, FontMono),
                  0xFE646464},
        // shadow: full ink in the text colour, 128 in the effect colour
        PixelCase{"ShadowInkIsText", kWhite, 255, Paint(0xFF123456, CompositeCopy, 1.0f, FontShadow),
                  0xFF123456},
        PixelCase{"ShadowEdgeIsEffect", kWhite, 128, Paint(0xFF123456, CompositeCopy, 1.0f, FontShadow),
                  0xFF0000FF},
        PixelCase{"OutlineEdgeIsEffect", kWhite, 128, Paint(0xFF123456, CompositeCopy, 1.0f, FontOutline),
                  0xFF0000FF},
        // no ink leaves the pixel, whatever the mode
        PixelCase{"ZeroCoverageCopy", 0x12345678, 0, Paint(kBlack), 0x12345678},
        PixelCase{"ZeroCoverageMultiply", 0x12345678, 0, Paint(kBlack, CompositeMultiply), 0x12345678},
        PixelCase{"ZeroCoverageMono", 0x12345678, 0, Paint(kBlack, CompositeCopy, 1.0f, FontMono),
                  0x12345678},
        // below 1/256 nothing is drawn
        PixelCase{"TinyWeightDrawsNothing", kWhite, 255, Paint(kBlack, CompositeCopy, 0.001f), kWhite},
        // unknown low bytes draw nothing
        PixelCase{"UnknownModeDrawsNothing", kWhite, 255, Paint(kBlack, 0x77), kWhite}),
    [](const ::testing::TestParamInfo<PixelCase>& info) { return std::string(info.param.name); });

// A 2 x 2 glyph of full ink with left offset 1.
const unsigned char kSquare[4] = {255, 255, 255, 255};
const GlyphRecord kSquareGlyph = {1, 2, 2, 3, 'x', 1};

std::vector<std::pair<int, int>> InkedPixels(Canvas& canvas, LICE_Color32 background)
{
  std::vector<std::pair<int, int>> inked;
  for (int y = 0; y < canvas.bitmap.Height(); ++y) {
    for (int x = 0; x < canvas.bitmap.Width(); ++x) {
      if (canvas.At(x, y) != background) inked.emplace_back(x, y);
    }
  }
  return inked;
}

using Points = std::vector<std::pair<int, int>>;

TEST(GlyphDraw, HorizontalMaskStartsLeftOffsetBeforeThePen)
{
  Canvas canvas(kWhite);
  EXPECT_TRUE(LICE_DrawGlyphMask(&canvas.bitmap, kSquareGlyph, kSquare, 4, 2, kEverywhere,
                                 Paint(kBlack)));
  EXPECT_EQ(InkedPixels(canvas, kWhite), (Points{{3, 2}, {4, 2}, {3, 3}, {4, 3}}));
}

TEST(GlyphDraw, VerticalMaskMovesAlongTheColumn)
{
  Canvas down(kWhite);
  LICE_DrawGlyphMask(&down.bitmap, kSquareGlyph, kSquare, 4, 2, kEverywhere,
                     Paint(kBlack, CompositeCopy, 1.0f, FontVertical));
  EXPECT_EQ(InkedPixels(down, kWhite), (Points{{4, 3}, {5, 3}, {4, 4}, {5, 4}}));

  Canvas up(kWhite);
  LICE_DrawGlyphMask(&up.bitmap, kSquareGlyph, kSquare, 4, 2, kEverywhere,
                     Paint(kBlack, CompositeCopy, 1.0f, FontVertical | FontBottomUp));
  EXPECT_EQ(InkedPixels(up, kWhite), (Points{{4, 1}, {5, 1}, {4, 2}, {5, 2}}));
}

TEST(GlyphDraw, ClipCutsTheMaskAndNothingVisibleIsFalse)
{
  Canvas canvas(kWhite);
  const LICE_Rect clip = {4, 0, 8, 3};
  EXPECT_TRUE(LICE_DrawGlyphMask(&canvas.bitmap, kSquareGlyph, kSquare, 4, 2, clip, Paint(kBlack)));
  EXPECT_EQ(InkedPixels(canvas, kWhite), (Points{{4, 2}}));

  const LICE_Rect beside = {0, 0, 3, 6};
  EXPECT_FALSE(LICE_DrawGlyphMask(&canvas.bitmap, kSquareGlyph, kSquare, 4, 2, beside, Paint(kBlack)));
}

TEST(GlyphDraw, StaysInsideTheDestinationWhateverTheClip)
{
  Canvas canvas(kWhite, 4, 4);
  EXPECT_TRUE(LICE_DrawGlyphMask(&canvas.bitmap, kSquareGlyph, kSquare, 4, 3, kEverywhere,
                                 Paint(kBlack)));
  EXPECT_EQ(InkedPixels(canvas, kWhite), (Points{{3, 3}}));
  EXPECT_FALSE(LICE_DrawGlyphMask(&canvas.bitmap, kSquareGlyph, kSquare, 9, 9, kEverywhere,
                                  Paint(kBlack)));
  EXPECT_FALSE(LICE_DrawGlyphMask(&canvas.bitmap, kSquareGlyph, kSquare, -1, 0, kEverywhere,
                                  Paint(kBlack)));
}

TEST(GlyphDraw, OpaqueBackgroundFillsTheVisibleBoxFirst)
{
  Canvas canvas(kWhite);
  const unsigned char mask[4] = {255, 0, 0, 0};
  const GlyphRecord glyph = {1, 2, 2, 2, 'x', 0};
  LICE_GlyphPaint paint = Paint(kBlack);
  paint.backgroundMode = 2;
  paint.background = 0xFF00FF00;
  EXPECT_TRUE(LICE_DrawGlyphMask(&canvas.bitmap, glyph, mask, 1, 1, kEverywhere, paint));
  EXPECT_EQ(canvas.At(1, 1), kBlack);
  EXPECT_EQ(canvas.At(2, 1), 0xFF00FF00u);
  EXPECT_EQ(canvas.At(1, 2), 0xFF00FF00u);
  EXPECT_EQ(canvas.At(2, 2), 0xFF00FF00u);
  EXPECT_EQ(canvas.At(3, 1), kWhite);
}

// Stores its bottom row first.
class BottomUpCanvas : public LICE_IBitmap {
 public:
  BottomUpCanvas() : pixels_(4 * 3, kWhite) {}
  LICE_Color32* Pixels() override { return pixels_.data(); }
  int Width() const override { return 4; }
  int Height() const override { return 3; }
  int RowSpan() const override { return 4; }
  bool IsBottomUp() const override { return true; }
  bool Resize(int, int) override { return false; }
  LICE_Color32 Stored(int row, int x) const { return pixels_[size_t(row * 4 + x)]; }

 private:
  std::vector<LICE_Color32> pixels_;
};

TEST(GlyphDraw, BottomUpDestinationIsWalkedFromItsLastStoredRow)
{
  BottomUpCanvas canvas;
  const unsigned char mask[2] = {255, 0};  // ink in the glyph's top row only
  const GlyphRecord glyph = {1, 1, 2, 1, 'x', 0};
  EXPECT_TRUE(LICE_DrawGlyphMask(&canvas, glyph, mask, 1, 0, kEverywhere, Paint(kBlack)));
  EXPECT_EQ(canvas.Stored(2, 1), kBlack);  // picture row 0 is stored last
  EXPECT_EQ(canvas.Stored(1, 1), kWhite);
  EXPECT_EQ(canvas.Stored(0, 1), kWhite);
}

TEST(GlyphDraw, NothingToDrawOnOrWithIsFalse)
{
  Canvas canvas(kWhite);
  EXPECT_FALSE(LICE_DrawGlyphMask(nullptr, kSquareGlyph, kSquare, 0, 0, kEverywhere, Paint(kBlack)));
  EXPECT_FALSE(LICE_DrawGlyphMask(&canvas.bitmap, kSquareGlyph, nullptr, 0, 0, kEverywhere,
                                  Paint(kBlack)));
  const GlyphRecord empty = {-1, 0, 0, 0, 'x', 0};
  EXPECT_FALSE(LICE_DrawGlyphMask(&canvas.bitmap, empty, kSquare, 0, 0, kEverywhere, Paint(kBlack)));
}

}  // namespace
