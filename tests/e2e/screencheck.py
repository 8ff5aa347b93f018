#!/usr/bin/env python3
"""Compares part of a screenshot with one of the program's pictures, or with the desktop as it was.

  screencheck.py shows <shot> <picture> <left> <top> <width> <height> <x> <y> [tolerance] [hands <cx> <cy> <r>]
                [scaled <factor>]
      The picture's rectangle is on screen with its top-left corner at (x, y): its opaque pixels (those
      not of the colour of its top-left pixel) are there, each channel within the tolerance (default 3).
      With "hands", the circle of radius r around the picture's point (cx, cy) is left out: the clock's
      hands move over the dial there. With "scaled", the rectangle shows at factor times its size,
      smoothed as the program draws it (bilinear); a screen pixel that takes a cut-away pixel in is left
      out.
  screencheck.py cut <shot> <desktop> <picture> <x> <y> <factor>
      The picture shown at factor times its size with its top-left corner at (x, y) is cut to its shape:
      every screen pixel that only cut-away pixels of the picture fall on shows the desktop as the earlier
      screenshot <desktop> did.
  screencheck.py bare <shot> <desktop> <left> <top> <width> <height>
      The rectangle of the screen shows the desktop as the earlier screenshot <desktop> did.

Passes when at least 99 % of the pixels compared match (all of them for "cut"); prints the figures either way.
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


def scaled_pixel(picture, fx, fy, key):
    """The picture sampled bilinearly at (fx, fy), pixel centres at whole numbers; None next to the key."""
    x0, y0 = int(fx // 1), int(fy // 1)
    corners = [pixel(picture, min(max(x, 0), picture[0] - 1), min(max(y, 0), picture[1] - 1))
               for y in (y0, y0 + 1) for x in (x0, x0 + 1)]
    if key in corners:
        return None
    ax, ay = fx - x0, fy - y0
    weights = ((1 - ax) * (1 - ay), ax * (1 - ay), (1 - ax) * ay, ax * ay)
    return bytes(round(sum(w * c[i] for w, c in zip(weights, corners))) for i in range(3))


def verdict(what, matched, compared, needed=0.99):
    share = matched / compared if compared else 0.0
    print(f"{what}: {matched} of {compared} pixels match ({share:.2%})")
    return 0 if compared and share >= needed else 1


def main(argv):
    if len(argv) >= 9 and argv[1] == "shows":
        shot, picture = read(argv[2]), read(argv[3])
        left, top, width, height, x, y = map(int, argv[4:10])
        options = argv[10:]
        tolerance = int(options.pop(0)) if options and options[0] not in ("hands", "scaled") else 3
        hands = tuple(map(int, options[1:4])) if options[:1] == ["hands"] else None
        options = options[4:] if hands else options
        factor = float(options[1]) if options[:1] == ["scaled"] else None
        key = pixel(picture, 0, 0)
        matched = compared = 0
        if factor:
            for sy in range(round(height * factor)):
                for sx in range(round(width * factor)):
                    fx, fy = left + (sx + 0.5) / factor - 0.5, top + (sy + 0.5) / factor - 0.5
                    if hands and (fx - hands[0]) ** 2 + (fy - hands[1]) ** 2 <= hands[2] ** 2:
                        continue
                    drawn = scaled_pixel(picture, fx, fy, key)
                    if drawn is None:
                        continue
                    compared += 1
                    matched += close(pixel(shot, x + sx, y + sy), drawn, tolerance)
            return verdict(f"picture {left},{top} {width}x{height} at {factor} at {x},{y}", matched, compared)
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
    if len(argv) == 8 and argv[1] == "cut":
        shot, desktop, picture = read(argv[2]), read(argv[3]), read(argv[4])
        x, y, factor = int(argv[5]), int(argv[6]), float(argv[7])
        key = pixel(picture, 0, 0)
        matched = compared = 0
        for sy in range(round(picture[1] * factor)):
            rows = range(int(sy / factor), min(picture[1], int(-(-(sy + 1) // factor))))
            for sx in range(round(picture[0] * factor)):
                columns = range(int(sx / factor), min(picture[0], int(-(-(sx + 1) // factor))))
                if all(pixel(picture, c, r) == key for r in rows for c in columns):
                    compared += 1
                    matched += close(pixel(shot, x + sx, y + sy), pixel(desktop, x + sx, y + sy), 3)
        # A shape off by one row leaves a line of the window standing: every pixel counts.
        return verdict(f"cut-away pixels at {factor} at {x},{y}", matched, compared, 1.0)
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
