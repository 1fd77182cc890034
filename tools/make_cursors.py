#!/usr/bin/env python3
"""Writes the library's five cursors as 32 by 32 monochrome .cur files.

usage: make_cursors.py OUTPUT_DIR

Each picture is drawn from lines, circles and one polygon on a small raster: black ink with a
white rim, so that every cursor shows on dark and light screens alike; everything else is
transparent. The files are build products; edit the drawing here, never the files.
"""
import os
import struct
import sys

SIZE = 32


class Picture:
    def __init__(self):
        self.black = set()
        self.white = set()

    def plot(self, x, y, ink="black"):
        if 0 <= x < SIZE and 0 <= y < SIZE:
            (self.black if ink == "black" else self.white).add((x, y))

    def line(self, x0, y0, x1, y1, ink="black"):
        dx, dy = abs(x1 - x0), -abs(y1 - y0)
        sx, sy = (1 if x0 < x1 else -1), (1 if y0 < y1 else -1)
        err = dx + dy
        while True:
            self.plot(x0, y0, ink)
            if (x0, y0) == (x1, y1):
                break
            e2 = 2 * err
            if e2 >= dy:
                err += dy
                x0 += sx
            if e2 <= dx:
                err += dx
                y0 += sy

    def circle(self, cx, cy, r):
        x, y, err = r, 0, 1 - r
        while x >= y:
            for px, py in ((x, y), (y, x), (-y, x), (-x, y), (-x, -y), (-y, -x), (y, -x), (x, -y)):
                self.plot(cx + px, cy + py)
            y += 1
            if err < 0:
                err += 2 * y + 1
            else:
                x -= 1
                err += 2 * (y - x) + 1

    def polygon(self, points):
        """A filled polygon: white inside, black outline."""
        ys = [p[1] for p in points]
        for y in range(min(ys), max(ys) + 1):
            xs = []
            for (x0, y0), (x1, y1) in zip(points, points[1:] + points[:1]):
                if (y0 <= y < y1) or (y1 <= y < y0):
                    xs.append(x0 + (y - y0) * (x1 - x0) / (y1 - y0))
            xs.sort()
            for a, b in zip(xs[::2], xs[1::2]):
                for x in range(int(round(a)), int(round(b)) + 1):
                    self.plot(x, y, "white")
        for (x0, y0), (x1, y1) in zip(points, points[1:] + points[:1]):
            self.line(x0, y0, x1, y1)

    def rim(self):
        """White around every black pixel that has nothing drawn beside it."""
        for (x, y) in list(self.black):
            for dx in (-1, 0, 1):
                for dy in (-1, 0, 1):
                    p = (x + dx, y + dy)
                    if p not in self.black:
                        self.plot(p[0], p[1], "white")
        self.white -= self.black


def crosshair(pic):
    pic.circle(15, 15, 8)
    pic.line(15, 3, 15, 27)
    pic.line(3, 15, 27, 15)


def arrow(pic, x, y):
    pic.polygon([(x, y), (x, y + 16), (x + 4, y + 12), (x + 7, y + 18), (x + 9, y + 17),
                 (x + 6, y + 11), (x + 11, y + 11)])


def check_mark(pic, x, y):
    for t in (0, 1):
        pic.line(x, y + 4 + t, x + 3, y + 7 + t)
        pic.line(x + 3, y + 7 + t, x + 9, y + 1 + t)


def triangle(pic, x, y):
    pic.line(x, y + 9, x + 5, y)
    pic.line(x + 5, y, x + 10, y + 9)
    pic.line(x, y + 9, x + 10, y + 9)


def move_cross(pic, cx, cy):
    pic.line(cx - 6, cy, cx + 6, cy)
    pic.line(cx, cy - 6, cx, cy + 6)
    for sx, sy in ((1, 0), (-1, 0), (0, 1), (0, -1)):
        tip = (cx + 6 * sx, cy + 6 * sy)
        pic.line(tip[0], tip[1], tip[0] - 2 * sx + 2 * sy, tip[1] - 2 * sy + 2 * sx)
        pic.line(tip[0], tip[1], tip[0] - 2 * sx - 2 * sy, tip[1] - 2 * sy - 2 * sx)


def drawn(*steps):
    pic = Picture()
    for step in steps:
        step(pic)
    pic.rim()
    return pic


# resource id: (file name, picture, hot spot)
CURSORS = {
    129: ("drawcross.cur", drawn(crosshair), (15, 15)),
    137: ("outsidebox.cur", drawn(lambda p: triangle(p, 17, 18), lambda p: arrow(p, 0, 0)), (0, 0)),
    138: ("insidebox.cur", drawn(lambda p: check_mark(p, 17, 19), lambda p: arrow(p, 0, 0)), (0, 0)),
    141: ("movevertex.cur", drawn(lambda p: move_cross(p, 23, 23), lambda p: arrow(p, 1, 2)), (1, 2)),
    142: ("closepoly.cur", drawn(crosshair, lambda p: check_mark(p, 21, 22)), (15, 15)),
}


def cur_file(pic, hot_spot):
    """A .cur file with one 1-bit image: XOR mask then AND mask, rows bottom-up."""
    def mask(bit_of):
        rows = []
        for y in reversed(range(SIZE)):
            value = 0
            for x in range(SIZE):
                value = (value << 1) | bit_of(x, y)
            rows.append(struct.pack(">I", value))
        return b"".join(rows)

    # black: AND 0, XOR 0; white: AND 0, XOR 1; transparent: AND 1, XOR 0
    xor_mask = mask(lambda x, y: 1 if (x, y) in pic.white else 0)
    and_mask = mask(lambda x, y: 0 if (x, y) in pic.white or (x, y) in pic.black else 1)
    header = struct.pack("<IiiHHIIiiII", 40, SIZE, 2 * SIZE, 1, 1, 0, 0, 0, 0, 2, 0)
    palette = struct.pack("<4B4B", 0, 0, 0, 0, 255, 255, 255, 0)
    image = header + palette + xor_mask + and_mask
    directory = struct.pack("<HHH", 0, 2, 1)
    entry = struct.pack("<BBBBHHII", SIZE, SIZE, 2, 0, hot_spot[0], hot_spot[1], len(image), 22)
    return directory + entry + image


def main():
    out = sys.argv[1]
    os.makedirs(out, exist_ok=True)
    for _, (name, pic, hot_spot) in sorted(CURSORS.items()):
        with open(os.path.join(out, name), "wb") as f:
            f.write(cur_file(pic, hot_spot))


if __name__ == "__main__":
    main()
