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

// Direct form I, the console bell's and the low-pass's structure: lanes of
// Section's coefficients and previous inputs and outputs.
template <class Section, class Lanes>
struct StereoDirectForm1
{
  Lanes b0, b1, b2, a1, a2;
  Lanes x1, x2, y1, y2;

  void load(const Section& l, const Section& r)
  {
    b0 = Pair(l, r, &Section::b0);
    b1 = Pair(l, r, &Section::b1);
    b2 = Pair(l, r, &Section::b2);
    a1 = Pair(l, r, &Section::a1);
    a2 = Pair(l, r, &Section::a2);
    x1 = Pair(l, r, &Section::x1);
    x2 = Pair(l, r, &Section::x2);
    y1 = Pair(l, r, &Section::y1);
    y2 = Pair(l, r, &Section::y2);
  }

  void store(Section& l, Section& r) const
  {
    Split(x1, l, r, &Section::x1);
    Split(x2, l, r, &Section::x2);
    Split(y1, l, r, &Section::y1);
    Split(y2, l, r, &Section::y2);
  }

protected:
  Lanes sum(Lanes x) const { return b0 * x + b1 * x1 + b2 * x2 - a1 * y1 - a2 * y2; }

  Lanes keep(Lanes x, Lanes y)
  {
    x2 = x1;
    x1 = x;
    y2 = y1;
    y1 = y;
    return y;
  }
};

struct StereoBell : StereoDirectForm1<ConsoleBell, Double2>
{
  Double2 process(Double2 x) { return keep(x, sum(x)); }
};

struct StereoLowpass : StereoDirectForm1<AnalogMatchedLowpass, Float2>
{
  // The scalar section flushes results whose magnitude lies below
  // 1.175494351e-38 in double; the largest float there is the smallest
  // normal float itself.
  static constexpr float kFlushLimit = std::numeric_limits<float>::min();

  Float2 process(Float2 x) { return keep(x, FlushTiny(sum(x), kFlushLimit)); }
};
