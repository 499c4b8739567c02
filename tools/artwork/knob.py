"""Filmstrip knobs: a dark skirt under a coloured cap, with a pointer line
across both. Frame i shows the value i / (frames - 1) on an arc from
seven-thirty (minimum) through twelve to four-thirty (maximum).

Only the pointer turns from frame to frame; light and shadow stay where the
lamp is. That keeps each frame close to the one before, which is what keeps
the strips small."""

import math
from collections import namedtuple

import cairo

import pixels
import style
from style import circle, hex_colour, polar, shade

ARC_START = math.radians(-135)
ARC_SWEEP = math.radians(270)

# radius: the skirt's; cap_ratio: cap radius over skirt radius; finish:
# "dome" for a glossy moulded cap, "machined" for turned aluminium.
Cap = namedtuple("Cap", "radius colour cap_ratio finish pointer")

WHITE_LINE = (0.97, 0.96, 0.92)
BLACK_LINE = (0.08, 0.08, 0.09)

CAPS = {
    "gain": Cap(27.0, hex_colour("#a52b27"), 0.66, "dome", WHITE_LINE),
    "freq": Cap(24.0, hex_colour("#5f6873"), 0.66, "dome", WHITE_LINE),
    "filter": Cap(24.0, hex_colour("#3d5d7c"), 0.66, "dome", WHITE_LINE),
    "level": Cap(25.0, hex_colour("#c4c6c8"), 0.70, "machined", BLACK_LINE),
    "bw": Cap(20.5, hex_colour("#d9d0b6"), 0.62, "dome", BLACK_LINE),
}

SKIRT = hex_colour("#232427")
BLEED = 1.5  # colour carried past the outline, where only the mask counts
FLANGE = 3.0  # width of the skirt's side seen around its top face


def angle(value):
    """Pointer angle, clockwise from twelve o'clock, for a value in 0..1."""
    return ARC_START + ARC_SWEEP * value


def _mask(w, h, cx, cy, cap, scale):
    """Coverage: the soft shadow on the panel and the knob's round outline."""
    surface, ctx = pixels.canvas(w, h, scale)
    dx, dy = style.SHADOW_OFFSET
    r = cap.radius
    shadow = cairo.RadialGradient(cx + dx, cy + dy, r - 3, cx + dx, cy + dy, r + 5)
    shadow.add_color_stop_rgba(0, 0, 0, 0, 0.70)
    shadow.add_color_stop_rgba(0.4, 0, 0, 0, 0.32)
    shadow.add_color_stop_rgba(1, 0, 0, 0, 0.0)
    ctx.set_source(shadow)
    circle(ctx, cx + dx, cy + dy, r + 5)
    ctx.fill()
    ctx.set_source_rgba(0, 0, 0, 1)
    circle(ctx, cx, cy, r)
    ctx.fill()
    return surface


def _conic(cx, cy, r, brightness, colour, sectors=48):
    """A mesh pattern whose colour turns around the centre: how a turned or
    bevelled surface catches a light from one side."""
    mesh = cairo.MeshPattern()
    for k in range(sectors):
        a0 = 2 * math.pi * k / sectors
        a1 = 2 * math.pi * (k + 1) / sectors
        c0 = shade(colour, brightness(a0))
        c1 = shade(colour, brightness(a1))
        mesh.begin_patch()
        mesh.move_to(cx, cy)
        mesh.line_to(*polar(cx, cy, a0, r))
        mesh.line_to(*polar(cx, cy, a1, r))
        mesh.line_to(cx, cy)
        for corner, c in enumerate((c0, c0, c1, c1)):
            mesh.set_corner_color_rgb(corner, *c)
        mesh.end_patch()
    return mesh


def _rim(ctx, cx, cy, r, width, light, dark):
    """A thin edge: lighter where it faces the light, darker on the far side.
    Soft light over mid grey leaves colour alone, so the edge keeps the hue of
    whatever it is drawn on."""
    def brightness(a):
        facing = style.lit(a)
        return light * facing if facing > 0 else dark * facing

    ctx.set_source(_conic(cx, cy, r + 1, brightness, (0.5, 0.5, 0.5)))
    ctx.set_line_width(width)
    circle(ctx, cx, cy, r - width / 2)
    ctx.save()
    ctx.set_operator(cairo.OPERATOR_SOFT_LIGHT)
    ctx.stroke()
    ctx.restore()


def _sheen(a):
    """Turned metal or moulding: bright in a bar along the light, through the
    centre, dark across it."""
    return math.cos(2 * (a - style.LIGHT_ANGLE))


def _skirt(ctx, cx, cy, cap):
    """The still parts under the cap: the skirt's side and its top face."""
    r = cap.radius
    ctx.set_source_rgb(*style.SHADOW)
    ctx.paint()

    side = cairo.LinearGradient(*polar(cx, cy, style.LIGHT_ANGLE, r),
                                *polar(cx, cy, style.LIGHT_ANGLE + math.pi, r))
    side.add_color_stop_rgb(0, *shade(SKIRT, 0.22))
    side.add_color_stop_rgb(0.5, *SKIRT)
    side.add_color_stop_rgb(1, *shade(SKIRT, -0.55))
    ctx.set_source(side)
    circle(ctx, cx, cy, r + BLEED)
    ctx.fill()

    face = r - FLANGE
    ctx.set_source(_conic(cx, cy, face, lambda a: 0.10 * style.lit(a) + 0.07 * _sheen(a), SKIRT))
    circle(ctx, cx, cy, face)
    ctx.fill()
    _rim(ctx, cx, cy, face, 1.0, 0.7, 0.6)


def _cap(ctx, cx, cy, cap):
    rc = cap.radius * cap.cap_ratio
    dx, dy = style.SHADOW_OFFSET
    ctx.set_source_rgba(0, 0, 0, 0.5)
    circle(ctx, cx + dx * 0.5, cy + dy * 0.5, rc + 0.8)
    ctx.fill()

    if cap.finish == "machined":
        ctx.set_source(_conic(cx, cy, rc, lambda a: 0.25 * _sheen(a) - 0.05, cap.colour))
    else:
        lx, ly = polar(cx, cy, style.LIGHT_ANGLE, rc * 0.5)
        dome = cairo.RadialGradient(lx, ly, 0, cx, cy, rc * 1.2)
        dome.add_color_stop_rgb(0, *shade(cap.colour, 0.30))
        dome.add_color_stop_rgb(0.5, *cap.colour)
        dome.add_color_stop_rgb(1, *shade(cap.colour, -0.45))
        ctx.set_source(dome)
    circle(ctx, cx, cy, rc)
    ctx.fill()
    _rim(ctx, cx, cy, rc, 1.1, 0.8, 0.5)


def _pointer(ctx, cx, cy, cap, turn):
    """The line on the cap, in the cap's own pointer colour, and its white
    continuation on the skirt's face."""
    r = cap.radius
    rc = r * cap.cap_ratio
    ctx.set_line_cap(cairo.LINE_CAP_ROUND)
    ctx.set_line_width(2.2)
    segments = ((cap.pointer, r * 0.28, rc - 1.6), (WHITE_LINE, rc + 1.6, r - 1.7))
    for colour, inner, outer in segments:
        ctx.set_source_rgb(*colour)
        ctx.move_to(*polar(cx, cy, turn, inner))
        ctx.line_to(*polar(cx, cy, turn, outer))
        ctx.stroke()


def filmstrip(picture, scale=1):
    """RGBA bytes of every frame, stacked top to bottom, at `scale` pixels per
    layout pixel."""
    w, h, frames = picture.w, picture.h, picture.frames
    cap = CAPS[picture.style]
    cx, cy = w / 2.0, h / 2.0
    alpha = pixels.clear_border(pixels.alpha(_mask(w, h, cx, cy, cap, scale)),
                                w * scale, h * scale)

    still, ctx = pixels.canvas(w, h, scale)
    _skirt(ctx, cx, cy, cap)
    _cap(ctx, cx, cy, cap)

    out = bytearray()
    for i in range(frames):
        frame = pixels.new_surface(w * scale, h * scale)
        ctx = cairo.Context(frame)
        ctx.set_source_surface(still)  # pixel for pixel, before the scale
        ctx.paint()
        ctx.scale(scale, scale)
        _pointer(ctx, cx, cy, cap, angle(i / (frames - 1)))
        out += pixels.rgba(frame, alpha)
    return bytes(out)
