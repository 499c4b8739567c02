#include "framework/IStateChunk.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <limits>

TEST(StateChunk, DoublesAreStoredAsLittleEndianIeee754)
{
  IStateChunk chunk;
  EXPECT_EQ(chunk.AppendDouble(1.0), 8);    // 0x3FF0000000000000
  EXPECT_EQ(chunk.AppendDouble(-2.0), 16);  // 0xC000000000000000
  const uint8_t expected[16] = {0, 0, 0, 0, 0, 0, 0xF0, 0x3F, 0, 0, 0, 0, 0, 0, 0, 0xC0};
  ASSERT_EQ(chunk.Size(), 16);
  EXPECT_EQ(std::memcmp(chunk.Data(), expected, 16), 0);
}

TEST(StateChunk, ValuesReadBackBitForBitFromTheirPositions)
{
  const double values[] = {0.0, -0.0, 20000.0, -24.0, 1e-310, 0.01,
                           std::numeric_limits<double>::infinity()};
  IStateChunk chunk;
  for (double v : values) chunk.AppendDouble(v);
  int pos = 0;
  for (double v : values)
  {
    double read = 123.0;
    pos = chunk.ReadDouble(&read, pos);
    ASSERT_GT(pos, 0);
    EXPECT_EQ(std::memcmp(&read, &v, sizeof v), 0) << v;
  }
  EXPECT_EQ(pos, chunk.Size());
}

TEST(StateChunk, ReadingPastTheEndOrBeforeTheStartFails)
{
  IStateChunk chunk;
  chunk.AppendDouble(5.0);
  const uint8_t three[3] = {1, 2, 3};
  chunk.Append(three, 3);  // 11 bytes
  double v = 7.0;
  EXPECT_EQ(chunk.ReadDouble(&v, 4), -1);
  EXPECT_EQ(chunk.ReadDouble(&v, -1), -1);
  EXPECT_EQ(chunk.ReadDouble(&v, 12), -1);
  EXPECT_EQ(v, 7.0);
  EXPECT_EQ(chunk.ReadDouble(&v, 0), 8);
  EXPECT_EQ(v, 5.0);
  uint8_t out[3] = {};
  EXPECT_EQ(chunk.Read(out, 3, 8), 11);
  EXPECT_EQ(out[2], 3);
}

TEST(StateChunk, ResizeAddsZeroBytesAndClearEmpties)
{
  IStateChunk chunk;
  chunk.AppendDouble(1.0);
  ASSERT_TRUE(chunk.Resize(20));
  EXPECT_EQ(chunk.Size(), 20);
  for (int i = 8; i < 20; ++i) EXPECT_EQ(chunk.Data()[i], 0) << i;
  EXPECT_FALSE(chunk.Resize(-1));
  chunk.Clear();
  EXPECT_EQ(chunk.Size(), 0);
}
