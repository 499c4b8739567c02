#!/usr/bin/env python3
"""Composites the generated pictures the way the editor does, for looking at.

    preview.py [--img DIR] [--scale 1|2] [--value V] [--switches 0|1|alt] [--zoom Z]
               [--readout NAME VALUE] OUT.png
    preview.py [--img DIR] [--scale 1|2] --sheet OUT.png

Every knob shows value V (its frame is round(V * 120)); switches show off,
on, or alternate. Without --value the knobs show a spread of values. --sheet
stacks three editors: everything at minimum and off, everything centred and
on, and a spread of values with switches alternating. --scale 2 composes the
2x pictures at twice the size. --readout sets the two lines on the blank name
plate from the glyph strip, as the readout does."""

import argparse
import os
import sys

sys.dont_write_bytecode = True  # leave no __pycache__ in the source tree

import cairo  # noqa: E402

import layout  # noqa: E402
import readout  # noqa: E402

HERE = os.path.dirname(os.path.abspath(__file__))
SPREAD = [0.0, 0.5, 1.0, 0.3, 0.75, 0.62, 0.12]
SHEET = [([0.0], "0"), ([0.5], "1"), (SPREAD, "alt")]


def frame_of(picture, value):
    return int(round(value * (picture.frames - 1)))


def _blit(ctx, img, scale, file, x, y, sx=0, sy=0, w=None, h=None):
    """Part of a picture of the set at `scale` at (x, y) in editor pixels."""
    strip = cairo.ImageSurface.create_from_png(os.path.join(img, layout.path(file, scale)))
    w = strip.get_width() / scale if w is None else w
    h = strip.get_height() / scale if h is None else h
    ctx.save()
    ctx.rectangle(x, y, w, h)
    ctx.clip()
    ctx.translate(x - sx, y - sy)
    ctx.scale(1.0 / scale, 1.0 / scale)
    ctx.set_source_surface(strip, 0, 0)
    ctx.get_source().set_filter(cairo.FILTER_NEAREST)
    ctx.paint()
    ctx.restore()


def draw_readout(ctx, img, scale, lines):
    """The blank plate with each line set from the glyph strip's cells."""
    left, top = readout.panel.PLATE[:2]
    _blit(ctx, img, scale, readout.PLATE_FILE, left, top)
    m = readout.metrics()
    for n, text in enumerate(lines):
        baseline = top + readout.LINES[n].baseline
        for ch, pen in zip(text, readout.pen_positions(text, n, m)):
            cell = readout.CHARSET.index(ch)
            _blit(ctx, img, scale, readout.GLYPHS_FILE, left + pen - m.pad, baseline - m.baseline,
                  cell * m.cell_w, n * m.frame_h, m.cell_w, m.frame_h)


def draw_editor(ctx, img, scale, values, switches, lines=None):
    for n, picture in enumerate(layout.PICTURES):
        if picture.kind == "knob":
            frame = frame_of(picture, values[n % len(values)])
        elif picture.kind == "switch":
            frame = n % 2 if switches == "alt" else int(switches)
        else:
            frame = 0
        _blit(ctx, img, scale, picture.file, picture.left, picture.top, 0, frame * picture.h,
              picture.w, picture.h)
        if picture.kind == "background" and lines:
            draw_readout(ctx, img, scale, lines)


def composite(img, scale, states, zoom, lines=None):
    """One editor per (values, switches) state, stacked top to bottom."""
    surface = cairo.ImageSurface(cairo.FORMAT_ARGB32, int(layout.EDITOR_W * zoom * scale),
                                 int(layout.EDITOR_H * zoom * scale * len(states)))
    ctx = cairo.Context(surface)
    ctx.scale(zoom * scale, zoom * scale)
    for values, switches in states:
        draw_editor(ctx, img, scale, values, switches, lines)
        ctx.translate(0, layout.EDITOR_H)
    return surface


def main(argv):
    parser = argparse.ArgumentParser(description=__doc__)
    parser.add_argument("out")
    parser.add_argument("--img", default=os.path.join(HERE, "..", "..", "resources", "img"))
    parser.add_argument("--value", type=float)
    parser.add_argument("--switches", default="alt", choices=("0", "1", "alt"))
    parser.add_argument("--zoom", type=float, default=1.0)
    parser.add_argument("--scale", type=int, default=1, choices=layout.SCALES)
    parser.add_argument("--readout", nargs=2, metavar=("NAME", "VALUE"))
    parser.add_argument("--sheet", action="store_true")
    args = parser.parse_args(argv)
    if args.sheet:
        states = SHEET
    else:
        states = [([args.value] if args.value is not None else SPREAD, args.switches)]
    composite(args.img, args.scale, states, args.zoom, args.readout).write_to_png(args.out)
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
