#!/usr/bin/python3
"""The guide renderer, the licence writer and the shipped-guide check refuse
what a user must not get, and keep what they must."""

import os
import subprocess
import sys
import tempfile
import unittest

sys.dont_write_bytecode = True
ROOT = os.path.abspath(os.path.join(os.path.dirname(__file__), "..", ".."))
RENDER = os.path.join(ROOT, "tools", "release", "render_guide.py")
LICENCE = os.path.join(ROOT, "tools", "release", "make_licence.py")
CHECK = os.path.join(ROOT, "tests", "system", "guide_check.py")
sys.path.insert(0, os.path.join(ROOT, "tests", "system"))
import module_needs  # noqa: E402
PNG = (b"\x89PNG\r\n\x1a\n\x00\x00\x00\rIHDR\x00\x00\x00\x01\x00\x00\x00\x01\x08\x02\x00\x00\x00"
       b"\x90wS\xde\x00\x00\x00\x0cIDATx\x9cc\xf8\xff\xff?\x00\x05\xfe\x02\xfe\xa7\x35\x81\x84"
       b"\x00\x00\x00\x00IEND\xaeB`\x82")
SVG = b'<svg xmlns="http://www.w3.org/2000/svg" width="4" height="4"></svg>'
GOOD = """# Guide @VERSION@

[TOC]

## First {#first}

See [the second part](#second) and [the licence](LICENSE.txt).

![A picture.](pic.png)

## Second {#second}

![A diagram.](diagram.svg)

![A measured curve.](plots/curve.png)
"""
INFO = ("parameters: 3\nid\ttitle\tunits\tdefault\tsteps\tflags\tdefault text\n"
        "1651532147 'bpas'\tBypass\t\t0.000000\t1\t0x10009 automate|list|bypass\t\n"
        "0\tInput\t%\t0.500000\t0\t0x1 automate\t0.00\n"
        "12\tLowpass Filter\t%\t1.000000\t0\t0x1 automate\t20000.00\n"
        "14\tReserved\t\t0.000000\t1\t0x12 read-only|hidden\t0\n")
CONTROLS = """<table><tr><th>On the panel</th><th>Name in your host</th><th>Default</th></tr>
<tr><td>INPUT</td><td>"Input"</td><td>{input}</td></tr>{more}</table>"""


def run(*args):
    return subprocess.run([sys.executable] + list(args), capture_output=True, text=True)


class Folder:
    def __init__(self):
        self.tmp = tempfile.TemporaryDirectory()
        self.path = self.tmp.name
        os.makedirs(os.path.join(self.path, "plots"))
        for name, data in (("pic.png", PNG), ("diagram.svg", SVG), ("plots/curve.png", PNG)):
            with open(os.path.join(self.path, name), "wb") as f:
                f.write(data)
        self.write("style.css", "body { color: black; }\n")
        self.write("plots.txt", "# name|settings\ncurve|Low Gain=12|Low Bell=1\n")

    def write(self, name, text):
        path = os.path.join(self.path, name)
        with open(path, "w", encoding="utf-8") as f:
            f.write(text)
        return path

    def render(self, text):
        out = os.path.join(self.path, "guide.html")
        if os.path.exists(out):
            os.remove(out)
        result = run(RENDER, "--input", self.write("guide.md", text), "--css",
                     os.path.join(self.path, "style.css"), "--pictures", self.path,
                     "--plots", os.path.join(self.path, "plots.txt"), "--allow-link", "LICENSE.txt",
                     "--version", "9.8.7", "--output", out)
        page = None
        if os.path.exists(out):
            with open(out, encoding="utf-8") as f:
                page = f.read()
        return result, page


class RenderGuide(unittest.TestCase):
    def setUp(self):
        self.folder = Folder()
        self.addCleanup(self.folder.tmp.cleanup)

    def test_a_good_guide_becomes_one_page_with_its_pictures_inside(self):
        result, page = self.folder.render(GOOD)
        self.assertEqual(result.returncode, 0, result.stderr)
        self.assertIn("<title>Guide 9.8.7</title>", page)
        self.assertEqual(page.count('src="data:image/png;base64,'), 2)
        self.assertEqual(page.count('src="data:image/svg+xml;base64,'), 1)
        self.assertNotIn('src="pic.png"', page)
        self.assertIn("<figcaption>A picture.</figcaption>", page)
        self.assertIn("Measured through the plug-in at 48 kHz with Low Gain at 12, Low Bell at 1;",
                      page)
        self.assertIn('href="#second"', page)
        self.assertIn("body { color: black; }", page)

    def test_a_guide_with_a_fault_is_refused_and_nothing_is_written(self):
        faults = [
            ("a missing picture", GOOD.replace("pic.png", "gone.png"), "gone.png"),
            ("a remote picture", GOOD.replace("pic.png", "https://example.org/pic.png"), "not a local"),
            ("a broken anchor", GOOD.replace("(#second)", "(#third)"), "#third"),
            ("a link to a file not beside it", GOOD.replace("LICENSE.txt", "README.md"), "README.md"),
            ("a plot nobody measured", GOOD.replace("plots/curve.png", "plots/pic.png"), "plot pic"),
        ]
        for what, text, message in faults:
            with self.subTest(what):
                result, page = self.folder.render(text)
                self.assertEqual(result.returncode, 1)
                self.assertIn(message, result.stderr)
                self.assertIsNone(page)


class MakeLicence(unittest.TestCase):
    def test_terms_come_first_then_libpng_zlib_and_the_trademark(self):
        with tempfile.TemporaryDirectory() as d:
            terms = os.path.join(d, "terms.txt")
            with open(terms, "w") as f:
                f.write("Product terms\n=============\n\nUse it well.\n")
            out = os.path.join(d, "LICENSE.txt")
            result = run(LICENCE, "--terms", terms, "--png-header", "/usr/include/png.h",
                         "--zlib-header", "/usr/include/zlib.h", "--output", out)
            self.assertEqual(result.returncode, 0, result.stderr)
            with open(out, encoding="utf-8") as f:
                text = f.read()
            places = [text.find(s) for s in ("Product terms", "PNG Reference Library License",
                                             "END OF COPYRIGHT NOTICE", "Jean-loup Gailly",
                                             "VST is a trademark")]
            self.assertTrue(all(p >= 0 for p in places), places)
            self.assertEqual(places, sorted(places))
            self.assertTrue(text.startswith("Product terms"))

    def test_a_header_without_its_licence_is_an_error(self):
        with tempfile.TemporaryDirectory() as d:
            empty = os.path.join(d, "empty.h")
            open(empty, "w").close()
            for png, zlib, missing in ((empty, "/usr/include/zlib.h", "libpng"),
                                       ("/usr/include/png.h", empty, "zlib")):
                with self.subTest(missing):
                    out = os.path.join(d, "LICENSE.txt")
                    result = run(LICENCE, "--terms", empty, "--png-header", png,
                                 "--zlib-header", zlib, "--output", out)
                    self.assertEqual(result.returncode, 1)
                    self.assertIn(missing, result.stderr)
                    self.assertFalse(os.path.exists(out))


class GuideCheck(unittest.TestCase):
    def setUp(self):
        self.folder = Folder()
        self.addCleanup(self.folder.tmp.cleanup)
        self.folder.write("LICENSE.txt", "terms\n")
        self.info = self.folder.write("info.txt", INFO)

    def check(self, page, info=True):
        path = self.folder.write("shipped.html", page)
        args = [CHECK, path, "--beside", self.folder.path] + (["--info", self.info] if info else [])
        return run(*args)

    def test_the_rendered_guide_passes(self):
        _, page = self.folder.render(GOOD)
        result = self.check(page, info=False)
        self.assertEqual(result.returncode, 0, result.stdout)

    def test_each_fault_of_a_shipped_page_is_named(self):
        _, good = self.folder.render(GOOD)
        faults = [
            ("a broken anchor", good.replace('href="#second"', 'href="#gone"'), "#gone"),
            ("a picture outside the page", good.replace("data:image/svg+xml;base64,", "diagram.svg?"),
             "not inside the page"),
            ("a file not beside it", good.replace('href="LICENSE.txt"', 'href="CHANGES.txt"'),
             "CHANGES.txt"),
            ("a script from elsewhere", good.replace("</main>", '<script src="x.js"></script></main>'),
             "loads <script>"),
        ]
        for what, page, message in faults:
            with self.subTest(what):
                result = self.check(page, info=False)
                self.assertEqual(result.returncode, 1)
                self.assertIn(message, result.stdout)

    def test_the_table_of_controls_must_match_the_plug_in(self):
        lowpass = '<tr><td>LPF</td><td>"Lowpass Filter"</td><td>20 kHz</td></tr>'
        cases = [
            ("right", CONTROLS.format(input="0 dB", more=lowpass), 0, ""),
            ("a wrong default", CONTROLS.format(input="6 dB", more=lowpass), 1, 'default 6 dB'),
            ("a missing control", CONTROLS.format(input="0 dB", more=""), 1, 'miss "Lowpass Filter"'),
            ("a control the plug-in lacks",
             CONTROLS.format(input="0 dB", more=lowpass + '<tr><td>X</td><td>"Drive"</td><td>0</td></tr>'),
             1, '"Drive"'),
        ]
        for what, table, status, message in cases:
            with self.subTest(what):
                _, page = self.folder.render(GOOD)
                result = self.check(page.replace("</main>", table + "</main>"))
                self.assertEqual(result.returncode, status, result.stdout)
                self.assertIn(message, result.stdout)


class ModuleNeeds(unittest.TestCase):
    LIBPNG = "/usr/lib/x86_64-linux-gnu/libpng16.so.16"

    def test_a_library_or_version_the_guide_does_not_give_is_named(self):
        guide = "the GNU C library %s or newer, the C++ library of GCC 12 or newer, libpng 1.6"
        cases = [("a library the guide does not name", guide % "2.34", "libz.so.1"),
                 ("a C library newer than the guide says", guide % "2.2", "needs GLIBC")]
        for what, text, message in cases:
            with self.subTest(what):
                problems = module_needs.linux_problems(self.LIBPNG, text, "objdump")
                self.assertTrue(any(message in p for p in problems), problems)

    def test_a_guide_without_versions_is_a_problem(self):
        self.assertEqual(module_needs.linux_problems(self.LIBPNG, "no versions here", "objdump"),
                         ["the guide names no C or C++ library version for Linux"])


if __name__ == "__main__":
    unittest.main(verbosity=2)
