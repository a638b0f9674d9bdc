#!/usr/bin/env python3
"""Fails when a PNG picture inside an .ico does not hold exactly the pixels of its
text source: icongen writes its own deflate stream, and zlib reads it back here.

Usage: check-png.py SOURCE.txt ICON.ico
"""

import struct
import sys
import zlib

PNG_SIGNATURE = b"\x89PNG\r\n\x1a\n"


def parse(path):
    palette, images = {}, []
    with open(path, encoding="ascii") as source:
        for line in source:
            line = line.rstrip("\r\n")
            if not line or line.startswith("#"):
                continue
            words = line.split()
            if words[0] == "image":
                images.append((int(words[1]), []))
            elif len(words[0]) == 1 and len(line) > 1 and line[1] == " ":
                palette[words[0]] = words[1]
            else:
                images[-1][1].append(line)
    return palette, images


def expected_rows(palette, rows):
    data = bytearray()
    for row in rows:
        data.append(0)  # filter: none
        for pixel in row:
            colour = palette[pixel]
            data += b"\0\0\0\0" if colour == "none" else bytes.fromhex(colour) + b"\xff"
    return bytes(data)


def png_rows(blob):
    at, pixels, header = len(PNG_SIGNATURE), b"", None
    while at < len(blob):
        (length,) = struct.unpack(">I", blob[at:at + 4])
        kind, data = blob[at + 4:at + 8], blob[at + 8:at + 8 + length]
        (crc,) = struct.unpack(">I", blob[at + 8 + length:at + 12 + length])
        if zlib.crc32(kind + data) != crc:
            raise ValueError("bad CRC in chunk %r" % kind)
        if kind == b"IHDR":
            header = struct.unpack(">IIBBBBB", data)
        elif kind == b"IDAT":
            pixels += data
        at += 12 + length
    return header, zlib.decompress(pixels)


def main(source_path, icon_path):
    palette, images = parse(source_path)
    with open(icon_path, "rb") as icon:
        data = icon.read()
    (count,) = struct.unpack("<H", data[4:6])
    if count != len(images):
        print("%s: %d pictures, its source has %d" % (icon_path, count, len(images)))
        return 1
    failures = 0
    for index, (size, rows) in enumerate(images):
        bits, length, offset = struct.unpack("<HII", data[12 + 16 * index:22 + 16 * index])
        blob = data[offset:offset + length]
        if not blob.startswith(PNG_SIGNATURE):
            continue
        try:
            header, pixels = png_rows(blob)
        except (ValueError, zlib.error) as error:
            print("%s: the PNG picture of %d pixels does not read: %s" % (icon_path, size, error))
            failures += 1
            continue
        if header != (size, size, 8, 6, 0, 0, 0) or bits != 32 or pixels != expected_rows(
                palette, rows):
            print("%s: the PNG picture of %d pixels differs from its source" % (icon_path, size))
            failures += 1
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1], sys.argv[2]))
