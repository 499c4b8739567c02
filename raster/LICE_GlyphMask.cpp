#include "raster/LICE_GlyphMask.h"

#include "raster/LICE_Font.h"

#include <algorithm>
#include <cstddef>
#include <cstdlib>
#include <cstring>

namespace {

// Whole-byte fractions of a pixel word, per channel.
inline LICE_Color32 Half(LICE_Color32 p) { return (p >> 1) & 0x7F7F7F7F; }
inline LICE_Color32 Quarter(LICE_Color32 p) { return (p >> 2) & 0x3F3F3F3F; }
inline LICE_Color32 Eighth(LICE_Color32 p) { return (p >> 3) & 0x1F1F1F1F; }

LICE_Color32* RowOf(LICE_IBitmap* bitmap, int y)
{
  const int row = bitmap->IsBottomUp() ? bitmap->Height() - 1 - y : y;
  return bitmap->Pixels() + std::ptrdiff_t(row) * bitmap->RowSpan();
}

// The horizontal neighbours' share: an eighth each, or a quarter of the only
// neighbour at either end of the row.
LICE_Color32 Sides(const LICE_Color32* copy, int x, int w)
{
  if (x == 0) return Quarter(copy[1]);
  if (x == w - 1) return Quarter(copy[w - 2]);
  return Eighth(copy[x - 1]) + Eighth(copy[x + 1]);
}

// The first row: half centre, a quarter of the row below, an eighth each side
// (a quarter of the only side at either end). `other` is the row below for the
// first row and the already softened row above for the last.
void SoftenEdgeRow(LICE_Color32* row, const LICE_Color32* copy, const LICE_Color32* other, int w)
{
  for (int x = 0; x < w; ++x) {
    const LICE_Color32 sides = Sides(copy, x, w);
    row[x] = Half(copy[x]) + Quarter(other[x]) + sides;
  }
}

void SoftenInnerRow(LICE_Color32* row, const LICE_Color32* copy, const LICE_Color32* above,
                    const LICE_Color32* below, int w)
{
  for (int x = 0; x < w; ++x) {
    const LICE_Color32 sides = Sides(copy, x, w);
    row[x] = Half(copy[x]) + sides + Eighth(above[x]) + Eighth(below[x]);
  }
}

void RecordNothing(GlyphRecord* record)
{
  record->coverageOffset = -1;
  record->width = 0;
  record->height = 0;
  record->advance = 0;
  record->leftOffset = 0;
}

// A quarter turn of a width x height mask; the result is height wide.
bool TurnMask(unsigned char* mask, int width, int height, bool bottomUp)
{
  unsigned char* copy = static_cast<unsigned char*>(std::malloc(size_t(width) * size_t(height)));
  if (!copy) return false;
  std::memcpy(copy, mask, size_t(width) * size_t(height));
  // New row i, column j (i < width, j < height).
  for (int i = 0; i < width; ++i) {
    for (int j = 0; j < height; ++j) {
      const unsigned char v = bottomUp ? copy[j * width + (width - 1 - i)]
                                       : copy[(height - 1 - j) * width + i];
      mask[i * height + j] = v;
    }
  }
  std::free(copy);
  return true;
}

void Threshold(unsigned char* mask, int count)
{
  for (int i = 0; i < count; ++i) mask[i] = mask[i] > 130 ? 255 : 0;
}

// Empty pixels next to full ink become 128, the effect colour's share. Pixels set
// here are never 255, so the effect does not spread further.
void AddEffectPixels(unsigned char* mask, int width, int height, bool shadow)
{
  auto full = [&](int x, int y) {
    return x >= 0 && y >= 0 && x < width && y < height && mask[y * width + x] == 255;
  };
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      if (mask[y * width + x] != 0) continue;
      const bool touched = shadow ? full(x - 1, y) || full(x - 1, y - 1) || full(x, y - 1)
                                  : full(x, y - 1) || full(x, y + 1) || full(x - 1, y) ||
                                        full(x + 1, y);
      if (touched) mask[y * width + x] = 128;
    }
  }
}

}  // namespace

int LICE_GlyphMargin(int lineHeight) { return lineHeight < 16 ? 2 : lineHeight / 16 + 2; }

void LICE_SoftenBox(LICE_IBitmap* surface, int w, int h)
{
  if (!surface || !surface->Pixels() || w < 2 || h < 2) return;
  w = std::min(w, surface->Width());
  h = std::min(h, surface->Height());
  if (w < 2 || h < 2) return;

  // Copies of the current and the previous row as they were before softening.
  LICE_Color32 local[2 * 1024];
  LICE_Color32* buffer = w <= 1024 ? local
                                   : static_cast<LICE_Color32*>(
                                         std::malloc(sizeof(LICE_Color32) * 2 * size_t(w)));
  if (!buffer) return;
  LICE_Color32* previous = buffer;
  LICE_Color32* current = buffer + w;
  const size_t rowBytes = sizeof(LICE_Color32) * size_t(w);

  std::memcpy(current, RowOf(surface, 0), rowBytes);
  SoftenEdgeRow(RowOf(surface, 0), current, RowOf(surface, 1), w);
  for (int y = 1; y < h - 1; ++y) {
    std::swap(previous, current);
    std::memcpy(current, RowOf(surface, y), rowBytes);
    SoftenInnerRow(RowOf(surface, y), current, previous, RowOf(surface, y + 1), w);
  }
  std::memcpy(current, RowOf(surface, h - 1), rowBytes);
  SoftenEdgeRow(RowOf(surface, h - 1), current, RowOf(surface, h - 2), w);

  if (buffer != local) std::free(buffer);
}

void LICE_BuildGlyphMask(LICE_GlyphCache& cache, GlyphRecord* record, LICE_IBitmap* surface,
                         int width, int height, int advance, int margin, int fontFlags)
{
  if (!surface || !surface->Pixels() || width < 1 || height < 1 ||
      width > surface->Width() || height > surface->Height()) {
    RecordNothing(record);
    return;
  }
  record->advance = advance;
  if (fontFlags & FontBlur) LICE_SoftenBox(surface, width, height);

  const int start = cache.StoreSize();
  unsigned char* mask = cache.GrowStore(width * height);
  if (!mask) {
    RecordNothing(record);
    return;
  }

  const bool invert = (fontFlags & FontInvert) != 0;
  for (int y = 0; y < height; ++y) {
    const LICE_Color32* row = RowOf(surface, y);
    for (int x = 0; x < width; ++x) {
      const int red = LICE_GETR(row[x]);
      mask[y * width + x] = (unsigned char)(invert ? 255 - red : red);
    }
  }

  // Inked columns are judged before inversion.
  const unsigned char blank = invert ? 255 : 0;
  auto inked = [&](int x) {
    for (int y = 0; y < height; ++y) {
      if (mask[y * width + x] != blank) return true;
    }
    return false;
  };
  int left = margin;
  for (int x = 0; x < std::min(margin, width); ++x) {
    if (inked(x)) {
      left = x;
      break;
    }
  }
  int lastInked = -1;
  for (int x = width - 1; x >= 0; --x) {
    if (inked(x)) {
      lastInked = x;
      break;
    }
  }
  // Never wider than what was drawn, even when the advance fills the surface.
  const int right = std::min(std::max(advance + margin, lastInked + 1), width);
  if (right <= left) {
    cache.ShrinkStore(start);
    RecordNothing(record);
    return;
  }

  int maskWidth = width;
  if (right < width || left > 0) {
    maskWidth = right - left;
    for (int y = 0; y < height; ++y) {
      std::memmove(mask + y * maskWidth, mask + y * width + left, size_t(maskWidth));
    }
    cache.ShrinkStore(start + maskWidth * height);
  }
  int maskHeight = height;

  if (fontFlags & FontVertical) {
    if (!TurnMask(mask, maskWidth, maskHeight, (fontFlags & FontBottomUp) != 0)) {
      cache.ShrinkStore(start);
      RecordNothing(record);
      return;
    }
    std::swap(maskWidth, maskHeight);
  }
  if (fontFlags & (FontMono | FontShadow | FontOutline)) Threshold(mask, maskWidth * maskHeight);
  if (fontFlags & (FontShadow | FontOutline)) {
    AddEffectPixels(mask, maskWidth, maskHeight, (fontFlags & FontShadow) != 0);
  }

  record->coverageOffset = start + 1;
  record->width = maskWidth;
  record->height = maskHeight;
  record->leftOffset = margin - left;
}
