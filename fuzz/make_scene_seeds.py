#!/usr/bin/env python3
"""Writes small scene channels for the scene-reader fuzzer to start from: grey, palette, RGB and
16-bit PNG, grey and palette BMP, grey TIFF, and binary and plain-text Netpbm files of several
maxima. Python's standard library alone: the files are written byte by byte.

Usage: make_scene_seeds.py OUTPUT_FOLDER"""
import os
import struct
import sys
import zlib

WIDTH, HEIGHT = 9, 7
LEVELS = [(x * 37 + y * 11) % 256 for y in range(HEIGHT) for x in range(WIDTH)]


def png(colour_type: int, depth: int, rows: list, palette: bytes = b"") -> bytes:
    def chunk(kind: bytes, data: bytes) -> bytes:
        return struct.pack(">I", len(data)) + kind + data + struct.pack(">I", zlib.crc32(kind + data))

    header = struct.pack(">IIBBBBB", WIDTH, HEIGHT, depth, colour_type, 0, 0, 0)
    body = zlib.compress(b"".join(b"\0" + row for row in rows))
    plte = chunk(b"PLTE", palette) if palette else b""
    return b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", header) + plte + chunk(b"IDAT", body) + chunk(b"IEND", b"")


def bmp_indexed(palette_size: int) -> bytes:
    stride = (WIDTH + 3) // 4 * 4
    pixels = b"".join(bytes(v % palette_size for v in LEVELS[y * WIDTH:(y + 1) * WIDTH]) + bytes(stride - WIDTH)
                      for y in reversed(range(HEIGHT)))
    palette = b"".join(bytes((i * 255 // max(palette_size - 1, 1),) * 3 + (0,)) for i in range(palette_size))
    offset = 14 + 40 + len(palette)
    info = struct.pack("<IiiHHIIiiII", 40, WIDTH, HEIGHT, 1, 8, 0, len(pixels), 2835, 2835, palette_size, 0)
    return b"BM" + struct.pack("<IHHI", offset + len(pixels), 0, 0, offset) + info + palette + pixels


def tiff_grey() -> bytes:
    data = bytes(LEVELS)
    entries = [(256, 3, 1, WIDTH), (257, 3, 1, HEIGHT), (258, 3, 1, 8), (259, 3, 1, 1), (262, 3, 1, 1),
               (273, 4, 1, 8), (277, 3, 1, 1), (278, 3, 1, HEIGHT), (279, 4, 1, len(data))]
    ifd_offset = 8 + len(data)
    ifd = struct.pack("<H", len(entries))
    for tag, kind, count, value in entries:
        ifd += struct.pack("<HHI", tag, kind, count) + (struct.pack("<HH", value, 0) if kind == 3
                                                        else struct.pack("<I", value))
    return b"II*\0" + struct.pack("<I", ifd_offset) + data + ifd + b"\0\0\0\0"


def main() -> None:
    out = sys.argv[1]
    os.makedirs(out, exist_ok=True)
    rows = [bytes(LEVELS[y * WIDTH:(y + 1) * WIDTH]) for y in range(HEIGHT)]
    files = {
        "grey.png": png(0, 8, rows),
        "deep.png": png(0, 16, [b"".join(struct.pack(">H", v * 257) for v in row) for row in rows]),
        "rgb.png": png(2, 8, [bytes(v for level in row for v in (level,) * 3) for row in rows]),
        "palette.png": png(3, 8, [bytes(v % 16 for v in row) for row in rows],
                           b"".join(bytes((i * 17,) * 3) for i in range(16))),
        "grey.bmp": bmp_indexed(256),
        "palette.bmp": bmp_indexed(16),
        "grey.tif": tiff_grey(),
        "colour.ppm": f"P6\n{WIDTH} {HEIGHT}\n255\n".encode() + b"".join(bytes((v,) * 3) for v in LEVELS),
    }
    for maximum in (7, 255, 1023):
        samples = [level * maximum // 255 for level in LEVELS]
        body = bytes(samples) if maximum < 256 else b"".join(struct.pack(">H", s) for s in samples)
        files[f"binary{maximum}.pgm"] = f"P5\n# seed\n{WIDTH} {HEIGHT}\n{maximum}\n".encode() + body
        files[f"plain{maximum}.pgm"] = f"P2\n{WIDTH} {HEIGHT}\n{maximum}\n{' '.join(map(str, samples))}\n".encode()
    for name, content in files.items():
        with open(os.path.join(out, name), "wb") as f:
            f.write(content)


if __name__ == "__main__":
    main()
