// Malformed PNG data never crashes, hangs or leaks the decoder: every truncation
// and a few thousand bit-flipped variants of small fixtures are decoded (under
// AddressSanitizer in the sanitizer build, which also checks for leaks at exit).

#include "raster/LICE_MemBitmap.h"
#include "raster/LICE_PNG.h"
#include "tests/raster/png_chunks.h"
#include "tests/raster/png_test_writer.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <memory>
#include <random>
#include <vector>

using pngtest::Bytes;
using pngtest::PngImage;

namespace {

std::vector<Bytes> Fixtures()
{
  std::vector<Bytes> out;
  out.push_back(pngtest::EncodePng(pngtest::RgbaImage(
      13, 7, [](int x, int y) { return uint32_t(x * 0x01030507u + y * 0x11020304u); })));

  PngImage palette;
  palette.width = 9;
  palette.height = 4;
  palette.bitDepth = 4;
  palette.colorType = PNG_COLOR_TYPE_PALETTE;
  palette.palette = {{0, 0, 0}, {255, 0, 0}, {0, 255, 0}, {0, 0, 255}, {9, 9, 9}};
  palette.paletteAlpha = {0, 128, 255};
  for (int y = 0; y < 4; ++y) palette.rows.push_back({0x01, 0x23, 0x40, 0x12, 0x30});
  out.push_back(pngtest::EncodePng(palette));

  PngImage deep;
  deep.width = 5;
  deep.height = 3;
  deep.bitDepth = 16;
  deep.colorType = PNG_COLOR_TYPE_RGB;
  for (int y = 0; y < 3; ++y) {
    Bytes row;
    for (int i = 0; i < 30; ++i) row.push_back((unsigned char)(i * 9 + y));
    deep.rows.push_back(row);
  }
  out.push_back(pngtest::EncodePng(deep));

  PngImage bits;
  bits.width = 21;
  bits.height = 6;
  bits.bitDepth = 1;
  bits.colorType = PNG_COLOR_TYPE_GRAY;
  for (int y = 0; y < 6; ++y) bits.rows.push_back({(unsigned char)(0xA5 ^ y), 0x3C, 0xF0});
  out.push_back(pngtest::EncodePng(bits));

  PngImage interlaced;
  interlaced.width = 11;
  interlaced.height = 10;
  interlaced.bitDepth = 8;
  interlaced.colorType = PNG_COLOR_TYPE_GRAY_ALPHA;
  interlaced.interlaced = true;
  for (int y = 0; y < 10; ++y) {
    Bytes row;
    for (int x = 0; x < 22; ++x) row.push_back((unsigned char)(x * 13 + y * 7));
    interlaced.rows.push_back(row);
  }
  out.push_back(pngtest::EncodePng(interlaced));
  return out;
}

volatile uint32_t pixelSink;

// Decodes and, when something comes back, touches every pixel so the sanitizer
// sees any row that was not really allocated.
bool DecodesToSomething(const Bytes& data)
{
  std::unique_ptr<LICE_MemBitmap> bitmap(LICE_ReadPNGMemory(data.data(), int(data.size())));
  if (!bitmap) return false;
  EXPECT_GT(bitmap->Width(), 0);
  EXPECT_GT(bitmap->Height(), 0);
  uint32_t sum = 0;
  for (int y = 0; y < bitmap->Height(); ++y) {
    for (int x = 0; x < bitmap->Width(); ++x) sum += bitmap->Pixels()[y * bitmap->RowSpan() + x];
  }
  pixelSink = sum;
  return true;
}

// End of the last image-data chunk: cutting anywhere before it loses rows.
size_t EndOfImageData(const Bytes& png)
{
  size_t end = 0;
  for (const pngtest::Chunk& c : pngtest::ListChunks(png)) {
    if (c.type == "IDAT") end = c.end();
  }
  return end;
}

class PngRobustness : public ::testing::Test {
 protected:
  // libpng reports every error on stderr; thousands of them say nothing here.
  void SetUp() override { ::testing::internal::CaptureStderr(); }
  void TearDown() override { (void)::testing::internal::GetCapturedStderr(); }
};

TEST_F(PngRobustness, EveryTruncationBeforeTheLastRowIsRefused)
{
  for (const Bytes& png : Fixtures()) {
    ASSERT_FALSE(png.empty());
    ASSERT_TRUE(DecodesToSomething(png));
    const size_t needed = EndOfImageData(png);
    ASSERT_GT(needed, 8u);
    for (size_t length = 0; length < png.size(); ++length) {
      const Bytes cut(png.begin(), png.begin() + long(length));
      const bool decoded = DecodesToSomething(cut);
      if (length < needed) {
        EXPECT_FALSE(decoded) << "cut at " << length << " of " << png.size();
      }
    }
  }
}

// Which chunk holds a byte offset; null within the signature or past the chunks.
const pngtest::Chunk* ChunkAt(const std::vector<pngtest::Chunk>& chunks, size_t offset)
{
  for (const pngtest::Chunk& c : chunks) {
    if (offset >= c.offset && offset < c.end()) return &c;
  }
  return nullptr;
}

TEST_F(PngRobustness, SingleBitFlipsInTheSignatureOrACriticalChunkAreRefused)
{
  std::mt19937 random(20240611u);
  for (const Bytes& png : Fixtures()) {
    const auto chunks = pngtest::ListChunks(png);
    for (int i = 0; i < 500; ++i) {
      Bytes flipped = png;
      const size_t at = random() % png.size();
      flipped[at] ^= (unsigned char)(1u << (random() % 8));
      const pngtest::Chunk* chunk = ChunkAt(chunks, at);
      const bool decoded = DecodesToSomething(flipped);
      // A checksum catches any single flip inside a chunk; image data after the
      // last row is the end chunk, whose loss changes nothing.
      if (at < 8 || (chunk && chunk->critical() && chunk->type != "IEND")) {
        EXPECT_FALSE(decoded) << "bit flip at " << at << " in " << (chunk ? chunk->type : "sig");
      }
    }
  }
}

TEST_F(PngRobustness, ScatteredFlipsWithRepairedChecksumsNeverCrash)
{
  // With the checksums made to match again, the flips reach libpng's parsers and
  // zlib instead of stopping at the CRC check.
  std::mt19937 random(7u);
  int decodedCount = 0;
  for (const Bytes& png : Fixtures()) {
    for (int i = 0; i < 500; ++i) {
      Bytes flipped = png;
      const int flips = 1 + int(random() % 3);
      for (int f = 0; f < flips; ++f) {
        flipped[8 + random() % (png.size() - 8)] ^= (unsigned char)(1u << (random() % 8));
      }
      pngtest::FixCrcs(flipped);
      decodedCount += DecodesToSomething(flipped) ? 1 : 0;
    }
  }
  // Flips in filter bytes or pixel data still decode; the point is surviving the rest.
  EXPECT_GT(decodedCount, 0);
  EXPECT_LT(decodedCount, 2500);
}

}  // namespace
