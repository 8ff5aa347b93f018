#!/usr/bin/env python3
"""Compares part of a screenshot with one of the program's pictures, or with the desktop as it was.

  screencheck.py shows <shot> <picture> <left> <top> <width> <height> <x> <y> [tolerance] [hands <cx> <cy> <r>]
      The picture's rectangle is on screen with its top-left corner at (x, y): its opaque pixels (those
      not of the colour of its top-left pixel) are there, each channel within the tolerance (default 3).
      With "hands", the circle of radius r around the picture's point (cx, cy) is left out: the clock's
      hands move over the dial there.
  screencheck.py bare <shot> <desktop> <left> <top> <width> <height>
      The rectangle of the screen shows the desktop as the earlier screenshot <desktop> did.

Passes when at least 99 % of the pixels compared match; prints the figures either way.
"""
import subprocess
import sys


def read(path):
    """(width, height, rows of RGB bytes) of any picture ImageMagick reads."""
    data = subprocess.run(["convert", path, "-depth", "8", "ppm:-"], check=True, capture_output=True).stdout
    fields, at = [], 0
    while len(fields) < 4:  # magic, width, height, maximum, with comments and blanks between
        while data[at:at + 1].isspace():
            at += 1
        if data[at:at + 1] == b"#":
            at = data.index(b"\n", at)
            continue
        end = at
        while not data[end:end + 1].isspace():
            end += 1
        fields.append(data[at:end])
        at = end
    if fields[0] != b"P6" or fields[3] != b"255":
        sys.exit(f"{path}: not an 8-bit RGB picture")
    width, height = int(fields[1]), int(fields[2])
    pixels = data[at + 1:]
    return width, height, [pixels[y * width * 3:(y + 1) * width * 3] for y in range(height)]


def pixel(picture, x, y):
    width, height, rows = picture
    if not (0 <= x < width and 0 <= y < height):
        return None
    return rows[y][3 * x:3 * x + 3]


def close(a, b, tolerance):
    return a is not None and b is not None and all(abs(p - q) <= tolerance for p, q in zip(a, b))


def verdict(what, matched, compared):
    share = matched / compared if compared else 0.0
    print(f"{what}: {matched} of {compared} pixels match ({share:.2%})")
    return 0 if compared and share >= 0.99 else 1


def main(argv):
    if len(argv) >= 9 and argv[1] == "shows":
        shot, picture = read(argv[2]), read(argv[3])
        left, top, width, height, x, y = map(int, argv[4:10])
        options = argv[10:]
        tolerance = int(options.pop(0)) if options and options[0] != "hands" else 3
        hands = tuple(map(int, options[1:4])) if options[:1] == ["hands"] else None
        key = pixel(picture, 0, 0)
        matched = compared = 0
        for row in range(top, top + height):
            for column in range(left, left + width):
                drawn = pixel(picture, column, row)
                if drawn == key:
                    continue
                if hands and (column - hands[0]) ** 2 + (row - hands[1]) ** 2 <= hands[2] ** 2:
                    continue
                compared += 1
                matched += close(pixel(shot, x + column - left, y + row - top), drawn, tolerance)
        return verdict(f"picture {left},{top} {width}x{height} at {x},{y}", matched, compared)
    if len(argv) == 8 and argv[1] == "bare":
        shot, desktop = read(argv[2]), read(argv[3])
        left, top, width, height = map(int, argv[4:8])
        matched = compared = 0
        for y in range(top, top + height):
            for x in range(left, left + width):
                compared += 1
                matched += close(pixel(shot, x, y), pixel(desktop, x, y), 3)
        return verdict(f"desktop {left},{top} {width}x{height}", matched, compared)
    sys.exit(__doc__)


if __name__ == "__main__":
    sys.exit(main(sys.argv))
