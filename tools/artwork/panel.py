"""The background: a painted steel panel with screws, engraved lettering, a
name plate and the scale printed around every knob."""

import math
import random

import cairo

import knob
import layout
import lettering
import pixels
import scales
import style
from style import circle, polar, shade

W, H = layout.EDITOR_W, layout.EDITOR_H
TITLE_BASELINE = 21

# The name plate's box on the panel: left, top, right, bottom.
PLATE = (472, 40, 614, 100)
# Its lettering: text, baseline below the plate's top, size, tracking.
PLATE_LINES = (("MORVEX", 33, 23, 4.0), ("CONSOLE EQUALISER", 49, 7.5, 1.6))
PLATE_INK = (0.10, 0.10, 0.11)
PLATE_LIGHT = (1, 1, 1, 0.5)
PLATE_LIGHT_OFFSET = 0.6


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


def _screw(ctx, x, y, r, slot_angle):
    """A slotted steel screw head, domed towards the light."""
    ctx.set_source_rgba(0, 0, 0, 0.5)
    circle(ctx, x + r * 0.16, y + r * 0.23, r * 1.1)
    ctx.fill()
    head = cairo.RadialGradient(x - r * 0.35, y - r * 0.35, r * 0.1, x, y, r)
    head.add_color_stop_rgb(0, 0.86, 0.86, 0.84)
    head.add_color_stop_rgb(0.6, 0.55, 0.56, 0.57)
    head.add_color_stop_rgb(1, 0.30, 0.31, 0.33)
    ctx.set_source(head)
    circle(ctx, x, y, r)
    ctx.fill()
    ctx.set_line_width(r * 0.31)
    ctx.set_line_cap(cairo.LINE_CAP_BUTT)
    ctx.set_source_rgb(0.12, 0.12, 0.13)
    ctx.move_to(*polar(x, y, slot_angle, r * 0.85))
    ctx.line_to(*polar(x, y, slot_angle + math.pi, r * 0.85))
    ctx.stroke()


def plate_lettering(ctx, text, x, y, size, tracking=0.0, align=0.5):
    """Letters stamped into the plate: dark, with the light catching the
    lower right edge of each cut."""
    style.set_font(ctx, size, True)
    ctx.set_source_rgba(*PLATE_LIGHT)
    style.text_path(ctx, text, x + PLATE_LIGHT_OFFSET, y + PLATE_LIGHT_OFFSET, align, tracking)
    ctx.fill()
    ctx.set_source_rgb(*PLATE_INK)
    style.text_path(ctx, text, x, y, align, tracking)
    ctx.fill()


def plate_lettering_boxes():
    """Where the plate's own lettering can touch a pixel: one box per line
    (left, top, right, bottom, right and bottom exclusive) in pixels from the
    plate's top left, its light edge and a pixel of smoothing included."""
    left, top, right, bottom = PLATE
    # Cairo leaves out of a path the glyphs that fall far off its surface.
    ctx = cairo.Context(pixels.new_surface(right - left, bottom - top))
    boxes = []
    for text, baseline, size, tracking in PLATE_LINES:
        style.set_font(ctx, size, True)
        ctx.new_path()
        style.text_path(ctx, text, (right - left) / 2.0, baseline, 0.5, tracking)
        x0, y0, x1, y1 = ctx.path_extents()
        reach = PLATE_LIGHT_OFFSET + 1
        boxes.append((math.floor(x0 - 1), math.floor(y0 - 1),
                      math.ceil(x1 + reach), math.ceil(y1 + reach)))
    return boxes


def _name_plate(ctx, left, top, right, bottom, named):
    """A brushed aluminium plate with the name cut into it; unless `named`
    the plate is left blank for a readout to write on."""
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

    if named:
        middle = (left + right) / 2.0
        for text, baseline, size, tracking in PLATE_LINES:
            plate_lettering(ctx, text, middle, top + baseline, size, tracking)
    for x in (left + 7, right - 7):
        _screw(ctx, x, (top + bottom) / 2.0, 2.6, 1.9)


def _label_under(ctx, file, text):
    picture = layout.by_file(file)
    cx, cy = layout.centre(picture)
    radius = knob.CAPS[picture.style].radius
    lettering.engrave(ctx, text, cx, cy + radius + 17, 9)


def _label_beside(ctx, file, text, side):
    """side -1 puts the label left of the switch, 1 right of it."""
    picture = layout.by_file(file)
    cx, cy = layout.centre(picture)
    x = cx + side * (picture.w / 2.0 + 3)
    lettering.engrave(ctx, text, x, cy + 3.5, 9, align=0.0 if side > 0 else 1.0)


def draw(ctx, named=True):
    """The whole panel; unless `named` the name plate is left blank."""
    _paint(ctx)
    _edge(ctx)
    for x, y, slot in ((13, 13, 0.3), (W - 13, 13, 1.1), (13, H - 13, 2.0), (W - 13, H - 13, 0.7)):
        _screw(ctx, x, y, 5.2, slot)

    for text, left, right in (("LPF", 40, 178), ("LOW", 190, 316), ("LOW MID", 322, 512),
                              ("HIGH MID", 582, 782), ("HIGH", 788, 912), ("INPUT", 918, 1042)):
        lettering.title(ctx, text, left, right, TITLE_BASELINE)
    _name_plate(ctx, *PLATE, named)

    for picture in layout.PICTURES:
        if picture.kind == "knob":
            scales.draw(ctx, picture)

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
    lettering.engrave(ctx, "EQ", column, by.top - 6, 9)
    lettering.engrave(ctx, "PELLICORN", column, H - 22, 7, tracking=1.2)


def picture(scale=1, named=True):
    """RGBA bytes of the opaque background at `scale` pixels per layout pixel."""
    surface, ctx = pixels.canvas(W, H, scale)
    draw(ctx, named)
    return pixels.rgba(surface)
