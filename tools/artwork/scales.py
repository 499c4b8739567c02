"""The scale printed around each knob: its parameter's range, how the knob's
travel maps onto it, the ticks on the pointer's arc and the numbers at the
ends."""

import math
from collections import namedtuple

import knob
import layout
import style
from lettering import engrave, engraved_line
from style import polar

# Plain value = low + (high - low) * travel ** shape, travel in 0..1.
Scale = namedtuple("Scale", "low high shape marks")

TICKS = 11


def _gain(limit):
    return Scale(-limit, limit, 1, [(-limit, "-%d" % limit), (0, "0"), (limit, "+%d" % limit)])


def _ends(low, high, shape, low_text, high_text):
    return Scale(low, high, shape, [(low, low_text), (high, high_text)])


SCALES = {
    "INPUT.png": _gain(24),
    "OUT.png": _gain(24),
    "LG.png": _gain(16),
    "LMG.png": _gain(16),
    "HMG.png": _gain(16),
    "HG.png": _gain(16),
    "HPF.png": _ends(16, 350, 1, "16", "350"),
    "LPF.png": _ends(1000, 20000, 2, "1k", "20k"),
    "LF.png": _ends(30, 450, 2, "30", "450"),
    "LMF.png": _ends(200, 2500, 1, "200", "2.5k"),
    "HMF.png": _ends(600, 7000, 2, "600", "7k"),
    "HF.png": _ends(1500, 16000, 1, "1.5k", "16k"),
    "LMFB.png": Scale(0, 1, 2, []),
    "HMFB.png": Scale(0, 1, 2, []),
}


def travel(scale, plain):
    """Knob travel (0..1) that shows a plain value."""
    return ((plain - scale.low) / float(scale.high - scale.low)) ** (1.0 / scale.shape)


def draw(ctx, picture):
    """Ticks and end numbers around a knob, on the same arc its pointer sweeps."""
    cx, cy = layout.centre(picture)
    radius = knob.CAPS[picture.style].radius
    scale = SCALES[picture.file]
    numbered = {round(travel(scale, plain) * (TICKS - 1)) for plain, _ in scale.marks}
    for i in range(TICKS):
        a = knob.angle(i / (TICKS - 1.0))
        major = i in (0, TICKS - 1) or i in numbered
        inner, outer = radius + 3.5, radius + (8.0 if major else 6.0)
        engraved_line(ctx, *polar(cx, cy, a, inner), *polar(cx, cy, a, outer),
                      width=1.4 if major else 1.0, paint=0.95 if major else 0.7)
    size = 7.5
    style.set_font(ctx, size, bold=False)
    for plain, text in scale.marks:
        # The number's box touches the circle just outside the ticks, on the
        # side facing away from the knob.
        a = knob.angle(travel(scale, plain))
        x, y = polar(cx, cy, a, radius + 12.5)
        half_w = ctx.text_extents(text).x_advance / 2.0
        half_h = size * 0.36
        x += half_w * math.sin(a)
        y -= half_h * math.cos(a)
        engrave(ctx, text, x, y + half_h, size, tracking=0.2, bold=False)
