#!/usr/bin/env python3
"""The editor's pictures: the generator's table holds every picture at the size
and position the editor expects, the committed files have that layout, and
running the generator again reproduces them byte for byte."""

import os
import struct
import subprocess
import sys
import tempfile
import unittest

sys.dont_write_bytecode = True

ROOT = os.path.abspath(os.path.join(os.path.dirname(__file__), "..", ".."))
GENERATOR = os.path.join(ROOT, "tools", "artwork")
IMG = os.path.join(ROOT, "resources", "img")
sys.path.insert(0, GENERATOR)

import layout  # noqa: E402

# Resource id, file, frames, frame width and height, left, top.
EDITOR = [
    (101, "BG.png", 1, 1162, 274, 0, 0),
    (102, "BY.png", 2, 33, 33, 1064, 110),
    (104, "FBY.png", 2, 35, 36, 58, 109),
    (118, "LB.png", 2, 33, 33, 199, 110),
    (119, "HB.png", 2, 33, 33, 862, 110),
    (120, "LINK.png", 2, 35, 34, 994, 109),
    (103, "INPUT.png", 121, 73, 73, 907, 34),
    (105, "HF.png", 121, 71, 70, 844, 160),
    (106, "HG.png", 121, 80, 77, 770, 32),
    (107, "HMF.png", 121, 76, 73, 708, 159),
    (108, "HMFB.png", 121, 73, 72, 578, 160),
    (109, "HMG.png", 121, 79, 79, 636, 32),
    (110, "HPF.png", 121, 72, 73, 39, 159),
    (111, "LF.png", 121, 72, 72, 179, 159),
    (112, "LG.png", 121, 80, 80, 238, 31),
    (113, "LMF.png", 121, 74, 73, 443, 159),
    (114, "LMFB.png", 121, 72, 71, 312, 160),
    (115, "LMG.png", 121, 80, 80, 371, 31),
    (116, "LPF.png", 121, 72, 72, 113, 34),
    (117, "OUT.png", 121, 74, 71, 975, 160),
]


def png_header(path):
    """(width, height, bit depth, colour type, interlace) from the IHDR chunk."""
    with open(path, "rb") as f:
        head = f.read(33)
    if head[:8] != b"\x89PNG\r\n\x1a\n" or head[12:16] != b"IHDR":
        return None
    width, height, depth, colour, _, _, interlace = struct.unpack(">IIBBBBB", head[16:29])
    return width, height, depth, colour, interlace


class Artwork(unittest.TestCase):
    def test_the_table_holds_every_picture_at_its_size_and_place(self):
        table = [(p.res, p.file, p.frames, p.w, p.h, p.left, p.top) for p in layout.PICTURES]
        self.assertEqual(table, EDITOR)

    def test_each_file_is_8_bit_rgba_with_its_frames_stacked(self):
        for p in layout.PICTURES:
            with self.subTest(file=p.file):
                self.assertEqual(png_header(os.path.join(IMG, p.file)),
                                 (p.w, p.h * p.frames, 8, 6, 0))

    def test_regenerating_reproduces_the_committed_files(self):
        with tempfile.TemporaryDirectory() as out:
            subprocess.run([sys.executable, os.path.join(GENERATOR, "generate.py"), "--out", out],
                           check=True)
            self.assertEqual(sorted(os.listdir(out)), sorted(p.file for p in layout.PICTURES))
            for name in sorted(os.listdir(out)):
                with self.subTest(file=name):
                    with open(os.path.join(out, name), "rb") as fresh, \
                            open(os.path.join(IMG, name), "rb") as committed:
                        self.assertTrue(fresh.read() == committed.read(),
                                        "%s differs from a fresh run of the generator" % name)


if __name__ == "__main__":
    unittest.main()
