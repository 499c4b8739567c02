// Laying out text the glyph way, over a stand-in font whose glyphs have known
// sizes: line breaks, skipped characters, UTF-8, measuring and pen movement.

#include "raster/LICE_Font.h"
#include "raster/LICE_GlyphText.h"
#include "raster/LICE_MemBitmap.h"

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

namespace {

struct Drawn {
  int c, x, y;
  bool operator==(const Drawn& o) const { return c == o.c && x == o.x && y == o.y; }
};

std::ostream& operator<<(std::ostream& out, const Drawn& d)
{
  return out << "'" << d.c << "'@(" << d.x << "," << d.y << ")";
}

// Every glyph is `advance` wide plus one column of overhang on each side
// (width advance + 2, left offset 1) and 10 tall; 'W' is wider, '~' renders to
// nothing and '#' cannot be cached. Drawing records the pen.
class StandInGlyphs : public LICE_GlyphProvider {
 public:
  const GlyphRecord* RenderedGlyph(int c) override
  {
    if (c == '#') return nullptr;
    GlyphRecord& g = records_[c];
    const int advance = c == 'W' ? 9 : 6;
    g = c == '~' ? GlyphRecord{-1, 0, 0, 0, c, 0} : GlyphRecord{1, advance + 2, 10, advance, c, 1};
    rendered.push_back(c);
    return &g;
  }
  bool DrawCachedGlyph(LICE_IBitmap*, int c, int x, int y, const LICE_Rect* clip) override
  {
    const GlyphRecord& g = records_[c];
    if (x - g.leftOffset >= clip->right || y >= clip->bottom) return false;
    drawn.push_back({c, x, y});
    return true;
  }
  std::vector<int> rendered;
  std::vector<Drawn> drawn;

 private:
  std::map<int, GlyphRecord> records_;
};

constexpr int kLineHeight = 12;
const LICE_GlyphLayout kHorizontal = {kLineHeight, 0, 0};
const LICE_Rect kWide = {0, 0, 1000, 1000};

LICE_Rect Measure(const char* text, int flags = 0, LICE_GlyphLayout layout = kHorizontal,
                  int length = -1)
{
  StandInGlyphs glyphs;
  LICE_Rect rect = {5, 7, 0, 0};
  LICE_MeasureGlyphText(glyphs, layout, text, length, flags, &rect);
  return rect;
}

std::vector<Drawn> Draw(const char* text, int flags = 0, LICE_GlyphLayout layout = kHorizontal,
                        int* result = nullptr, int length = -1)
{
  StandInGlyphs glyphs;
  LICE_MemBitmap canvas(4, 4);
  const int height =
      LICE_DrawGlyphText(glyphs, layout, &canvas, text, length, flags, 20, 30, kWide);
  if (result) *result = height;
  return glyphs.drawn;
}

TEST(GlyphText, EmptyTextMeasuresZeroByZeroAndDrawsNothing)
{
  StandInGlyphs glyphs;
  LICE_Rect rect = {5, 7, 99, 99};
  EXPECT_EQ(LICE_MeasureGlyphText(glyphs, kHorizontal, "", -1, 0, &rect), 0);
  EXPECT_EQ(rect.right, 5);
  EXPECT_EQ(rect.bottom, 7);
  int result = -1;
  EXPECT_TRUE(Draw("", 0, kHorizontal, &result).empty());
  EXPECT_EQ(result, 0);
}

TEST(GlyphText, PenAdvancesByEachGlyphsAdvance)
{
  EXPECT_EQ(Draw("AWB"), (std::vector<Drawn>{{'A', 20, 30}, {'W', 26, 30}, {'B', 35, 30}}));
  // Extent: last pen 15 + width 8 - left offset 1 = 22 beats the advance sum 21.
  const LICE_Rect rect = Measure("AWB");
  EXPECT_EQ(rect.right, 5 + 22);
  EXPECT_EQ(rect.bottom, 7 + 10);
}

TEST(GlyphText, LineFeedStartsANewLineOneLineHeightLower)
{
  EXPECT_EQ(Draw("A\nB"), (std::vector<Drawn>{{'A', 20, 30}, {'B', 20, 30 + kLineHeight}}));
  const LICE_Rect rect = Measure("A\nB");
  EXPECT_EQ(rect.right, 5 + 7);
  EXPECT_EQ(rect.bottom, 7 + kLineHeight + 10);
}

TEST(GlyphText, LineSpacingAddsToEachNewLine)
{
  const LICE_GlyphLayout spaced = {kLineHeight, 3, 0};
  EXPECT_EQ(Draw("A\nB\nC", 0, spaced),
            (std::vector<Drawn>{{'A', 20, 30}, {'B', 20, 45}, {'C', 20, 60}}));
}

TEST(GlyphText, SingleLineTurnsLineFeedIntoASpace)
{
  EXPECT_EQ(Draw("A\nB", LICE_DT_SINGLELINE),
            (std::vector<Drawn>{{'A', 20, 30}, {' ', 26, 30}, {'B', 32, 30}}));
  EXPECT_EQ(Measure("A\nB", LICE_DT_SINGLELINE).bottom, 7 + 10);
}

TEST(GlyphText, CarriageReturnIsSkipped)
{
  EXPECT_EQ(Draw("A\r\nB"), Draw("A\nB"));
}

TEST(GlyphText, UncacheableAndEmptyGlyphsTakeNoRoom)
{
  EXPECT_EQ(Draw("A#~B"), (std::vector<Drawn>{{'A', 20, 30}, {'B', 26, 30}}));
  EXPECT_EQ(Measure("A#~B").right, Measure("AB").right);
}

TEST(GlyphText, FourByteCharacterIsASpaceAndALoneE9IsItself)
{
  EXPECT_EQ(Draw("A\xF0\x9F\x98\x80" "B"), Draw("A B"));
  EXPECT_EQ(Draw("\xE9"), (std::vector<Drawn>{{0xE9, 20, 30}}));
  EXPECT_EQ(Draw("\xC3\xA9"), Draw("\xE9"));
}

TEST(GlyphText, LengthLimitsTheTextAndAZeroEndsIt)
{
  EXPECT_EQ(Draw("ABC", 0, kHorizontal, nullptr, 2), Draw("AB"));
  EXPECT_EQ(Draw("A\0BC", 0, kHorizontal, nullptr, 4), Draw("A"));
  // A two-byte character cut by the length is its lead byte alone.
  EXPECT_EQ(Draw("\xC3\xA9", 0, kHorizontal, nullptr, 1), (std::vector<Drawn>{{0xC3, 20, 30}}));
}

TEST(GlyphText, ResultIsTheLowestBottomOfTheGlyphsDrawn)
{
  int result = 0;
  Draw("A\nB", 0, kHorizontal, &result);
  EXPECT_EQ(result, kLineHeight + 10);
  Draw("AB", 0, kHorizontal, &result);
  EXPECT_EQ(result, 10);

  // Glyphs the clip hides do not count.
  StandInGlyphs glyphs;
  LICE_MemBitmap canvas(4, 4);
  const LICE_Rect firstLineOnly = {0, 0, 1000, 31};
  EXPECT_EQ(LICE_DrawGlyphText(glyphs, kHorizontal, &canvas, "A\nB", -1, 0, 20, 30, firstLineOnly),
            10);
  const LICE_Rect nothing = {0, 0, 10, 10};
  EXPECT_EQ(LICE_DrawGlyphText(glyphs, kHorizontal, &canvas, "AB", -1, 0, 20, 30, nothing), 0);
}

TEST(GlyphText, VerticalTextRunsDownAndBreaksToTheRight)
{
  const LICE_GlyphLayout vertical = {kLineHeight, 0, FontVertical};
  EXPECT_EQ(Draw("AB\nC", 0, vertical),
            (std::vector<Drawn>{{'A', 20, 30}, {'B', 20, 36}, {'C', 20 + kLineHeight, 30}}));
  // Along: pen 6 + height 10 - left offset 1 = 15; across: next line 12 + width 8.
  StandInGlyphs glyphs;
  LICE_Rect rect = {0, 0, 0, 0};
  EXPECT_EQ(LICE_MeasureGlyphText(glyphs, vertical, "AB\nC", -1, 0, &rect), 20);
  EXPECT_EQ(rect.bottom, 15);
  EXPECT_EQ(rect.right, 20);
}

TEST(GlyphText, UpwardTextMovesUpByTheHeightThenEndsOneAdvanceAbove)
{
  const LICE_GlyphLayout upward = {kLineHeight, 0, FontVertical | FontBottomUp};
  // A: pen 30 -> drawn at 20, ends at 30 - 6 = 24; B: drawn at 14.
  EXPECT_EQ(Draw("AB", 0, upward), (std::vector<Drawn>{{'A', 20, 20}, {'B', 20, 14}}));
}

TEST(GlyphText, EachCharacterIsRenderedWhenMet)
{
  StandInGlyphs glyphs;
  LICE_Rect rect = {0, 0, 0, 0};
  LICE_MeasureGlyphText(glyphs, kHorizontal, "A\xE2\x82\xAC\n", -1, LICE_DT_SINGLELINE, &rect);
  EXPECT_EQ(glyphs.rendered, (std::vector<int>{'A', 0x20AC, ' '}));
}

}  // namespace
