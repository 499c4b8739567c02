"""The background: a painted steel panel with screws, engraved lettering, a
name plate and the scale printed around every knob."""

import math
import random

import cairo

import knob
import layout
import pixels
import scales
import style
from style import ENGRAVING, circle, polar, shade

W, H = layout.EDITOR_W, layout.EDITOR_H
TITLE_BASELINE = 21


def _paint(ctx):
    """Paint over steel: a soft fall-off away from the light, and a faint
    fixed-seed grain so the panel does not read as flat plastic."""
    base = cairo.LinearGradient(0, 0, W * 0.35, H * 1.4)
    base.add_color_stop_rgb(0, *shade(style.PANEL, 0.06))
    base.add_color_stop_rgb(1, *shade(style.PANEL, -0.18))
    ctx.set_source(base)
    ctx.paint()

    grain = random.Random(1973)
    for _ in range(5000):
        x, y = grain.uniform(0, W), grain.uniform(0, H)
        light = grain.random() < 0.5
        ctx.set_source_rgba(*((1, 1, 1) if light else (0, 0, 0)), 0.03)
        circle(ctx, x, y, grain.uniform(0.4, 0.8))
        ctx.fill()


def _edge(ctx):
    """The panel's bevelled border: lit along the top and left."""
    ctx.set_line_width(2)
    ctx.set_source_rgba(1, 1, 1, 0.14)
    ctx.move_to(1, H - 1)
    ctx.line_to(1, 1)
    ctx.line_to(W - 1, 1)
    ctx.stroke()
    ctx.set_source_rgba(0, 0, 0, 0.55)
    ctx.move_to(W - 1, 1)
    ctx.line_to(W - 1, H - 1)
    ctx.line_to(1, H - 1)
    ctx.stroke()


def _screw(ctx, x, y, slot_angle):
    r = 5.2
    ctx.set_source_rgba(0, 0, 0, 0.5)
    circle(ctx, x + 0.8, y + 1.2, r + 0.6)
    ctx.fill()
    head = cairo.RadialGradient(x - 1.8, y - 1.8, 0.5, x, y, r)
    head.add_color_stop_rgb(0, 0.86, 0.86, 0.84)
    head.add_color_stop_rgb(0.6, 0.55, 0.56, 0.57)
    head.add_color_stop_rgb(1, 0.30, 0.31, 0.33)
    ctx.set_source(head)
    circle(ctx, x, y, r)
    ctx.fill()
    ctx.set_line_width(1.6)
    ctx.set_line_cap(cairo.LINE_CAP_BUTT)
    ctx.set_source_rgb(0.12, 0.12, 0.13)
    ctx.move_to(*polar(x, y, slot_angle, r - 0.8))
    ctx.line_to(*polar(x, y, slot_angle + math.pi, r - 0.8))
    ctx.stroke()


def engrave(ctx, text, x, y, size, align=0.5, tracking=0.8, bold=True):
    """Paint-filled engraving: the cut's upper-left wall in shade, its
    lower-right wall catching the light, white paint in the groove."""
    style.set_font(ctx, size, bold)
    for (dx, dy), colour in (((-0.6, -0.6), (0, 0, 0, 0.55)),
                             ((0.5, 0.5), (1, 1, 1, 0.10)),
                             ((0, 0), (*ENGRAVING, 1))):
        ctx.set_source_rgba(*colour)
        style.text_path(ctx, text, x + dx, y + dy, align, tracking)
        ctx.fill()


def _engraved_line(ctx, x0, y0, x1, y1):
    ctx.set_line_width(1.0)
    ctx.set_source_rgba(0, 0, 0, 0.5)
    ctx.move_to(x0 - 0.5, y0 - 0.5)
    ctx.line_to(x1 - 0.5, y1 - 0.5)
    ctx.stroke()
    ctx.set_source_rgba(*ENGRAVING, 0.85)
    ctx.move_to(x0, y0)
    ctx.line_to(x1, y1)
    ctx.stroke()


def _title(ctx, text, left, right):
    """A section title centred over its span, with rules out to either end."""
    size = 10.5
    style.set_font(ctx, size)
    middle = (left + right) / 2.0
    engrave(ctx, text, middle, TITLE_BASELINE, size, tracking=1.6)
    half = ctx.text_extents(text).x_advance / 2 + 1.6 * len(text) / 2 + 7
    y = TITLE_BASELINE - 4
    _engraved_line(ctx, left, y, middle - half, y)
    _engraved_line(ctx, middle + half, y, right, y)


def _scale(ctx, picture):
    """Ticks and end numbers around a knob, on the same arc its pointer sweeps."""
    cx, cy = layout.centre(picture)
    radius = knob.CAPS[picture.style].radius
    scale = scales.SCALES[picture.file]
    ctx.set_line_cap(cairo.LINE_CAP_ROUND)
    for i in range(scales.TICKS):
        value = i / (scales.TICKS - 1.0)
        a = knob.angle(value)
        major = i in (0, scales.TICKS - 1) or (i == scales.TICKS // 2 and len(scale.marks) == 3)
        inner, outer = radius + 3.5, radius + (8.0 if major else 6.0)
        ctx.set_line_width(1.4 if major else 1.0)
        ctx.set_source_rgba(0, 0, 0, 0.5)
        ctx.move_to(*polar(cx - 0.5, cy - 0.5, a, inner))
        ctx.line_to(*polar(cx - 0.5, cy - 0.5, a, outer))
        ctx.stroke()
        ctx.set_source_rgba(*ENGRAVING, 0.95 if major else 0.7)
        ctx.move_to(*polar(cx, cy, a, inner))
        ctx.line_to(*polar(cx, cy, a, outer))
        ctx.stroke()
    size = 7.5
    style.set_font(ctx, size, bold=False)
    for plain, text in scale.marks:
        # The number's box touches the circle just outside the ticks, on the
        # side facing away from the knob.
        a = knob.angle(scales.travel(scale, plain))
        x, y = polar(cx, cy, a, radius + 12.5)
        half_w = ctx.text_extents(text).x_advance / 2.0
        half_h = size * 0.36
        x += half_w * math.sin(a)
        y -= half_h * math.cos(a)
        engrave(ctx, text, x, y + half_h, size, tracking=0.2, bold=False)


def _name_plate(ctx, left, top, right, bottom):
    """A brushed aluminium plate with the name cut into it."""
    ctx.set_source_rgba(0, 0, 0, 0.5)
    ctx.rectangle(left + 1.5, top + 2, right - left, bottom - top)
    ctx.fill()
    metal = cairo.LinearGradient(left, top, right, bottom)
    metal.add_color_stop_rgb(0, 0.80, 0.81, 0.80)
    metal.add_color_stop_rgb(0.5, 0.66, 0.67, 0.67)
    metal.add_color_stop_rgb(1, 0.52, 0.53, 0.54)
    ctx.set_source(metal)
    ctx.rectangle(left, top, right - left, bottom - top)
    ctx.fill()
    brush = random.Random(51)
    ctx.set_line_width(0.6)
    for y in range(int(top) + 1, int(bottom)):
        ctx.set_source_rgba(1, 1, 1, brush.uniform(0.0, 0.10))
        ctx.move_to(left, y + 0.5)
        ctx.line_to(right, y + 0.5)
        ctx.stroke()
    # Bevel: light along the top and left edge.
    ctx.set_line_width(1)
    ctx.set_source_rgba(1, 1, 1, 0.6)
    ctx.move_to(left + 0.5, bottom)
    ctx.line_to(left + 0.5, top + 0.5)
    ctx.line_to(right, top + 0.5)
    ctx.stroke()
    ctx.set_source_rgba(0, 0, 0, 0.45)
    ctx.move_to(right - 0.5, top)
    ctx.line_to(right - 0.5, bottom - 0.5)
    ctx.line_to(left, bottom - 0.5)
    ctx.stroke()

    middle = (left + right) / 2.0
    for text, y, size, tracking, bold in (("MORVEX", top + 33, 23, 4.0, True),
                                          ("CONSOLE EQUALISER", top + 49, 7.5, 1.6, True)):
        style.set_font(ctx, size, bold)
        ctx.set_source_rgba(1, 1, 1, 0.5)
        style.text_path(ctx, text, middle + 0.6, y + 0.6, 0.5, tracking)
        ctx.fill()
        ctx.set_source_rgb(0.10, 0.10, 0.11)
        style.text_path(ctx, text, middle, y, 0.5, tracking)
        ctx.fill()
    for x in (left + 7, right - 7):
        _screw_small(ctx, x, (top + bottom) / 2.0)


def _screw_small(ctx, x, y):
    ctx.set_source_rgba(0, 0, 0, 0.5)
    circle(ctx, x + 0.5, y + 0.7, 2.8)
    ctx.fill()
    head = cairo.RadialGradient(x - 1, y - 1, 0.2, x, y, 2.6)
    head.add_color_stop_rgb(0, 0.9, 0.9, 0.88)
    head.add_color_stop_rgb(1, 0.35, 0.36, 0.37)
    ctx.set_source(head)
    circle(ctx, x, y, 2.6)
    ctx.fill()
    ctx.set_source_rgb(0.15, 0.15, 0.16)
    ctx.set_line_width(0.9)
    ctx.move_to(x - 1.9, y + 0.6)
    ctx.line_to(x + 1.9, y - 0.6)
    ctx.stroke()


def _label_under(ctx, file, text):
    picture = layout.by_file(file)
    cx, cy = layout.centre(picture)
    radius = knob.CAPS[picture.style].radius
    engrave(ctx, text, cx, cy + radius + 17, 9)


def _label_beside(ctx, file, text, side):
    """side -1 puts the label left of the switch, 1 right of it."""
    picture = layout.by_file(file)
    cx, cy = layout.centre(picture)
    x = cx + side * (picture.w / 2.0 + 3)
    engrave(ctx, text, x, cy + 3.5, 9, align=0.0 if side > 0 else 1.0)


def draw(ctx):
    _paint(ctx)
    _edge(ctx)
    for x, y, slot in ((13, 13, 0.3), (W - 13, 13, 1.1), (13, H - 13, 2.0), (W - 13, H - 13, 0.7)):
        _screw(ctx, x, y, slot)

    for text, left, right in (("LPF", 40, 178), ("LOW", 190, 316), ("LOW MID", 322, 512),
                              ("HIGH MID", 582, 782), ("HIGH", 788, 912), ("INPUT", 918, 1042)):
        _title(ctx, text, left, right)
    _name_plate(ctx, 472, 40, 614, 100)

    for picture in layout.PICTURES:
        if picture.kind == "knob":
            _scale(ctx, picture)

    for file, text in (("LG.png", "GAIN"), ("LMG.png", "GAIN"), ("HMG.png", "GAIN"),
                       ("HG.png", "GAIN"), ("LF.png", "FREQ"), ("LMF.png", "FREQ"),
                       ("HMF.png", "FREQ"), ("HF.png", "FREQ"), ("LMFB.png", "BW"),
                       ("HMFB.png", "BW"), ("HPF.png", "HPF"), ("OUT.png", "OUTPUT")):
        _label_under(ctx, file, text)
    _label_beside(ctx, "FBY.png", "FILTER", 1)
    _label_beside(ctx, "LB.png", "BELL", 1)
    _label_beside(ctx, "HB.png", "BELL", -1)
    _label_beside(ctx, "LINK.png", "LINK", -1)
    # The EQ switch stands alone at the right; the maker's name sits under it.
    by = layout.by_file("BY.png")
    column = layout.centre(by)[0]
    engrave(ctx, "EQ", column, by.top - 6, 9)
    engrave(ctx, "PELLICORN", column, H - 22, 7, tracking=1.2)


def picture():
    """RGBA bytes of the opaque background."""
    surface = pixels.new_surface(W, H)
    draw(cairo.Context(surface))
    return pixels.rgba(surface)
