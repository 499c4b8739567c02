#include "raster/LICE_Composite.h"

#include "raster/LICE_Combiners.h"
#include "raster/LICE_CompositeLoops.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

int LICE_WeightToInt(float weight)
{
  const double scaled = double(weight) * 256.0;
  if (!(scaled > 0.0)) return 0;  // also NaN
  if (scaled >= 256.0) return 256;
  return int(scaled);
}

namespace {

// The part of src that lands on dest, in source coordinates, with its
// destination point. Worked in 64 bits so extreme coordinates cannot overflow.
struct ClippedArea {
  int sx, sy, dx, dy, cols, rows;
};

bool ClipComposite(const LICE_IBitmap& dest, const LICE_IBitmap& src, int destX, int destY,
                   const LICE_Rect* rect, ClippedArea* area)
{
  int64_t dx = destX, dy = destY;
  int64_t sx = 0, sy = 0, sr = src.Width(), sb = src.Height();
  if (rect) {
    sx = rect->left;
    sy = rect->top;
    // Columns or rows missing left of or above the source push the drawing on.
    if (sx < 0) {
      dx -= sx;
      sx = 0;
    }
    if (sy < 0) {
      dy -= sy;
      sy = 0;
    }
    sr = std::min<int64_t>(rect->right, src.Width());
    sb = std::min<int64_t>(rect->bottom, src.Height());
  }
  if (dx < 0) {
    sx -= dx;
    dx = 0;
  }
  if (dy < 0) {
    sy -= dy;
    dy = 0;
  }
  if (sr <= sx || sb <= sy || dx >= dest.Width() || dy >= dest.Height()) return false;
  sr = std::min<int64_t>(sr, sx + dest.Width() - dx);
  sb = std::min<int64_t>(sb, sy + dest.Height() - dy);
  if (sr <= sx || sb <= sy) return false;
  *area = {int(sx), int(sy), int(dx), int(dy), int(sr - sx), int(sb - sy)};
  return true;
}

void CombineWithMode(int mode, const LICE_PixelRows& d, const LICE_PixelRows& s, int k)
{
  switch (mode) {
    case CompositeCopy: LICE_CombineRows<LICE_CopyCombine>(d, s, k); break;
    case CompositeAdd: LICE_CombineRows<LICE_AddCombine>(d, s, k); break;
    case CompositeDodge: LICE_CombineRows<LICE_DodgeCombine>(d, s, k); break;
    case CompositeMultiply: LICE_CombineRows<LICE_MultiplyCombine>(d, s, k); break;
    case CompositeOverlay: LICE_CombineRows<LICE_OverlayCombine>(d, s, k); break;
    case CompositeHSVAdjust: LICE_CombineRows<LICE_HSVAdjustCombine>(d, s, k); break;
    case CompositeUseSourceAlpha | CompositeCopy:
      LICE_CombineRows<LICE_CopySourceAlphaCombine>(d, s, k);
      break;
    case CompositeUseSourceAlpha | CompositeAdd:
      LICE_CombineRows<LICE_AddSourceAlphaCombine>(d, s, k);
      break;
    case CompositeUseSourceAlpha | CompositeDodge:
      LICE_CombineRows<LICE_DodgeSourceAlphaCombine>(d, s, k);
      break;
    case CompositeUseSourceAlpha | CompositeMultiply:
      LICE_CombineRows<LICE_MultiplySourceAlphaCombine>(d, s, k);
      break;
    case CompositeUseSourceAlpha | CompositeOverlay:
      LICE_CombineRows<LICE_OverlaySourceAlphaCombine>(d, s, k);
      break;
    case CompositeUseSourceAlpha | CompositeHSVAdjust:
      LICE_CombineRows<LICE_HSVAdjustSourceAlphaCombine>(d, s, k);
      break;
    default: break;  // unknown combiners draw nothing
  }
}

}  // namespace

void LICE_Composite(LICE_IBitmap* dest, LICE_IBitmap* src, int dx, int dy,
                    const LICE_Rect* sourceRect, float weight, int mode)
{
  if (!dest || !src || weight == 0.0f || std::isnan(weight)) return;

  ClippedArea area;
  if (!ClipComposite(*dest, *src, dx, dy, sourceRect, &area)) return;

  LICE_Color32* destPixels = dest->Pixels();
  LICE_Color32* srcPixels = src->Pixels();
  if (!destPixels || !srcPixels) return;
  const LICE_PixelRows d =
      LICE_LocateRows(*dest, destPixels, area.dx, area.dy, area.cols, area.rows);
  const LICE_PixelRows s =
      LICE_LocateRows(*src, srcPixels, area.sx, area.sy, area.cols, area.rows);

  if ((mode & CompositeModeMask) >= CompositeChannelCopy) {
    LICE_ChannelCopyRows(d, s, mode & 3, (mode >> 2) & 3);
    return;
  }

  const int reduced = mode & (CompositeModeMask | CompositeUseSourceAlpha);
  if (reduced == CompositeCopy) {
    if (weight == 1.0f) {
      LICE_CopyRowsWhole(d, s);
      return;
    }
    if (weight == 0.5f) {
      LICE_CopyRowsHalf(d, s);
      return;
    }
  }

  const int k = LICE_WeightToInt(weight);
  if (k == 0) return;
  CombineWithMode(reduced, d, s, k);
}
