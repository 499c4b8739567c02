"""Two-frame lamp buttons: a square push button in a metal bezel whose lens
is dark in frame 0 and lit in frame 1."""

import math

import cairo

import pixels
import style
from style import hex_colour, mix, shade

# Lens colours: dark glass when off, the lamp's glow when on.
LAMPS = {
    "red": hex_colour("#e0402c"),
    "amber": hex_colour("#f0a22a"),
    "green": hex_colour("#58d266"),
    "white": hex_colour("#f4e8c8"),
}

BEZEL = hex_colour("#9a9da2")
SIZE = 25.0       # outer size of the bezel
BEZEL_WIDTH = 3.0
BLEED = 1.5


def _rounded(ctx, x, y, w, h, r):
    ctx.new_sub_path()
    ctx.arc(x + w - r, y + r, r, -math.pi / 2, 0)
    ctx.arc(x + w - r, y + h - r, r, 0, math.pi / 2)
    ctx.arc(x + r, y + h - r, r, math.pi / 2, math.pi)
    ctx.arc(x + r, y + r, r, math.pi, 3 * math.pi / 2)
    ctx.close_path()


def _square(ctx, cx, cy, size, r):
    _rounded(ctx, cx - size / 2, cy - size / 2, size, size, r)


def _mask(w, h, cx, cy, scale):
    """Coverage: the button's soft shadow and its rounded square."""
    surface, ctx = pixels.canvas(w, h, scale)
    # The button stands lower than a knob, so its shadow falls shorter.
    dx, dy = (d * 0.6 for d in style.SHADOW_OFFSET)
    # A soft shadow from a few widening, faint outlines.
    for grow in range(3, 0, -1):
        ctx.set_source_rgba(0, 0, 0, 0.18)
        _square(ctx, cx + dx, cy + dy, SIZE + grow, 3.5 + grow / 2)
        ctx.fill()
    ctx.set_source_rgba(0, 0, 0, 1)
    _square(ctx, cx, cy, SIZE, 3.5)
    ctx.fill()
    return surface


def _bezel(ctx, cx, cy):
    half = SIZE / 2 + BLEED
    metal = cairo.LinearGradient(cx - half, cy - half, cx + half, cy + half)
    metal.add_color_stop_rgb(0, *shade(BEZEL, 0.45))
    metal.add_color_stop_rgb(0.5, *BEZEL)
    metal.add_color_stop_rgb(1, *shade(BEZEL, -0.55))
    ctx.set_source(metal)
    _square(ctx, cx, cy, SIZE + 2 * BLEED, 3.5 + BLEED)
    ctx.fill()
    # The opening the lens sits in: its walls lit opposite to the bezel.
    inner = SIZE - 2 * BEZEL_WIDTH
    wall = cairo.LinearGradient(cx - inner / 2, cy - inner / 2, cx + inner / 2, cy + inner / 2)
    wall.add_color_stop_rgb(0, *shade(BEZEL, -0.70))
    wall.add_color_stop_rgb(1, *shade(BEZEL, 0.10))
    ctx.set_source(wall)
    _square(ctx, cx, cy, inner, 2.2)
    ctx.fill()
    # A bright bevel line where the bezel's outer edge meets the light.
    edge = cairo.LinearGradient(cx - half, cy - half, cx + half, cy + half)
    edge.add_color_stop_rgba(0, 1, 1, 1, 0.7)
    edge.add_color_stop_rgba(0.5, 1, 1, 1, 0)
    edge.add_color_stop_rgba(1, 0, 0, 0, 0.4)
    ctx.set_source(edge)
    ctx.set_line_width(1)
    _square(ctx, cx, cy, SIZE - 1, 3)
    ctx.stroke()


def _lens(ctx, cx, cy, colour, on):
    size = SIZE - 2 * BEZEL_WIDTH - 1.6
    if on:
        # The lamp lights the walls of the opening around the lens too.
        ctx.set_source_rgba(*colour, 0.45)
        _square(ctx, cx, cy, SIZE - 2 * BEZEL_WIDTH, 2.2)
        ctx.fill()
        glow = cairo.RadialGradient(cx - 1.5, cy - 1.5, 0, cx, cy, size * 0.8)
        glow.add_color_stop_rgb(0, *mix(colour, (1, 1, 1), 0.65))
        glow.add_color_stop_rgb(0.45, *colour)
        glow.add_color_stop_rgb(1, *shade(colour, -0.30))
    else:
        glow = cairo.RadialGradient(cx - 2, cy - 2, 0, cx, cy, size * 0.8)
        glow.add_color_stop_rgb(0, *shade(colour, -0.55))
        glow.add_color_stop_rgb(1, *shade(colour, -0.85))
    ctx.set_source(glow)
    _square(ctx, cx, cy, size, 1.8)
    ctx.fill()
    # The glass catches the light on its upper left whether lit or not.
    sheen = cairo.LinearGradient(cx - size / 2, cy - size / 2, cx, cy)
    sheen.add_color_stop_rgba(0, 1, 1, 1, 0.30 if on else 0.22)
    sheen.add_color_stop_rgba(1, 1, 1, 1, 0)
    ctx.set_source(sheen)
    _square(ctx, cx, cy, size, 1.8)
    ctx.fill()


def frames(picture, scale=1):
    """RGBA bytes of the off frame above the on frame, at `scale` pixels per
    layout pixel."""
    w, h = picture.w, picture.h
    cx, cy = w / 2.0, h / 2.0
    alpha = pixels.clear_border(pixels.alpha(_mask(w, h, cx, cy, scale)), w * scale, h * scale)
    colour = LAMPS[picture.style]
    out = bytearray()
    for on in (False, True):
        surface, ctx = pixels.canvas(w, h, scale)
        ctx.set_source_rgb(*style.SHADOW)
        ctx.paint()
        _bezel(ctx, cx, cy)
        _lens(ctx, cx, cy, colour, on)
        out += pixels.rgba(surface, alpha)
    return bytes(out)
