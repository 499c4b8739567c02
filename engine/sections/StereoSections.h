#pragma once

#include <limits>

#include "engine/sections/AnalogMatchedLowpass.h"
#include "engine/sections/ConsoleBell.h"
#include "engine/sections/CookbookBiquad.h"
#include "engine/simd/Double2.h"
#include "engine/simd/Float2.h"

// The left and right section of a kind run side by side, one lane each, with
// the very difference equations of the scalar sections. The scalar sections
// stay the owners: the block's designs and resets work on them, load() takes
// their coefficients and state for a run of samples, and store() hands the
// state back.

// One field of the left and the right section as a lane pair, and back.
template <class Section>
Double2 Pair(const Section& l, const Section& r, double Section::*field)
{
  return Double2::Lanes(l.*field, r.*field);
}
template <class Section>
Float2 Pair(const Section& l, const Section& r, float Section::*field)
{
  return Float2::Lanes(l.*field, r.*field);
}
template <class Section, class Lanes, class Field>
void Split(Lanes lanes, Section& l, Section& r, Field Section::*field)
{
  l.*field = lanes.Left();
  r.*field = lanes.Right();
}

struct StereoBiquad
{
  Double2 a0, a1, a2, b1, b2;
  Double2 z1, z2;

  void load(const CookbookBiquad& l, const CookbookBiquad& r)
  {
    a0 = Pair(l, r, &CookbookBiquad::a0);
    a1 = Pair(l, r, &CookbookBiquad::a1);
    a2 = Pair(l, r, &CookbookBiquad::a2);
    b1 = Pair(l, r, &CookbookBiquad::b1);
    b2 = Pair(l, r, &CookbookBiquad::b2);
    z1 = Pair(l, r, &CookbookBiquad::z1);
    z2 = Pair(l, r, &CookbookBiquad::z2);
  }

  void store(CookbookBiquad& l, CookbookBiquad& r) const
  {
    Split(z1, l, r, &CookbookBiquad::z1);
    Split(z2, l, r, &CookbookBiquad::z2);
  }

  Double2 process(Double2 x)
  {
    const Double2 out = x * a0 + z1;
    z1 = x * a1 + z2 - b1 * out;
    z2 = x * a2 - b2 * out;
    return out;
  }
};

struct StereoBell
{
  Double2 b0, b1, b2, a1, a2;
  Double2 x1, x2, y1, y2;

  void load(const ConsoleBell& l, const ConsoleBell& r)
  {
    b0 = Pair(l, r, &ConsoleBell::b0);
    b1 = Pair(l, r, &ConsoleBell::b1);
    b2 = Pair(l, r, &ConsoleBell::b2);
    a1 = Pair(l, r, &ConsoleBell::a1);
    a2 = Pair(l, r, &ConsoleBell::a2);
    x1 = Pair(l, r, &ConsoleBell::x1);
    x2 = Pair(l, r, &ConsoleBell::x2);
    y1 = Pair(l, r, &ConsoleBell::y1);
    y2 = Pair(l, r, &ConsoleBell::y2);
  }

  void store(ConsoleBell& l, ConsoleBell& r) const
  {
    Split(x1, l, r, &ConsoleBell::x1);
    Split(x2, l, r, &ConsoleBell::x2);
    Split(y1, l, r, &ConsoleBell::y1);
    Split(y2, l, r, &ConsoleBell::y2);
  }

  Double2 process(Double2 x)
  {
    const Double2 y = b0 * x + b1 * x1 + b2 * x2 - a1 * y1 - a2 * y2;
    x2 = x1;
    x1 = x;
    y2 = y1;
    y1 = y;
    return y;
  }
};

struct StereoLowpass
{
  // The scalar section flushes results whose magnitude lies below
  // 1.175494351e-38 in double; the largest float there is the smallest
  // normal float itself.
  static constexpr float kFlushLimit = std::numeric_limits<float>::min();

  Float2 x1, x2, y1, y2;
  Float2 b0, b1, b2, a1, a2;

  void load(const AnalogMatchedLowpass& l, const AnalogMatchedLowpass& r)
  {
    x1 = Pair(l, r, &AnalogMatchedLowpass::x1);
    x2 = Pair(l, r, &AnalogMatchedLowpass::x2);
    y1 = Pair(l, r, &AnalogMatchedLowpass::y1);
    y2 = Pair(l, r, &AnalogMatchedLowpass::y2);
    b0 = Pair(l, r, &AnalogMatchedLowpass::b0);
    b1 = Pair(l, r, &AnalogMatchedLowpass::b1);
    b2 = Pair(l, r, &AnalogMatchedLowpass::b2);
    a1 = Pair(l, r, &AnalogMatchedLowpass::a1);
    a2 = Pair(l, r, &AnalogMatchedLowpass::a2);
  }

  void store(AnalogMatchedLowpass& l, AnalogMatchedLowpass& r) const
  {
    Split(x1, l, r, &AnalogMatchedLowpass::x1);
    Split(x2, l, r, &AnalogMatchedLowpass::x2);
    Split(y1, l, r, &AnalogMatchedLowpass::y1);
    Split(y2, l, r, &AnalogMatchedLowpass::y2);
  }

  Float2 process(Float2 x)
  {
    const Float2 y = FlushTiny(b0 * x + b1 * x1 + b2 * x2 - a1 * y1 - a2 * y2, kFlushLimit);
    y2 = y1;
    y1 = y;
    x2 = x1;
    x1 = x;
    return y;
  }
};
