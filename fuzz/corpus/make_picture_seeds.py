#!/usr/bin/env python3
# Writes the picture decoder's seed files: small bitmap files of each shape the
# decoder reads (24 and 32 bits, both row orders, with a colour table).
import os
import struct
import sys


def bmp(w, h, bits, top=False, palette=0):
    stride = ((w * bits + 31) // 32) * 4
    offset = 14 + 40 + 4 * palette
    data = b"BM" + struct.pack("<IIIIiiHHIIiiII", offset + stride * h, 0, offset, 40, w, -h if top else h, 1,
                               bits, 0, 0, 0, 0, 0, 0) + b"\0" * (4 * palette)
    for y in range(h):
        row = b"".join(bytes([x * 10 % 256, y * 20 % 256, (x + y) % 256] + ([0] if bits == 32 else []))
                       for x in range(w))
        data += row + b"\0" * (stride - len(row))
    return data


out = sys.argv[1] if len(sys.argv) > 1 else os.path.join(os.path.dirname(__file__), "picture")
os.makedirs(out, exist_ok=True)
for name, content in {"rgb24.bmp": bmp(5, 3, 24), "top_down32.bmp": bmp(4, 2, 32, True),
                      "palette24.bmp": bmp(16, 16, 24, False, 216)}.items():
    with open(os.path.join(out, name), "wb") as f:
        f.write(content)
