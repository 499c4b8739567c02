#pragma once

#include "engine/sections/ConsoleBell.h"
#include "engine/simd/Double4.h"

// Four console bells side by side in one AVX register, one lane each, with the
// scalar section's difference equation: the engine's low-mid and high-mid
// bells of both channels, the high-mid lanes a step of the pipeline behind.
// Only code compiled for AVX2 and reached after a CPU check may use it.
struct QuadBell
{
  Double4 b0, b1, b2, a1, a2;
  Double4 x1, x2, y1, y2;

  void load(const ConsoleBell* const (&lanes)[4])
  {
    b0 = Gather(lanes, &ConsoleBell::b0);
    b1 = Gather(lanes, &ConsoleBell::b1);
    b2 = Gather(lanes, &ConsoleBell::b2);
    a1 = Gather(lanes, &ConsoleBell::a1);
    a2 = Gather(lanes, &ConsoleBell::a2);
    x1 = Gather(lanes, &ConsoleBell::x1);
    x2 = Gather(lanes, &ConsoleBell::x2);
    y1 = Gather(lanes, &ConsoleBell::y1);
    y2 = Gather(lanes, &ConsoleBell::y2);
  }

  void store(ConsoleBell* const (&lanes)[4]) const
  {
    Scatter(x1, lanes, &ConsoleBell::x1);
    Scatter(x2, lanes, &ConsoleBell::x2);
    Scatter(y1, lanes, &ConsoleBell::y1);
    Scatter(y2, lanes, &ConsoleBell::y2);
  }

  Double4 process(Double4 x)
  {
    const Double4 y = b0 * x + b1 * x1 + b2 * x2 - a1 * y1 - a2 * y2;
    x2 = x1;
    x1 = x;
    y2 = y1;
    y1 = y;
    return y;
  }

private:
  static Double4 Gather(const ConsoleBell* const (&lanes)[4], double ConsoleBell::*field)
  {
    alignas(32) const double v[4] = {lanes[0]->*field, lanes[1]->*field, lanes[2]->*field,
                                      lanes[3]->*field};
    return Double4::Load(v);
  }
  static void Scatter(Double4 value, ConsoleBell* const (&lanes)[4], double ConsoleBell::*field)
  {
    alignas(32) double v[4];
    value.Store(v);
    for (int i = 0; i < 4; ++i) lanes[i]->*field = v[i];
  }
};
