#pragma once
// Walking and patching the chunks of an encoded PNG in tests.

#include "tests/raster/png_test_writer.h"

#include <cstdint>
#include <string>
#include <vector>

namespace pngtest {

struct Chunk {
  size_t offset;    // of the length field
  uint32_t length;  // of the data
  std::string type;
  size_t end() const { return offset + 12 + length; }  // one past the CRC
  bool critical() const { return !type.empty() && type[0] >= 'A' && type[0] <= 'Z'; }
};

inline uint32_t ReadBigEndian32(const Bytes& b, size_t at)
{
  return (uint32_t(b[at]) << 24) | (uint32_t(b[at + 1]) << 16) | (uint32_t(b[at + 2]) << 8) |
         uint32_t(b[at + 3]);
}

inline void WriteBigEndian32(Bytes& b, size_t at, uint32_t v)
{
  b[at] = (unsigned char)(v >> 24);
  b[at + 1] = (unsigned char)(v >> 16);
  b[at + 2] = (unsigned char)(v >> 8);
  b[at + 3] = (unsigned char)v;
}

// The chunks after the signature, as far as their lengths stay inside the data.
inline std::vector<Chunk> ListChunks(const Bytes& png)
{
  std::vector<Chunk> chunks;
  size_t at = 8;
  while (at + 12 <= png.size()) {
    Chunk c{at, ReadBigEndian32(png, at), std::string(png.begin() + long(at) + 4,
                                                      png.begin() + long(at) + 8)};
    if (c.end() > png.size()) break;
    chunks.push_back(c);
    at = c.end();
  }
  return chunks;
}

// CRC-32 as PNG uses it (polynomial 0xEDB88320, reflected), over type and data.
inline uint32_t Crc32(const unsigned char* data, size_t length)
{
  uint32_t crc = 0xFFFFFFFFu;
  for (size_t i = 0; i < length; ++i) {
    crc ^= data[i];
    for (int bit = 0; bit < 8; ++bit) crc = (crc >> 1) ^ (0xEDB88320u & (0u - (crc & 1u)));
  }
  return crc ^ 0xFFFFFFFFu;
}

// Rewrites every chunk's CRC to match its (possibly altered) type and data.
inline void FixCrcs(Bytes& png)
{
  for (const Chunk& c : ListChunks(png)) {
    WriteBigEndian32(png, c.offset + 8 + c.length, Crc32(&png[c.offset + 4], 4 + c.length));
  }
}

}  // namespace pngtest
