#!/usr/bin/env python3
"""Writes the largest picture of a Windows icon file (.ico) as a PNG file for the desktop's menus.

usage: icon_png.py ICON.ico OUT.png

The icon's pictures are PNG data (copied as they are) or 32-bit BGRA bitmaps stored bottom row
first, which is what the project's icon generator writes; other bitmap depths are refused."""

import struct
import sys
import zlib


def largest_picture(data):
    reserved, kind, count = struct.unpack_from("<HHH", data, 0)
    if reserved != 0 or kind != 1 or count == 0:
        raise ValueError("not an icon file")
    entries = []
    for i in range(count):
        width, height, _, _, _, _, size, offset = struct.unpack_from("<BBBBHHII", data, 6 + 16 * i)
        entries.append(((width or 256) * (height or 256), data[offset:offset + size]))
    return max(entries, key=lambda entry: entry[0])[1]


def png_chunk(kind, payload):
    body = kind + payload
    return struct.pack(">I", len(payload)) + body + struct.pack(">I", zlib.crc32(body))


def png_from_bitmap(bitmap):
    header_size, width, double_height, _, bits = struct.unpack_from("<IiiHH", bitmap, 0)
    if bits != 32:
        raise ValueError(f"{bits}-bit icon pictures are not supported")
    height = double_height // 2  # the bitmap's height counts the transparency mask too
    stride = width * 4
    rows = []
    for y in range(height):
        start = header_size + (height - 1 - y) * stride
        bgra = bitmap[start:start + stride]
        rgba = bytearray(stride)
        rgba[0::4], rgba[1::4], rgba[2::4], rgba[3::4] = bgra[2::4], bgra[1::4], bgra[0::4], bgra[3::4]
        rows.append(b"\0" + bytes(rgba))
    return (b"\x89PNG\r\n\x1a\n"
            + png_chunk(b"IHDR", struct.pack(">IIBBBBB", width, height, 8, 6, 0, 0, 0))
            + png_chunk(b"IDAT", zlib.compress(b"".join(rows), 9))
            + png_chunk(b"IEND", b""))


def main(source, target):
    with open(source, "rb") as f:
        picture = largest_picture(f.read())
    png = picture if picture.startswith(b"\x89PNG") else png_from_bitmap(picture)
    with open(target, "wb") as f:
        f.write(png)


if __name__ == "__main__":
    if len(sys.argv) != 3:
        sys.exit(__doc__.splitlines()[2])
    main(sys.argv[1], sys.argv[2])
