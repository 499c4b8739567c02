#pragma once
// The pixel combiners: how one source colour (r, g, b, a, each 0..255) meets one
// destination pixel at integer weight k (256 is full weight). Compositing, area
// fills and glyph drawing all blend through these, with this argument order.
//
// Integer arithmetic throughout: "/" truncates toward zero, ">>" is arithmetic,
// and results that are not clamped keep their low 8 bits. Channels are treated
// in the order B, G, R, A; "each channel" includes alpha, whose source value is
// the alpha argument.

#include "raster/LICE_Color.h"

#include <array>
#include <cstddef>
#include <cstdint>

namespace lice_detail {

inline int Clamp255(int v) { return v < 0 ? 0 : (v > 255 ? 255 : v); }

// T[0] = 0, T[i] = 65536 / i - 1: the reciprocals the HSV conversion divides by.
constexpr std::array<uint16_t, 256> MakeReciprocals()
{
  std::array<uint16_t, 256> t{};
  for (int i = 1; i < 256; ++i) t[std::size_t(i)] = uint16_t(65536 / i - 1);
  return t;
}

inline constexpr std::array<uint16_t, 256> kReciprocal = MakeReciprocals();

inline int CopyChannel(int d, int s, int keep) { return s + (d - s) * keep / 256; }

inline int AddChannel(int d, int s, int k) { return Clamp255(d + s * k / 256); }

inline int DodgeChannel(int d, int s, int k)
{
  const int q = 256 - s * k / 256;
  return q > 1 ? Clamp255(d * 256 / q) : Clamp255(d * 256);
}

inline int MultiplyChannel(int d, int s, int k) { return (((s - 256) * k + 65536) * d) >> 16; }

inline int OverlayChannel(int d, int s, int k)
{
  const int t = s * k + (256 - k) * 128;
  return Clamp255(((((32768 - t) * d) / 256 + t) * d) >> 15);
}

// Applies a per-channel rule to B, G, R and A.
template <typename Rule>
inline void EachChannel(LICE_Color32* d, int r, int g, int b, int a, int k, Rule rule)
{
  const LICE_Color32 p = *d;
  *d = LICE_RGBA(rule(LICE_GETR(p), r, k), rule(LICE_GETG(p), g, k), rule(LICE_GETB(p), b, k),
                 rule(LICE_GETA(p), a, k));
}

// The source-alpha forms scale the weight by the source's own alpha.
inline int AlphaScaledWeight(int a, int k) { return (a + 1) * k / 256; }

}  // namespace lice_detail

// Copy: each channel moves toward the source by k / 256; k = 256 replaces.
inline void LICE_CopyCombine(LICE_Color32* d, int r, int g, int b, int a, int k)
{
  if (k < 1) return;
  if (k >= 256) {
    *d = LICE_RGBA(r, g, b, a);
    return;
  }
  const LICE_Color32 p = *d;
  const int keep = 256 - k;
  using lice_detail::CopyChannel;
  *d = LICE_RGBA(CopyChannel(LICE_GETR(p), r, keep), CopyChannel(LICE_GETG(p), g, keep),
                 CopyChannel(LICE_GETB(p), b, keep), CopyChannel(LICE_GETA(p), a, keep));
}

// Add: each channel d + s * k / 256, saturating at 255.
inline void LICE_AddCombine(LICE_Color32* d, int r, int g, int b, int a, int k)
{
  lice_detail::EachChannel(d, r, g, b, a, k, lice_detail::AddChannel);
}

// Dodge: each channel d * 256 / (256 - s * k / 256); a divisor of 1 or less
// saturates every non-zero channel.
inline void LICE_DodgeCombine(LICE_Color32* d, int r, int g, int b, int a, int k)
{
  lice_detail::EachChannel(d, r, g, b, a, k, lice_detail::DodgeChannel);
}

// Multiply: each channel d scaled by s / 256 mixed with 1 at weight k.
inline void LICE_MultiplyCombine(LICE_Color32* d, int r, int g, int b, int a, int k)
{
  lice_detail::EachChannel(d, r, g, b, a, k, lice_detail::MultiplyChannel);
}

// Overlay: each channel bent toward the source around mid-grey.
inline void LICE_OverlayCombine(LICE_Color32* d, int r, int g, int b, int a, int k)
{
  lice_detail::EachChannel(d, r, g, b, a, k, lice_detail::OverlayChannel);
}

// HSV adjust: the source shifts the destination's hue by its red, saturation by
// its green and value by its blue, each centred on 128 so mid-grey changes
// nothing. Hue runs over 0..383, 64 per sixth of the circle. Writes the alpha
// argument as the result's alpha (capped at 255: area fills pass k = 256 there).
inline void LICE_HSVAdjustCombine(LICE_Color32* d, int r, int g, int b, int a, int k)
{
  using lice_detail::Clamp255;
  using lice_detail::kReciprocal;
  const LICE_Color32 p = *d;
  const int dr = LICE_GETR(p), dg = LICE_GETG(p), db = LICE_GETB(p);

  const int maxRG = dr > dg ? dr : dg;
  const int minRG = dr < dg ? dr : dg;
  int v = maxRG > db ? maxRG : db;
  const int delta = v - (minRG < db ? minRG : db);

  int base, diff;
  if (dg > dr) {
    if (dg > db) {
      base = 128;
      diff = db - dr;
    } else {
      base = 256;
      diff = dr - dg;
    }
  } else if (dr > db) {
    base = dg < db ? 383 : 0;
    diff = dg - db;
  } else {
    base = 256;
    diff = dr - dg;
  }

  int s = delta * kReciprocal[std::size_t(v)] / 256;
  int h = base + diff * (kReciprocal[std::size_t(delta)] + 1) / 1024;

  h += (r + r / 2 - 192) * k / 256;
  if (h < 0)
    h += 384;
  else if (h >= 384)
    h -= 384;
  s = Clamp255(s + (g - 128) * k / 128);
  v = Clamp255(v + (b - 128) * k / 128);

  const int low = (256 - s) * v / 256;
  auto ramp = [s, v](int x) { return ((x * s + 16384) * v) / 16384; };

  int outR, outG, outB;
  if (h < 64) {
    outR = v; outG = ramp(h - 64); outB = low;
  } else if (h < 128) {
    outR = ramp(64 - h); outG = v; outB = low;
  } else if (h < 192) {
    outR = low; outG = v; outB = ramp(h - 192);
  } else if (h < 256) {
    outR = low; outG = ramp(192 - h); outB = v;
  } else if (h < 320) {
    outR = ramp(h - 320); outG = low; outB = v;
  } else {
    outR = v; outG = low; outB = ramp(320 - h);
  }
  *d = LICE_RGBA(outR, outG, outB, a > 255 ? 255 : a);
}

// Copy with source alpha. At full weight alpha 0 leaves the pixel, alpha 255
// replaces it, and anything between blends by (255 - a) / 256 with the
// destination alpha gaining a; below full weight the blend and the alpha gain
// use f = (a + 1) * k / 256 instead.
inline void LICE_CopySourceAlphaCombine(LICE_Color32* d, int r, int g, int b, int a, int k)
{
  if (a == 0) return;
  int keep, gain;
  if (k == 256) {
    if (a == 255) {
      *d = LICE_RGBA(r, g, b, a);
      return;
    }
    keep = 255 - a;
    gain = a;
  } else {
    gain = lice_detail::AlphaScaledWeight(a, k);
    keep = 256 - gain;
  }
  const LICE_Color32 p = *d;
  const int da = LICE_GETA(p) + gain;
  using lice_detail::CopyChannel;
  *d = LICE_RGBA(CopyChannel(LICE_GETR(p), r, keep), CopyChannel(LICE_GETG(p), g, keep),
                 CopyChannel(LICE_GETB(p), b, keep), da < 255 ? da : 255);
}

inline void LICE_AddSourceAlphaCombine(LICE_Color32* d, int r, int g, int b, int a, int k)
{
  if (a == 0) return;
  LICE_AddCombine(d, r, g, b, a, lice_detail::AlphaScaledWeight(a, k));
}

// Unlike add and multiply, a transparent source still dodges (with f of 0 or 1).
inline void LICE_DodgeSourceAlphaCombine(LICE_Color32* d, int r, int g, int b, int a, int k)
{
  LICE_DodgeCombine(d, r, g, b, a, lice_detail::AlphaScaledWeight(a, k));
}

inline void LICE_MultiplySourceAlphaCombine(LICE_Color32* d, int r, int g, int b, int a, int k)
{
  if (a == 0) return;
  LICE_MultiplyCombine(d, r, g, b, a, lice_detail::AlphaScaledWeight(a, k));
}

inline void LICE_OverlaySourceAlphaCombine(LICE_Color32* d, int r, int g, int b, int a, int k)
{
  LICE_OverlayCombine(d, r, g, b, a, lice_detail::AlphaScaledWeight(a, k));
}

inline void LICE_HSVAdjustSourceAlphaCombine(LICE_Color32* d, int r, int g, int b, int a, int k)
{
  LICE_HSVAdjustCombine(d, r, g, b, a, lice_detail::AlphaScaledWeight(a, k));
}
