// The whole-word fast paths against the general combiner loop they stand for.
#include "raster/LICE_Combiners.h"
#include "raster/LICE_Composite.h"
#include "raster/LICE_CompositeLoops.h"
#include "raster/LICE_MemBitmap.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>

namespace {

// Deterministic pixels covering odd and even channel values.
void FillPseudoRandom(LICE_MemBitmap& bitmap, uint32_t seed)
{
  uint32_t state = seed;
  for (int y = 0; y < bitmap.Height(); ++y) {
    for (int x = 0; x < bitmap.Width(); ++x) {
      state = state * 1664525u + 1013904223u;
      bitmap.Pixels()[y * bitmap.RowSpan() + x] = state;
    }
  }
}

LICE_PixelRows Rows(LICE_MemBitmap& b)
{
  return LICE_LocateRows(b, b.Pixels(), 0, 0, b.Width(), b.Height());
}

bool SamePixels(LICE_MemBitmap& a, LICE_MemBitmap& b)
{
  for (int y = 0; y < a.Height(); ++y)
    for (int x = 0; x < a.Width(); ++x)
      if (a.Pixels()[y * a.RowSpan() + x] != b.Pixels()[y * b.RowSpan() + x]) return false;
  return true;
}

TEST(CompositeFastPaths, WholeRowCopyMatchesTheCopyCombinerAtFullWeight)
{
  LICE_MemBitmap src(37, 11), viaFastPath(37, 11), viaCombiner(37, 11);
  FillPseudoRandom(src, 1);
  FillPseudoRandom(viaFastPath, 2);
  FillPseudoRandom(viaCombiner, 2);
  LICE_Composite(&viaFastPath, &src, 0, 0, nullptr, 1.0f, CompositeCopy);
  LICE_CombineRows<LICE_CopyCombine>(Rows(viaCombiner), Rows(src), 256);
  EXPECT_TRUE(SamePixels(viaFastPath, viaCombiner));
  EXPECT_TRUE(SamePixels(viaFastPath, src));
}

TEST(CompositeFastPaths, HalfWeightCopyAveragesEachChannelRoundingDown)
{
  LICE_MemBitmap src(29, 7), dest(29, 7), before(29, 7), viaCombiner(29, 7);
  FillPseudoRandom(src, 3);
  FillPseudoRandom(dest, 4);
  FillPseudoRandom(before, 4);
  FillPseudoRandom(viaCombiner, 4);
  LICE_Composite(&dest, &src, 0, 0, nullptr, 0.5f, CompositeCopy);
  LICE_CombineRows<LICE_CopyCombine>(Rows(viaCombiner), Rows(src), 128);

  // The shortcut is not the general rule at k = 128: both halves round down
  // first, so two odd channels lose one. They never differ by more.
  int differing = 0;
  for (int y = 0; y < 7; ++y) {
    for (int x = 0; x < 29; ++x) {
      const int i = y * dest.RowSpan() + x;
      for (int c = 0; c < 4; ++c) {
        const int d = LICE_GETCHAN(before.Pixels()[i], c);
        const int s = LICE_GETCHAN(src.Pixels()[i], c);
        const int got = LICE_GETCHAN(dest.Pixels()[i], c);
        ASSERT_EQ(got, d / 2 + s / 2) << x << "," << y << " channel " << c;
        const int general = LICE_GETCHAN(viaCombiner.Pixels()[i], c);
        ASSERT_LE(std::abs(general - got), 1);
        differing += general != got;
      }
    }
  }
  EXPECT_GT(differing, 0);
}

TEST(CompositeFastPaths, HalfWeightAveragesTheWorkedExample)
{
  // (1, 3, 200, 255) with (1, 2, 101, 0): (0+0, 1+1, 100+50, 127+0).
  LICE_MemBitmap src(1, 1), dest(1, 1);
  *dest.Pixels() = LICE_RGBA(1, 3, 200, 255);
  *src.Pixels() = LICE_RGBA(1, 2, 101, 0);
  LICE_Composite(&dest, &src, 0, 0, nullptr, 0.5f, CompositeCopy);
  EXPECT_EQ(*dest.Pixels(), LICE_RGBA(0, 2, 150, 127));
}

TEST(CompositeFastPaths, SourceAlphaCopyAtFullWeightIsNotARowCopy)
{
  LICE_MemBitmap src(2, 1), dest(2, 1);
  dest.Pixels()[0] = dest.Pixels()[1] = LICE_RGBA(10, 20, 30, 40);
  src.Pixels()[0] = LICE_RGBA(1, 2, 3, 0);
  src.Pixels()[1] = LICE_RGBA(1, 2, 3, 255);
  LICE_Composite(&dest, &src, 0, 0, nullptr, 1.0f, CompositeUseSourceAlpha);
  EXPECT_EQ(dest.Pixels()[0], LICE_RGBA(10, 20, 30, 40));
  EXPECT_EQ(dest.Pixels()[1], LICE_RGBA(1, 2, 3, 255));
}

TEST(CompositeFastPaths, CopyOntoItselfShiftedMatchesACopyFromElsewhere)
{
  // The row copy moves overlapping memory safely.
  LICE_MemBitmap bitmap(8, 1), reference(8, 1);
  for (int x = 0; x < 8; ++x) bitmap.Pixels()[x] = reference.Pixels()[x] = LICE_Color32(x + 1);
  const LICE_Rect rect = {0, 0, 6, 1};
  LICE_Composite(&bitmap, &bitmap, 2, 0, &rect, 1.0f, CompositeCopy);
  const LICE_Color32 expected[8] = {1, 2, 1, 2, 3, 4, 5, 6};
  for (int x = 0; x < 8; ++x) EXPECT_EQ(bitmap.Pixels()[x], expected[x]) << x;
}

TEST(CompositeFastPaths, FillShortcutsMatchTheirPerChannelMixes)
{
  // k 256: the colour; k 128: c/2 + d/2; k 64: d/2 + d/4 + c/4; k 192: d/4 + c/4 + c/2;
  // each part per channel, rounded down.
  struct Case {
    float weight;
    int (*mix)(int d, int c);
  } cases[] = {
      {1.0f, [](int, int c) { return c; }},
      {0.5f, [](int d, int c) { return c / 2 + d / 2; }},
      {0.25f, [](int d, int c) { return d / 2 + d / 4 + c / 4; }},
      {0.75f, [](int d, int c) { return d / 4 + c / 4 + c / 2; }},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.weight);
    LICE_MemBitmap dest(13, 3), before(13, 3);
    FillPseudoRandom(dest, 9);
    FillPseudoRandom(before, 9);
    const LICE_Color32 colour = 0x9F3E81C7;
    LICE_FillArea(&dest, 0, 0, 13, 3, colour, c.weight, CompositeCopy);
    for (int i = 0; i < 3 * dest.RowSpan(); ++i) {
      if (i % dest.RowSpan() >= 13) continue;
      for (int ch = 0; ch < 4; ++ch)
        ASSERT_EQ(LICE_GETCHAN(dest.Pixels()[i], ch),
                  c.mix(LICE_GETCHAN(before.Pixels()[i], ch), LICE_GETCHAN(colour, ch)))
            << i << " channel " << ch;
    }
  }
}

TEST(CompositeFastPaths, FillAtFullWeightMatchesTheCopyCombiner)
{
  LICE_MemBitmap viaFill(5, 2), viaCombiner(5, 2);
  FillPseudoRandom(viaFill, 5);
  FillPseudoRandom(viaCombiner, 5);
  const LICE_Color32 colour = 0x80112233;
  LICE_FillArea(&viaFill, 0, 0, 5, 2, colour, 1.0f, CompositeCopy);
  LICE_CombineColour<LICE_CopyCombine>(Rows(viaCombiner), LICE_GETR(colour), LICE_GETG(colour),
                                       LICE_GETB(colour), LICE_GETA(colour), 256);
  EXPECT_TRUE(SamePixels(viaFill, viaCombiner));
}

}  // namespace
