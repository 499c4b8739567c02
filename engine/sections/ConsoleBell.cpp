#include "engine/sections/ConsoleBell.h"

#include <cmath>

#include "engine/sections/DesignMath.h"

void ConsoleBell::design(double gainDb, double frequencyHz, double q)
{
  if (memo.repeats(gainDb, frequencyHz, q, sampleRate, pi, bandGainDivisor))
    return;
  const double maxHz = kMaxFraction * sampleRate;
  if (frequencyHz > maxHz)
    frequencyHz = maxHz;

  const double w0 = 2.0 * pi / sampleRate * frequencyHz;
  const double Dw = w0 / (q * 1.588308819); // bandwidth in radians

  const double G0 = 1.0;
  const double G = design::PowerOfTen(gainDb / 20.0);
  const double GB = design::PowerOfTen((gainDb / bandGainDivisor) / 20.0);

  if (G == GB) {
    setFlat();
    return;
  }

  const double G2 = G * G;
  const double GB2 = GB * GB;
  const double G02 = G0 * G0;
  const double pi2 = pi * pi;
  const double Dw2 = Dw * Dw;
  const double warp = w0 * w0 - pi2;

  const double F = std::fabs(G2 - GB2);
  const double G00 = std::fabs(G2 - G02);
  const double F00 = std::fabs(GB2 - G02);

  // Gain at Nyquist, matched to the analog bell's.
  const double G12 = (G2 * F00 * pi2 * Dw2 / F + warp * warp * G02)
           / (F00 * pi2 * Dw2 / F + warp * warp);
  const double G1 = std::sqrt(G12);

  const double G01 = std::fabs(G2 - G0 * G1);
  const double G11 = std::fabs(G2 - G12);
  const double F01 = std::fabs(GB2 - G0 * G1);
  const double F11 = std::fabs(GB2 - G12);

  // Within a few 1e-14 dB of 0 the squared gains coincide in double
  // precision and the ratios below turn 0/0: such a band is flat.
  if (G00 == 0.0 || F00 == 0.0 || G11 == 0.0 || F11 == 0.0) {
    setFlat();
    return;
  }

  const double tanHalfW0 = design::Tan(w0 / 2.0);
  const double W2 = std::sqrt(G11 / G00) * (tanHalfW0 * tanHalfW0);
  const double DW = (1.0 + std::sqrt(F00 / F11) * W2) * design::Tan(Dw / 2.0);

  const double C = F11 * (DW * DW) - 2.0 * W2 * (F01 - std::sqrt(F00 * F11));
  const double D = 2.0 * W2 * (G01 - std::sqrt(G00 * G11));
  const double A = std::sqrt((C + D) / F);
  const double B = std::sqrt((G2 * C + GB2 * D) / F);

  const double norm = 1.0 + W2 + A;
  b0 = (G1 + G0 * W2 + B) / norm;
  b1 = -2.0 * (G1 - G0 * W2) / norm;
  b2 = (G1 - B + G0 * W2) / norm;
  a1 = -2.0 * (1.0 - W2) / norm;
  a2 = (1.0 + W2 - A) / norm;
}
