"""A small PNG encoder for 8-bit RGBA pictures with straight alpha.

The pictures are written by this module rather than by cairo so that the files
carry nothing but IHDR, IDAT and IEND and come out byte for byte the same on
every run. Rows go unfiltered by default: the knob strips repeat most of each
frame in the next, which deflate finds best in the raw bytes (the row filters
made every 1x picture larger). A 2x frame is bigger than deflate's 32 KB
window, so no frame can borrow from the one before; there the Up filter,
each byte less the same byte of the row above, makes the files smaller, and
decodes faster than the other filters that do."""

import struct
import zlib

SIGNATURE = b"\x89PNG\r\n\x1a\n"
BYTES_PER_PIXEL = 4
COMPRESSION_LEVEL = 9


def _chunk(kind, data):
    body = kind + data
    return struct.pack(">I", len(data)) + body + struct.pack(">I", zlib.crc32(body))


def _up_filter(stride):
    """Up-filters one row at a time, all bytes at once: modulo-256
    subtraction of the row above, worked on the rows as big integers with
    the top bit of every byte kept from borrowing."""
    high = int.from_bytes(b"\x80" * stride, "big")
    low = int.from_bytes(b"\x7f" * stride, "big")
    everything = (1 << (8 * stride)) - 1

    def up(row, above):
        x = int.from_bytes(row, "big")
        y = int.from_bytes(above, "big")
        difference = ((x | high) - (y & low)) ^ ((x ^ ~y) & high & everything)
        return (difference & everything).to_bytes(stride, "big")
    return up


def encode(width, height, rgba, up_filter=False):
    """PNG bytes for straight-alpha RGBA rows, top row first; `up_filter`
    filters every row with Up, otherwise none is."""
    stride = width * BYTES_PER_PIXEL
    if len(rgba) != stride * height:
        raise ValueError("pixel data does not match %d x %d" % (width, height))
    if up_filter:
        up = _up_filter(stride)
        above = bytes(stride)
        filtered = []
        for i in range(0, len(rgba), stride):
            row = rgba[i:i + stride]
            filtered.append(b"\2" + up(row, above))
            above = row
        rows = b"".join(filtered)
    else:
        rows = b"".join(b"\0" + rgba[i:i + stride] for i in range(0, len(rgba), stride))
    header = struct.pack(">IIBBBBB", width, height, 8, 6, 0, 0, 0)  # 8-bit RGBA
    return (SIGNATURE + _chunk(b"IHDR", header)
            + _chunk(b"IDAT", zlib.compress(rows, COMPRESSION_LEVEL)) + _chunk(b"IEND", b""))


def write(path, width, height, rgba):
    with open(path, "wb") as f:
        f.write(encode(width, height, rgba))
