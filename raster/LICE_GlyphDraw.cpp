#include "raster/LICE_GlyphDraw.h"

#include "raster/LICE_Combiners.h"
#include "raster/LICE_Font.h"

#include <algorithm>
#include <cstddef>

namespace {

typedef void (*Combiner)(LICE_Color32* d, int r, int g, int b, int a, int k);

// The combiners that the glyph way hands straight to the pixel layer.
Combiner CombinerFor(int mode)
{
  switch (mode) {
    case CompositeAdd: return LICE_AddCombine;
    case CompositeDodge: return LICE_DodgeCombine;
    case CompositeOverlay: return LICE_OverlayCombine;
    case CompositeHSVAdjust: return LICE_HSVAdjustCombine;
    default: return nullptr;
  }
}

// trunc(weight * 256) without overflow; weights are nominally 0..1.
int GlyphWeight(float weight)
{
  if (!(weight > 0.0f)) return 0;
  if (weight >= 256.0f) return 65536;
  return int(double(weight) * 256.0);
}

struct Ink {
  int r, g, b;
  explicit Ink(LICE_Color32 c) : r(LICE_GETR(c)), g(LICE_GETG(c)), b(LICE_GETB(c)) {}
};

// Moves colour channels toward the ink and alpha toward opaque, keeping
// keep / 256 of the old difference.
inline void BlendToward(LICE_Color32* d, const Ink& ink, int keep)
{
  const LICE_Color32 p = *d;
  *d = LICE_RGBA(ink.r + (LICE_GETR(p) - ink.r) * keep / 256,
                 ink.g + (LICE_GETG(p) - ink.g) * keep / 256,
                 ink.b + (LICE_GETB(p) - ink.b) * keep / 256,
                 255 + (LICE_GETA(p) - 255) * keep / 256);
}

// Multiply at weight f: colour d * (c * f + (256 - f) * 256) >> 16, alpha scaled
// by (65536 - f) >> 16.
inline void MultiplyToward(LICE_Color32* d, const Ink& ink, int f)
{
  const LICE_Color32 p = *d;
  const int g = (256 - f) * 256;
  *d = LICE_RGBA(((ink.r * f + g) * LICE_GETR(p)) >> 16, ((ink.g * f + g) * LICE_GETG(p)) >> 16,
                 ((ink.b * f + g) * LICE_GETB(p)) >> 16, ((65536 - f) * LICE_GETA(p)) >> 16);
}

// One pixel of a thresholded mask (mono, shadow, outline) at weight k <= 256.
inline void PaintSolid(LICE_Color32* d, const Ink& ink, int mode, int k)
{
  if (mode == CompositeCopy) {
    BlendToward(d, ink, 256 - k);
  } else if (mode == CompositeMultiply) {
    MultiplyToward(d, ink, k);
  } else if (Combiner combine = CombinerFor(mode)) {
    combine(d, ink.r, ink.g, ink.b, 255, k);
  }
}

// One pixel of an anti-aliased mask with coverage v > 0 at weight k > 0.
inline void PaintCoverage(LICE_Color32* d, const Ink& ink, int mode, int k, int v)
{
  if (mode == CompositeCopy) {
    int keep;
    if (k == 256) {
      keep = 255 - v;
    } else {
      keep = k * v < 65792 ? 256 - k * v / 256 : 0;
    }
    BlendToward(d, ink, keep);
    return;
  }
  const int f = k == 256 ? v + 1 : std::min(256, k * v / 256);
  if (mode == CompositeMultiply) {
    MultiplyToward(d, ink, f);
  } else if (Combiner combine = CombinerFor(mode)) {
    combine(d, ink.r, ink.g, ink.b, 255, f);
  }
}

}  // namespace

bool LICE_DrawGlyphMask(LICE_IBitmap* dest, const GlyphRecord& glyph, const unsigned char* mask,
                        int x, int y, const LICE_Rect& clip, const LICE_GlyphPaint& paint)
{
  if (!dest || !mask || glyph.width < 1 || glyph.height < 1) return false;
  LICE_Color32* pixels = dest->Pixels();
  if (!pixels) return false;

  if (!(paint.fontFlags & FontVertical)) {
    x -= glyph.leftOffset;
  } else if (paint.fontFlags & FontBottomUp) {
    y -= glyph.leftOffset;
  } else {
    y += glyph.leftOffset;
  }

  // Visible part, also kept inside the destination whatever the clip says.
  const int left = std::max({x, clip.left, 0});
  const int top = std::max({y, clip.top, 0});
  const int right = std::min({x + glyph.width, clip.right, dest->Width()});
  const int bottom = std::min({y + glyph.height, clip.bottom, dest->Height()});
  if (right <= left || bottom <= top) return false;

  const int mode = paint.mode & CompositeModeMask;
  if (paint.backgroundMode == 2) {
    LICE_FillArea(dest, left, top, right - left, bottom - top, paint.background, paint.weight,
                  paint.mode & ~CompositeUseSourceAlpha);
  }

  const Ink text(paint.text);
  const Ink effect(paint.effect);
  const bool thresholded = (paint.fontFlags & (FontMono | FontShadow | FontOutline)) != 0;
  const bool effects = (paint.fontFlags & (FontShadow | FontOutline)) != 0;
  const bool opaqueCopy = paint.weight == 1.0f && mode == CompositeCopy;
  const int k = thresholded ? std::min(GlyphWeight(paint.weight), 256) : GlyphWeight(paint.weight);
  if (k == 0) return true;

  const int span = dest->RowSpan();
  for (int py = top; py < bottom; ++py) {
    const int row = dest->IsBottomUp() ? dest->Height() - 1 - py : py;
    LICE_Color32* out = pixels + std::ptrdiff_t(row) * span;
    const unsigned char* in = mask + (py - y) * glyph.width + (left - x);
    for (int px = left; px < right; ++px) {
      const int v = *in++;
      if (v == 0) continue;
      if (!thresholded) {
        PaintCoverage(&out[px], text, mode, k, v);
        continue;
      }
      const bool useEffect = effects && v != 255;
      if (opaqueCopy) {
        out[px] = useEffect ? paint.effect : paint.text;
      } else {
        PaintSolid(&out[px], useEffect ? effect : text, mode, k);
      }
    }
  }
  return true;
}
