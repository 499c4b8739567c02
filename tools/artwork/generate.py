#!/usr/bin/env python3
"""Draws every picture of the editor, at 1x into resources/img and at 2x into
resources/img/2x, the readout's plate and glyph strip with the header that
lays the strip out (engine/ReadoutGlyphs.h), and the bundle's snapshots of
the editor at its defaults (resources/snapshots). --out DIR writes the same
tree under DIR instead of the project."""

import argparse
import os
import sys

sys.dont_write_bytecode = True  # leave no __pycache__ in the source tree

import compose  # noqa: E402
import knob  # noqa: E402
import layout  # noqa: E402
import panel  # noqa: E402
import pngfile  # noqa: E402
import readout  # noqa: E402
import switch  # noqa: E402

HERE = os.path.dirname(os.path.abspath(__file__))
PROJECT = os.path.normpath(os.path.join(HERE, "..", ".."))
IMG = "resources/img"

DRAW = {"background": lambda p, scale: panel.picture(scale), "knob": knob.filmstrip,
        "switch": switch.frames}


def render(picture, scale=1):
    """The picture's straight RGBA rows, every frame stacked top to bottom."""
    return DRAW[picture.kind](picture, scale)


def image_path(file, scale):
    return "%s/%s" % (IMG, layout.path(file, scale))


def outputs(scale):
    """Every file drawn at one scale: (path in the project, bytes)."""
    encode = pngfile.encode
    shown = {}
    for picture in layout.PICTURES:
        rgba = render(picture, scale)
        shown[picture.file] = compose.shown_frame(picture, scale, rgba)
        # The 2x controls' frames come out smaller filtered (see pngfile).
        yield image_path(picture.file, scale), encode(
            picture.w * scale, picture.h * picture.frames * scale, rgba,
            up_filter=scale > 1 and picture.kind != "background")
    yield ("%s/%s" % (compose.SNAPSHOT_FOLDER, compose.snapshot_file(scale)),
           encode(layout.EDITOR_W * scale, layout.EDITOR_H * scale,
                  compose.snapshot(shown, scale)))
    w, h = readout.plate_size()
    yield image_path(readout.PLATE_FILE, scale), encode(w * scale, h * scale, readout.plate(scale))
    yield image_path(readout.GLYPHS_FILE, scale), encode(*readout.glyphs(scale))


def all_outputs():
    for scale in layout.SCALES:
        yield from outputs(scale)
    yield readout.HEADER, readout.header()


def main(argv):
    parser = argparse.ArgumentParser(description=__doc__)
    parser.add_argument("--out", default=PROJECT, help="folder standing for the project")
    args = parser.parse_args(argv)
    for path, data in all_outputs():
        target = os.path.join(args.out, path)
        os.makedirs(os.path.dirname(target), exist_ok=True)
        with open(target, "wb") as f:
            f.write(data)
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
