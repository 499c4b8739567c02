"""The name plate as a readout: the plate without its lettering, a strip of
the plate's letters for the editor to set a control's name and value with,
and the header that tells the editor where each letter sits in the strip.

The strip has one frame per line of the readout, each a row of equal cells in
CHARSET order. A glyph's pen origin is PAD pixels into its cell, on the
frame's BASELINE row. Advances are whole pixels, so the editor places every
glyph on the pixel grid, the same at 1x as at 2x."""

import math
from collections import namedtuple

import cairo

import layout
import panel
import pixels
import style

CHARSET = " +-.%0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZdkz"
PLATE_FILE, PLATE_RES = "PLATE.png", 121
GLYPHS_FILE, GLYPHS_RES = "GLYPHS.png", 122
HEADER = "engine/ReadoutGlyphs.h"

# A line of the readout: its letters' size, the space after each letter and
# where its baseline sits below the plate's top. The name reads like the
# plate's small line, the value like its large one.
Line = namedtuple("Line", "name size tracking baseline")
LINES = (Line("name", 7.5, 2, 21), Line("value", 18.0, 2, 45))

Metrics = namedtuple("Metrics", "cell_w frame_h pad baseline advances")


# Cairo leaves out of a path the glyphs that fall far off its surface, so
# glyphs are measured around the middle of a surface larger than any.
_SCRATCH = 64


def _scratch():
    return cairo.Context(pixels.new_surface(2 * _SCRATCH, 2 * _SCRATCH))


def _ink(ctx, ch):
    """The outline's extents of one glyph, from its pen origin."""
    ctx.new_path()
    ctx.move_to(_SCRATCH, _SCRATCH)
    ctx.text_path(ch)
    x0, y0, x1, y1 = ctx.path_extents()
    ctx.new_path()
    return x0 - _SCRATCH, y0 - _SCRATCH, x1 - _SCRATCH, y1 - _SCRATCH


def metrics():
    """Cell size, pen origin and per-line advances, in 1x pixels. Every cell
    keeps an empty pixel on each side, light edge included, so no letter
    reaches into the next cell."""
    ctx = _scratch()
    reach = panel.PLATE_LIGHT_OFFSET
    left = top = right = bottom = 0.0
    advances = []
    for line in LINES:
        style.set_font(ctx, line.size, True)
        for ch in CHARSET.replace(" ", ""):
            x0, y0, x1, y1 = _ink(ctx, ch)
            left, top = min(left, x0), min(top, y0)
            right, bottom = max(right, x1 + reach), max(bottom, y1 + reach)
        advances.append([math.floor(ctx.text_extents(ch).x_advance + line.tracking + 0.5)
                         for ch in CHARSET])
    pad = math.ceil(1 - left)
    baseline = math.ceil(1 - top)
    return Metrics(math.ceil(pad + right) + 1, math.ceil(baseline + bottom) + 1, pad, baseline,
                   advances)


def pen_positions(text, n, m=None):
    """Where each glyph of a centred line's text starts, in pixels from the
    plate's left; the last glyph's tracking is left out of the centring."""
    m = m or metrics()
    advances = [m.advances[n][CHARSET.index(ch)] for ch in text]
    width = sum(advances) - LINES[n].tracking
    pen = (plate_size()[0] - width) // 2
    positions = []
    for advance in advances:
        positions.append(pen)
        pen += advance
    return positions


def plate(scale=1):
    """RGBA bytes of the background's plate box, drawn without the plate's
    lettering."""
    left, top, right, bottom = panel.PLATE
    w = (right - left) * scale
    rows = panel.picture(scale, named=False)
    stride = layout.EDITOR_W * scale * 4
    x0 = left * scale * 4
    return b"".join(rows[y * stride + x0:y * stride + x0 + w * 4]
                    for y in range(top * scale, bottom * scale))


def plate_size():
    left, top, right, bottom = panel.PLATE
    return right - left, bottom - top


def glyphs(scale=1):
    """(width, height, RGBA bytes) of the glyph strip: one frame per line,
    each glyph in the plate's lettering on a clear ground."""
    m = metrics()
    w, h = m.cell_w * len(CHARSET), m.frame_h * len(LINES)
    surface, ctx = pixels.canvas(w, h, scale)
    for n, line in enumerate(LINES):
        for i, ch in enumerate(CHARSET):
            if ch != " ":
                panel.plate_lettering(ctx, ch, i * m.cell_w + m.pad, n * m.frame_h + m.baseline,
                                      line.size, align=0.0)
    return w * scale, h * scale, pixels.unpremultiplied(surface)


def _ints(values):
    return ", ".join("%d" % v for v in values)


def header():
    """engine/ReadoutGlyphs.h, the strip's layout for the editor."""
    m = metrics()
    left, top, right, bottom = panel.PLATE
    text = [
        "// Made by tools/artwork/generate.py; do not edit.",
        "// Where each letter of the readout's strip (GLYPHS.png, resource %d; its 2x"
        % GLYPHS_RES,
        "// picture %d) sits, and how the readout lines are set on the name plate" % (
            GLYPHS_RES + layout.HIGH_DENSITY_OFFSET),
        "// (PLATE.png, resource %d). All sizes are 1x pixels; at 2x every one doubles."
        % PLATE_RES,
        "#pragma once",
        "",
        "namespace ReadoutGlyphs",
        "{",
        "// The strip's characters, one cell each, in this order.",
        "constexpr char kCharset[] = \"%s\";" % CHARSET,
        "constexpr int kNumGlyphs = %d;" % len(CHARSET),
        "",
        "// Every cell of the strip; a frame is one row of cells.",
        "constexpr int kCellWidth = %d;" % m.cell_w,
        "constexpr int kFrameHeight = %d;" % m.frame_h,
        "// A glyph's pen origin inside its cell: kPad from the cell's left, on row",
        "// kBaseline from its top.",
        "constexpr int kPad = %d;" % m.pad,
        "constexpr int kBaseline = %d;" % m.baseline,
        "",
        "// The plate the lines are set on, in the editor.",
        "constexpr int kPlateLeft = %d;" % left,
        "constexpr int kPlateTop = %d;" % top,
        "constexpr int kPlateWidth = %d;" % (right - left),
        "constexpr int kPlateHeight = %d;" % (bottom - top),
        "",
        "// The strip's frames: the control's name, and its value in larger letters.",
    ]
    for n, line in enumerate(LINES):
        text.append("constexpr int k%sLine = %d;" % (line.name.capitalize(), n))
    text += [
        "constexpr int kNumLines = %d;" % len(LINES),
        "",
        "// Per line: where its baseline sits below the plate's top, the space each",
        "// advance includes after its glyph (a centred line leaves out the last",
        "// one), and the pen's advance for every glyph of kCharset.",
        "constexpr int kLineBaseline[kNumLines] = {%s};" % _ints(l.baseline for l in LINES),
        "constexpr int kTracking[kNumLines] = {%s};" % _ints(l.tracking for l in LINES),
        "constexpr int kAdvance[kNumLines][kNumGlyphs] = {",
    ]
    per_row = 16
    for advances in m.advances:
        rows = [_ints(advances[i:i + per_row]) for i in range(0, len(advances), per_row)]
        text.append("  {" + ",\n   ".join(rows) + "},")
    text += ["};", "}  // namespace ReadoutGlyphs", ""]
    return "\n".join(text).encode("ascii")
