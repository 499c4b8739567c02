#!/usr/bin/env python3
"""Writes design_math_table.inc: arguments of the design functions at the ends
and seams of their ranges (and spread between), each with its exactly rounded
value from mpmath at 300 bits. Run from anywhere; needs python3-mpmath.
The table is committed; the tests read it and need no Python."""
import math
import os
import random

from mpmath import mp, mpf

mp.prec = 300
random.seed(19)


def around(v, steps=2):
    """v and its neighbouring doubles."""
    out, lo, hi = [v], v, v
    for _ in range(steps):
        lo, hi = math.nextafter(lo, -math.inf), math.nextafter(hi, math.inf)
        out += [lo, hi]
    return out


def f32(v):
    """The nearest float to the double v, as a double."""
    with mp.workprec(24):
        return float(+mpf(v))


def spread(lo, hi, n, log=False):
    if log:
        return [math.exp(random.uniform(math.log(lo), math.log(hi))) for _ in range(n)]
    return [random.uniform(lo, hi) for _ in range(n)]


ln2, ln10, pi = float(mp.log(2)), float(mp.log(10)), float(mp.pi)
tables = {}

# e^x: the smoothers' -2π·hz/fs, the reduction's seams at (n + 1/2) ln 2, the ends.
exp_args = [0.0, -0.0, 1.0, -1.0, 709.78, 709.0, -708.0, -745.0, -1e-300, 1e-300]
for n in list(range(-6, 7)) + [-1000, -500, 500, 1000]:
    exp_args += around((n + 0.5) * ln2)
exp_args += around(-2 * pi * 500 / 8000) + around(-2 * pi * 10 / 768000)
exp_args += spread(-0.8, -1e-6, 60) + spread(-40, 40, 40)
tables['kExpTable'] = [(x, mp.exp(x)) for x in exp_args]

# 10^x: the gains in dB over 20 (±24 dB, the bells' ±16.0001 dB, the make-up).
p10_args = [0.0, 1.0, -1.0, 2.0, 0.5, 1.2, -1.2, 0.8, -0.8, 0.31, 0.21, 5e-6, -5e-6, 0.8000050,
            -0.7999950]
for n in range(-4, 4):
    p10_args += around((n + 0.5) * ln2 / ln10)
p10_args += around(1.2) + around(-1.2) + around(16.0001 / 20) + around(-15.9999 / 20)
p10_args += spread(-1.2, 1.2, 80) + spread(-300, 300, 10)
tables['kPowerOfTenTable'] = [(x, mpf(10) ** x) for x in p10_args]

# tan x: π·fc up to 0.49π, half the bells' centres and bandwidths (which pass
# π/2 at wide bandwidths), the reduction's seams at odd multiples of π/4.
tan_args = [0.0, 1e-9, 1e-5, 0.49 * pi, 0.5 * 0.49 * 2 * pi]
for m in [1, 3, 5, 7, 9, 41, 1001]:
    tan_args += around(m * pi / 4)
tan_args += around(pi / 2) + around(pi) + around(3 * pi / 2)
tan_args += around(math.pi * 0.49) + around(math.pi * 16 / 48000)
tan_args += spread(1e-6, 1.54, 60, log=True) + spread(1.54, 20, 30) + spread(20, 5e5, 10)
tan_args += [-x for x in spread(0.01, 3, 10)]
tables['kTanTable'] = [(x, mp.tan(x)) for x in tan_args]

# atan x: the low-pass's Ωs and Ωs/√g1 (0 up to a few dozen), the reduction's
# seams at (2j + 1)/16, at 1 and at their inverses beyond 1.
atan_args = [0.0, 1e-300, 1e-9, 1.0, 1e10, 1e300, -0.3, -4.0]
for j in range(8):
    atan_args += around((2 * j + 1) / 16) + around(16 / (2 * j + 1))
atan_args += around(1.0, 3)
atan_args += spread(1e-5, 1, 50, log=True) + spread(1, 60, 40, log=True)
tables['kAtanTable'] = [(x, mp.atan(x)) for x in atan_args]

# The low-pass's single-precision tan and atan, and (1 - g1²)^(1/4).
ftan_args = [f32(x) for x in spread(1e-4, 1.55, 60, log=True) + [1.5707963, 0.785398163]]
ftan_args += [f32(x) for x in around(float(mp.pi / 4))]
tables['kTanFloatTable'] = [(x, mp.tan(x)) for x in ftan_args]
fatan_args = [f32(x) for x in spread(1e-4, 60, 60, log=True) + [1.0, 0.0625, 0.1875, 16.0]]
tables['kAtanFloatTable'] = [(x, mp.atan(x)) for x in fatan_args]
froot_args = [f32(x) for x in spread(1e-8, 1, 60, log=True) + [1.0, 0.5, 0.0625]]
tables['kFourthRootFloatTable'] = [(x, mpf(x) ** mpf(0.25)) for x in froot_args]

here = os.path.dirname(os.path.abspath(__file__))
with open(os.path.join(here, 'design_math_table.inc'), 'w') as out:
    out.write('// Written by design_math_table.py: {argument, exactly rounded value}.\n')
    for name, rows in tables.items():
        single = 'Float' in name
        out.write('const MathCase %s[] = {\n' % name)
        for x, y in rows:
            if single:
                with mp.workprec(24):
                    value = float(+y)
            else:
                value = float(y)
            out.write('  {%s, %s},\n' % (float(x).hex(), value.hex()))
        out.write('};\n')
