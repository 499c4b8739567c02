#!/usr/bin/env python3
"""Draws every picture of the editor into resources/img (or --out DIR)."""

import argparse
import os
import sys

sys.dont_write_bytecode = True  # leave no __pycache__ in the source tree

import knob  # noqa: E402
import layout  # noqa: E402
import panel  # noqa: E402
import pngfile  # noqa: E402
import switch  # noqa: E402

HERE = os.path.dirname(os.path.abspath(__file__))
DEFAULT_OUT = os.path.join(HERE, "..", "..", "resources", "img")

DRAW = {"background": lambda p: panel.picture(), "knob": knob.filmstrip, "switch": switch.frames}


def render(picture):
    """The picture's straight RGBA rows, every frame stacked top to bottom."""
    return DRAW[picture.kind](picture)


def main(argv):
    parser = argparse.ArgumentParser(description=__doc__)
    parser.add_argument("--out", default=DEFAULT_OUT, help="folder for the PNG files")
    args = parser.parse_args(argv)
    os.makedirs(args.out, exist_ok=True)
    for picture in layout.PICTURES:
        pngfile.write(os.path.join(args.out, picture.file), picture.w,
                      picture.h * picture.frames, render(picture))
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
