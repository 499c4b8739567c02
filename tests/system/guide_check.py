#!/usr/bin/python3
"""Checks the user guide's HTML page as it ships.

    guide_check.py GUIDE.html [--beside DIR] [--info INFO.txt]

- every link to an anchor finds that anchor on the page;
- every other relative link names a file in DIR (the folder the page ships in);
- every picture is inside the page as a data URI that decodes to a PNG or an
  SVG, and the page loads nothing from elsewhere;
- with --info (what `morvex-host info` prints for the shipped module): the
  guide's tables of controls name every parameter a host sees, no other, and
  give each the plug-in's own default.

Prints one line per problem and exits with 1 when there is any."""

import argparse
import base64
import binascii
import html.parser
import os
import re
import sys


class Page(html.parser.HTMLParser):
    def __init__(self):
        super().__init__(convert_charrefs=True)
        self.ids, self.links, self.pictures, self.loads = set(), [], [], []
        self.tables = []  # each a list of rows, each a list of cell texts
        self._cell = None
        self._style = False
        self.styles = []

    def handle_starttag(self, tag, attrs):
        a = dict(attrs)
        if a.get("id"):
            self.ids.add(a["id"])
        if tag == "a" and "href" in a:
            self.links.append(a["href"])
        if tag == "img":
            self.pictures.append(a.get("src", ""))
        if tag in ("script", "iframe", "embed", "object", "source", "video", "audio"):
            self.loads.append("<%s> %s" % (tag, a.get("src") or a.get("data") or ""))
        if tag == "link":
            self.loads.append("<link> %s" % a.get("href", ""))
        if tag == "style":
            self._style = True
        if tag == "table":
            self.tables.append([])
        if tag == "tr" and self.tables:
            self.tables[-1].append([])
        if tag in ("td", "th"):
            self._cell = []

    def handle_endtag(self, tag):
        if tag in ("td", "th") and self._cell is not None and self.tables and self.tables[-1]:
            self.tables[-1][-1].append(" ".join("".join(self._cell).split()))
            self._cell = None
        if tag == "style":
            self._style = False

    def handle_data(self, data):
        if self._cell is not None:
            self._cell.append(data)
        if self._style:
            self.styles.append(data)


def picture_problem(src):
    m = re.match(r"^data:(image/png|image/svg\+xml);base64,(.*)$", src, re.S)
    if not m:
        return "picture %s is not inside the page" % src[:60]
    try:
        data = base64.b64decode(m.group(2), validate=True)
    except binascii.Error:
        return "picture of type %s does not decode" % m.group(1)
    if m.group(1) == "image/png" and not data.startswith(b"\x89PNG\r\n\x1a\n"):
        return "a PNG picture that is no PNG"
    if m.group(1) == "image/svg+xml" and b"<svg" not in data[:512]:
        return "an SVG picture that is no SVG"
    return None


def page_problems(page, beside):
    problems = []
    for href in page.links:
        if href.startswith("#"):
            if href[1:] not in page.ids:
                problems.append("link to #%s, which the page does not have" % href[1:])
        elif re.match(r"^(https?|mailto):", href):
            continue
        elif beside is None or not os.path.isfile(os.path.join(beside, href)):
            problems.append("link to %s, which is not beside the page" % href)
    if not page.pictures:
        problems.append("the page shows no picture")
    for src in page.pictures:
        problem = picture_problem(src)
        if problem:
            problems.append(problem)
    for load in page.loads:
        problems.append("the page loads %s" % load)
    for css in page.styles:
        for url in re.findall(r"url\(\s*['\"]?([^'\")]*)", css):
            if not url.startswith("data:"):
                problems.append("the style loads %s" % url)
    return problems


def number(text):
    """The value a table cell gives: "20 kHz" is 20000, "0 (dark)" is 0."""
    m = re.match(r"^([+\u2212-]?\d+(?:\.\d+)?)\s*(kHz)?", text.strip())
    if not m:
        return None
    value = float(m.group(1).replace("\u2212", "-"))
    return value * 1000 if m.group(2) else value


def plugin_parameters(info):
    """title -> default text of the parameters a user sets, from `morvex-host info`."""
    params, header = {}, False
    for line in info.splitlines():
        if line.startswith("id\ttitle"):
            header = True
            continue
        fields = line.split("\t")
        if not header or len(fields) < 7:
            continue
        flags = fields[5]
        if any(word in flags for word in ("hidden", "program-change", "bypass")):
            continue
        params[fields[1]] = fields[6]
    return params


def controls_problems(page, info):
    params = plugin_parameters(info)
    if not params:
        return ["the module lists no parameters"]
    tables = [rows for rows in page.tables
              if rows and "Name in your host" in rows[0] and "Default" in rows[0]]
    if not tables:
        return ["the guide has no table of controls with their defaults"]
    problems, seen = [], set()
    for table in tables:
        name_col, default_col = table[0].index("Name in your host"), table[0].index("Default")
        for row in table[1:]:
            name = row[name_col].strip('"\u201c\u201d ')
            seen.add(name)
            if name not in params:
                problems.append("the guide lists \"%s\", which the plug-in does not have" % name)
                continue
            given, actual = number(row[default_col]), float(params[name])
            if given is None or abs(given - actual) > 0.005 * max(1.0, abs(actual)):
                problems.append("the guide gives \"%s\" the default %s, the plug-in %s"
                                % (name, row[default_col], params[name]))
    for name in sorted(set(params) - seen):
        problems.append("the guide's tables of controls miss \"%s\"" % name)
    return problems


def main(argv):
    p = argparse.ArgumentParser(description=__doc__.split("\n")[0])
    p.add_argument("guide")
    p.add_argument("--beside")
    p.add_argument("--info")
    a = p.parse_args(argv)
    page = Page()
    with open(a.guide, encoding="utf-8") as f:
        page.feed(f.read())
    problems = page_problems(page, a.beside)
    if a.info:
        with open(a.info, encoding="utf-8") as f:
            problems += controls_problems(page, f.read())
    for problem in problems:
        print("%s: %s" % (os.path.basename(a.guide), problem))
    if not problems:
        print("%s: %d links, %d anchors and %d pictures, all inside the page or beside it"
              % (os.path.basename(a.guide), len(page.links), len(page.ids), len(page.pictures)))
    return 1 if problems else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
