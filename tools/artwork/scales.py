"""What the panel prints around each knob: its parameter's range, how the knob's
travel maps onto it, and the numbers at the ends of the scale."""

from collections import namedtuple

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
