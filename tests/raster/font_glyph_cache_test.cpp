// The glyph cache: a direct table for ASCII, a sorted list for the rest, and one
// store for all masks.

#include "raster/LICE_GlyphCache.h"

#include <gtest/gtest.h>

namespace {

TEST(GlyphCache, AsciiRecordsAlwaysExistAndStartUnrendered)
{
  LICE_GlyphCache cache;
  for (int c = 0; c < 128; ++c) {
    const GlyphRecord* record = cache.Find(c);
    ASSERT_NE(record, nullptr);
    EXPECT_EQ(record->coverageOffset, 0);
  }
  EXPECT_EQ(cache.FindOrAdd('A'), cache.Find('A'));
}

TEST(GlyphCache, OtherCharactersAreAddedInCodeOrderAndFound)
{
  LICE_GlyphCache cache;
  EXPECT_EQ(cache.Find(0xE9), nullptr);
  const int codes[] = {0x20AC, 0xE9, 0x3042, 0x100, 0xFFFF, 0x80, 0x1000};
  for (int code : codes) {
    GlyphRecord* added = cache.FindOrAdd(code);
    ASSERT_NE(added, nullptr);
    EXPECT_EQ(added->character, code);
    EXPECT_EQ(added->coverageOffset, 0);
    added->advance = code;  // a mark to find again
  }
  for (int code : codes) {
    const GlyphRecord* found = cache.Find(code);
    ASSERT_NE(found, nullptr) << code;
    EXPECT_EQ(found->advance, code);
  }
  EXPECT_EQ(cache.Find(0x101), nullptr);
  EXPECT_EQ(cache.FindOrAdd(0x3042)->advance, 0x3042);  // no duplicate
}

TEST(GlyphCache, ManyCharactersOutgrowTheFirstListBlock)
{
  LICE_GlyphCache cache;
  for (int code = 0x4000; code > 0x3000; code -= 7) cache.FindOrAdd(code)->width = code;
  for (int code = 0x4000; code > 0x3000; code -= 7) ASSERT_EQ(cache.Find(code)->width, code);
}

TEST(GlyphCache, MasksLiveInOneStoreAtOffsetPlusOne)
{
  LICE_GlyphCache cache;
  unsigned char* first = cache.GrowStore(6);
  ASSERT_NE(first, nullptr);
  for (int i = 0; i < 6; ++i) first[i] = (unsigned char)i;
  unsigned char* second = cache.GrowStore(100000);  // beyond one 64 KiB step
  ASSERT_NE(second, nullptr);
  second[99999] = 42;
  EXPECT_EQ(cache.StoreSize(), 100006);

  GlyphRecord record = {7, 10000, 10, 1, 'x', 0};
  ASSERT_NE(cache.Mask(record), nullptr);
  EXPECT_EQ(cache.Mask(record)[99999], 42);
  record.coverageOffset = 2;
  EXPECT_EQ(cache.Mask(record)[0], 1);
  record.coverageOffset = -1;
  EXPECT_EQ(cache.Mask(record), nullptr);

  cache.ShrinkStore(3);
  EXPECT_EQ(cache.StoreSize(), 3);
  EXPECT_EQ(cache.GrowStore(-1), nullptr);
}

TEST(GlyphCache, ClearForgetsEverything)
{
  LICE_GlyphCache cache;
  cache.Find('A')->coverageOffset = 5;
  cache.FindOrAdd(0xE9);
  cache.GrowStore(10);
  cache.Clear();
  EXPECT_EQ(cache.Find('A')->coverageOffset, 0);
  EXPECT_EQ(cache.Find(0xE9), nullptr);
  EXPECT_EQ(cache.StoreSize(), 0);
}

}  // namespace
