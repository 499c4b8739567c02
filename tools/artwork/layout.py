"""The editor's pictures: resource id, file, frames, frame size and where each
control sits on the 1162 x 274 background. Everything else in the generator
reads the layout from here."""

from collections import namedtuple

EDITOR_W, EDITOR_H = 1162, 274
KNOB_FRAMES = 121

# Every picture is drawn for ordinary screens and for screens of twice the
# density; a 2x picture lies in the 2x folder under its 1x file name and
# takes its 1x resource number plus HIGH_DENSITY_OFFSET.
SCALES = (1, 2)
HIGH_DENSITY_OFFSET = 100

# param: the title of the parameter the control shows, as hosts see it.
Picture = namedtuple("Picture", "res file frames w h left top kind style param")


def _switch(res, file, w, h, left, top, lamp, param):
    return Picture(res, file, 2, w, h, left, top, "switch", lamp, param)


def _knob(res, file, w, h, left, top, cap, param):
    return Picture(res, file, KNOB_FRAMES, w, h, left, top, "knob", cap, param)


# Knob caps: "gain" red, "freq" grey, "bw" small ivory, "filter" blue,
# "level" aluminium. Switch lamps name the colour they light up in.
PICTURES = [
    Picture(101, "BG.png", 1, EDITOR_W, EDITOR_H, 0, 0, "background", None, None),
    _switch(102, "BY.png", 33, 33, 1064, 110, "red", "EQ Bypass"),
    _switch(104, "FBY.png", 35, 36, 58, 109, "amber", "Filter Bypass"),
    _switch(118, "LB.png", 33, 33, 199, 110, "white", "Low Bell"),
    _switch(119, "HB.png", 33, 33, 862, 110, "white", "High Bell"),
    _switch(120, "LINK.png", 35, 34, 994, 109, "green", "I/O Link"),
    _knob(103, "INPUT.png", 73, 73, 907, 34, "level", "Input"),
    _knob(105, "HF.png", 71, 70, 844, 160, "freq", "High Frequency"),
    _knob(106, "HG.png", 80, 77, 770, 32, "gain", "High Gain"),
    _knob(107, "HMF.png", 76, 73, 708, 159, "freq", "High Mid Frequency"),
    _knob(108, "HMFB.png", 73, 72, 578, 160, "bw", "High Mid Bandwidth"),
    _knob(109, "HMG.png", 79, 79, 636, 32, "gain", "High Mid Gain"),
    _knob(110, "HPF.png", 72, 73, 39, 159, "filter", "Highpass Filter"),
    _knob(111, "LF.png", 72, 72, 179, 159, "freq", "Low Frequency"),
    _knob(112, "LG.png", 80, 80, 238, 31, "gain", "Low Gain"),
    _knob(113, "LMF.png", 74, 73, 443, 159, "freq", "Low Mid Frequency"),
    _knob(114, "LMFB.png", 72, 71, 312, 160, "bw", "Low Mid Bandwidth"),
    _knob(115, "LMG.png", 80, 80, 371, 31, "gain", "Low Mid Gain"),
    _knob(116, "LPF.png", 72, 72, 113, 34, "filter", "Lowpass Filter"),
    _knob(117, "OUT.png", 74, 71, 975, 160, "level", "Output"),
]


def path(file, scale):
    """Where a picture lies under resources/img."""
    return file if scale == 1 else "%dx/%s" % (scale, file)


def by_file(name):
    return next(p for p in PICTURES if p.file == name)


def centre(p):
    """A control's centre on the background, where its knob turns."""
    return p.left + p.w / 2.0, p.top + p.h / 2.0
