"""Lettering cut into the panel and filled with white paint."""

import cairo

import style
from style import ENGRAVING

TITLE_SIZE = 10.5
TITLE_TRACKING = 1.6


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


def engraved_line(ctx, x0, y0, x1, y1, width=1.0, paint=0.85):
    """A painted groove, its shaded wall up and to the left; `paint` is how
    solidly the white fills it."""
    ctx.set_line_width(width)
    ctx.set_line_cap(cairo.LINE_CAP_ROUND)
    for offset, colour in ((-0.5, (0, 0, 0, 0.5)), (0, (*ENGRAVING, paint))):
        ctx.set_source_rgba(*colour)
        ctx.move_to(x0 + offset, y0 + offset)
        ctx.line_to(x1 + offset, y1 + offset)
        ctx.stroke()


def title(ctx, text, left, right, baseline):
    """A section title centred over its span, with rules out to either end."""
    style.set_font(ctx, TITLE_SIZE)
    middle = (left + right) / 2.0
    engrave(ctx, text, middle, baseline, TITLE_SIZE, tracking=TITLE_TRACKING)
    half = ctx.text_extents(text).x_advance / 2 + TITLE_TRACKING * len(text) / 2 + 7
    y = baseline - 4
    engraved_line(ctx, left, y, middle - half, y)
    engraved_line(ctx, middle + half, y, right, y)
