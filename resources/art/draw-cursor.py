#!/usr/bin/env python3
"""Draws the finder cursor (resources/finder.cur): a 32 x 32 monochrome cross-hair, a circle with
a cross and tick marks, hot spot at (15, 15), black with a white edge so it shows on any
background. Uses only the standard library; the output is committed."""
import math
import pathlib
import struct

SIZE, CX, CY = 32, 15, 15

black = set()
for angle in range(0, 3600):
    a = math.radians(angle / 10)
    black.add((round(CX + 9 * math.cos(a)), round(CY + 9 * math.sin(a))))
for d in range(2, 15):  # the cross, open at the centre
    if d > 3:
        black.update({(CX + d, CY), (CX - d, CY), (CX, CY + d), (CX, CY - d)})
black.add((CX, CY))
for t in (-2, 2):  # tick marks across the cross where it meets the circle
    black.update({(CX + 9 + t // 2, CY + t), (CX - 9 - t // 2, CY + t)})
white = {(x + dx, y + dy) for (x, y) in black for dx in (-1, 0, 1) for dy in (-1, 0, 1)} - black
white = {(x, y) for (x, y) in white if 0 <= x < SIZE and 0 <= y < SIZE}

def rows(bit):
    """Bottom-up rows of 1-bit pixels, 4 bytes each."""
    data = b""
    for y in reversed(range(SIZE)):
        value = 0
        for x in range(SIZE):
            if bit(x, y):
                value |= 1 << (31 - x)
        data += struct.pack(">I", value)
    return data

xor = rows(lambda x, y: (x, y) in white)                          # 1 = white where drawn
mask = rows(lambda x, y: (x, y) not in black and (x, y) not in white)  # 1 = transparent
header = struct.pack("<IiiHHIIiiII", 40, SIZE, SIZE * 2, 1, 1, 0, len(xor) + len(mask), 0, 0, 2, 0)
palette = struct.pack("<II", 0x000000, 0xFFFFFF)
image = header + palette + xor + mask
directory = struct.pack("<HHH", 0, 2, 1) + struct.pack("<BBBBHHII", SIZE, SIZE, 2, 0, CX, CY, len(image), 22)
out = pathlib.Path(__file__).resolve().parent.parent / "finder.cur"
out.write_bytes(directory + image)
print(f"wrote {out}")
