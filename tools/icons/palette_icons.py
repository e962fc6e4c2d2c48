#!/usr/bin/env python3
"""Writes resources/palette_icons.vlr: the tool palette's 'ICON' resources.

The palette draws each 32 by 32 icon shrunk into its 26 by 18 pane, so every picture is drawn here
on that small grid and spread over the 32 by 32 icon so that the shrinking gives it back pixel for
pixel. Column 0, column 25 and row 17 fall under the pane's outline; pictures keep to the rest.

    python3 tools/icons/palette_icons.py > resources/palette_icons.vlr
"""

W, H = 26, 18


class Canvas:
    def __init__(self):
        self.px = [[0] * W for _ in range(H)]

    def dot(self, x, y):
        if 1 <= x <= 24 and 0 <= y <= 16:
            self.px[y][x] = 1

    def line(self, x0, y0, x1, y1):
        dx, dy = abs(x1 - x0), -abs(y1 - y0)
        sx, sy = (1 if x0 < x1 else -1), (1 if y0 < y1 else -1)
        err = dx + dy
        while True:
            self.dot(x0, y0)
            if x0 == x1 and y0 == y1:
                return
            e2 = 2 * err
            if e2 >= dy:
                err += dy
                x0 += sx
            if e2 <= dx:
                err += dx
                y0 += sy

    def poly(self, *points, closed=False):
        pts = list(points) + ([points[0]] if closed else [])
        for (a, b), (c, d) in zip(pts, pts[1:]):
            self.line(a, b, c, d)

    def rect(self, left, top, right, bottom, fill=False):
        for y in range(top, bottom + 1):
            for x in range(left, right + 1):
                if fill or y in (top, bottom) or x in (left, right):
                    self.dot(x, y)

    def ellipse(self, cx, cy, rx, ry, start=0, end=360, fill=False):
        import math
        steps = 720
        for i in range(steps + 1):
            a = math.radians(start + (end - start) * i / steps)
            x, y = cx + rx * math.cos(a), cy - ry * math.sin(a)
            if fill:
                self.line(round(cx), round(y), round(x), round(y))
            else:
                self.dot(round(x), round(y))

    def bits(self, rows):
        for y, row in enumerate(rows):
            for x, c in enumerate(row):
                if c == '#':
                    self.dot(x, y)


def arrow(c, x, y):
    shape = ["#", "##", "# #", "#  #", "#   #", "#    #", "#     #", "#  ####", "# # #", "##  #", "#    #", "     #"]
    for dy, row in enumerate(shape):
        for dx, ch in enumerate(row):
            if ch == '#':
                c.dot(x + dx, y + dy)


def cube(c, x, y, s, d):
    c.rect(x, y + d, x + s, y + d + s - 4)
    c.poly((x, y + d), (x + d, y), (x + s + d, y), (x + s, y + d))
    c.line(x + s + d, y, x + s + d, y + s - 4)
    c.line(x + s + d, y + s - 4, x + s, y + d + s - 4)


def grid(c, on):
    for y in range(2, 16, 3):
        for x in range(3, 24, 4):
            c.dot(x, y)
            if on:
                c.dot(x + 1, y)


def handles(c, on):
    c.rect(6, 4, 18, 12)
    for (x, y) in ((6, 4), (18, 4), (6, 12), (18, 12)):
        c.rect(x - 1, y - 1, x + 1, y + 1, fill=on)
    if on:
        c.line(12, 6, 12, 10)
        c.line(10, 8, 14, 8)


def plane(c, kind):
    if kind == 'plan':
        c.poly((3, 11), (8, 5), (22, 5), (17, 11), closed=True)
    elif kind == 'x':
        c.poly((6, 2), (6, 13), (18, 13), (18, 2), closed=True)
    elif kind == 'y':
        c.poly((6, 4), (14, 1), (14, 12), (6, 15), closed=True)
    else:
        c.poly((3, 13), (9, 3), (22, 6), (16, 15), closed=True)
        c.line(12, 9, 12, 1)
        c.line(12, 1, 10, 3)
        c.line(12, 1, 14, 3)


def icon(code):
    c = Canvas()
    if code == 500:
        arrow(c, 9, 2)
    elif code in (501, 504):
        handles(c, code == 501)
    elif code in (502, 505):
        grid(c, code == 502)
    elif code == 503:
        pass
    elif code == 600:  # line
        c.line(4, 14, 21, 2)
        c.rect(3, 13, 5, 15, fill=True)
        c.rect(20, 1, 22, 3, fill=True)
    elif code == 601:  # rectangle
        c.rect(4, 3, 21, 13)
    elif code == 602:  # arc
        c.ellipse(12.5, 13, 9, 10, 0, 180)
    elif code == 603:  # cylinder
        c.ellipse(12.5, 3.5, 7, 2)
        c.ellipse(12.5, 13, 7, 2, 180, 360)
        c.line(5, 4, 5, 13)
        c.line(20, 4, 20, 13)
    elif code == 604:  # polyline
        c.poly((3, 14), (7, 3), (13, 10), (17, 2), (22, 12))
    elif code == 605:  # text
        c.poly((6, 14), (12, 2), (18, 14))
        c.line(9, 9, 15, 9)
    elif code == 606:  # block
        cube(c, 5, 2, 11, 4)
    elif code == 607:  # wall of blocks
        c.rect(2, 8, 10, 13)
        c.rect(10, 5, 17, 13)
        c.rect(17, 2, 23, 13)
    elif code == 700:  # pencil
        c.poly((4, 14), (6, 10), (18, 2), (21, 5), (9, 13), closed=True)
        c.line(6, 10, 9, 13)
    elif code == 701:  # eraser
        c.poly((4, 11), (12, 4), (21, 4), (13, 11), closed=True)
        c.poly((4, 11), (4, 14), (13, 14), (21, 7), (21, 4))
        c.line(13, 11, 13, 14)
    elif code == 800:  # rectangular opening in a wall
        c.rect(2, 1, 23, 15)
        c.rect(8, 4, 17, 12, fill=True)
    elif code == 801:  # outlined opening
        c.rect(2, 1, 23, 15)
        c.poly((6, 12), (8, 4), (14, 3), (19, 8), (15, 13), closed=True)
    elif code == 802:  # colour pick-up
        c.poly((4, 15), (13, 6))
        c.poly((13, 6), (15, 8))
        c.rect(15, 2, 20, 7, fill=True)
        c.poly((11, 4), (17, 10))
    elif code == 803:  # colour swatch: the colour is painted over the frame
        pass
    elif code == 900:  # rotate
        c.ellipse(12.5, 8.5, 7, 6, 30, 330)
        c.poly((19, 11), (21, 14), (17, 14))
    elif code == 901:  # trim
        c.line(12, 1, 12, 15)
        cube(c, 4, 5, 5, 2)
        c.rect(16, 7, 21, 12)
    elif code == 902:  # edit
        c.rect(5, 4, 20, 12)
        for (x, y) in ((5, 4), (20, 4), (5, 12), (20, 12), (12, 4), (12, 12)):
            c.rect(x - 1, y - 1, x + 1, y + 1, fill=True)
    elif code == 903:  # faces
        cube(c, 5, 2, 11, 4)
        c.rect(6, 7, 15, 12, fill=True)
    elif code == 1000:  # eye: orbit the view
        c.ellipse(12.5, 8, 9, 5, 0, 360)
        c.ellipse(12.5, 8, 2.5, 2.5, fill=True)
    elif code == 1001:  # look around
        c.ellipse(8, 8, 4, 4)
        c.line(12, 8, 23, 3)
        c.line(12, 8, 23, 13)
    elif code == 1002:  # the scene's camera
        c.rect(4, 5, 16, 13)
        c.poly((16, 8), (22, 5), (22, 13), (16, 10))
    elif code == 1100:  # walk
        c.poly((5, 15), (9, 9), (13, 15))
        c.line(9, 9, 9, 4)
        c.ellipse(9, 2, 1.5, 1.5, fill=True)
        c.poly((5, 7), (9, 5), (13, 7))
        c.poly((16, 12), (22, 8))
        c.poly((19, 8), (22, 8), (22, 11))
    elif code == 1101:  # zoom
        c.ellipse(10, 7, 5, 5)
        c.line(14, 11, 20, 15)
        c.line(15, 11, 21, 15)
        c.line(8, 7, 12, 7)
        c.line(10, 5, 10, 9)
    elif code == 1200:
        plane(c, 'plan')
    elif code == 1201:
        plane(c, 'x')
    elif code == 1202:
        plane(c, 'y')
    elif code == 1203:
        plane(c, 'free')
    return c


def spread(c):
    """The 32 by 32 icon that the palette's shrinking turns back into the picture."""
    big = [[c.px[y * H // 32][x * W // 32] for x in range(32)] for y in range(32)]
    for y in range(H):
        for x in range(W):
            big[y * 32 // H][x * 32 // W] = c.px[y][x]
    return big


CODES = [500, 501, 502, 503, 504, 505, 600, 601, 602, 603, 604, 605, 606, 607, 700, 701, 800, 801, 802, 803,
         900, 901, 902, 903, 1000, 1001, 1002, 1100, 1101, 1200, 1201, 1202, 1203]


def main():
    print("# The tool palette's icons, written by tools/icons/palette_icons.py: edit the script, not this file.")
    for code in CODES:
        big = spread(icon(code))
        print(f"resource 'ICON' {code} {{")
        print("  data {")
        for y in range(0, 32, 2):
            words = []
            for row in big[y:y + 2]:
                value = 0
                for bit in row:
                    value = value << 1 | bit
                words.append(f"{value:08X}")
            print("    " + " ".join(words))
        print("  }")
        print("}")


if __name__ == "__main__":
    main()
