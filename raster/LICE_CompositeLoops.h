#pragma once
// The loops behind LICE_Composite and LICE_FillArea: one general loop per kind
// of source that applies a combiner to every pixel, row by row from the first
// row, left to right, and the named whole-word fast paths. Areas are already
// clipped here.

#include "raster/LICE_IBitmap.h"

#include <cstddef>
#include <cstring>

// A clipped rectangle of stored pixels. step is the distance from one row to the
// next in pixels: negative when a bottom-up bitmap is walked from the top row.
struct LICE_PixelRows {
  LICE_Color32* first;
  std::ptrdiff_t step;
  int cols;
  int rows;

  // Row y of the area, y < rows. Rows are reached by index rather than by
  // stepping a pointer on, which would leave the pixel block after the last row
  // (before the first one when walking bottom-up).
  LICE_Color32* Row(int y) const { return first + std::ptrdiff_t(y) * step; }
};

typedef void (*LICE_Combiner)(LICE_Color32* d, int r, int g, int b, int a, int k);

// The rows of bitmap starting at pixel (x, y), honouring its bottom-up answer.
inline LICE_PixelRows LICE_LocateRows(const LICE_IBitmap& bitmap, LICE_Color32* pixels, int x,
                                      int y, int cols, int rows)
{
  const std::ptrdiff_t span = bitmap.RowSpan();
  if (bitmap.IsBottomUp())
    return {pixels + (std::ptrdiff_t(bitmap.Height()) - 1 - y) * span + x, -span, cols, rows};
  return {pixels + std::ptrdiff_t(y) * span + x, span, cols, rows};
}

// The general loop: each destination pixel combined with its source pixel.
template <LICE_Combiner Combine>
void LICE_CombineRows(const LICE_PixelRows& dest, const LICE_PixelRows& src, int k)
{
  for (int y = 0; y < dest.rows; ++y) {
    LICE_Color32* d = dest.Row(y);
    const LICE_Color32* s = src.Row(y);
    for (int x = 0; x < dest.cols; ++x) {
      const LICE_Color32 p = s[x];
      Combine(d + x, LICE_GETR(p), LICE_GETG(p), LICE_GETB(p), LICE_GETA(p), k);
    }
  }
}

// The general loop for one colour: every destination pixel combined with it.
template <LICE_Combiner Combine>
void LICE_CombineColour(const LICE_PixelRows& dest, int r, int g, int b, int a, int k)
{
  for (int y = 0; y < dest.rows; ++y) {
    LICE_Color32* d = dest.Row(y);
    for (int x = 0; x < dest.cols; ++x) Combine(d + x, r, g, b, a, k);
  }
}

// Fast path of a plain copy at weight 1: whole rows. memmove, since source and
// destination may be the same bitmap.
inline void LICE_CopyRowsWhole(const LICE_PixelRows& dest, const LICE_PixelRows& src)
{
  const std::size_t bytes = std::size_t(dest.cols) * sizeof(LICE_Color32);
  for (int y = 0; y < dest.rows; ++y) std::memmove(dest.Row(y), src.Row(y), bytes);
}

// Fast path of a plain copy at weight 0.5: every channel of both halved (rounded
// down) and added, four channels per word.
inline void LICE_CopyRowsHalf(const LICE_PixelRows& dest, const LICE_PixelRows& src)
{
  for (int y = 0; y < dest.rows; ++y) {
    LICE_Color32* d = dest.Row(y);
    const LICE_Color32* s = src.Row(y);
    for (int x = 0; x < dest.cols; ++x)
      d[x] = ((d[x] >> 1) & 0x7F7F7F7F) + ((s[x] >> 1) & 0x7F7F7F7F);
  }
}

// Channel copy: one byte position of the source into one of the destination;
// the other three destination channels stay.
inline void LICE_ChannelCopyRows(const LICE_PixelRows& dest, const LICE_PixelRows& src,
                                 int sourceChannel, int destChannel)
{
  const int from = 8 * sourceChannel;
  const int to = 8 * destChannel;
  const LICE_Color32 keep = ~(LICE_Color32(0xFF) << to);
  for (int y = 0; y < dest.rows; ++y) {
    LICE_Color32* d = dest.Row(y);
    const LICE_Color32* s = src.Row(y);
    for (int x = 0; x < dest.cols; ++x)
      d[x] = (d[x] & keep) | (((s[x] >> from) & 0xFF) << to);
  }
}

// Fill fast paths at k = 256, 128, 64 and 192: the new pixel is the colour, or
// the colour mixed into the pixel by a half, a quarter or three quarters, each
// part halved or quartered per channel (rounded down).
inline void LICE_FillRowsWhole(const LICE_PixelRows& dest, LICE_Color32 colour)
{
  for (int y = 0; y < dest.rows; ++y) {
    LICE_Color32* d = dest.Row(y);
    for (int x = 0; x < dest.cols; ++x) d[x] = colour;
  }
}

inline void LICE_FillRowsHalf(const LICE_PixelRows& dest, LICE_Color32 colour)
{
  const LICE_Color32 half = (colour >> 1) & 0x7F7F7F7F;
  for (int y = 0; y < dest.rows; ++y) {
    LICE_Color32* d = dest.Row(y);
    for (int x = 0; x < dest.cols; ++x) d[x] = half + ((d[x] >> 1) & 0x7F7F7F7F);
  }
}

inline void LICE_FillRowsQuarter(const LICE_PixelRows& dest, LICE_Color32 colour)
{
  const LICE_Color32 quarter = (colour >> 2) & 0x3F3F3F3F;
  for (int y = 0; y < dest.rows; ++y) {
    LICE_Color32* d = dest.Row(y);
    for (int x = 0; x < dest.cols; ++x)
      d[x] = ((d[x] >> 1) & 0x7F7F7F7F) + ((d[x] >> 2) & 0x3F3F3F3F) + quarter;
  }
}

inline void LICE_FillRowsThreeQuarters(const LICE_PixelRows& dest, LICE_Color32 colour)
{
  const LICE_Color32 threeQuarters = ((colour >> 2) & 0x3F3F3F3F) + ((colour >> 1) & 0x7F7F7F7F);
  for (int y = 0; y < dest.rows; ++y) {
    LICE_Color32* d = dest.Row(y);
    for (int x = 0; x < dest.cols; ++x) d[x] = ((d[x] >> 2) & 0x3F3F3F3F) + threeQuarters;
  }
}
