// Area-averaging resampling: each destination pixel the coverage-weighted
// average of the source pixels under it, taken in premultiplied alpha.
#include "raster/LICE_Resample.h"

#include "tests/raster/bitmap_test_bitmap.h"

#include <gtest/gtest.h>

#include <vector>

namespace
{
// One row of pixels resampled to another width.
std::vector<LICE_Color32> ResampleRow(const std::vector<LICE_Color32>& row, int width)
{
  TestBitmap src(static_cast<int>(row.size()), 1);
  for (size_t x = 0; x < row.size(); ++x) src.At(static_cast<int>(x), 0) = row[x];
  TestBitmap dest(width, 1, false, -1, 0xDEADBEEF);
  EXPECT_TRUE(LICE_ResampleArea(&dest, {0, 0, width, 1}, &src,
                                {0, 0, static_cast<int>(row.size()), 1}));
  std::vector<LICE_Color32> out;
  for (int x = 0; x < width; ++x) out.push_back(dest.At(x, 0));
  return out;
}

constexpr LICE_Color32 kRed = LICE_RGBA(255, 0, 0, 255);
constexpr LICE_Color32 kClearGreen = LICE_RGBA(0, 255, 0, 0);

TEST(Resample, eachPixelIsTheCoverageWeightedAverageInPremultipliedAlpha)
{
  struct Case
  {
    const char* what;
    std::vector<LICE_Color32> row;
    int width;
    std::vector<LICE_Color32> expected;
  };
  const Case cases[] = {
    {"same size copies", {LICE_RGBA(10, 20, 30, 40), LICE_RGBA(200, 100, 50, 255)}, 2,
     {LICE_RGBA(10, 20, 30, 40), LICE_RGBA(200, 100, 50, 255)}},
    {"halving averages pairs", {LICE_RGB(0, 0, 0), LICE_RGB(200, 100, 51), LICE_RGB(10, 10, 10), LICE_RGB(20, 20, 20)}, 2,
     {LICE_RGB(100, 50, 26), LICE_RGB(15, 15, 15)}},
    // A transparent neighbour lowers the alpha but lends no colour.
    {"transparent pixels lend no colour", {kRed, kClearGreen}, 1, {LICE_RGBA(255, 0, 0, 128)}},
    {"fully transparent stays clear", {kClearGreen, kClearGreen}, 1, {0}},
    // Four pixels to three: 3/4 of the first with 1/4 of the second, and so on.
    {"four to three", {LICE_RGB(0, 0, 0), LICE_RGB(200, 200, 200), LICE_RGB(100, 100, 100), LICE_RGB(40, 40, 40)}, 3,
     {LICE_RGB(50, 50, 50), LICE_RGB(150, 150, 150), LICE_RGB(55, 55, 55)}},
    {"doubling repeats", {LICE_RGBA(1, 2, 3, 4), LICE_RGB(9, 8, 7)}, 4,
     {LICE_RGBA(1, 2, 3, 4), LICE_RGBA(1, 2, 3, 4), LICE_RGB(9, 8, 7), LICE_RGB(9, 8, 7)}},
    // Two to three: the middle pixel is half of each.
    {"two to three", {LICE_RGB(0, 0, 0), LICE_RGB(100, 100, 100)}, 3,
     {LICE_RGB(0, 0, 0), LICE_RGB(50, 50, 50), LICE_RGB(100, 100, 100)}},
  };
  for (const Case& c : cases)
  {
    SCOPED_TRACE(c.what);
    EXPECT_EQ(c.expected, ResampleRow(c.row, c.width));
  }
}

TEST(Resample, bothAxesAndBottomUpRowsAreHonoured)
{
  // A 2 x 2 block of one opaque pixel and three clear ones, stored bottom-up,
  // into one pixel of a bigger picture: red at a quarter alpha, the rest untouched.
  TestBitmap src(2, 2, true);
  src.At(0, 0) = kRed;
  src.At(1, 0) = src.At(0, 1) = src.At(1, 1) = kClearGreen;
  TestBitmap dest(3, 3, false, -1, 0x11111111);
  ASSERT_TRUE(LICE_ResampleArea(&dest, {1, 1, 2, 2}, &src, {0, 0, 2, 2}));
  EXPECT_EQ(LICE_RGBA(255, 0, 0, 64), dest.At(1, 1));
  EXPECT_EQ(0x11111111u, dest.At(0, 0));
  EXPECT_EQ(0x11111111u, dest.At(2, 2));
}

TEST(Resample, rectanglesOutsideTheirBitmapsOrEmptyDrawNothing)
{
  TestBitmap src(4, 4, false, -1, kRed);
  TestBitmap dest(4, 4, false, -1, 0x22222222);
  const LICE_Rect all = {0, 0, 4, 4};
  const LICE_Rect bad[] = {{0, 0, 5, 4}, {-1, 0, 3, 4}, {2, 2, 2, 4}, {3, 3, 1, 1}};
  for (const LICE_Rect& r : bad)
  {
    EXPECT_FALSE(LICE_ResampleArea(&dest, r, &src, all));
    EXPECT_FALSE(LICE_ResampleArea(&dest, all, &src, r));
  }
  EXPECT_FALSE(LICE_ResampleArea(nullptr, all, &src, all));
  EmptyPixelsBitmap empty;
  EXPECT_FALSE(LICE_ResampleArea(&dest, all, &empty, all));
  for (int y = 0; y < 4; ++y)
    for (int x = 0; x < 4; ++x) EXPECT_EQ(0x22222222u, dest.At(x, y));
}
}  // namespace
