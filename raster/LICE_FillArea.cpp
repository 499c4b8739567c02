#include "raster/LICE_Composite.h"

#include "raster/LICE_Combiners.h"
#include "raster/LICE_CompositeLoops.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

namespace {

// The colour blends with its own channels and the integer weight k standing in
// for its alpha.
void FillWithMode(int mode, const LICE_PixelRows& d, LICE_Color32 colour, int k)
{
  const int r = LICE_GETR(colour), g = LICE_GETG(colour), b = LICE_GETB(colour);
  switch (mode) {
    case CompositeCopy: LICE_CombineColour<LICE_CopyCombine>(d, r, g, b, k, k); break;
    case CompositeAdd: LICE_CombineColour<LICE_AddCombine>(d, r, g, b, k, k); break;
    case CompositeDodge: LICE_CombineColour<LICE_DodgeCombine>(d, r, g, b, k, k); break;
    case CompositeMultiply: LICE_CombineColour<LICE_MultiplyCombine>(d, r, g, b, k, k); break;
    case CompositeOverlay: LICE_CombineColour<LICE_OverlayCombine>(d, r, g, b, k, k); break;
    case CompositeHSVAdjust: LICE_CombineColour<LICE_HSVAdjustCombine>(d, r, g, b, k, k); break;
    default: break;
  }
}

}  // namespace

void LICE_FillArea(LICE_IBitmap* dest, int x, int y, int width, int height,
                   LICE_Color32 colour, float weight, int mode)
{
  if (!dest) return;
  if (mode & CompositeUseSourceAlpha) weight *= float(LICE_GETA(colour)) / 255.0f;

  // 64 bits: a huge size with a very negative origin must not overflow.
  int64_t left = x, top = y, cols = width, rows = height;
  if (left < 0) {
    cols += left;
    left = 0;
  }
  if (top < 0) {
    rows += top;
    top = 0;
  }

  if (weight == 0.0f || std::isnan(weight)) return;
  LICE_Color32* pixels = dest->Pixels();
  if (!pixels || dest->RowSpan() == 0 || cols < 1 || rows < 1) return;
  if (left >= dest->Width() || top >= dest->Height()) return;
  cols = std::min<int64_t>(cols, dest->Width() - left);
  rows = std::min<int64_t>(rows, dest->Height() - top);
  const LICE_PixelRows d =
      LICE_LocateRows(*dest, pixels, int(left), int(top), int(cols), int(rows));

  const int k = LICE_WeightToInt(weight);
  const int combiner = mode & CompositeModeMask;
  if (combiner == CompositeCopy) {
    switch (k) {
      case 256: LICE_FillRowsWhole(d, colour); return;
      case 128: LICE_FillRowsHalf(d, colour); return;
      case 64: LICE_FillRowsQuarter(d, colour); return;
      case 192: LICE_FillRowsThreeQuarters(d, colour); return;
      default: break;
    }
  }
  if (k == 0) return;
  FillWithMode(combiner, d, colour, k);
}
