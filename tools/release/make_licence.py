#!/usr/bin/python3
"""Writes the LICENSE.txt that ships beside the plug-in.

    make_licence.py --terms terms.txt --png-header png.h --zlib-header zlib.h --output LICENSE.txt

The product's terms come first, then the licence texts of the libpng and
zlib the module was built with, taken from the very headers it was compiled
against, then the VST trademark line. A header without its licence text is
an error (exit status 1, nothing written)."""

import argparse
import os
import re
import sys

TRADEMARK = ("VST is a trademark of Steinberg Media Technologies GmbH, registered in Europe and"
             " other countries.")
PNG_START = "COPYRIGHT NOTICE, DISCLAIMER, and LICENSE"
PNG_END = "END OF COPYRIGHT NOTICE, DISCLAIMER, and LICENSE."


class LicenceError(Exception):
    pass


def comment_lines(text):
    """The lines of a C comment block with their leading " * " taken off."""
    return [re.sub(r"^ ?\* ?", "", line).rstrip() for line in text.splitlines()]


def png_licence(header):
    version = re.search(r"libpng version (\S+)", header)
    start, end = header.find(PNG_START), header.find(PNG_END)
    if not version or start < 0 or end < start:
        raise LicenceError("no libpng licence text found")
    lines = comment_lines(header[start:end + len(PNG_END)])
    return "libpng %s\n\n%s" % (version.group(1), "\n".join(lines).strip())


def zlib_licence(header):
    m = re.search(r"version (\S+), ([^\n]+)\n\s*\n(\s*Copyright \(C\).*?madler@[^\s]+)", header, re.S)
    if not m:
        raise LicenceError("no zlib licence text found")
    lines = [line.strip() if i == 0 else line.rstrip() for i, line in enumerate(m.group(3).splitlines())]
    # Take off the comment's common two-space indent, keep the rest.
    lines = [re.sub(r"^  ", "", line) for line in lines]
    return "zlib %s (%s)\n\n%s" % (m.group(1), m.group(2).strip(), "\n".join(lines).strip())


def section(title, text):
    rule = "=" * len(title)
    return "%s\n%s\n\n%s\n" % (title, rule, text.strip())


def licence(terms, png_header, zlib_header):
    return "\n\n".join([
        terms.strip() + "\n",
        section("Third-party software", "Morvex contains the following software, under the"
                " licences that follow.\n\n- libpng, which reads the editor's pictures;\n"
                "- zlib, which libpng uses."),
        section("libpng licence", png_licence(png_header)),
        section("zlib licence", zlib_licence(zlib_header)),
        section("Trademarks", TRADEMARK),
    ])


def read(path):
    with open(path, encoding="utf-8", errors="replace") as f:
        return f.read()


def main(argv):
    p = argparse.ArgumentParser(description=__doc__.split("\n")[0])
    for name in ("--terms", "--png-header", "--zlib-header", "--output"):
        p.add_argument(name, required=True)
    a = p.parse_args(argv)
    try:
        text = licence(read(a.terms), read(a.png_header), read(a.zlib_header))
    except LicenceError as e:
        print("make_licence: %s" % e, file=sys.stderr)
        return 1
    tmp = a.output + ".tmp"
    with open(tmp, "w", encoding="utf-8") as f:
        f.write(text)
    os.replace(tmp, a.output)
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
