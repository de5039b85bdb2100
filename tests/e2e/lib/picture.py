#!/usr/bin/python3
"""Checks on screenshots of the game window, for the play-through test.

Regions are given as fractions of the picture, left top right bottom
(0 0 1 1 is the whole picture), so the checks do not depend on the window
size. Every command prints what it measured and exits 0 when the check holds,
1 when it does not.

  differ A B L T R B SHARE          at least SHARE of the region's pixels
                                    changed (some channel by more than 40)
  same A B L T R B SHARE            at most SHARE of the region changed
  ink FILE L T R B SHARE            at least SHARE of the region is the
                                    overlay's cyan text colour
  noink FILE L T R B SHARE          at most SHARE of the region is that cyan
  map FILE LOG OFFSET CORRELATION   the HUD map shows the first wall grid
                                    printed after byte OFFSET of the game's
                                    standard output LOG: inside the border,
                                    the brightness at each tile's centre
                                    correlates at least that well with the
                                    grid's walls
"""
import sys

sys.dont_write_bytecode = True  # no cache files beside the sources
import maze  # noqa: E402
from wav import correlation  # noqa: E402

from PIL import Image, ImageChops

CHANGE_LEVEL = 40
# The overlay's virtual canvas: drawn as large as the window allows at this
# shape, centred between clear bars.
CANVAS_W, CANVAS_H = 1280, 1024


def crop(path, box):
    image = Image.open(path).convert("RGB")
    w, h = image.size
    left, top, right, bottom = box
    return image.crop((round(left * w), round(top * h), round(right * w), round(bottom * h)))


def share_of(image, predicate):
    # Histogram of the per-pixel brightest channel: one pass in C.
    brightest = ImageChops.lighter(ImageChops.lighter(*image.split()[:2]), image.split()[2])
    counts = brightest.histogram()
    total = sum(counts)
    return sum(c for level, c in enumerate(counts) if predicate(level)) / total if total else 0.0


def is_ink(pixel):
    # The overlay's text and frames are drawn in (80, 214, 240); the scene has
    # no colour with green and blue both this high and red this low (walls
    # are orange-lit, the floor and the healthy ball pure blue).
    r, g, b = pixel
    return b >= 170 and g >= 150 and r <= 140 and b - r >= 80


def ink_share(path, box):
    pixels = list(crop(path, box).getdata())
    return sum(1 for p in pixels if is_ink(p)) / len(pixels) if pixels else 0.0


def changed_share(path_a, path_b, box):
    a, b = crop(path_a, box), crop(path_b, box)
    if a.size != b.size:
        return 1.0
    return share_of(ImageChops.difference(a, b), lambda level: level > CHANGE_LEVEL)


def canvas_box(size):
    w, h = size
    scale = min(w / CANVAS_W, h / CANVAS_H)
    cw, ch = CANVAS_W * scale, CANVAS_H * scale
    return (w - cw) / 2, (h - ch) / 2, cw, ch


def picture_difference(path, picture, box):
    shot = Image.open(path).convert("RGB")
    x, y, cw, ch = canvas_box(shot.size)
    canvas = shot.crop((round(x), round(y), round(x + cw), round(y + ch)))
    expected = Image.open(picture).convert("RGB").resize(canvas.size, Image.BILINEAR)
    left, top, right, bottom = box
    region = (round(left * canvas.width), round(top * canvas.height),
              round(right * canvas.width), round(bottom * canvas.height))
    diff = ImageChops.difference(canvas.crop(region), expected.crop(region))
    counts = diff.histogram()  # 256 levels for each of the three channels
    total = sum(counts)
    return sum((i % 256) * n for i, n in enumerate(counts)) / total if total else 255.0


# The map's square on the overlay canvas (left, top, side; top down).
MAP_BOX = (1080, 0, 200)


def map_correlation(path, grid):
    shot = Image.open(path).convert("L")
    x, y, cw, ch = canvas_box(shot.size)
    scale = cw / CANVAS_W
    left, top, side = (v * scale for v in MAP_BOX)
    n = len(grid)
    walls, levels = [], []
    # Rows run down the map (z grows towards the bottom), columns to the right.
    for row in range(1, n - 1):
        for column in range(1, n - 1):
            walls.append(1.0 if grid[row][column:column + 1] == "#" else 0.0)
            levels.append(shot.getpixel((int(x + left + (column + 0.5) * side / n),
                                         int(y + top + (row + 0.5) * side / n))))
    return correlation(walls, levels)


def main(argv):
    if len(argv) < 2:
        print(__doc__)
        return 2
    command, args = argv[1], argv[2:]
    if command in ("ink", "noink") and len(args) == 6:
        box, limit = [float(v) for v in args[1:5]], float(args[5])
        share = ink_share(args[0], box)
        ok = share >= limit if command == "ink" else share <= limit
        print("%s: ink share %.4f (%s %.4f)" % (args[0], share, ">=" if command == "ink" else "<=", limit))
    elif command in ("differ", "same") and len(args) == 7:
        box, limit = [float(v) for v in args[2:6]], float(args[6])
        share = changed_share(args[0], args[1], box)
        ok = share >= limit if command == "differ" else share <= limit
        print("%s -> %s: changed share %.4f (%s %.4f)" % (
            args[0], args[1], share, ">=" if command == "differ" else "<=", limit))
    elif command == "like" and len(args) == 7:
        box, limit = [float(v) for v in args[2:6]], float(args[6])
        difference = picture_difference(args[0], args[1], box)
        ok = difference <= limit
        print("%s like %s: mean difference %.1f (<= %.1f)" % (args[0], args[1], difference, limit))
    elif command == "map" and len(args) == 4:
        grid = maze.grid_after(args[1], int(args[2]))
        if grid is None:
            print("%s: no wall grid after byte %s" % (args[1], args[2]))
            return 1
        found = map_correlation(args[0], grid)
        ok = found >= float(args[3])
        print("%s: map against the %d-row maze: correlation %.3f (>= %s)" % (args[0], len(grid), found, args[3]))
    else:
        print(__doc__)
        return 2
    return 0 if ok else 1


if __name__ == "__main__":
    sys.exit(main(sys.argv))
