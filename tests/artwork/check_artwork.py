#!/usr/bin/env python3
"""The editor's pictures: the generator's table holds every picture at the size
and position the editor expects, at 1x and 2x, the resource script lists them
all, the committed files have that layout, and running the generator again
reproduces them, the readout's header and the bundle's snapshots byte for
byte. The readout's plate is the background without its lettering, and its
glyph strip is laid out as its header says. With a built host (MORVEX_HOST,
MORVEX_BUNDLE), the snapshot is what the real editor shows at its defaults.

    check_artwork.py Artwork.test_name

exits 77 when the case was skipped."""

import os
import re
import shutil
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

import cairo  # noqa: E402

import compose  # noqa: E402
import defaults  # noqa: E402
import layout  # noqa: E402
import panel  # noqa: E402
import readout  # noqa: E402

# Resource id, file, frames, frame width and height, left, top, parameter.
EDITOR = [
    (101, "BG.png", 1, 1162, 274, 0, 0, None),
    (102, "BY.png", 2, 33, 33, 1064, 110, "EQ Bypass"),
    (104, "FBY.png", 2, 35, 36, 58, 109, "Filter Bypass"),
    (118, "LB.png", 2, 33, 33, 199, 110, "Low Bell"),
    (119, "HB.png", 2, 33, 33, 862, 110, "High Bell"),
    (120, "LINK.png", 2, 35, 34, 994, 109, "I/O Link"),
    (103, "INPUT.png", 121, 73, 73, 907, 34, "Input"),
    (105, "HF.png", 121, 71, 70, 844, 160, "High Frequency"),
    (106, "HG.png", 121, 80, 77, 770, 32, "High Gain"),
    (107, "HMF.png", 121, 76, 73, 708, 159, "High Mid Frequency"),
    (108, "HMFB.png", 121, 73, 72, 578, 160, "High Mid Bandwidth"),
    (109, "HMG.png", 121, 79, 79, 636, 32, "High Mid Gain"),
    (110, "HPF.png", 121, 72, 73, 39, 159, "Highpass Filter"),
    (111, "LF.png", 121, 72, 72, 179, 159, "Low Frequency"),
    (112, "LG.png", 121, 80, 80, 238, 31, "Low Gain"),
    (113, "LMF.png", 121, 74, 73, 443, 159, "Low Mid Frequency"),
    (114, "LMFB.png", 121, 72, 71, 312, 160, "Low Mid Bandwidth"),
    (115, "LMG.png", 121, 80, 80, 371, 31, "Low Mid Gain"),
    (116, "LPF.png", 121, 72, 72, 113, 34, "Lowpass Filter"),
    (117, "OUT.png", 121, 74, 71, 975, 160, "Output"),
]
PLATE_BOX = (472, 40, 614, 100)
READOUT_PICTURES = [(121, "PLATE.png"), (122, "GLYPHS.png")]
# Texts each readout line must hold inside the plate, and the margin kept.
NAME_TEXTS = ["HIGH MID FREQ", "HIGH MID GAIN"]
VALUE_TEXTS = ["+16.0 dB", "20.0 kHz", "-24.0 dB", "Q 1.46"]
SIDE_MARGIN = 10
# Folders whose every file the generator makes.
GENERATED_FOLDERS = ["resources/img", "resources/img/2x", "resources/snapshots"]
HEADER = "engine/ReadoutGlyphs.h"


def png_header(path):
    """(width, height, bit depth, colour type, interlace) from the IHDR chunk."""
    with open(path, "rb") as f:
        head = f.read(33)
    if head[:8] != b"\x89PNG\r\n\x1a\n" or head[12:16] != b"IHDR":
        return None
    width, height, depth, colour, _, _, interlace = struct.unpack(">IIBBBBB", head[16:29])
    return width, height, depth, colour, interlace


class Pixels:
    """A PNG decoded by cairo: width, height and 32-bit pixels (premultiplied
    ARGB, exact for opaque pixels and for alpha)."""

    def __init__(self, path):
        s = cairo.ImageSurface.create_from_png(path)
        self.w, self.h, stride = s.get_width(), s.get_height(), s.get_stride()
        data = s.get_data().cast("B")
        self.rows = [data[y * stride:y * stride + 4 * self.w].cast("I").tolist()
                     for y in range(self.h)]

    def alpha(self, x, y):
        return self.rows[y][x] >> 24


def img(file, scale):
    return os.path.join(IMG, layout.path(file, scale))


def read_header():
    """The readout header's constants and arrays, as Python values."""
    with open(os.path.join(ROOT, HEADER)) as f:
        text = f.read()
    values = {name: int(v) for name, v in re.findall(r"constexpr int (k\w+) = (-?\d+);", text)}

    def ints(body):
        return [int(v) for v in body.split(",") if v.strip()]
    for name, dims, body in re.findall(r"constexpr int (k\w+)((?:\[\w+\])+) = \{(.*?)\};",
                                       text, re.S):
        values[name] = ([ints(row) for row in re.findall(r"\{([^{}]*)\}", body)]
                        if dims.count("[") == 2 else ints(body))
    values["kCharset"] = re.search(r'constexpr char kCharset\[\] = "([^"]*)";', text).group(1)
    return values


class Artwork(unittest.TestCase):
    def test_the_table_holds_every_picture_at_its_size_and_place(self):
        table = [(p.res, p.file, p.frames, p.w, p.h, p.left, p.top, p.param)
                 for p in layout.PICTURES]
        self.assertEqual(table, EDITOR)
        self.assertEqual(panel.PLATE, PLATE_BOX)

    def test_each_file_is_8_bit_rgba_at_its_scale_with_its_frames_stacked(self):
        for scale in layout.SCALES:
            for p in layout.PICTURES:
                with self.subTest(file=layout.path(p.file, scale)):
                    self.assertEqual(png_header(img(p.file, scale)),
                                     (p.w * scale, p.h * p.frames * scale, 8, 6, 0))
            left, top, right, bottom = PLATE_BOX
            self.assertEqual(png_header(img("PLATE.png", scale)),
                             ((right - left) * scale, (bottom - top) * scale, 8, 6, 0))
        glyphs = [png_header(img("GLYPHS.png", scale)) for scale in layout.SCALES]
        self.assertEqual(glyphs[1], (glyphs[0][0] * 2, glyphs[0][1] * 2, 8, 6, 0))

    def test_the_resource_script_lists_every_picture_at_both_scales(self):
        with open(os.path.join(ROOT, "resources", "Morvex.rc")) as f:
            listed = re.findall(r'^(\d+) PNG "([^"]+)"$', f.read(), re.M)
        expected = []
        for offset, folder in ((0, "img/"), (100, "img/2x/")):
            expected += [(str(res + offset), folder + file) for res, file, *_ in EDITOR]
            expected += [(str(res + offset), folder + file) for res, file in READOUT_PICTURES]
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
            self.assertEqual(made, sorted(committed + [HEADER]))
            for name in made:
                with self.subTest(file=name):
                    with open(os.path.join(out, name), "rb") as fresh, \
                            open(os.path.join(ROOT, name), "rb") as kept:
                        self.assertTrue(fresh.read() == kept.read(),
                                        "%s differs from a fresh run of the generator" % name)

    def test_the_plate_is_the_background_without_its_lettering(self):
        left, top, right, bottom = PLATE_BOX
        for scale in layout.SCALES:
            with self.subTest(scale=scale):
                bg, plate = Pixels(img("BG.png", scale)), Pixels(img("PLATE.png", scale))
                boxes = [tuple(v * scale for v in box) for box in panel.plate_lettering_boxes()]
                stray, ink, kept = [], 0, 0
                for y in range(plate.h):
                    for x in range(plate.w):
                        was, now = bg.rows[top * scale + y][left * scale + x], plate.rows[y][x]
                        inside = any(x0 <= x < x1 and y0 <= y < y1 for x0, y0, x1, y1 in boxes)
                        if not inside and was != now:
                            stray.append((x, y))
                        # Dark lettering on the light metal must be gone.
                        if inside and (was >> 8 & 0xFF) < 60:
                            ink += 1
                            kept += was == now
                self.assertEqual(stray[:5], [], "PLATE differs from BG outside the lettering")
                self.assertGreater(ink, 150 * scale * scale)
                self.assertEqual(kept, 0, "lettering pixels left on the plate")

    def test_the_glyph_strip_is_laid_out_as_its_header_says(self):
        h = read_header()
        charset, cell, frame_h = h["kCharset"], h["kCellWidth"], h["kFrameHeight"]
        lines = h["kNumLines"]
        self.assertEqual(charset, readout.CHARSET)
        self.assertEqual(len(h["kAdvance"]), lines)
        for scale in layout.SCALES:
            strip = Pixels(img("GLYPHS.png", scale))
            self.assertEqual((strip.w, strip.h),
                             (cell * len(charset) * scale, frame_h * lines * scale))
            c, f = cell * scale, frame_h * scale
            for n in range(lines):
                for i, ch in enumerate(charset):
                    with self.subTest(scale=scale, line=n, glyph=ch):
                        alphas = [[strip.alpha(i * c + x, n * f + y) for x in range(c)]
                                  for y in range(f)]
                        edges = alphas[0] + alphas[-1] + [r[0] for r in alphas] + \
                            [r[-1] for r in alphas]
                        self.assertFalse(any(edges), "ink on the cell's edge")
                        self.assertEqual(any(map(any, alphas)), ch != " ")
                        if ch != " ":
                            # The pen origin: ink starts about PAD in, and letters without
                            # a descender stand on the baseline.
                            first = min(x for r in alphas for x, a in enumerate(r) if a)
                            self.assertLessEqual(abs(first - h["kPad"] * scale), 3 * scale)
                            if ch in "0EFHILT":
                                last = max(y for y, r in enumerate(alphas) if any(r))
                                self.assertIn(last - h["kBaseline"] * scale, range(-1, 2 * scale))

    def test_both_readout_lines_fit_the_plate(self):
        h = read_header()
        charset = h["kCharset"]
        width, height = PLATE_BOX[2] - PLATE_BOX[0], PLATE_BOX[3] - PLATE_BOX[1]
        strip = Pixels(img("GLYPHS.png", 1))
        inked = []  # per line: first and last inked row of any glyph, below the plate's top
        for n, texts in enumerate((NAME_TEXTS, VALUE_TEXTS)):
            advances, tracking = h["kAdvance"][n], h["kTracking"][n]
            for text in texts:
                with self.subTest(text=text):
                    used = sum(advances[charset.index(ch)] for ch in text) - tracking
                    self.assertLessEqual(used, width - 2 * SIDE_MARGIN)
            rows = [y for y in range(h["kFrameHeight"])
                    if any(strip.alpha(x, n * h["kFrameHeight"] + y) for x in range(strip.w))]
            shift = h["kLineBaseline"][n] - h["kBaseline"]
            inked.append((rows[0] + shift, rows[-1] + shift))
        self.assertLess(inked[0][1], inked[1][0], "the lines overlap")
        self.assertGreaterEqual(inked[0][0], 2)
        self.assertLess(inked[1][1], height - 2)
        value_height = inked[1][1] - inked[1][0]
        self.assertGreater(value_height, inked[0][1] - inked[0][0], "the value is the larger")


@unittest.skipUnless(os.environ.get("MORVEX_HOST"), "needs MORVEX_HOST and MORVEX_BUNDLE")
class Screen(unittest.TestCase):
    """Against the built plug-in, loaded by the host tool."""

    def host(self, *args, **kwargs):
        return subprocess.run([os.environ["MORVEX_HOST"], "--module", os.environ["MORVEX_BUNDLE"],
                               *args], check=True, capture_output=True, text=True, **kwargs)

    def test_the_defaults_and_class_id_are_the_plug_ins(self):
        info = self.host("info").stdout
        self.assertIn("class id: %s\n" % compose.CLASS_ID, info)
        shown = {}
        for line in info.splitlines():
            fields = line.split("\t")
            if len(fields) == 7 and fields[3] != "default":
                shown[fields[1]] = float(fields[3])
        params = defaults.parameters()
        for picture in layout.PICTURES[1:]:
            with self.subTest(param=picture.param):
                self.assertAlmostEqual(defaults.normalized(params[picture.param]),
                                       shown[picture.param], delta=5e-7)

    def test_the_bundle_carries_both_snapshots(self):
        folder = os.path.join(os.environ["MORVEX_BUNDLE"], "Contents", "Resources", "Snapshots")
        for scale in layout.SCALES:
            name = compose.snapshot_file(scale)
            with open(os.path.join(folder, name), "rb") as shipped, \
                    open(os.path.join(ROOT, compose.SNAPSHOT_FOLDER, name), "rb") as made:
                self.assertTrue(shipped.read() == made.read(), name)

    def test_the_snapshot_is_what_the_editor_shows_at_its_defaults(self):
        if not shutil.which("xvfb-run"):
            raise unittest.SkipTest("no xvfb-run for a virtual X server")
        for scale in layout.SCALES:
            with self.subTest(scale=scale), tempfile.TemporaryDirectory() as out:
                shot = os.path.join(out, "editor.png")
                subprocess.run(["xvfb-run", "-a", "-s", "-screen 0 3600x1200x24 -noreset",
                                os.environ["MORVEX_HOST"], "--module", os.environ["MORVEX_BUNDLE"],
                                "editor", "--png", shot, "--scale", str(scale)],
                               check=True, capture_output=True)
                screen = Pixels(shot)
                snapshot = Pixels(os.path.join(ROOT, compose.SNAPSHOT_FOLDER,
                                               compose.snapshot_file(scale)))
                size = (layout.EDITOR_W * scale, layout.EDITOR_H * scale)
                self.assertEqual((screen.w, screen.h), size)
                self.assertEqual((snapshot.w, snapshot.h), size)
                differing = [(x, y) for y in range(screen.h) for x in range(screen.w)
                             if screen.rows[y][x] & 0xFFFFFF != snapshot.rows[y][x] & 0xFFFFFF]
                self.assertEqual(len(differing), 0, "first differing pixels: %s" % differing[:5])
                self.assertGreater(len({p for row in screen.rows for p in row}), 256,
                                   "no editor shown")


def main(argv):
    suite = unittest.defaultTestLoader.loadTestsFromNames(argv, sys.modules[__name__])
    result = unittest.TextTestRunner(verbosity=2).run(suite)
    if not result.wasSuccessful():
        return 1
    return 77 if result.skipped and len(result.skipped) == result.testsRun else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
