#!/usr/bin/env python3
"""Writes the text source of Zephtab's own icon (src/resources/icons/app.txt).

Two overlapping windows, the back one inactive, the front one active with an
arrow in it: switching. Drawn on a 16-unit design grid; each rectangle's edges
are rounded to whole pixels at every size and every frame is a whole number of
pixels thick, so that the picture stays crisp from 16 to 256 pixels. White,
orange and a dark navy frame stand out on the switcher's blue and on light and
dark taskbars alike.

Usage: app_icon.py > src/resources/icons/app.txt, then `make icons`.
"""

import math

SIZES = (16, 20, 24, 32, 40, 48, 64, 256)

PALETTE = (
    (".", "none"),
    ("K", "16234a"),  # frames
    ("O", "ff8a00"),  # the front (active) window's title bar
    ("Y", "ffc45c"),  # the back window's title bar
    ("W", "ffffff"),  # the front window
    ("L", "dbe4f7"),  # the back window
    ("A", "0a3fb0"),  # the arrow
)

# (left, top, right, bottom) in design units; right and bottom exclusive.
BACK = (0.0, 1.0, 11.0, 10.5)
FRONT = (5.0, 5.5, 16.0, 15.0)
TITLE_UNITS = 2.0  # title bar height, below the frame
# The arrow, pointing right, as a polygon in design units.
ARROW = ((7.0, 10.0), (10.0, 10.0), (10.0, 9.0), (13.0, 11.5), (10.0, 14.0), (10.0, 13.0),
         (7.0, 13.0))


def scaled(value, size):
    # Half up, the same at every size (round() would round half to even).
    return int(math.floor(value * size / 16.0 + 0.5))


def draw_window(pixels, rect, title, body, size):
    frame = max(1, scaled(1.0, size))
    left, top, right, bottom = (scaled(v, size) for v in rect)
    title_bottom = top + frame + max(1, scaled(TITLE_UNITS, size))
    for y in range(top, bottom):
        for x in range(left, right):
            on_frame = (x < left + frame or x >= right - frame or y < top + frame or
                        y >= bottom - frame)
            if on_frame:
                pixels[y][x] = "K"
            else:
                pixels[y][x] = title if y < title_bottom else body


def inside(polygon, x, y):
    result = False
    for i, (x1, y1) in enumerate(polygon):
        x2, y2 = polygon[i - 1]
        if (y1 > y) != (y2 > y) and x < x1 + (y - y1) * (x2 - x1) / (y2 - y1):
            result = not result
    return result


def draw_arrow(pixels, size):
    for y in range(size):
        for x in range(size):
            # The pixel's centre, in design units.
            if inside(ARROW, (x + 0.5) * 16.0 / size, (y + 0.5) * 16.0 / size):
                pixels[y][x] = "A"


def picture(size):
    pixels = [["."] * size for _ in range(size)]
    draw_window(pixels, BACK, "Y", "L", size)
    draw_window(pixels, FRONT, "O", "W", size)
    draw_arrow(pixels, size)
    return ["".join(row) for row in pixels]


def main():
    print("# IDI_APP, Zephtab's own icon: written by tools/icongen/app_icon.py.")
    for char, colour in PALETTE:
        print(f"{char} {colour}")
    for size in SIZES:
        # Few colours: 4 bits a pixel keeps the large pictures small.
        print(f"image {size} 4")
        for row in picture(size):
            print(row)


if __name__ == "__main__":
    main()
