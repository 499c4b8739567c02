#pragma once
// What the PNG decoders share: reading from memory, and the transforms and
// row conversion that turn any PNG into LICE_Color32 pixels.

#include <png.h>

#include <algorithm>
#include <cstring>

#include "raster/LICE_Color.h"

constexpr unsigned char kLicePngSignature[8] = {0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A};

struct LICE_PngMemoryReader {
  const unsigned char* next;
  int remaining;
};

// A request reaching past the end is an error, as a short read from a file is:
// handing out zero bytes instead would let a corrupt chunk length make libpng
// skip through up to 2 GB of nothing before it notices.
inline void LICE_PngReadFromMemory(png_structp png, png_bytep out, png_size_t count)
{
  LICE_PngMemoryReader* reader = static_cast<LICE_PngMemoryReader*>(png_get_io_ptr(png));
  std::memset(out, 0, count);
  const png_size_t available = png_size_t(std::max(reader->remaining, 0));
  const png_size_t taken = std::min(count, available);
  if (taken > 0) std::memcpy(out, reader->next, taken);
  reader->next += taken;
  reader->remaining -= int(taken);
  if (taken < count) png_error(png, "PNG data ends early");
}

// Expands every stored format to 8-bit RGB samples, with alpha where the
// image has alpha or tRNS; gives whether it has alpha.
inline bool LICE_PngExpandToRgb8(png_structp png, png_infop info, int bitDepth, int colorType)
{
  if (colorType == PNG_COLOR_TYPE_PALETTE) png_set_palette_to_rgb(png);
  if (colorType == PNG_COLOR_TYPE_GRAY && bitDepth < 8) png_set_expand_gray_1_2_4_to_8(png);
  if (png_get_valid(png, info, PNG_INFO_tRNS)) {
    png_set_tRNS_to_alpha(png);
    colorType |= PNG_COLOR_MASK_ALPHA;
  }
  if (bitDepth == 16) png_set_strip_16(png);
  if (bitDepth < 8) png_set_packing(png);
  if (colorType == PNG_COLOR_TYPE_GRAY || colorType == PNG_COLOR_TYPE_GRAY_ALPHA) {
    png_set_gray_to_rgb(png);
  }
  return (colorType & PNG_COLOR_MASK_ALPHA) != 0;
}

// Asks libpng for 8-bit A, R, G, B bytes per pixel whatever the stored format.
inline void LICE_PngRequestArgbOutput(png_structp png, png_infop info, int bitDepth, int colorType)
{
  if (LICE_PngExpandToRgb8(png, info, bitDepth, colorType)) {
    png_set_swap_alpha(png);
  } else {
    png_set_filler(png, 0xFF, PNG_FILLER_BEFORE);
  }
}

// The decoded bytes a, r, g, b of each pixel of a row become the word 0xAARRGGBB.
inline void LICE_PngArgbRowToPixels(unsigned char* bytes, int width)
{
  LICE_Color32* pixels = reinterpret_cast<LICE_Color32*>(bytes);
  for (int x = 0; x < width; ++x, bytes += 4) {
    pixels[x] = (LICE_Color32(bytes[0]) << 24) | (LICE_Color32(bytes[1]) << 16) |
                (LICE_Color32(bytes[2]) << 8) | LICE_Color32(bytes[3]);
  }
}

// On a little-endian machine the word 0xAARRGGBB is the bytes b, g, r, a:
// asking libpng for those saves rearranging every pixel afterwards.
#if defined(__BYTE_ORDER__) && __BYTE_ORDER__ == __ORDER_LITTLE_ENDIAN__
constexpr bool kLicePngBgraIsWord = true;
#else
constexpr bool kLicePngBgraIsWord = false;
#endif

// As LICE_PngRequestArgbOutput, but b, g, r, a bytes where those are the
// pixel word; elsewhere the a, r, g, b bytes, for LICE_PngArgbRowToPixels.
inline void LICE_PngRequestPixelOutput(png_structp png, png_infop info, int bitDepth, int colorType)
{
  if (!kLicePngBgraIsWord) {
    LICE_PngRequestArgbOutput(png, info, bitDepth, colorType);
    return;
  }
  const bool alpha = LICE_PngExpandToRgb8(png, info, bitDepth, colorType);
  png_set_bgr(png);
  if (!alpha) png_set_filler(png, 0xFF, PNG_FILLER_AFTER);
}
