#include "engine/sections/AnalogMatchedLowpass.h"

#include <algorithm>
#include <cmath>

#include "engine/sections/DesignMath.h"

namespace {

float sq(float v) { return v * v; }

} // namespace

void AnalogMatchedLowpass::design(float frequencyHz, float q, float sampleRate)
{
  if (memo.repeats(frequencyHz, q, sampleRate))
    return;
  const double pi = 3.141592653589793;

  const float maxHz = kMaxFraction * sampleRate;
  const float f = frequencyHz > maxHz ? maxHz : frequencyHz;

  // Centre and the prototype's gain at Nyquist, both worked out in double.
  const float w0 = static_cast<float>(static_cast<double>(f) * 2.0 * pi / sampleRate);
  const double w0d = w0;
  const double qd = q;
  const double loss = 2.0 * pi / (w0d * qd);
  const double curve = 2.0 - (std::sqrt(2.0) * pi / w0d) * (std::sqrt(2.0) * pi / w0d);
  const float g1 = static_cast<float>(2.0 / std::sqrt(loss * loss + curve * curve));

  // Matching frequency, low-q branch (q <= √½): no resonance peak to match.
  const float q2 = q * q;
  const float s = std::sqrt((1.0f - 4.0f * q2) / (q2 * q2) + 4.0f / g1);
  const float omegaM = design::Tan(w0 * std::sqrt((2.0f - 1.0f / (2.0f * q2) + s) * 0.5f) * 0.5f);
  const float omegaS = std::min(w0 * 0.5f * design::FourthRoot(1.0f - g1 * g1), omegaM);

  // Pole and zero frequencies and the prototype's gains there.
  const float sqrtG1 = std::sqrt(g1);
  const float wp = 2.0f * design::Atan(omegaS);
  const float wz = 2.0f * design::Atan(omegaS / sqrtG1);
  const float gp2 = 1.0f / (sq(wp / (w0 * q)) + sq(1.0f - sq(wp / w0)));
  const float gz2 = 1.0f / (sq(wz / (w0 * q)) + sq(1.0f - sq(wz / w0)));

  const float qp = std::sqrt(g1 * (gp2 - gz2) / ((gz2 + g1) * sq(g1 - 1.0f)));
  const float qz = std::sqrt(g1 * g1 * (gp2 - gz2) / ((gp2 + g1) * gz2 * sq(g1 - 1.0f)));

  const float omegaS2 = omegaS * omegaS;
  const float norm = omegaS2 + omegaS / qp + 1.0f;
  b0 = (omegaS2 + sqrtG1 * omegaS / qz + g1) / norm;
  b1 = 2.0f * (omegaS2 - g1) / norm;
  b2 = (omegaS2 - sqrtG1 * omegaS / qz + g1) / norm;
  a1 = 2.0f * (omegaS2 - 1.0f) / norm;
  a2 = (omegaS2 - omegaS / qp + 1.0f) / norm;
}
