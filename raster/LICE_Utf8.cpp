#include "raster/LICE_Utf8.h"

#include <cstring>

namespace {

// The glyph way accepts 0xC0 as a continuation byte too.
bool IsGlyphContinuation(unsigned char b) { return b >= 0x80 && b <= 0xC0; }

bool IsContinuation(unsigned char b) { return b >= 0x80 && b <= 0xBF; }

}  // namespace

int LICE_Utf8NextGlyphChar(const char* text, int available, int* code)
{
  const unsigned char* p = reinterpret_cast<const unsigned char*>(text);
  const unsigned char lead = p[0];
  // Bytes after the lead that may be looked at; the terminating zero stops an
  // unlimited text by itself, since it is no continuation byte.
  const int after = available < 0 ? 3 : available - 1;
  auto continues = [&](int count) {
    if (after < count) return false;
    for (int i = 1; i <= count; ++i) {
      if (!IsGlyphContinuation(p[i])) return false;
    }
    return true;
  };

  if (lead >= 0xC2 && lead <= 0xDF && continues(1)) {
    *code = ((lead & 0x1F) << 6) | (p[1] & 0x3F);
    return 2;
  }
  if (lead >= 0xE0 && lead <= 0xEF && continues(2)) {
    *code = ((lead & 0x0F) << 12) | ((p[1] & 0x3F) << 6) | (p[2] & 0x3F);
    return 3;
  }
  if (lead >= 0xF0 && lead <= 0xF4 && continues(3)) {
    *code = ' ';  // beyond the 16-bit characters the cache holds
    return 4;
  }
  *code = lead;
  return 1;
}

bool LICE_Utf8HasMultiByte(const char* text, int length)
{
  if (!text) return false;
  const unsigned char* p = reinterpret_cast<const unsigned char*>(text);
  const size_t n = length < 0 ? std::strlen(text) : size_t(length);
  for (size_t i = 0; i < n; ++i) {
    const unsigned char b = p[i];
    if (b >= 0xC2 && b <= 0xDF && i + 1 < n && IsContinuation(p[i + 1])) return true;
    if (b >= 0xE0 && b <= 0xF4 && i + 2 < n && IsContinuation(p[i + 1]) &&
        IsContinuation(p[i + 2])) {
      return true;
    }
  }
  return false;
}
