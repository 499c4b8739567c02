#pragma once
// Small PNG files made with libpng's writer, for the decoder's tests and benchmark.
//
// Rows are given in the stored format: packed samples for bit depths below 8,
// big-endian pairs for 16-bit samples.

#include <png.h>

#include <csetjmp>
#include <cstdint>
#include <vector>

namespace pngtest {

using Bytes = std::vector<unsigned char>;

struct PngImage {
  int width = 0;
  int height = 0;
  int bitDepth = 8;
  int colorType = PNG_COLOR_TYPE_RGB_ALPHA;
  bool interlaced = false;
  std::vector<png_color> palette;     // colour type palette only
  Bytes paletteAlpha;                 // tRNS for a palette, when not empty
  bool hasTransparentColor = false;   // tRNS for grey or RGB
  png_color_16 transparentColor = {};
  std::vector<Bytes> rows;
};

namespace detail {

inline void AppendToBytes(png_structp png, png_bytep data, png_size_t length)
{
  Bytes* out = static_cast<Bytes*>(png_get_io_ptr(png));
  out->insert(out->end(), data, data + length);
}

inline void NoFlush(png_structp) {}

// libpng errors longjmp back here: this frame holds only plain pointers.
inline bool WriteInto(png_structp png, png_infop info, const PngImage* image, png_bytepp rows,
                      Bytes* out)
{
  if (setjmp(png_jmpbuf(png))) return false;
  png_set_write_fn(png, out, AppendToBytes, NoFlush);
  png_set_IHDR(png, info, png_uint_32(image->width), png_uint_32(image->height), image->bitDepth,
               image->colorType, image->interlaced ? PNG_INTERLACE_ADAM7 : PNG_INTERLACE_NONE,
               PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
  if (!image->palette.empty()) {
    png_set_PLTE(png, info, image->palette.data(), int(image->palette.size()));
  }
  if (!image->paletteAlpha.empty()) {
    png_set_tRNS(png, info, image->paletteAlpha.data(), int(image->paletteAlpha.size()), nullptr);
  } else if (image->hasTransparentColor) {
    png_set_tRNS(png, info, nullptr, 0, &image->transparentColor);
  }
  png_write_info(png, info);
  png_write_image(png, rows);
  png_write_end(png, info);
  return true;
}

}  // namespace detail

// The encoded file, or an empty buffer when libpng refused the image.
inline Bytes EncodePng(const PngImage& image)
{
  Bytes out;
  png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
  if (!png) return out;
  png_infop info = png_create_info_struct(png);
  std::vector<png_bytep> rows;
  for (const Bytes& row : image.rows) rows.push_back(const_cast<png_bytep>(row.data()));
  const bool ok = info && detail::WriteInto(png, info, &image, rows.data(), &out);
  png_destroy_write_struct(&png, &info);
  if (!ok) out.clear();
  return out;
}

// An 8-bit RGBA image whose pixel (x, y) is pixel(x, y) as 0xAARRGGBB.
template <typename PixelAt>
PngImage RgbaImage(int width, int height, PixelAt pixel)
{
  PngImage image;
  image.width = width;
  image.height = height;
  for (int y = 0; y < height; ++y) {
    Bytes row;
    for (int x = 0; x < width; ++x) {
      const uint32_t c = pixel(x, y);
      row.push_back((c >> 16) & 0xFF);
      row.push_back((c >> 8) & 0xFF);
      row.push_back(c & 0xFF);
      row.push_back(c >> 24);
    }
    image.rows.push_back(row);
  }
  return image;
}

}  // namespace pngtest
