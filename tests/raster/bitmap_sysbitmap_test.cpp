// LICE_SysBitmap storage rules, the same on every platform: rows padded to four
// pixels, the section kept when shrinking, a new one only on growth.
#include "raster/LICE_SysBitmap.h"

#include <gtest/gtest.h>

#include <climits>
#include <utility>

namespace {

TEST(SysBitmap, StartsEmptyAtZeroByZero)
{
  LICE_SysBitmap bitmap;
  EXPECT_EQ(bitmap.Width(), 0);
  EXPECT_EQ(bitmap.Height(), 0);
  EXPECT_EQ(bitmap.RowSpan(), 0);
  EXPECT_EQ(bitmap.Pixels(), nullptr);
  EXPECT_FALSE(bitmap.IsBottomUp());
}

TEST(SysBitmap, RowSpanIsTheSectionWidthPaddedToFourPixels)
{
  const struct {
    int width, span;
  } cases[] = {{1, 4}, {4, 4}, {5, 8}, {100, 100}, {1162, 1164}};
  for (const auto& c : cases) {
    LICE_SysBitmap bitmap(c.width, 3);
    EXPECT_EQ(bitmap.Width(), c.width);
    EXPECT_EQ(bitmap.Height(), 3);
    EXPECT_EQ(bitmap.RowSpan(), c.span) << c.width;
    ASSERT_NE(bitmap.Pixels(), nullptr);
    for (int i = 0; i < c.span * 3; ++i) bitmap.Pixels()[i] = 0xFFFFFFFF;  // all writable
  }
}

TEST(SysBitmap, ShrinkingKeepsTheSectionAndItsPixels)
{
  LICE_SysBitmap bitmap(100, 50);
  LICE_Color32* const pixels = bitmap.Pixels();
  ASSERT_NE(pixels, nullptr);
  pixels[0] = 0xCAFEF00D;
  EXPECT_TRUE(bitmap.Resize(30, 20));
  EXPECT_EQ(bitmap.Width(), 30);
  EXPECT_EQ(bitmap.Height(), 20);
  EXPECT_EQ(bitmap.RowSpan(), 100);
  EXPECT_EQ(bitmap.Pixels(), pixels);
  EXPECT_EQ(bitmap.Pixels()[0], 0xCAFEF00Du);
  // Back up to the old size: still the same section.
  EXPECT_TRUE(bitmap.Resize(100, 50));
  EXPECT_EQ(bitmap.Pixels(), pixels);
  EXPECT_EQ(bitmap.RowSpan(), 100);
}

TEST(SysBitmap, GrowingPastTheSectionMakesANewOne)
{
  LICE_SysBitmap bitmap(30, 20);
  EXPECT_TRUE(bitmap.Resize(31, 20));
  EXPECT_EQ(bitmap.RowSpan(), 32);
  EXPECT_TRUE(bitmap.Resize(10, 21));  // taller than the section: new section, narrower
  EXPECT_EQ(bitmap.RowSpan(), 12);
  EXPECT_NE(bitmap.Pixels(), nullptr);
}

TEST(SysBitmap, ResizeToTheCurrentSizeAnswersFalse)
{
  LICE_SysBitmap bitmap(8, 8);
  EXPECT_FALSE(bitmap.Resize(8, 8));
}

TEST(SysBitmap, AnEmptySizeReleasesThePixels)
{
  for (auto size : {std::pair<int, int>{0, 0}, {0, 5}, {5, 0}, {-3, 4}, {4, -3}}) {
    LICE_SysBitmap bitmap(8, 8);
    EXPECT_FALSE(bitmap.Resize(size.first, size.second));
    EXPECT_EQ(bitmap.Width(), 0);
    EXPECT_EQ(bitmap.Height(), 0);
    EXPECT_EQ(bitmap.Pixels(), nullptr);
    EXPECT_EQ(bitmap.RowSpan(), 0);
  }
}

TEST(SysBitmap, SizesBeyondAddressableBytesFailCleanly)
{
  for (auto size : {std::pair<int, int>{INT_MAX, 1}, {65536, 65536}, {INT_MAX, INT_MAX}}) {
    LICE_SysBitmap bitmap(8, 8);
    EXPECT_TRUE(bitmap.Resize(size.first, size.second));
    EXPECT_EQ(bitmap.Width(), 0);
    EXPECT_EQ(bitmap.Height(), 0);
    EXPECT_EQ(bitmap.Pixels(), nullptr);
    // Still usable afterwards.
    EXPECT_TRUE(bitmap.Resize(4, 4));
    EXPECT_NE(bitmap.Pixels(), nullptr);
  }
}

#ifndef _WIN32
TEST(SysBitmap, HasNoDeviceContextWithoutGdi)
{
  LICE_SysBitmap bitmap(4, 4);
  EXPECT_EQ(bitmap.DeviceContext(), nullptr);
}
#endif

}  // namespace
