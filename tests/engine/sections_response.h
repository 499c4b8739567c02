#pragma once

// Helpers for checking second-order sections against theory: the magnitude of
// H(z) = (n0 + n1 z^-1 + n2 z^-2) / (1 + d1 z^-1 + d2 z^-2) on the unit
// circle, pole stability, and the gain a section shows for a running sine.

#include <cmath>
#include <complex>

namespace sections_test {

constexpr double kPi = 3.141592653589793;

struct Rational2
{
    double n0, n1, n2; // numerator
    double d1, d2;     // denominator, leading 1
};

// |H(e^jw)| for w in radians per sample.
inline double magnitude(const Rational2& h, double w)
{
    const std::complex<double> z1 = std::polar(1.0, -w);
    const std::complex<double> z2 = z1 * z1;
    return std::abs((h.n0 + h.n1 * z1 + h.n2 * z2) / (1.0 + h.d1 * z1 + h.d2 * z2));
}

inline double dB(double gain) { return 20.0 * std::log10(gain); }

inline double fromDb(double db) { return std::pow(10.0, db / 20.0); }

// Both roots of z^2 + d1 z + d2 strictly inside the unit circle (Jury).
inline bool polesInside(double d1, double d2)
{
    return std::fabs(d2) < 1.0 && std::fabs(d1) < 1.0 + d2;
}

// Feeds a unit sine of `cycles` cycles per `period` samples, lets the section
// settle, then returns the output amplitude by correlation over whole
// periods. Works for double and float sections alike.
template <class Section>
double sineGain(Section& section, int cycles, int period, int settlePeriods = 40)
{
    const double w = 2.0 * kPi * cycles / period;
    using Sample = decltype(section.process(0.0f));
    for (int n = 0; n < settlePeriods * period; ++n)
        section.process(static_cast<Sample>(std::sin(w * n)));
    double inPhase = 0.0, quadrature = 0.0;
    for (int n = 0; n < period; ++n) {
        const double y = section.process(static_cast<Sample>(std::sin(w * n)));
        inPhase += y * std::sin(w * n);
        quadrature += y * std::cos(w * n);
    }
    return 2.0 * std::sqrt(inPhase * inPhase + quadrature * quadrature) / period;
}

} // namespace sections_test
