#!/usr/bin/env python3
"""The editor's pictures: the generator's table holds every picture at the size
and position the editor expects, at 1x and 2x, the resource script lists them
all, the committed files have that layout, and running the generator again
reproduces them byte for byte."""

import os
import re
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
# Folders whose every file the generator makes.
GENERATED_FOLDERS = ["resources/img", "resources/img/2x"]


def png_header(path):
    """(width, height, bit depth, colour type, interlace) from the IHDR chunk."""
    with open(path, "rb") as f:
        head = f.read(33)
    if head[:8] != b"\x89PNG\r\n\x1a\n" or head[12:16] != b"IHDR":
        return None
    width, height, depth, colour, _, _, interlace = struct.unpack(">IIBBBBB", head[16:29])
    return width, height, depth, colour, interlace


def img(file, scale):
    return os.path.join(IMG, layout.path(file, scale))


class Artwork(unittest.TestCase):
    def test_the_table_holds_every_picture_at_its_size_and_place(self):
        table = [(p.res, p.file, p.frames, p.w, p.h, p.left, p.top) for p in layout.PICTURES]
        self.assertEqual(table, EDITOR)

    def test_each_file_is_8_bit_rgba_at_its_scale_with_its_frames_stacked(self):
        for scale in layout.SCALES:
            for p in layout.PICTURES:
                with self.subTest(file=layout.path(p.file, scale)):
                    self.assertEqual(png_header(img(p.file, scale)),
                                     (p.w * scale, p.h * p.frames * scale, 8, 6, 0))

    def test_the_resource_script_lists_every_picture_at_both_scales(self):
        with open(os.path.join(ROOT, "resources", "Morvex.rc")) as f:
            listed = re.findall(r'^(\d+) PNG "([^"]+)"$', f.read(), re.M)
        expected = []
        for offset, folder in ((0, "img/"), (100, "img/2x/")):
            expected += [(str(res + offset), folder + file) for res, file, *_ in EDITOR]
        self.assertEqual(sorted(listed), sorted(expected))
        for _, path in listed:
            self.assertTrue(os.path.isfile(os.path.join(ROOT, "resources", path)), path)

    def test_regenerating_reproduces_the_committed_files(self):
        with tempfile.TemporaryDirectory() as out:
            subprocess.run([sys.executable, os.path.join(GENERATOR, "generate.py"), "--out", out],
                           check=True)
            made = sorted(os.path.relpath(os.path.join(d, f), out)
                          for d, _, files in os.walk(out) for f in files)
            committed = sorted(os.path.join(folder, f) for folder in GENERATED_FOLDERS
                               for f in os.listdir(os.path.join(ROOT, folder))
                               if os.path.isfile(os.path.join(ROOT, folder, f)))
            self.assertEqual(made, committed)
            for name in made:
                with self.subTest(file=name):
                    with open(os.path.join(out, name), "rb") as fresh, \
                            open(os.path.join(ROOT, name), "rb") as kept:
                        self.assertTrue(fresh.read() == kept.read(),
                                        "%s differs from a fresh run of the generator" % name)


if __name__ == "__main__":
    unittest.main()
