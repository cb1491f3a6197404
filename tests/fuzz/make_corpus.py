#!/usr/bin/env python3
"""Writes the fuzzer's seed pictures: one small valid bitmap of each depth and encoding the
decoder reads. Run from anywhere; the files land in corpus/ beside this script."""
import os
import struct

HERE = os.path.join(os.path.dirname(os.path.abspath(__file__)), "corpus")


def stride(width, bits):
    return (width * bits + 31) // 32 * 4


def info_header(width, height, bits, compression=0, image_size=0, colours=0):
    return struct.pack("<IiiHHIIiiII", 40, width, height, 1, bits, compression, image_size,
                       2835, 2835, colours, 0)


def core_header(width, height, bits):
    return struct.pack("<IHHHH", 12, width, height, 1, bits)


def palette(count, entry=4):
    out = b""
    for i in range(count):
        b, g, r = (i * 37) & 255, (i * 91) & 255, (255 - i * 13) & 255
        out += bytes([b, g, r] + ([0] if entry == 4 else []))
    return out


def with_file_header(header_and_table, pixels):
    offset = 14 + len(header_and_table)
    size = offset + len(pixels)
    return b"BM" + struct.pack("<IHHI", size, 0, 0, offset) + header_and_table + pixels


def rows(width, height, bits, fill):
    """Stored rows, padded to 4 bytes; fill(byte, row) gives each data byte."""
    out = b""
    for y in range(height):
        row = bytes(fill(x, y) & 255 for x in range((width * bits + 7) // 8))
        out += row + bytes(stride(width, bits) - len(row))
    return out


def seeds():
    yield "true_colour_padded", with_file_header(
        info_header(3, 2, 24), rows(3, 2, 24, lambda x, y: x * 20 + y))
    yield "true_colour_top_down", with_file_header(
        info_header(4, -2, 24), rows(4, 2, 24, lambda x, y: 255 - x))
    yield "true_colour_bare", info_header(2, 2, 24) + rows(2, 2, 24, lambda x, y: x ^ y)
    yield "mono", with_file_header(
        info_header(10, 2, 1) + palette(2), rows(10, 2, 1, lambda x, y: 0xb3 >> y))
    yield "sixteen_colours", with_file_header(
        info_header(5, 2, 4) + palette(16), rows(5, 2, 4, lambda x, y: x * 17 + y))
    yield "short_palette", with_file_header(
        info_header(3, 1, 8, colours=3) + palette(3), rows(3, 1, 8, lambda x, y: x))
    yield "core_palette", with_file_header(
        core_header(4, 2, 4) + palette(16, 3), rows(4, 2, 4, lambda x, y: 0x1f + x))
    yield "core_true_colour", core_header(2, 1, 24) + rows(2, 1, 24, lambda x, y: 7 * x)
    yield "five_five_five", with_file_header(
        info_header(3, 2, 16), rows(3, 2, 16, lambda x, y: 0x7c if x % 2 else 0x1f))
    masks = struct.pack("<III", 0xF800, 0x07E0, 0x001F)
    yield "five_six_five", with_file_header(
        info_header(2, 2, 16, compression=3) + masks, rows(2, 2, 16, lambda x, y: 0xe0 + x))
    yield "thirty_two", with_file_header(
        info_header(2, 2, 32), rows(2, 2, 32, lambda x, y: x * 60))
    masks = struct.pack("<III", 0x3FF00000, 0x000FFC00, 0x000003FF)
    yield "ten_ten_ten", with_file_header(
        info_header(1, 2, 32, compression=3) + masks, rows(1, 2, 32, lambda x, y: 0x3f))
    runs8 = bytes([3, 1, 0, 3, 2, 3, 1, 0, 0, 0, 2, 2, 0, 2, 2, 1, 2, 3, 0, 1])
    yield "runs_eight", with_file_header(
        info_header(6, 3, 8, compression=1, image_size=len(runs8), colours=4) + palette(4), runs8)
    runs4 = bytes([5, 0x12, 3, 0xef, 0, 0, 0, 3, 0x34, 0x50, 0, 5, 0x67, 0x89, 0xa0, 0, 0, 1])
    yield "runs_four", with_file_header(
        info_header(8, 2, 4, compression=2, image_size=len(runs4)) + palette(16), runs4)


def main():
    os.makedirs(HERE, exist_ok=True)
    for name, data in seeds():
        with open(os.path.join(HERE, name + ".bmp"), "wb") as f:
            f.write(data)


if __name__ == "__main__":
    main()
