#include "raster/LICE_Resample.h"

#include "raster/LICE_CompositeLoops.h"

#include <cstdint>
#include <vector>

namespace
{
// Along one axis, destination pixel i covers [i S, (i + 1) S) and source
// pixel s covers [s D, (s + 1) D), in units of 1 / (S D) of the whole length
// (S source and D destination pixels). Their overlap is the weight; the
// weights of each destination pixel add up to S.
struct Tap
{
  int source;
  uint32_t weight;
};

struct AxisTaps
{
  std::vector<int> first;  // per destination pixel: its first tap, and one past the last
  std::vector<Tap> taps;
};

AxisTaps TapsFor(int sourceLength, int destLength)
{
  AxisTaps axis;
  const int64_t S = sourceLength, D = destLength;
  axis.first.reserve(static_cast<size_t>(destLength) + 1);
  for (int64_t i = 0; i < D; ++i)
  {
    axis.first.push_back(static_cast<int>(axis.taps.size()));
    const int64_t begin = i * S, end = (i + 1) * S;
    for (int64_t s = begin / D; s * D < end && s < S; ++s)
    {
      const int64_t lo = s * D > begin ? s * D : begin;
      const int64_t hi = (s + 1) * D < end ? (s + 1) * D : end;
      if (hi > lo) axis.taps.push_back({static_cast<int>(s), static_cast<uint32_t>(hi - lo)});
    }
  }
  axis.first.push_back(static_cast<int>(axis.taps.size()));
  return axis;
}

bool Inside(const LICE_Rect& r, const LICE_IBitmap& bitmap)
{
  return r.left >= 0 && r.top >= 0 && r.right <= bitmap.Width() && r.bottom <= bitmap.Height() &&
         r.right > r.left && r.bottom > r.top;
}

uint64_t Divide(uint64_t numerator, uint64_t denominator)
{
  return (numerator + denominator / 2) / denominator;
}
}  // namespace

bool LICE_ResampleArea(LICE_IBitmap* dest, const LICE_Rect& destRect, LICE_IBitmap* src,
                       const LICE_Rect& sourceRect)
{
  if (!dest || !src || !dest->Pixels() || !src->Pixels()) return false;
  if (!Inside(destRect, *dest) || !Inside(sourceRect, *src)) return false;
  const int sw = sourceRect.right - sourceRect.left, sh = sourceRect.bottom - sourceRect.top;
  const int dw = destRect.right - destRect.left, dh = destRect.bottom - destRect.top;
  const LICE_PixelRows from = LICE_LocateRows(*src, src->Pixels(), sourceRect.left, sourceRect.top, sw, sh);
  const LICE_PixelRows to = LICE_LocateRows(*dest, dest->Pixels(), destRect.left, destRect.top, dw, dh);
  const AxisTaps across = TapsFor(sw, dw);
  const AxisTaps down = TapsFor(sh, dh);

  // Across first: per source row and destination column, the weighted sums of
  // alpha and of each channel times alpha (at most sw * 255 * 255).
  std::vector<uint32_t> rows(static_cast<size_t>(sh) * dw * 4);
  for (int y = 0; y < sh; ++y)
  {
    const LICE_Color32* line = from.Row(y);
    uint32_t* out = &rows[static_cast<size_t>(y) * dw * 4];
    for (int x = 0; x < dw; ++x, out += 4)
    {
      uint32_t a = 0, r = 0, g = 0, b = 0;
      for (int t = across.first[x]; t < across.first[x + 1]; ++t)
      {
        const LICE_Color32 p = line[across.taps[t].source];
        const uint32_t wa = across.taps[t].weight * uint32_t(LICE_GETA(p));
        a += wa;
        r += wa * uint32_t(LICE_GETR(p));
        g += wa * uint32_t(LICE_GETG(p));
        b += wa * uint32_t(LICE_GETB(p));
      }
      out[0] = a;
      out[1] = r;
      out[2] = g;
      out[3] = b;
    }
  }

  // Then down, and back to straight alpha.
  const uint64_t area = uint64_t(sw) * uint64_t(sh);
  for (int y = 0; y < dh; ++y)
  {
    LICE_Color32* line = to.Row(y);
    for (int x = 0; x < dw; ++x)
    {
      uint64_t a = 0, r = 0, g = 0, b = 0;
      for (int t = down.first[y]; t < down.first[y + 1]; ++t)
      {
        const uint32_t* in = &rows[(static_cast<size_t>(down.taps[t].source) * dw + x) * 4];
        const uint64_t w = down.taps[t].weight;
        a += w * in[0];
        r += w * in[1];
        g += w * in[2];
        b += w * in[3];
      }
      if (a == 0)
      {
        line[x] = 0;
        continue;
      }
      line[x] = LICE_RGBA(int(Divide(r, a)), int(Divide(g, a)), int(Divide(b, a)), int(Divide(a, area)));
    }
  }
  return true;
}
