// LICE_MemBitmap: alignment, row span, growth with headroom, no shrinking, and
// sizes it cannot hold.
#include "raster/LICE_MemBitmap.h"

#include <gtest/gtest.h>

#include <climits>
#include <cstdint>

namespace {

bool AlignedTo64(const void* p) { return reinterpret_cast<uintptr_t>(p) % 64 == 0; }

TEST(MemBitmap, StartsEmpty)
{
  LICE_MemBitmap bitmap;
  EXPECT_EQ(bitmap.Width(), 0);
  EXPECT_EQ(bitmap.Height(), 0);
  EXPECT_EQ(bitmap.Pixels(), nullptr);
  EXPECT_EQ(bitmap.Capacity(), 0);
  EXPECT_FALSE(bitmap.IsBottomUp());
  EXPECT_EQ(bitmap.DeviceContext(), nullptr);
  EXPECT_EQ(bitmap.Extension(0x59555678, nullptr), 0);
}

TEST(MemBitmap, ConstructorWithAnEmptyDimensionStaysEmpty)
{
  LICE_MemBitmap wide(5, 0), negative(-3, 4);
  EXPECT_EQ(wide.Pixels(), nullptr);
  EXPECT_EQ(wide.Width(), 0);
  EXPECT_EQ(negative.Pixels(), nullptr);
  EXPECT_EQ(negative.Height(), 0);
}

TEST(MemBitmap, RowSpanIsTheWidthRoundedUpToFourPixels)
{
  const struct {
    int width, span;
  } cases[] = {{1, 4}, {3, 4}, {4, 4}, {5, 8}, {1162, 1164}, {1164, 1164}};
  for (const auto& c : cases) {
    LICE_MemBitmap bitmap(c.width, 2);
    EXPECT_EQ(bitmap.RowSpan(), c.span) << c.width;
    EXPECT_EQ(bitmap.Capacity(), c.span * 2 * 4) << c.width;
  }
}

TEST(MemBitmap, PixelsStartOn64ByteBoundaries)
{
  for (int width : {1, 3, 17, 64, 333}) {
    for (int height : {1, 2, 9}) {
      LICE_MemBitmap bitmap(width, height);
      ASSERT_NE(bitmap.Pixels(), nullptr);
      EXPECT_TRUE(AlignedTo64(bitmap.Pixels())) << width << "x" << height;
      // Every pixel of every row is writable (AddressSanitizer watches).
      for (int y = 0; y < height; ++y)
        for (int x = 0; x < bitmap.RowSpan(); ++x) bitmap.Pixels()[y * bitmap.RowSpan() + x] = 1;
    }
  }
}

TEST(MemBitmap, ResizeToTheCurrentSizeAnswersFalse)
{
  LICE_MemBitmap bitmap(10, 10);
  EXPECT_FALSE(bitmap.Resize(10, 10));
  LICE_MemBitmap empty;
  EXPECT_FALSE(empty.Resize(0, 0));
}

TEST(MemBitmap, GrowthAddsAQuarterOfHeadroom)
{
  LICE_MemBitmap bitmap(4, 4);  // 64 bytes
  EXPECT_EQ(bitmap.Capacity(), 64);
  EXPECT_TRUE(bitmap.Resize(8, 10));  // 320 bytes needed: 320 + 80
  EXPECT_EQ(bitmap.Capacity(), 400);
  EXPECT_EQ(bitmap.Width(), 8);
  EXPECT_EQ(bitmap.Height(), 10);
  EXPECT_TRUE(AlignedTo64(bitmap.Pixels()));
}

TEST(MemBitmap, NeverShrinksAndReusesItsHeadroom)
{
  LICE_MemBitmap bitmap(8, 10);  // exactly 320 bytes
  LICE_Color32* const first = bitmap.Pixels();
  EXPECT_TRUE(bitmap.Resize(2, 2));
  EXPECT_EQ(bitmap.Capacity(), 320);
  EXPECT_EQ(bitmap.Pixels(), first);
  EXPECT_EQ(bitmap.RowSpan(), 4);
  EXPECT_TRUE(bitmap.Resize(8, 10));  // fits again: same block
  EXPECT_EQ(bitmap.Pixels(), first);
  EXPECT_EQ(bitmap.Capacity(), 320);
}

TEST(MemBitmap, AnEmptySizeFreesTheStorage)
{
  LICE_MemBitmap bitmap(10, 10);
  EXPECT_TRUE(bitmap.Resize(0, 5));
  EXPECT_EQ(bitmap.Width(), 0);
  EXPECT_EQ(bitmap.Height(), 0);
  EXPECT_EQ(bitmap.Pixels(), nullptr);
  EXPECT_EQ(bitmap.Capacity(), 0);
  EXPECT_TRUE(bitmap.Resize(3, 3));
  EXPECT_NE(bitmap.Pixels(), nullptr);
  EXPECT_EQ(bitmap.Capacity(), 48);
}

TEST(MemBitmap, NegativeSizesLeaveItEmpty)
{
  LICE_MemBitmap bitmap(10, 10);
  EXPECT_TRUE(bitmap.Resize(-4, 10));
  EXPECT_EQ(bitmap.Width(), 0);
  EXPECT_EQ(bitmap.Height(), 0);
  EXPECT_EQ(bitmap.Pixels(), nullptr);
  EXPECT_TRUE(bitmap.Resize(10, -1));
  EXPECT_EQ(bitmap.Pixels(), nullptr);
}

TEST(MemBitmap, SizesBeyondAddressableBytesFailCleanly)
{
  // Each of these would overflow a 32-bit byte count; the bitmap answers with an
  // empty size instead of a short block.
  const struct {
    int w, h;
  } cases[] = {{INT_MAX, 1}, {INT_MAX - 2, 2}, {65536, 65536}, {1, INT_MAX / 2}, {INT_MAX, INT_MAX}};
  for (const auto& c : cases) {
    LICE_MemBitmap bitmap(16, 16);
    EXPECT_TRUE(bitmap.Resize(c.w, c.h)) << c.w << "x" << c.h;
    EXPECT_EQ(bitmap.Width(), 0);
    EXPECT_EQ(bitmap.Height(), 0);
    EXPECT_EQ(bitmap.Pixels(), nullptr);
  }
}

}  // namespace
