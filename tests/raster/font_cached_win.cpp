// LICE_CachedFont over real GDI fonts: choosing the native or the glyph way,
// line breaks, UTF-8, measuring, alignment, the cache and font ownership.
//
// Under Wine the registry check answers "yes"; each test sets the answer it needs
// and the fixture forgets it again afterwards.

#include "raster/LICE_Font.h"
#include "raster/LICE_GlyphMask.h"
#include "raster/LICE_MemBitmap.h"
#include "raster/LICE_SysBitmap.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <cstdint>
#include <initializer_list>
#include <vector>

namespace {

constexpr LICE_Color32 kWhite = 0xFFFFFFFF;
constexpr LICE_Color32 kBlack = 0xFF000000;

HFONT MakeFont(int height, int quality = NONANTIALIASED_QUALITY)
{
  return CreateFontA(height, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET,
                     OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DWORD(quality), DEFAULT_PITCH,
                     "Verdana");
}

int TmHeightOf(HFONT font)
{
  HDC dc = CreateCompatibleDC(nullptr);
  HGDIOBJ previous = SelectObject(dc, font);
  TEXTMETRICA metrics = {};
  GetTextMetricsA(dc, &metrics);
  SelectObject(dc, previous);
  DeleteDC(dc);
  return metrics.tmHeight;
}

// A white surface with its own device context, like the editor's.
struct Surface {
  explicit Surface(int width = 240, int height = 90) : bitmap(width, height)
  {
    LICE_FillArea(&bitmap, 0, 0, width, height, kWhite, 1.0f, CompositeCopy);
  }
  // Colour only: GDI leaves its own values in the alpha byte.
  std::vector<uint32_t> Colours()
  {
    std::vector<uint32_t> out;
    for (int y = 0; y < bitmap.Height(); ++y) {
      for (int x = 0; x < bitmap.Width(); ++x) {
        out.push_back(bitmap.Pixels()[y * bitmap.RowSpan() + x] & 0xFFFFFF);
      }
    }
    return out;
  }
  int InkedPixels()
  {
    int count = 0;
    for (uint32_t c : Colours()) count += c != 0xFFFFFF;
    return count;
  }
  LICE_SysBitmap bitmap;
};

class CachedFont : public ::testing::Test {
 protected:
  void SetUp() override { LICE_SetWineAnswer(1); }
  void TearDown() override { LICE_SetWineAnswer(-1); }

  // As the graphics context sets a font up, black text; not anti-aliased, so
  // that both ways put down the very same pixels.
  void Attach(int height = 16, int extraFlags = 0, int quality = NONANTIALIASED_QUALITY)
  {
    font.AttachFont(MakeFont(height, quality), FontOwnsHandle | FontForceNative | extraFlags);
    font.SetForeground(kBlack);
  }
  int Draw(Surface& surface, const char* text, int x = 4, int y = 3, int flags = LICE_DT_NOCLIP)
  {
    LICE_Rect rect = {x, y, surface.bitmap.Width(), surface.bitmap.Height()};
    return font.RenderText(&surface.bitmap, text, -1, &rect, flags);
  }
  LICE_Rect Measure(const char* text, int flags = 0, LICE_IBitmap* dest = nullptr)
  {
    LICE_Rect rect = {10, 20, 10, 20};
    font.RenderText(dest, text, -1, &rect, flags | LICE_DT_CALCRECT);
    return rect;
  }
  bool Cached(int c) const
  {
    const GlyphRecord* record = font.CachedGlyph(c);
    return record && record->coverageOffset != 0;
  }

  LICE_CachedFont font;
};

TEST_F(CachedFont, LineHeightIsTheCellHeightAndSetsTheGlyphMargin)
{
  // The editor's 12-pixel Verdana has a cell of 12 on Windows (11 with Wine's
  // stand-in face); both give margin 2. A 40-pixel cell gives 40 / 16 + 2 = 4.
  const struct {
    int request;
    int margin;
  } cases[] = {{12, 2}, {40, 4}};
  for (const auto& c : cases) {
    HFONT handle = MakeFont(c.request);
    const int cell = TmHeightOf(handle);
    font.AttachFont(handle, FontOwnsHandle);
    EXPECT_EQ(font.LineHeight(), cell);
    EXPECT_EQ(LICE_GlyphMargin(font.LineHeight()), c.margin);
    // Trimmed masks keep at most the margin of overhang on the left and at
    // least the advance.
    for (int ch = '!'; ch <= '~'; ++ch) {
      const GlyphRecord* g = font.RenderedGlyph(ch);
      ASSERT_NE(g, nullptr);
      ASSERT_GT(g->coverageOffset, 0) << char(ch);
      EXPECT_GE(g->leftOffset, 0) << char(ch);
      EXPECT_LE(g->leftOffset, c.margin) << char(ch);
      EXPECT_GE(g->width, g->advance) << char(ch);
      EXPECT_LE(g->width, g->advance + 2 * c.margin) << char(ch);
      EXPECT_EQ(g->height, cell) << char(ch);
    }
  }
}

TEST_F(CachedFont, InkSpillingPastTheMarginIsCutAtIt)
{
  // An italic J hooks far left of its pen, further than either margin: its
  // mask then starts at the edge of the box GDI drew it in, one margin left.
  const struct {
    int request;
    int margin;
  } cases[] = {{12, 2}, {40, 4}};
  for (const auto& c : cases) {
    font.AttachFont(CreateFontA(c.request, 0, 0, 0, FW_NORMAL, TRUE, FALSE, FALSE, DEFAULT_CHARSET,
                                OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, NONANTIALIASED_QUALITY,
                                DEFAULT_PITCH, "Verdana"),
                    FontOwnsHandle);
    const GlyphRecord* j = font.RenderedGlyph('J');
    ASSERT_NE(j, nullptr);
    EXPECT_EQ(j->leftOffset, c.margin) << c.request;
  }
}

TEST_F(CachedFont, OnWindowsTheEditorsFontTakesTheNativeWay)
{
  LICE_SetWineAnswer(0);
  Attach();
  Surface surface;
  EXPECT_EQ(Draw(surface, "Hi"), font.LineHeight());
  EXPECT_GT(surface.InkedPixels(), 0);
  EXPECT_FALSE(Cached('H'));
  EXPECT_FALSE(Cached('i'));
}

TEST_F(CachedFont, UnderWineTheSameFontTakesTheGlyphWay)
{
  Attach();
  Surface surface;
  EXPECT_GT(Draw(surface, "Hi"), 0);
  EXPECT_GT(surface.InkedPixels(), 0);
  EXPECT_TRUE(Cached('H'));
  EXPECT_TRUE(Cached('i'));
}

TEST_F(CachedFont, WithoutAnAnswerTheRegistryIsAsked)
{
  // This runs under Wine, whose registry has the Wine key.
  LICE_SetWineAnswer(-1);
  Attach();
  Surface surface;
  Draw(surface, "W");
  EXPECT_TRUE(Cached('W'));
}

TEST_F(CachedFont, BothWaysPutDownTheSameInk)
{
  // Per character the glyph way reproduces GDI's own drawing exactly, overhang
  // and line breaks included. (Along a line GDI may place glyphs on fractional
  // advances, which the cache's whole-pixel advances do not follow.)
  Attach(16);
  for (const char* text : {"H", "e", "W", "j", "f", "g", "@", "1", "\xC3\xA9", "A\nB"}) {
    Surface native;
    LICE_SetWineAnswer(0);
    Draw(native, text);

    Surface glyphs;
    LICE_SetWineAnswer(1);
    Draw(glyphs, text);
    EXPECT_GT(glyphs.InkedPixels(), 0) << text;
    EXPECT_EQ(glyphs.Colours(), native.Colours()) << text;
  }
}

TEST_F(CachedFont, ForegroundAlphaTakesTheGlyphWayAtThatWeight)
{
  LICE_SetWineAnswer(0);
  Attach();
  font.SetForeground(0x80000000);
  Surface surface;
  Draw(surface, "Hi", 4, 3, LICE_DT_NOCLIP | TextUseForegroundAlpha);
  EXPECT_TRUE(Cached('H'));
  // Weight 128 / 255 gives k = 128; full ink: g = 256 - 128 * 255 / 256 = 129,
  // and white becomes 255 * 129 / 256 = 128.
  int inked = 0;
  for (uint32_t c : surface.Colours()) {
    if (c == 0xFFFFFF) continue;
    ++inked;
    EXPECT_EQ(c, 0x808080u);
  }
  EXPECT_GT(inked, 0);
}

TEST_F(CachedFont, TransparentForegroundWithAlphaDrawsNothing)
{
  Attach();
  font.SetForeground(0x00000000);
  Surface surface;
  EXPECT_EQ(Draw(surface, "Hi", 4, 3, LICE_DT_NOCLIP | TextUseForegroundAlpha), 0);
  EXPECT_EQ(surface.InkedPixels(), 0);
}

TEST_F(CachedFont, NoNativeFlagTakesTheGlyphWay)
{
  LICE_SetWineAnswer(0);
  Attach();
  Surface surface;
  Draw(surface, "Hi", 4, 3, LICE_DT_NOCLIP | TextNoNative);
  EXPECT_TRUE(Cached('H'));
}

TEST_F(CachedFont, GlyphEffectsTakeTheGlyphWay)
{
  LICE_SetWineAnswer(0);
  Attach(16, FontShadow);
  font.SetEffectColor(0xFFFF0000);
  Surface surface;
  Draw(surface, "Hi");
  EXPECT_TRUE(Cached('H'));
  int shadow = 0;
  for (uint32_t c : surface.Colours()) shadow += c == 0xFF0000;
  EXPECT_GT(shadow, 0);
}

// Asks for the glyph way through the extension query.
class GlyphOnlySurface : public LICE_SysBitmap {
 public:
  GlyphOnlySurface() : LICE_SysBitmap(100, 40) {}
  intptr_t Extension(int id, void*) override { return id == 0x59555678 ? 1 : 0; }
};

TEST_F(CachedFont, ABitmapCanAskForTheGlyphWay)
{
  LICE_SetWineAnswer(0);
  Attach();
  GlyphOnlySurface surface;
  LICE_Rect rect = {0, 0, 100, 40};
  font.RenderText(&surface, "Hi", -1, &rect, LICE_DT_NOCLIP);
  EXPECT_TRUE(Cached('H'));
}

TEST_F(CachedFont, HugeFontsTakeTheNativeWayEvenUnderWine)
{
  Attach(300);
  ASSERT_GE(font.LineHeight(), 256);
  Surface surface(300, 320);
  Draw(surface, "I");
  EXPECT_GT(surface.InkedPixels(), 0);
  EXPECT_FALSE(Cached('I'));
}

TEST_F(CachedFont, LineFeedBreaksTheLineUnlessSingleLine)
{
  Attach();
  const int lh = font.LineHeight();

  Surface twoLines;
  Draw(twoLines, "A\nB");
  Surface apart;
  Draw(apart, "A");
  Draw(apart, "B", 4, 3 + lh);
  EXPECT_EQ(twoLines.Colours(), apart.Colours());

  Surface oneLine;
  Draw(oneLine, "A\nB", 4, 3, LICE_DT_NOCLIP | LICE_DT_SINGLELINE);
  Surface spaced;
  Draw(spaced, "A B");
  EXPECT_EQ(oneLine.Colours(), spaced.Colours());

  EXPECT_EQ(Measure("A\nB").bottom, 20 + 2 * lh);
  EXPECT_EQ(Measure("A\nB", LICE_DT_SINGLELINE).bottom, 20 + lh);
  EXPECT_EQ(Measure("A\nB", LICE_DT_SINGLELINE).right, Measure("A B").right);
}

TEST_F(CachedFont, NativeWayMeasuresLineBreaksToo)
{
  LICE_SetWineAnswer(0);
  Attach();
  Surface surface;
  const int lh = font.LineHeight();
  EXPECT_EQ(Measure("A\nB", 0, &surface.bitmap).bottom, 20 + 2 * lh);
  EXPECT_EQ(Measure("A\nB", LICE_DT_SINGLELINE, &surface.bitmap).bottom, 20 + lh);
  EXPECT_FALSE(Cached('A'));
}

TEST_F(CachedFont, LineSpacingWidensLinesAndKeepsMultiLineTextOffTheNativeWay)
{
  LICE_SetWineAnswer(0);
  Attach();
  const int lh = font.LineHeight();
  EXPECT_EQ(font.SetLineSpacing(5), 0);
  EXPECT_EQ(Measure("A\nB").bottom, 20 + 2 * lh + 5);
  EXPECT_TRUE(Cached('A'));
}

TEST_F(CachedFont, FourByteCharacterIsDrawnAsASpace)
{
  Attach();
  Surface emoji;
  Draw(emoji, "A\xF0\x9F\x98\x80" "B");
  Surface spaced;
  Draw(spaced, "A B");
  EXPECT_EQ(emoji.Colours(), spaced.Colours());
}

TEST_F(CachedFont, LoneE9ByteIsTheCharacterE9)
{
  Attach();
  Surface latin1;
  Draw(latin1, "\xE9");
  EXPECT_TRUE(Cached(0xE9));
  EXPECT_GT(latin1.InkedPixels(), 0);
  Surface utf8;
  Draw(utf8, "\xC3\xA9");
  EXPECT_EQ(latin1.Colours(), utf8.Colours());
}

TEST_F(CachedFont, EmptyTextMeasuresZeroByZeroAndDrawsNothing)
{
  Attach();
  const LICE_Rect rect = Measure("");
  EXPECT_EQ(rect.right, 10);
  EXPECT_EQ(rect.bottom, 20);
  Surface surface;
  EXPECT_EQ(Draw(surface, ""), 0);
  EXPECT_EQ(surface.InkedPixels(), 0);
}

TEST_F(CachedFont, DrawingNeedsADestinationMeasuringDoesNot)
{
  Attach();
  LICE_Rect rect = {0, 0, 100, 100};
  EXPECT_EQ(font.RenderText(nullptr, "Hi", -1, &rect, LICE_DT_NOCLIP), 0);
  EXPECT_GT(Measure("Hi").right, 10);

  LICE_SetWineAnswer(0);
  const LICE_Rect native = Measure("Hi");  // on the text scratch surface
  EXPECT_GT(native.right, 10);
  EXPECT_EQ(native.bottom, 20 + font.LineHeight());
}

TEST_F(CachedFont, NativeWayWithoutADeviceContextDrawsThroughTheScratchSurface)
{
  LICE_SetWineAnswer(0);
  Attach();
  Surface direct;
  Draw(direct, "Hello");

  LICE_MemBitmap memory(direct.bitmap.Width(), direct.bitmap.Height());
  LICE_FillArea(&memory, 0, 0, memory.Width(), memory.Height(), kWhite, 1.0f, CompositeCopy);
  LICE_Rect rect = {4, 3, memory.Width(), memory.Height()};
  EXPECT_EQ(font.RenderText(&memory, "Hello", -1, &rect, LICE_DT_NOCLIP), font.LineHeight());
  EXPECT_FALSE(Cached('H'));
  for (int y = 0; y < memory.Height(); ++y) {
    for (int x = 0; x < memory.Width(); ++x) {
      ASSERT_EQ(memory.Pixels()[y * memory.RowSpan() + x] & 0xFFFFFF,
                direct.bitmap.Pixels()[y * direct.bitmap.RowSpan() + x] & 0xFFFFFF)
          << x << "," << y;
    }
  }
}

TEST_F(CachedFont, GlyphWayAlignsByItsMeasuredSize)
{
  Attach();
  const LICE_Rect size = Measure("Gain");
  const int width = size.right - size.left;
  const int height = size.bottom - size.top;
  const LICE_Rect box = {10, 5, 150, 65};

  const struct {
    int flags;
    int x, y;
  } cases[] = {
      {LICE_DT_RIGHT, box.right - width, box.top},
      {LICE_DT_CENTER, box.left + (box.right - width - box.left) / 2, box.top},
      {LICE_DT_BOTTOM, box.left, box.bottom - height},
      {LICE_DT_VCENTER | LICE_DT_CENTER, box.left + (box.right - width - box.left) / 2,
       box.top + (box.bottom - height - box.top) / 2},
  };
  for (const auto& c : cases) {
    Surface aligned;
    LICE_Rect rect = box;
    font.RenderText(&aligned.bitmap, "Gain", -1, &rect, c.flags);
    Surface placed;
    Draw(placed, "Gain", c.x, c.y);
    EXPECT_EQ(aligned.Colours(), placed.Colours()) << c.flags;
  }
}

TEST_F(CachedFont, WithoutNoClipTheRectangleClips)
{
  Attach();
  Surface clipped;
  LICE_Rect rect = {4, 3, 12, 60};
  font.RenderText(&clipped.bitmap, "WWWW", -1, &rect, 0);
  for (int y = 0; y < clipped.bitmap.Height(); ++y) {
    for (int x = 0; x < clipped.bitmap.Width(); ++x) {
      if (x < 4 || x >= 12 || y < 3 || y >= 60) {
        ASSERT_EQ(clipped.bitmap.Pixels()[y * clipped.bitmap.RowSpan() + x], kWhite) << x;
      }
    }
  }
  EXPECT_GT(clipped.InkedPixels(), 0);
}

TEST_F(CachedFont, ZeroWeightDrawsNothing)
{
  Attach();
  font.SetCompositing(CompositeCopy, 0.0f);
  Surface surface;
  EXPECT_EQ(Draw(surface, "Hi"), 0);
  EXPECT_EQ(surface.InkedPixels(), 0);
}

TEST_F(CachedFont, AsciiOnlyFontsRenderAsciiAtOnceAndNothingElse)
{
  Attach(16, FontCacheASCIIOnly);
  for (int c = 0; c < 128; ++c) EXPECT_TRUE(Cached(c)) << c;
  EXPECT_EQ(font.RenderedGlyph(0xE9), nullptr);
  Surface surface;
  EXPECT_EQ(Draw(surface, "\xC3\xA9"), 0);
  EXPECT_EQ(surface.InkedPixels(), 0);
}

TEST_F(CachedFont, AttachingEmptiesTheCache)
{
  Attach();
  Surface surface;
  Draw(surface, "A\xC3\xA9");
  ASSERT_TRUE(Cached('A'));
  ASSERT_TRUE(Cached(0xE9));
  font.AttachFont(font.NativeFont(), FontOwnsHandle | FontForceNative);
  EXPECT_FALSE(Cached('A'));
  EXPECT_EQ(font.CachedGlyph(0xE9), nullptr);
}

TEST_F(CachedFont, AnOwnedHandleIsDeletedWhenReplaced)
{
  HFONT first = MakeFont(16);
  HFONT second = MakeFont(20);
  font.AttachFont(first, FontOwnsHandle);
  font.AttachFont(first, FontOwnsHandle);  // the same handle again stays
  EXPECT_EQ(GetObjectType(first), DWORD(OBJ_FONT));
  font.AttachFont(second, 0);
  EXPECT_EQ(GetObjectType(first), 0u);
  HFONT third = MakeFont(24);
  font.AttachFont(third, FontOwnsHandle);
  EXPECT_EQ(GetObjectType(second), DWORD(OBJ_FONT));  // was not owned
  DeleteObject(second);
}

TEST_F(CachedFont, SettersGiveThePreviousValue)
{
  EXPECT_EQ(font.SetForeground(0x11223344), 0u);
  EXPECT_EQ(font.Foreground(), 0x11223344u);
  EXPECT_EQ(font.SetBackground(1), 0xFFFFFFFFu);
  EXPECT_EQ(font.SetEffectColor(2), 0xFFFFFFFFu);
  EXPECT_EQ(font.SetBackgroundMode(2), 1);
  EXPECT_EQ(font.LineHeight(), 0);
  EXPECT_EQ(font.NativeFont(), nullptr);
}

}  // namespace
