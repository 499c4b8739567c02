"""From cairo surfaces to straight-alpha RGBA rows.

Cairo keeps colour premultiplied by alpha; undoing that pixel by pixel in
Python is slow. The controls therefore draw twice: once opaque, with their
colours carried a little past their edges, and once as a coverage mask. The
opaque picture gives each pixel its straight colour and the mask its alpha,
and both come apart and together again with byte slicing alone."""

import sys

import cairo

# Where red, green, blue and alpha sit in one ARGB32 pixel in memory.
if sys.byteorder == "little":
    _R, _G, _B, _A = 2, 1, 0, 3
else:
    _R, _G, _B, _A = 1, 2, 3, 0


def new_surface(w, h):
    return cairo.ImageSurface(cairo.FORMAT_ARGB32, w, h)


def canvas(w, h, scale):
    """A surface for a w x h picture drawn at `scale` device pixels per
    layout pixel, and a context that draws on it in layout pixels."""
    surface = new_surface(w * scale, h * scale)
    ctx = cairo.Context(surface)
    ctx.scale(scale, scale)
    return surface, ctx


def _data(surface):
    surface.flush()
    if surface.get_stride() != surface.get_width() * 4:
        raise ValueError("ARGB32 rows are expected to be packed")
    return bytes(surface.get_data())


def alpha(surface):
    """The alpha byte of every pixel."""
    return _data(surface)[_A::4]


def clear_border(alpha_bytes, w, h):
    """The alpha bytes, once checked that nothing touches the frame's edge: a
    shadow that did would end in a hard line on the panel."""
    rows = [alpha_bytes[y * w:(y + 1) * w] for y in range(h)]
    edge = rows[0] + rows[-1] + bytes(row[0] for row in rows) + bytes(row[-1] for row in rows)
    if any(edge):
        raise ValueError("a %d x %d picture does not fit inside its frame" % (w, h))
    return alpha_bytes


def rgba(colour, alpha_bytes=None):
    """RGBA bytes taking red, green and blue from `colour` and alpha from
    `alpha_bytes`; without them the picture is opaque."""
    src = _data(colour)
    out = bytearray(len(src))
    out[0::4] = src[_R::4]
    out[1::4] = src[_G::4]
    out[2::4] = src[_B::4]
    out[3::4] = alpha_bytes if alpha_bytes is not None else b"\xff" * (len(src) // 4)
    return bytes(out)


def unpremultiplied(surface):
    """Straight RGBA bytes of a surface whose colour varies under partial
    cover, where the two-pass trick does not apply; for small pictures."""
    src = _data(surface)
    out = bytearray(len(src))
    for i in range(0, len(src), 4):
        a = src[i + _A]
        if a:
            half = a // 2
            out[i] = (src[i + _R] * 255 + half) // a
            out[i + 1] = (src[i + _G] * 255 + half) // a
            out[i + 2] = (src[i + _B] * 255 + half) // a
            out[i + 3] = a
    return bytes(out)
