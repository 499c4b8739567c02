// Where LICE_Composite draws: source rectangles, destination points, clipping
// on both bitmaps and the row order of each.
#include "bitmap_test_bitmap.h"

#include "raster/LICE_Composite.h"
#include "raster/LICE_MemBitmap.h"

#include <gtest/gtest.h>

#include <climits>
#include <limits>

namespace {

// Source pixel (x, y) is opaque and names its own position.
LICE_Color32 Mark(int x, int y) { return LICE_RGBA(x, y, 7, 255); }

void MarkSource(TestBitmap& src)
{
  for (int y = 0; y < src.Height(); ++y)
    for (int x = 0; x < src.Width(); ++x) src.At(x, y) = Mark(x, y);
}

constexpr LICE_Color32 kUntouched = 0x12345678;

// What a composite should have drawn: source (sx, sy) onwards, cols x rows of it,
// at destination (dx, dy). Worked out by hand per case.
struct Placement {
  int dx, dy, sx, sy, cols, rows;
};

void ExpectPlaced(TestBitmap& dest, const Placement& p)
{
  for (int y = 0; y < dest.Height(); ++y) {
    for (int x = 0; x < dest.Width(); ++x) {
      const bool inside = x >= p.dx && x < p.dx + p.cols && y >= p.dy && y < p.dy + p.rows;
      const LICE_Color32 want = inside ? Mark(p.sx + x - p.dx, p.sy + y - p.dy) : kUntouched;
      ASSERT_EQ(dest.At(x, y), want) << "at " << x << "," << y;
    }
  }
}

struct ClipCase {
  const char* behaviour;
  int dx, dy;
  bool hasRect;
  LICE_Rect rect;
  Placement expected;  // cols 0: nothing drawn
};

// Source 4 x 3, destination 6 x 5.
const ClipCase kClipCases[] = {
    {"whole source at the origin", 0, 0, false, {}, {0, 0, 0, 0, 4, 3}},
    {"whole source inside", 1, 2, false, {}, {1, 2, 0, 0, 4, 3}},
    {"cut at the right and bottom edges", 4, 3, false, {}, {4, 3, 0, 0, 2, 2}},
    {"a point left of and above the destination cuts source columns and rows", -1, -2, false,
     {}, {0, 0, 1, 2, 3, 1}},
    {"a rectangle inside the source", 0, 0, true, {1, 1, 3, 3}, {0, 0, 1, 1, 2, 2}},
    {"a rectangle larger than the source is cut to it", 2, 1, true, {0, 0, 10, 10},
     {2, 1, 0, 0, 4, 3}},
    // left -2: column 0 lands at 1 + 2 = 3; only 3 columns fit.
    {"a negative left edge pushes the drawing right", 1, 0, true, {-2, 0, 4, 3},
     {3, 0, 0, 0, 3, 3}},
    // left -5: column 0 at 0 + 5, one column fits.
    {"left edge -5 draws column 0 five pixels further right", 0, 0, true, {-5, 0, 4, 3},
     {5, 0, 0, 0, 1, 3}},
    // top -1 at dy 1: row 0 at 2.
    {"a negative top edge pushes the drawing down", 0, 1, true, {0, -1, 2, 3},
     {0, 2, 0, 0, 2, 3}},
    // left -2 at dx -3: dx -1 after the push, then one source column cut.
    {"a negative edge and a negative point together", -3, 0, true, {-2, 0, 4, 3},
     {0, 0, 1, 0, 3, 3}},
    {"a filmstrip frame picked by the rectangle's top", 0, 0, true, {0, 2, 4, 3},
     {0, 0, 0, 2, 4, 1}},
    {"a point past the right edge draws nothing", 6, 0, false, {}, {0, 0, 0, 0, 0, 0}},
    {"a point past the bottom edge draws nothing", 0, 5, false, {}, {0, 0, 0, 0, 0, 0}},
    {"a point far left draws nothing", -4, 0, false, {}, {0, 0, 0, 0, 0, 0}},
    {"an empty rectangle draws nothing", 0, 0, true, {2, 0, 2, 3}, {0, 0, 0, 0, 0, 0}},
    {"a rectangle right of the source draws nothing", 0, 0, true, {4, 0, 8, 3},
     {0, 0, 0, 0, 0, 0}},
    {"extreme coordinates draw nothing and do not overflow", INT_MAX, INT_MIN, true,
     {INT_MIN, INT_MIN, INT_MAX, INT_MAX}, {0, 0, 0, 0, 0, 0}},
    {"an extreme negative edge pushes the drawing off", 0, 0, true, {INT_MIN, 0, 4, 3},
     {0, 0, 0, 0, 0, 0}},
};

TEST(CompositeClip, DrawsExactlyTheClippedArea)
{
  for (bool destBottomUp : {false, true}) {
    for (bool srcBottomUp : {false, true}) {
      for (const ClipCase& c : kClipCases) {
        SCOPED_TRACE(testing::Message() << c.behaviour << " dest bottom-up " << destBottomUp
                                        << " src bottom-up " << srcBottomUp);
        TestBitmap src(4, 3, srcBottomUp, 5);
        MarkSource(src);
        TestBitmap dest(6, 5, destBottomUp, 7, kUntouched);
        LICE_Composite(&dest, &src, c.dx, c.dy, c.hasRect ? &c.rect : nullptr, 1.0f,
                       CompositeCopy);
        ExpectPlaced(dest, c.expected);
      }
    }
  }
}

TEST(CompositeClip, EveryPathHonoursTheRowOrder)
{
  // The same drawing through the row copy, the halving path, the general loop
  // and channel copy: a bottom-up destination must match a top-down one when
  // read by position.
  const int modes[] = {CompositeCopy, CompositeCopy, CompositeAdd,
                       CompositeUseSourceAlpha, LICE_ChannelCopyMode(2, 0)};
  const float weights[] = {1.0f, 0.5f, 1.0f, 0.7f, 1.0f};
  for (int i = 0; i < 5; ++i) {
    SCOPED_TRACE(i);
    TestBitmap src(4, 3, false);
    TestBitmap srcUp(4, 3, true, 6);
    MarkSource(src);
    MarkSource(srcUp);
    TestBitmap plain(5, 4, false, 5, 0x40302010);
    TestBitmap up(5, 4, true, 8, 0x40302010);
    const LICE_Rect rect = {1, 0, 4, 3};
    LICE_Composite(&plain, &src, 1, 1, &rect, weights[i], modes[i]);
    LICE_Composite(&up, &srcUp, 1, 1, &rect, weights[i], modes[i]);
    for (int y = 0; y < 4; ++y)
      for (int x = 0; x < 5; ++x) ASSERT_EQ(up.At(x, y), plain.At(x, y)) << x << "," << y;
  }
}

TEST(CompositeClip, BottomUpDestinationKeepsItsTopRowLastInStorage)
{
  TestBitmap src(2, 1);
  src.At(0, 0) = 0xAA000001;
  src.At(1, 0) = 0xAA000002;
  TestBitmap dest(2, 3, true, 2);
  LICE_Composite(&dest, &src, 0, 0, nullptr, 1.0f, CompositeCopy);
  EXPECT_EQ(dest.Stored(0, 2), 0xAA000001u);
  EXPECT_EQ(dest.Stored(1, 2), 0xAA000002u);
  EXPECT_EQ(dest.Stored(0, 0), 0u);
}

TEST(CompositeClip, MissingBitmapsOrPixelsDrawNothing)
{
  TestBitmap dest(2, 2, false, 2, kUntouched);
  TestBitmap src(2, 2, false, 2, 0xFFFFFFFF);
  EmptyPixelsBitmap empty;
  LICE_Composite(nullptr, &src, 0, 0, nullptr, 1.0f, CompositeCopy);
  LICE_Composite(&dest, nullptr, 0, 0, nullptr, 1.0f, CompositeCopy);
  LICE_Composite(&dest, &empty, 0, 0, nullptr, 1.0f, CompositeCopy);
  LICE_Composite(&empty, &src, 0, 0, nullptr, 1.0f, CompositeCopy);
  LICE_MemBitmap unsized;
  LICE_Composite(&dest, &unsized, 0, 0, nullptr, 1.0f, CompositeCopy);
  LICE_Composite(&unsized, &src, 0, 0, nullptr, 1.0f, CompositeCopy);
  for (int y = 0; y < 2; ++y)
    for (int x = 0; x < 2; ++x) EXPECT_EQ(dest.At(x, y), kUntouched);
}

TEST(CompositeClip, AnUndefinedWeightDrawsNothing)
{
  TestBitmap dest(1, 1, false, 1, kUntouched);
  TestBitmap src(1, 1, false, 1, 0xFFFFFFFF);
  const float nan = std::numeric_limits<float>::quiet_NaN();
  LICE_Composite(&dest, &src, 0, 0, nullptr, nan, CompositeCopy);
  LICE_Composite(&dest, &src, 0, 0, nullptr, nan, LICE_ChannelCopyMode(0, 1));
  EXPECT_EQ(dest.At(0, 0), kUntouched);
}

}  // namespace
