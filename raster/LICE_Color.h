#pragma once
// One pixel: an unsigned 32-bit word 0xAARRGGBB with straight (not premultiplied)
// alpha. On the little-endian target its bytes in memory are blue, green, red,
// alpha, which is also GDI's 32-bit DIB layout, so surfaces go to GDI unconverted.

#include <cstdint>

typedef uint32_t LICE_Color32;

// Byte positions of the channels inside a pixel (channel copy names them this way).
enum {
  LICE_PIXEL_B = 0,
  LICE_PIXEL_G = 1,
  LICE_PIXEL_R = 2,
  LICE_PIXEL_A = 3
};

// Channel n (0 = blue .. 3 = alpha) of a pixel.
constexpr int LICE_GETCHAN(LICE_Color32 c, int n) { return int((c >> (8 * n)) & 0xFF); }

constexpr int LICE_GETB(LICE_Color32 c) { return int(c & 0xFF); }
constexpr int LICE_GETG(LICE_Color32 c) { return int((c >> 8) & 0xFF); }
constexpr int LICE_GETR(LICE_Color32 c) { return int((c >> 16) & 0xFF); }
constexpr int LICE_GETA(LICE_Color32 c) { return int(c >> 24); }

// Builds a pixel from channel values; each keeps only its low 8 bits, the way
// unclamped combiner results are stored.
constexpr LICE_Color32 LICE_RGBA(int r, int g, int b, int a)
{
  return (LICE_Color32(b) & 0xFF) | ((LICE_Color32(g) & 0xFF) << 8) |
         ((LICE_Color32(r) & 0xFF) << 16) | ((LICE_Color32(a) & 0xFF) << 24);
}

constexpr LICE_Color32 LICE_RGB(int r, int g, int b) { return LICE_RGBA(r, g, b, 255); }
