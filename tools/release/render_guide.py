#!/usr/bin/python3
"""Renders the user guide from Markdown to one self-contained HTML page.

    render_guide.py --input guide.md --css guide.css --pictures DIR [--pictures DIR]...
                    [--plots plots.txt] [--allow-link FILE]... [--version X.Y.Z] --output OUT.html

Every picture becomes a data URI, so the page travels as one file. A picture
standing alone in its paragraph becomes a figure whose caption is its alt
text; a measured plot's caption also says with which settings it was
measured, from the same list the build measured it with. The page is refused
(exit status 1, nothing written) when a picture is missing or remote, when a
link points at an anchor the page does not have, or when a relative link names
a file that is not allowed beside the page."""

import argparse
import base64
import html
import os
import re
import sys

sys.dont_write_bytecode = True  # leave no __pycache__ in the source tree

import markdown  # noqa: E402  Debian's python3-markdown

MEDIA_TYPES = {".png": "image/png", ".svg": "image/svg+xml"}
IMG = re.compile(r"<img\b[^>]*>")
ATTR = re.compile(r'\b([a-z]+)="([^"]*)"')
LONE_IMG = re.compile(r"<p>\s*(<img\b[^>]*>)\s*</p>")
HREF = re.compile(r'<a\b[^>]*\bhref="([^"]*)"')
ID = re.compile(r'\bid="([^"]*)"')


class GuideError(Exception):
    pass


def read_plots(path):
    """name -> list of "Name=value" settings, from lines "name|Name=value|..."."""
    plots = {}
    if not path:
        return plots
    with open(path, encoding="utf-8") as f:
        for line in f:
            line = line.strip()
            if not line or line.startswith("#"):
                continue
            name, *settings = line.split("|")
            plots[name] = settings
    return plots


def settings_text(settings):
    parts = []
    for s in settings:
        name, value = s.split("=", 1)
        parts.append("%s at %s" % (name.strip(), value.strip()))
    return ", ".join(parts)


def find_picture(src, dirs):
    if re.match(r"^[a-z][a-z0-9+.-]*:", src) or src.startswith("//"):
        raise GuideError("picture %s is not a local file; the page must carry every picture" % src)
    for d in dirs:
        path = os.path.join(d, src)
        if os.path.isfile(path):
            return path
    raise GuideError("picture %s is in none of %s" % (src, ", ".join(dirs)))


def data_uri(path):
    kind = MEDIA_TYPES.get(os.path.splitext(path)[1].lower())
    if not kind:
        raise GuideError("picture %s is neither PNG nor SVG" % path)
    with open(path, "rb") as f:
        return "data:%s;base64,%s" % (kind, base64.b64encode(f.read()).decode("ascii"))


def figure(match, plots):
    tag = match.group(1)
    attrs = dict(ATTR.findall(tag))
    caption = html.unescape(attrs.get("alt", ""))
    name = os.path.splitext(os.path.basename(attrs.get("src", "")))[0]
    if attrs.get("src", "").startswith("plots/"):
        if name not in plots:
            raise GuideError("plot %s is not in the list of measured plots" % name)
        caption += (" Measured through the plug-in at 48 kHz with %s; every other control"
                    " at its default." % settings_text(plots[name]))
    return "<figure>%s<figcaption>%s</figcaption></figure>" % (tag, html.escape(caption, quote=False))


def embed(match, dirs):
    tag = match.group(0)
    src = dict(ATTR.findall(tag)).get("src")
    if not src:
        raise GuideError("a picture without a source: %s" % tag)
    uri = data_uri(find_picture(html.unescape(src), dirs))
    return tag.replace('src="%s"' % src, 'src="%s"' % uri, 1)


def check_links(body, allowed_files):
    ids = set(ID.findall(body))
    for href in HREF.findall(body):
        href = html.unescape(href)
        if href.startswith("#"):
            if href[1:] not in ids:
                raise GuideError("link to #%s, which the page does not have" % href[1:])
        elif re.match(r"^(https?|mailto):", href):
            continue
        elif href not in allowed_files:
            raise GuideError("link to %s, which is not beside the page" % href)


def render(text, css, dirs, plots, allowed_files, version):
    text = text.replace("@VERSION@", version)
    md = markdown.Markdown(extensions=["tables", "toc", "attr_list", "sane_lists"],
                           extension_configs={"toc": {"toc_depth": "2-3", "title": "Contents"}})
    body = md.convert(text)
    title = re.search(r"<h1[^>]*>(.*?)</h1>", body)
    title = re.sub(r"<[^>]+>", "", title.group(1)) if title else "User Guide"
    body = LONE_IMG.sub(lambda m: figure(m, plots), body)
    check_links(body, allowed_files)
    body = IMG.sub(lambda m: embed(m, dirs), body)
    return ("<!DOCTYPE html>\n<html lang=\"en\">\n<head>\n<meta charset=\"utf-8\">\n"
            "<meta name=\"viewport\" content=\"width=device-width, initial-scale=1\">\n"
            "<title>%s</title>\n<style>\n%s</style>\n</head>\n<body>\n<main>\n%s\n</main>\n"
            "</body>\n</html>\n" % (title, css, body))


def main(argv):
    p = argparse.ArgumentParser(description=__doc__.split("\n")[0])
    p.add_argument("--input", required=True)
    p.add_argument("--css", required=True)
    p.add_argument("--pictures", action="append", default=[])
    p.add_argument("--plots")
    p.add_argument("--allow-link", action="append", default=[])
    p.add_argument("--version", default="")
    p.add_argument("--output", required=True)
    a = p.parse_args(argv)
    with open(a.input, encoding="utf-8") as f:
        text = f.read()
    with open(a.css, encoding="utf-8") as f:
        css = f.read()
    try:
        page = render(text, css, a.pictures, read_plots(a.plots), set(a.allow_link), a.version)
    except GuideError as e:
        print("render_guide: %s: %s" % (a.input, e), file=sys.stderr)
        return 1
    tmp = a.output + ".tmp"
    with open(tmp, "w", encoding="utf-8") as f:
        f.write(page)
    os.replace(tmp, a.output)
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
