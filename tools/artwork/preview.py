#!/usr/bin/env python3
"""Composites the generated pictures the way the editor does, for looking at.

    preview.py [--img DIR] [--value V] [--switches 0|1|alt] [--zoom Z] OUT.png
    preview.py [--img DIR] --sheet OUT.png

Every knob shows value V (its frame is round(V * 120)); switches show off,
on, or alternate. Without --value the knobs show a spread of values. --sheet
stacks three editors: everything at minimum and off, everything centred and
on, and a spread of values with switches alternating."""

import argparse
import os
import sys

sys.dont_write_bytecode = True  # leave no __pycache__ in the source tree

import cairo  # noqa: E402

import layout  # noqa: E402

HERE = os.path.dirname(os.path.abspath(__file__))
SPREAD = [0.0, 0.5, 1.0, 0.3, 0.75, 0.62, 0.12]
SHEET = [([0.0], "0"), ([0.5], "1"), (SPREAD, "alt")]


def frame_of(picture, value):
    return int(round(value * (picture.frames - 1)))


def draw_editor(ctx, img, values, switches):
    for n, picture in enumerate(layout.PICTURES):
        strip = cairo.ImageSurface.create_from_png(os.path.join(img, picture.file))
        if picture.kind == "knob":
            frame = frame_of(picture, values[n % len(values)])
        elif picture.kind == "switch":
            frame = n % 2 if switches == "alt" else int(switches)
        else:
            frame = 0
        ctx.save()
        ctx.rectangle(picture.left, picture.top, picture.w, picture.h)
        ctx.clip()
        ctx.set_source_surface(strip, picture.left, picture.top - frame * picture.h)
        ctx.get_source().set_filter(cairo.FILTER_NEAREST)
        ctx.paint()
        ctx.restore()


def composite(img, states, zoom):
    """One editor per (values, switches) state, stacked top to bottom."""
    surface = cairo.ImageSurface(cairo.FORMAT_ARGB32, int(layout.EDITOR_W * zoom),
                                 int(layout.EDITOR_H * zoom * len(states)))
    ctx = cairo.Context(surface)
    ctx.scale(zoom, zoom)
    for values, switches in states:
        draw_editor(ctx, img, values, switches)
        ctx.translate(0, layout.EDITOR_H)
    return surface


def main(argv):
    parser = argparse.ArgumentParser(description=__doc__)
    parser.add_argument("out")
    parser.add_argument("--img", default=os.path.join(HERE, "..", "..", "resources", "img"))
    parser.add_argument("--value", type=float)
    parser.add_argument("--switches", default="alt", choices=("0", "1", "alt"))
    parser.add_argument("--zoom", type=float, default=1.0)
    parser.add_argument("--sheet", action="store_true")
    args = parser.parse_args(argv)
    if args.sheet:
        states = SHEET
    else:
        states = [([args.value] if args.value is not None else SPREAD, args.switches)]
    composite(args.img, states, args.zoom).write_to_png(args.out)
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
