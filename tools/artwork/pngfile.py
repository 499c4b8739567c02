"""A small PNG encoder for 8-bit RGBA pictures with straight alpha.

The pictures are written by this module rather than by cairo so that the files
carry nothing but IHDR, IDAT and IEND and come out byte for byte the same on
every run. Rows go unfiltered by default: the knob strips repeat most of each
frame in the next, which deflate finds best in the raw bytes (the row filters
made every 1x picture larger). A 2x frame is bigger than deflate's 32 KB
window, so no frame can borrow from the one before; there the Sub filter,
each byte less the same byte of the pixel to its left, makes the files
smaller."""

import struct
import zlib

SIGNATURE = b"\x89PNG\r\n\x1a\n"
BYTES_PER_PIXEL = 4
COMPRESSION_LEVEL = 9


def _chunk(kind, data):
    body = kind + data
    return struct.pack(">I", len(data)) + body + struct.pack(">I", zlib.crc32(body))


def _sub_filter(stride):
    """Sub-filters one row at a time, all bytes at once: modulo-256
    subtraction of the row shifted by a pixel, worked on the row as one big
    integer with the top bit of every byte kept from borrowing."""
    high = int.from_bytes(b"\x80" * stride, "big")
    low = int.from_bytes(b"\x7f" * stride, "big")
    everything = (1 << (8 * stride)) - 1

    def sub(row):
        x = int.from_bytes(row, "big")
        left = x >> (8 * BYTES_PER_PIXEL)
        difference = ((x | high) - (left & low)) ^ ((x ^ ~left) & high & everything)
        return (difference & everything).to_bytes(stride, "big")
    return sub


def encode(width, height, rgba, sub_filter=False):
    """PNG bytes for straight-alpha RGBA rows, top row first; `sub_filter`
    filters every row with Sub, otherwise none is."""
    stride = width * BYTES_PER_PIXEL
    if len(rgba) != stride * height:
        raise ValueError("pixel data does not match %d x %d" % (width, height))
    if sub_filter:
        sub = _sub_filter(stride)
        rows = b"".join(b"\1" + sub(rgba[i:i + stride]) for i in range(0, len(rgba), stride))
    else:
        rows = b"".join(b"\0" + rgba[i:i + stride] for i in range(0, len(rgba), stride))
    header = struct.pack(">IIBBBBB", width, height, 8, 6, 0, 0, 0)  # 8-bit RGBA
    return (SIGNATURE + _chunk(b"IHDR", header)
            + _chunk(b"IDAT", zlib.compress(rows, COMPRESSION_LEVEL)) + _chunk(b"IEND", b""))


def write(path, width, height, rgba):
    with open(path, "wb") as f:
        f.write(encode(width, height, rgba))
