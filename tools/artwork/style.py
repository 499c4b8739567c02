"""The look shared by every picture: colours, the light and the lettering."""

import math

import cairo

# Light falls from the top left: highlights face up-left, shadows fall
# down-right. The angle is clockwise from twelve o'clock, pointing at the light.
LIGHT_ANGLE = math.radians(-45)
SHADOW_OFFSET = (1.6, 2.4)

PANEL = (0.165, 0.180, 0.200)
ENGRAVING = (0.925, 0.910, 0.870)
SHADOW = (0.0, 0.0, 0.0)

# Only the faces of fonts-dejavu-core, so every machine draws the same
# letters; narrow lettering comes from a horizontal squeeze instead.
FONT = "DejaVu Sans"


def lit(angle):
    """How much a surface facing `angle` (clockwise from up) faces the light,
    from -1 (away) to 1 (towards)."""
    return math.cos(angle - LIGHT_ANGLE)


def mix(a, b, t):
    return tuple(x + (y - x) * t for x, y in zip(a, b))


def shade(colour, amount):
    """Lighter towards white for amount > 0, darker towards black below."""
    if amount >= 0:
        return mix(colour, (1.0, 1.0, 1.0), amount)
    return mix(colour, (0.0, 0.0, 0.0), -amount)


def hex_colour(text):
    return tuple(int(text[i:i + 2], 16) / 255.0 for i in (1, 3, 5))


def set_font(ctx, size, bold=True, squeeze=0.86):
    ctx.select_font_face(FONT, cairo.FONT_SLANT_NORMAL,
                         cairo.FONT_WEIGHT_BOLD if bold else cairo.FONT_WEIGHT_NORMAL)
    ctx.set_font_matrix(cairo.Matrix(xx=size * squeeze, yy=size))
    options = cairo.FontOptions()
    options.set_antialias(cairo.ANTIALIAS_GRAY)
    options.set_hint_style(cairo.HINT_STYLE_NONE)
    options.set_hint_metrics(cairo.HINT_METRICS_OFF)
    ctx.set_font_options(options)


def text_path(ctx, text, x, y, align=0.5, tracking=0.0):
    """Adds the text's outline with its baseline at y; align 0 puts its left
    edge at x, 0.5 its middle, 1 its right edge. Tracking spaces the letters."""
    widths = [ctx.text_extents(ch).x_advance for ch in text]
    total = sum(widths) + tracking * (len(text) - 1)
    pen = x - total * align
    for ch, width in zip(text, widths):
        ctx.move_to(pen, y)
        ctx.text_path(ch)
        pen += width + tracking


def circle(ctx, x, y, r):
    ctx.new_sub_path()
    ctx.arc(x, y, r, 0, 2 * math.pi)


def polar(cx, cy, angle, r):
    """The point at distance r from the centre in the direction `angle`,
    clockwise from twelve o'clock."""
    return cx + r * math.sin(angle), cy - r * math.cos(angle)
