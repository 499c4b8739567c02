"""The editor at its defaults, composed as the editor composes it: the
background copied, then every control's frame laid over it with the
source-alpha copy of the plug-in's compositing, in the same integer
arithmetic, so the picture is the one the editor shows.

Hosts show it in their plug-in browsers: the bundle carries it at 1x and 2x
as Contents/Resources/Snapshots/<class ID>_snapshot.png and _snapshot_2.0x.png."""

import defaults
import layout

# The plug-in's class ID as moduleinfo.json prints it.
CLASS_ID = "F2AEE70D00DE4F4E50656C634D767831"
SNAPSHOT_FOLDER = "resources/snapshots"


def snapshot_file(scale):
    return "%s_snapshot%s.png" % (CLASS_ID, "" if scale == 1 else "_%.1fx" % scale)


def _keep(d, s, keep):
    """s + (d - s) * keep / 256, the division truncating toward zero."""
    t = (d - s) * keep
    return s + (t // 256 if t >= 0 else -(-t // 256))


def blend_source_alpha(dest, dest_w, src, src_w, sx, sy, dx, dy, cols, rows):
    """Source-alpha copy at full weight of a cols x rows area of straight RGBA
    bytes: a clear source pixel leaves the destination, an opaque one
    replaces it, any other moves the colour by (255 - a) / 256 and adds a
    to the destination's alpha."""
    for row in range(rows):
        s = ((sy + row) * src_w + sx) * 4
        d = ((dy + row) * dest_w + dx) * 4
        for _ in range(cols):
            a = src[s + 3]
            if a == 255:
                dest[d:d + 4] = src[s:s + 4]
            elif a:
                keep = 255 - a
                dest[d] = _keep(dest[d], src[s], keep)
                dest[d + 1] = _keep(dest[d + 1], src[s + 1], keep)
                dest[d + 2] = _keep(dest[d + 2], src[s + 2], keep)
                dest[d + 3] = min(255, dest[d + 3] + a)
            s += 4
            d += 4


def shown_frame(picture, scale, rgba):
    """The RGBA bytes of the frame a picture shows at its parameter's default:
    the frame chosen, and its start in the strip rounded from the strip's
    length, as the editor does."""
    if picture.param is None:
        return rgba
    value = defaults.normalized(defaults.parameters()[picture.param])
    frame = defaults.frame(picture.frames, value)
    w, h = picture.w * scale, picture.h * scale
    top = int(0.5 + h * picture.frames * frame / picture.frames)
    return rgba[top * w * 4:(top + h) * w * 4]


def snapshot(shown, scale):
    """RGBA bytes of the editor at the plug-in's defaults, at `scale`, from
    the frame each picture shows there, by file name."""
    background, controls = layout.PICTURES[0], layout.PICTURES[1:]
    dest = bytearray(shown[background.file])
    width = layout.EDITOR_W * scale
    for picture in controls:
        w, h = picture.w * scale, picture.h * scale
        blend_source_alpha(dest, width, shown[picture.file], w, 0, 0,
                           picture.left * scale, picture.top * scale, w, h)
    return bytes(dest)
