#!/usr/bin/env python3
"""Generate every Kelvo data file: the 40 BMP textures, the three WAV sounds,
the desktop icon (with its smaller sizes and the Windows .ico made from it)
and a contact sheet for reviewing the pictures.

    python3 tools/make_assets.py           # write data/ and out/contact_sheet.png
    python3 tools/make_assets.py --check   # re-read data/ and verify it
    python3 tools/make_assets.py --icons   # only the icons made from icons/kelvo.png

Run from the repository root. Output is deterministic (fixed seeds).

Conventions the game's loader imposes on the pictures:
  * 24-bit uncompressed BMP, 40-byte BITMAPINFOHEADER, bottom-up rows, and a
    width that is a multiple of 4 (the loader reads rows without padding).
  * Menu and HUD images are keyed: exactly (0,0,255) becomes transparent,
    every other colour is fully opaque. There is no partial alpha, so shapes
    are drawn anti-aliased and then hard-thresholded; opaque pixels are kept
    well away from the key so no bluish fringe survives.
  * The enemy sprite is keyed on exact black and drawn additively.
  * Overlay images get a colour ADDED to them (black at rest, orange
    (1, 0.75, 0) when highlighted), so text is a mid-bright cyan rather than
    white, and buttons sit on a dark plate that the highlight warms up.
"""

import math
import os
import random
import struct
import sys
import wave

try:
    from PIL import Image, ImageChops, ImageDraw, ImageFilter, ImageFont
except ImportError:  # a private interpreter without Pillow: use the system one
    if os.path.exists("/usr/bin/python3") and os.path.realpath(sys.executable) != \
            os.path.realpath("/usr/bin/python3") and not os.environ.get("KELVO_REEXEC"):
        os.environ["KELVO_REEXEC"] = "1"
        os.execv("/usr/bin/python3", ["/usr/bin/python3"] + sys.argv)
    raise

DATA = "data"
SOUNDS = os.path.join(DATA, "sounds")
ICONS = os.path.join(DATA, "icons")
OUT = "out"
FONT_DIR = "/usr/share/fonts/truetype/dejavu/"
BOLD = FONT_DIR + "DejaVuSans-Bold.ttf"
REGULAR = FONT_DIR + "DejaVuSans.ttf"

BLUE_KEY = (0, 0, 255)
BLACK_KEY = (0, 0, 0)
HIGHLIGHT = (255, 192, 0)          # the menu's highlight colour, 0..255
NEAR_KEY = 64                      # max-channel distance that counts as "near the key"
DATA_BUDGET = 15 * 1024 * 1024     # bytes for everything under data/

# Palette: neon on near-black.
INK = (80, 214, 240)               # cyan text; orange highlight turns it cream-white
INK_DIM = (52, 140, 168)
OUTLINE = (4, 10, 16)              # dark outline around free-standing text
PLATE_TOP = (20, 32, 48)
PLATE_BOTTOM = (8, 13, 22)
PLATE_RIM = (46, 132, 160)
BG = (5, 7, 12)
BALL = (30, 100, 255)
ENEMY = (90, 255, 130)
DANGER = (255, 72, 100)
SUCCESS = (120, 242, 110)

SR = 22050                          # audio sample rate, mono 16-bit
PEAK = 10 ** (-3 / 20)              # -3 dBFS

# File name -> key colour (None: not keyed). Order follows the game's loader.
DIGIT_NAMES = ["zero", "one", "two", "three", "four",
               "five", "six", "seven", "eight", "nine"]
TEXTURES = (
    [("particle.bmp", BLACK_KEY),
     ("kelvo_menu.bmp", None),
     ("kelvo_instructions.bmp", None),
     ("kelvo_options.bmp", None)]
    + [(n, BLUE_KEY) for n in (
        "instructionsButton.bmp", "exitButton.bmp", "startButton.bmp",
        "optionsButton.bmp", "pause_ingame.bmp", "gameOver_ingame.bmp",
        "win_ingame.bmp", "settings.bmp", "levelsizeButton.bmp",
        "enemyColorButton.bmp", "enemyCountButton.bmp", "playerColorButton.bmp",
        "playerHealthButton.bmp", "arrowLeft.bmp", "arrowRight.bmp")]
    + [(d + ".bmp", BLUE_KEY) for d in DIGIT_NAMES]
    + [(n, BLUE_KEY) for n in (
        "shaderButton.bmp", "on.bmp", "off.bmp", "health_ingame.bmp",
        "level_ingame.bmp", "arrowGoalWhite_ingame.bmp")]
    + [("wallTex1.bmp", None)]
    + [(n, BLUE_KEY) for n in (
        "time_ingame.bmp", "best_ingame.bmp", "newBest_ingame.bmp", "point.bmp")]
)
SOUND_FILES = ("healthDrain.wav", "mainMenu3.wav", "background.wav")
LOOPING = {"mainMenu3.wav", "background.wav"}


# --------------------------------------------------------------------------
# BMP files


def write_bmp(path, img):
    """Write an RGB image as a 24-bit bottom-up BMP with a 40-byte info header."""
    img = img.convert("RGB")
    w, h = img.size
    if w % 4:
        raise ValueError("%s: width %d is not a multiple of 4" % (path, w))
    r, g, b = img.transpose(Image.FLIP_TOP_BOTTOM).split()
    pixels = Image.merge("RGB", (b, g, r)).tobytes()   # BGR, bottom row first
    offset = 14 + 40
    header = struct.pack("<2sIHHI", b"BM", offset + len(pixels), 0, 0, offset)
    info = struct.pack("<IiiHHIIiiII", 40, w, h, 1, 24, 0, len(pixels),
                       2835, 2835, 0, 0)
    with open(path, "wb") as f:
        f.write(header + info + pixels)


def read_bmp(path):
    """Return (fields, RGB image) for a BMP; fields holds the header values."""
    with open(path, "rb") as f:
        raw = f.read()
    magic, size, _, _, offset = struct.unpack_from("<2sIHHI", raw, 0)
    (hsize, w, h, planes, bits, compression,
     image_size, _, _, _, _) = struct.unpack_from("<IiiHHIIiiII", raw, 14)
    fields = dict(magic=magic, file_size=size, actual_size=len(raw), offset=offset,
                  header_size=hsize, width=w, height=h, planes=planes, bits=bits,
                  compression=compression)
    img = None
    if w > 0 and h > 0 and bits == 24 and offset + w * h * 3 <= len(raw):
        data = raw[offset:offset + w * h * 3]
        bgr = Image.frombytes("RGB", (w, h), data)
        b, g, r = bgr.split()
        img = Image.merge("RGB", (r, g, b)).transpose(Image.FLIP_TOP_BOTTOM)
    return fields, img


# --------------------------------------------------------------------------
# Drawing helpers


def font(px, path=BOLD):
    return ImageFont.truetype(path, px)


def scale_px(img, factor):
    """Multiply every channel of an RGB image by factor (clamped)."""
    return img.point(lambda v: min(255, int(v * factor + 0.5)))


def text_layer(text, px, fill, stroke=0, stroke_fill=OUTLINE, path=BOLD):
    """Render text as an RGBA layer cropped to its ink horizontally.

    Returns (layer, cap_top, baseline): the y range of a capital letter inside
    the layer, so rows of labels align on their caps rather than their ink
    (descenders hang below). Colours come from coverage masks so edge pixels
    keep the full text colour and only their alpha falls off.
    """
    f = font(px, path)
    asc, desc = f.getmetrics()
    pad = stroke + 4
    w = int(f.getlength(text)) + 2 * pad + px // 2
    h = asc + desc + 2 * pad
    base = pad + asc
    inner = Image.new("L", (w, h), 0)
    ImageDraw.Draw(inner).text((pad, base), text, font=f, fill=255, anchor="ls")
    layer = Image.new("RGBA", (w, h), fill + (0,))
    if stroke:
        outer = Image.new("L", (w, h), 0)
        ImageDraw.Draw(outer).text((pad, base), text, font=f, fill=255, anchor="ls",
                                   stroke_width=stroke, stroke_fill=255)
        under = Image.new("RGBA", (w, h), stroke_fill + (0,))
        under.putalpha(outer)
        top = Image.new("RGBA", (w, h), fill + (0,))
        top.putalpha(inner)
        layer = Image.alpha_composite(under, top)
        ink = outer
    else:
        layer.putalpha(inner)
        ink = inner
    x0, _, x1, _ = ink.getbbox()
    cap_top = base + f.getbbox("H", anchor="ls")[1] - stroke
    return layer.crop((x0, 0, x1, h)), cap_top, base + stroke


def place_text(canvas, text, box, cap_h, fill, stroke=0, align="center",
               path=BOLD, max_condense=0.82):
    """Draw text into box=(x0, y0, x1, y1) of an RGBA canvas with its capitals
    cap_h pixels tall, vertically centred on the cap height. Too-wide text is
    first condensed horizontally (down to max_condense) and then shrunk."""
    probe = 200
    layer, ct, bl = text_layer(text, probe, fill, stroke * probe // max(cap_h, 1),
                               path=path)
    s = cap_h / float(bl - ct)
    bw = box[2] - box[0]
    sx = sy = s
    if layer.width * sx > bw:
        sx = bw / float(layer.width)
        if sx < s * max_condense:
            sy = sx / max_condense
    lw, lh = max(1, int(layer.width * sx + 0.5)), max(1, int(layer.height * sy + 0.5))
    layer = layer.resize((lw, lh), Image.LANCZOS)
    cy = (box[1] + box[3]) / 2.0
    y = int(round(cy - (ct + bl) / 2.0 * sy))
    if align == "left":
        x = box[0]
    elif align == "right":
        x = box[2] - lw
    else:
        x = int(round((box[0] + box[2] - lw) / 2.0))
    canvas.alpha_composite(layer, (x, y))
    return x, x + lw


def gradient(size, top, bottom):
    w, h = size
    col = Image.new("RGB", (1, h))
    for y in range(h):
        t = y / max(1.0, h - 1.0)
        col.putpixel((0, y), tuple(int(a + (b - a) * t + 0.5) for a, b in zip(top, bottom)))
    return col.resize((w, h), Image.NEAREST)


def plate(canvas, box, radius, rim, rim_w, top=PLATE_TOP, bottom=PLATE_BOTTOM):
    """A dark rounded plate with a thin coloured rim, drawn onto an RGBA canvas."""
    x0, y0, x1, y1 = box
    w, h = x1 - x0, y1 - y0
    mask = Image.new("L", (w, h), 0)
    ImageDraw.Draw(mask).rounded_rectangle((0, 0, w - 1, h - 1), radius, fill=255)
    body = gradient((w, h), rim, rim).convert("RGBA")
    body.putalpha(mask)
    canvas.alpha_composite(body, (x0, y0))
    inner = Image.new("L", (w, h), 0)
    ImageDraw.Draw(inner).rounded_rectangle(
        (rim_w, rim_w, w - 1 - rim_w, h - 1 - rim_w), max(1, radius - rim_w), fill=255)
    fill = gradient((w, h), top, bottom).convert("RGBA")
    fill.putalpha(inner)
    canvas.alpha_composite(fill, (x0, y0))


def keyed(img, size, key=BLUE_KEY):
    """Downsample an RGBA design to the texture size, then make it binary:
    alpha >= 128 keeps its (un-premultiplied) colour, the rest becomes the key.
    Opaque pixels that would sit near the key are pushed away from it."""
    small = img.resize(size, Image.LANCZOS)
    out = Image.new("RGB", size, key)
    mask = small.getchannel("A").point(lambda a: 255 if a >= 128 else 0)
    out.paste(small.convert("RGB"), (0, 0), mask)
    px = out.load()
    m = mask.load()
    for y in range(size[1]):
        for x in range(size[0]):
            if m[x, y]:
                r, g, b = px[x, y]
                if key == BLUE_KEY and max(r, g) < NEAR_KEY and b > 160:
                    px[x, y] = (r, g, 160)
                elif key == BLACK_KEY and (r, g, b) == BLACK_KEY:
                    px[x, y] = (1, 1, 1)
    return out


def premultiplied(layer):
    """RGBA layer -> RGB over black (for additive glow compositing)."""
    base = Image.new("RGB", layer.size, (0, 0, 0))
    base.paste(layer.convert("RGB"), (0, 0), layer.getchannel("A"))
    return base


def add_glow(rgb, layer, radii=((3, 0.4), (12, 0.7), (36, 0.55))):
    """Add a neon layer (RGBA) and blurred copies of it onto an RGB image."""
    flat = premultiplied(layer)
    out = rgb
    for r, gain in radii:
        out = ImageChops.add(out, scale_px(flat.filter(ImageFilter.GaussianBlur(r)), gain))
    base = out.copy()
    base.paste(layer.convert("RGB"), (0, 0), layer.getchannel("A"))
    return base


def radial_glow(size, color, falloff=2.0, core=0.0):
    """A round RGB glow on black: smooth to exactly zero at the rim."""
    w = h = size
    img = Image.new("RGB", (w, h))
    px = img.load()
    c = (size - 1) / 2.0
    for y in range(h):
        for x in range(w):
            r = math.hypot(x - c, y - c) / (size / 2.0)
            if r >= 1:
                continue
            v = (1 - r * r) ** falloff
            whit = core * math.exp(-(r / 0.18) ** 2)
            px[x, y] = tuple(min(255, int(v * ch + whit * 255)) for ch in color)
    return img


# --------------------------------------------------------------------------
# Maze motif shared by the screens and the icon


def maze_walls(cols, rows, rng):
    """Recursive-backtracker maze; returns wall segments in cell units."""
    seen = [[False] * cols for _ in range(rows)]
    right = [[True] * cols for _ in range(rows)]   # wall on the east side
    down = [[True] * cols for _ in range(rows)]    # wall on the south side
    stack = [(0, 0)]
    seen[0][0] = True
    while stack:
        x, y = stack[-1]
        nbrs = [(x + dx, y + dy) for dx, dy in ((1, 0), (-1, 0), (0, 1), (0, -1))
                if 0 <= x + dx < cols and 0 <= y + dy < rows and not seen[y + dy][x + dx]]
        if not nbrs:
            stack.pop()
            continue
        nx, ny = rng.choice(nbrs)
        if nx > x:
            right[y][x] = False
        elif nx < x:
            right[y][nx] = False
        elif ny > y:
            down[y][x] = False
        else:
            down[ny][x] = False
        seen[ny][nx] = True
        stack.append((nx, ny))
    segs = [((0, 0), (cols, 0)), ((0, 0), (0, rows))]
    for y in range(rows):
        for x in range(cols):
            if right[y][x] and not (x == cols - 1 and y == rows // 2):  # goal gap
                segs.append(((x + 1, y), (x + 1, y + 1)))
            if down[y][x]:
                segs.append(((x, y + 1), (x + 1, y + 1)))
    return segs


def maze_image(cells, px_per_cell, line_w, color, seed):
    rng = random.Random(seed)
    size = cells * px_per_cell
    img = Image.new("RGB", (size + line_w, size + line_w), (0, 0, 0))
    d = ImageDraw.Draw(img)
    o = line_w // 2
    for (ax, ay), (bx, by) in maze_walls(cells, cells, rng):
        d.line((ax * px_per_cell + o, ay * px_per_cell + o,
                bx * px_per_cell + o, by * px_per_cell + o), fill=color, width=line_w)
    return img


def solve(a, b):
    """Gaussian elimination for a small dense system (no numpy here)."""
    n = len(b)
    m = [row[:] + [b[i]] for i, row in enumerate(a)]
    for c in range(n):
        p = max(range(c, n), key=lambda r: abs(m[r][c]))
        m[c], m[p] = m[p], m[c]
        for r in range(n):
            if r != c:
                f = m[r][c] / m[c][c]
                for k in range(c, n + 1):
                    m[r][k] -= f * m[c][k]
    return [m[i][n] / m[i][i] for i in range(n)]


def perspective(src, out_size, quad):
    """Map src onto the quadrilateral quad (tl, tr, br, bl) of a new image."""
    w, h = src.size
    corners = [(0, 0), (w, 0), (w, h), (0, h)]
    a, b = [], []
    for (x, y), (u, v) in zip(quad, corners):   # output (x, y) -> source (u, v)
        a.append([x, y, 1, 0, 0, 0, -u * x, -u * y]); b.append(u)
        a.append([0, 0, 0, x, y, 1, -v * x, -v * y]); b.append(v)
    return src.transform(out_size, Image.PERSPECTIVE, solve(a, b), Image.BICUBIC)


def shaded_ball(d, color):
    """A lit sphere of diameter d on black, with a soft specular highlight."""
    img = Image.new("RGBA", (d, d), (0, 0, 0, 0))
    px = img.load()
    c = (d - 1) / 2.0
    lx, ly, lz = -0.45, -0.55, 0.70
    for y in range(d):
        for x in range(d):
            nx, ny = (x - c) / (d / 2.0), (y - c) / (d / 2.0)
            rr = nx * nx + ny * ny
            if rr >= 1:
                continue
            nz = math.sqrt(1 - rr)
            diff = max(0.0, nx * lx + ny * ly + nz * lz)
            shine = max(0.0, nz * 0.2 + diff * 0.8) ** 40
            k = 0.35 + 0.75 * diff
            col = tuple(min(255, int(ch * k + shine * 255)) for ch in color)
            edge = min(1.0, (1 - math.sqrt(rr)) * d / 2.0)   # anti-aliased rim
            px[x, y] = col + (int(255 * edge),)
    return img


# --------------------------------------------------------------------------
# Keyed menu and HUD pictures. Each is designed at its on-screen size on the
# 1280 x 1024 overlay canvas times SS, then resampled to a power-of-two
# texture, so the stretch the quad applies later cancels out.

SS = 4


def design(w, h):
    return Image.new("RGBA", (w * SS, h * SS), (0, 0, 0, 0))


def button(text, w, h, tex):
    img = design(w, h)
    plate(img, (SS, SS, w * SS - SS, h * SS - SS), 9 * SS, PLATE_RIM, 2 * SS)
    place_text(img, text, (12 * SS, 0, (w - 12) * SS, h * SS), int(h * 0.36) * SS, INK)
    return keyed(img, tex)


def free_text(text, w, h, tex, fill=INK, cap=0.55, stroke=3):
    """Text without a plate, with a dark outline so it reads over the scene."""
    img = design(w, h)
    place_text(img, text, (2 * SS, 0, (w - 2) * SS, h * SS), int(h * cap * SS), fill,
               stroke=stroke * SS)
    return keyed(img, tex)


def digit(ch):
    # Drawn for the HUD's 30 x 40 cells; the options screen squeezes the same
    # texture into 21 x 37, so the glyph keeps a margin on each side.
    img = design(30, 40)
    place_text(img, ch, (1 * SS, 0, 29 * SS, 40 * SS), 30 * SS, INK, stroke=3 * SS,
               max_condense=0.7)
    return keyed(img, (64, 64))


def point():
    # The decimal point between a time's seconds and tenths under the won
    # picture, in a 12 x 40 cell beside the 30 x 40 digits.
    img = design(12, 40)
    place_text(img, ".", (0, 0, 12 * SS, 40 * SS), 30 * SS, INK, stroke=3 * SS)
    return keyed(img, (16, 64))


def arrow(direction):
    w, h = 20, 37
    img = design(w, h)
    d = ImageDraw.Draw(img)
    cx, cy = w * SS / 2.0, h * SS / 2.0
    half_w, half_h = 7 * SS, 10 * SS
    tip = cx + half_w if direction > 0 else cx - half_w
    back = cx - half_w if direction > 0 else cx + half_w
    tri = [(tip, cy), (back, cy - half_h), (back, cy + half_h)]
    d.polygon(tri, fill=OUTLINE + (255,), outline=OUTLINE + (255,), width=5 * SS)
    d.line(tri + [tri[0]], fill=OUTLINE + (255,), width=6 * SS, joint="curve")
    d.polygon(tri, fill=INK + (255,))
    return keyed(img, (32, 64))


def banner(title, hint, w, h, tex, color):
    img = design(w, h)
    plate(img, (2 * SS, 2 * SS, (w - 2) * SS, (h - 2) * SS), 16 * SS, color, 3 * SS,
          top=(16, 20, 30), bottom=(6, 8, 14))
    place_text(img, title, (20 * SS, 10 * SS, (w - 20) * SS, int(h * 0.62) * SS),
               int(h * 0.28) * SS, color)
    place_text(img, hint, (20 * SS, int(h * 0.62) * SS, (w - 20) * SS, (h - 14) * SS),
               int(h * 0.12) * SS, (160, 178, 190), path=REGULAR)
    return keyed(img, tex)


def settings_header():
    w, h = 164, 37
    img = design(w, h)
    x0, x1 = place_text(img, "Settings", (4 * SS, 0, (w - 4) * SS, 31 * SS), 19 * SS,
                        INK, stroke=2 * SS, align="left")
    d = ImageDraw.Draw(img)
    d.rounded_rectangle((4 * SS, 31 * SS, (w - 10) * SS, 34 * SS), SS, fill=INK_DIM + (255,))
    return keyed(img, (256, 64))


def goal_arrow():
    w = h = 64
    img = design(w, h)
    d = ImageDraw.Draw(img)
    s = SS
    shape = [(22 * s, 6 * s), (42 * s, 6 * s), (42 * s, 30 * s), (56 * s, 30 * s),
             (32 * s, 58 * s), (8 * s, 30 * s), (22 * s, 30 * s)]
    d.polygon(shape, fill=(190, 190, 190, 255))
    inner = [(25 * s, 9 * s), (39 * s, 9 * s), (39 * s, 33 * s), (49 * s, 33 * s),
             (32 * s, 53 * s), (15 * s, 33 * s), (25 * s, 33 * s)]
    d.polygon(inner, fill=(255, 255, 255, 255))
    return keyed(img, (128, 128))


def particle():
    """Enemy glow: bright greenish-white core, smooth falloff to pure black."""
    size = 128
    img = Image.new("RGB", (size, size))
    px = img.load()
    c = (size - 1) / 2.0
    for y in range(size):
        for x in range(size):
            r = math.hypot(x - c, y - c) / (size / 2.0 - 1)
            if r >= 1:
                continue
            v = (1 - r * r) ** 3 * 0.75 + 0.45 * math.exp(-(r / 0.16) ** 2)
            col = (int(255 * min(1, v ** 1.8 * 1.1)), int(255 * min(1, v * 1.15)),
                   int(255 * min(1, v ** 1.5 * 0.95)))
            if max(col) < 3:        # ends in exact black, not a dark ring
                col = (0, 0, 0)
            px[x, y] = col
    return img


# --------------------------------------------------------------------------
# Wall texture: dark tech panels, tileable, 256 x 256 for a full mip chain.


def tile_noise(size, cells, rng, amp):
    """Smooth, seamlessly tiling noise (L image centred on 128)."""
    small = Image.new("L", (cells, cells))
    small.putdata([int(128 + rng.uniform(-amp, amp)) for _ in range(cells * cells)])
    big = Image.new("L", (cells * 3, cells * 3))
    for i in range(3):
        for j in range(3):
            big.paste(small, (i * cells, j * cells))
    up = big.resize((size * 3, size * 3), Image.BICUBIC)
    return up.crop((size, size, size * 2, size * 2))


def wall_texture():
    size = 256
    rng = random.Random(11)
    grain = [tile_noise(size, c, rng, a) for c, a in ((8, 40), (32, 26), (128, 16))]
    g = [n.load() for n in grain]
    img = Image.new("RGB", (size, size))
    px = img.load()
    pw, ph = 128, 64                          # panels in a brick bond
    tint = {}
    for row in range(size // ph):
        for col in range(size // pw):
            tint[row, col] = rng.uniform(-10, 10)
    lined = {(0, 1), (2, 0), (3, 1)}          # panels carrying a thin light line
    for y in range(size):
        row = y // ph
        shift = (pw // 2) * (row % 2)
        for x in range(size):
            xs = (x + shift) % size
            col = xs // pw
            u, v = xs % pw, y % ph
            n = (g[0][x, y] - 128) * 0.35 + (g[1][x, y] - 128) * 0.3 + (g[2][x, y] - 128) * 0.25
            base = 104 + tint[row, col] + n
            edge = min(u, v, pw - 1 - u, ph - 1 - v)
            if edge < 2:
                base = 42 + n * 0.3                            # groove
            elif edge < 4:
                base += 26 if (u < 4 or v < 4) else -30         # bevel, lit from top-left
            glow = 0
            if (row, col) in lined and v in (ph // 2, ph // 2 + 1) and 14 < u < pw - 14:
                glow = 30
            if edge >= 6 and (u in (8, 9) or u in (pw - 10, pw - 9)) and (v in (8, 9) or v in (ph - 10, ph - 9)):
                base += 40                                     # rivets
            r = base * 0.86
            gg = base * 0.95 + glow * 0.8
            b = base * 1.10 + glow
            px[x, y] = (int(max(0, min(255, r))), int(max(0, min(255, gg))),
                        int(max(0, min(255, b))))
    return img


# --------------------------------------------------------------------------
# Full screens, designed at 1280 x 1024 and stored at 1024 x 1024.

SCREEN = (1280, 1024)
SCREEN_TEX = (1024, 1024)


def dark_background(seed, floor_strength=1.0):
    """Near-black sky over a glowing maze floor seen in perspective."""
    w, h = SCREEN
    sky = gradient((w, h), (3, 4, 8), (10, 14, 24))
    maze = maze_image(18, 90, 7, (40, 150, 185), seed)
    maze = ImageChops.add(maze, scale_px(maze.filter(ImageFilter.GaussianBlur(10)), 1.4))
    horizon = 430
    floor = perspective(maze, (w, h), [(300, horizon), (980, horizon),
                                       (2600, h + 500), (-1320, h + 500)])
    fog = Image.new("L", (1, h))
    for y in range(h):
        t = 0 if y < horizon else min(1.0, (y - horizon) / 520.0)
        fog.putpixel((0, y), int(255 * floor_strength * t ** 1.3))
    fog = fog.resize((w, h))
    floor = ImageChops.multiply(floor, Image.merge("RGB", (fog, fog, fog)))
    haze = Image.new("RGB", (w, h))
    ImageDraw.Draw(haze).ellipse((140, horizon - 40, 1140, horizon + 40), fill=(16, 40, 60))
    haze = haze.filter(ImageFilter.GaussianBlur(40))
    return ImageChops.add(ImageChops.add(sky, floor), haze)


def calm_zone(img, box, level=0.25, feather=60):
    """Darken a region (feathered) so overlay items on it read clearly."""
    w, h = img.size
    mask = Image.new("L", (w, h), 0)
    ImageDraw.Draw(mask).rounded_rectangle(box, 30, fill=255)
    mask = mask.filter(ImageFilter.GaussianBlur(feather))
    dark = scale_px(img, level)
    return Image.composite(dark, img, mask)


def glow_sprite(rgb, glow_size, color, pos, core=0.0, falloff=2.5):
    g = radial_glow(glow_size, color, falloff, core)
    layer = Image.new("RGB", rgb.size)
    layer.paste(g, (pos[0] - glow_size // 2, pos[1] - glow_size // 2))
    return ImageChops.add(rgb, layer)


def neon_title(rgb, text, cap, center, color, stroke=0):
    layer = Image.new("RGBA", rgb.size, (0, 0, 0, 0))
    cx, cy = center
    box_w = rgb.size[0]
    place_text(layer, text, (cx - box_w // 2, cy - cap, cx + box_w // 2, cy + cap), cap, color)
    return add_glow(rgb, layer)


def write_lines(img, lines, x, y, px, color, path=REGULAR, gap=1.45):
    d = ImageDraw.Draw(img)
    f = font(px, path)
    for line in lines:
        d.text((x, y), line, font=f, fill=color)
        y += int(px * gap)
    return y


def wrap(text, px, width, path=REGULAR):
    f = font(px, path)
    out, line = [], ""
    for word in text.split():
        trial = (line + " " + word).strip()
        if f.getlength(trial) > width and line:
            out.append(line)
            line = word
        else:
            line = trial
    out.append(line)
    return out


def menu_screen():
    img = dark_background(3)
    w, h = SCREEN
    # The swarm: green glows with the orange light they carry, and the ball.
    swarm = Image.new("RGB", (w, h))
    ImageDraw.Draw(swarm).ellipse((820, 560, 1240, 760), fill=(70, 40, 0))
    img = ImageChops.add(img, swarm.filter(ImageFilter.GaussianBlur(60)))
    rng = random.Random(5)
    for _ in range(14):
        x, y = rng.randint(860, 1200), rng.randint(560, 760)
        s = int(30 + (y - 500) * 0.22)
        img = glow_sprite(img, s, ENEMY, (x, y), core=0.5)
    ball = shaded_ball(120, BALL)
    img = glow_sprite(img, 360, (20, 60, 170), (590, 710), falloff=2.2)
    img.paste(ball.convert("RGB"), (530, 650), ball.getchannel("A"))
    img = neon_title(img, "Kelvo", 150, (760, 250), INK)
    tag = Image.new("RGBA", (w, h), (0, 0, 0, 0))
    place_text(tag, "roll through the dark  \u00b7  escape the swarm",
               (360, 360, 1160, 400), 20, (120, 170, 190), path=REGULAR)
    img.paste(tag.convert("RGB"), (0, 0), tag.getchannel("A"))
    # Buttons live at x 40..240, y 678..904 (from the top): keep it quiet.
    img = calm_zone(img, (0, 630, 320, 960), level=0.12, feather=45)
    hint = Image.new("RGBA", (w, h), (0, 0, 0, 0))
    place_text(hint, "\u2191 \u2193  choose     Enter  select", (40, 948, 300, 972), 13,
               (96, 132, 150), path=REGULAR, align="left")
    img.paste(hint.convert("RGB"), (0, 0), hint.getchannel("A"))
    return img.resize(SCREEN_TEX, Image.LANCZOS)


def keycap(img, box, label, px=24):
    d = ImageDraw.Draw(img)
    d.rounded_rectangle(box, 10, fill=(14, 24, 36), outline=INK_DIM, width=2)
    layer = Image.new("RGBA", img.size, (0, 0, 0, 0))
    place_text(layer, label, (box[0] + 10, box[1], box[2] - 10, box[3]), px, INK)
    img.paste(layer.convert("RGB"), (0, 0), layer.getchannel("A"))


def info_panel(img, box):
    d = ImageDraw.Draw(img)
    d.rounded_rectangle(box, 22, fill=(7, 11, 18), outline=(28, 70, 88), width=2)


def instructions_screen():
    img = scale_px(dark_background(7, 0.55), 0.7)
    img = neon_title(img, "How to play", 46, (640, 92), INK)
    info_panel(img, (70, 156, 1210, 978))
    heading = (120, 220, 240)
    body = (196, 208, 216)
    y = write_lines(img, ["Goal"], 110, 192, 30, heading, BOLD)
    y = write_lines(img, wrap(
        "Roll your ball through the maze to the opening in its outer wall on the "
        "far side \u2013 a red arrow floats above it. Each escape leads into a new "
        "maze, and your remaining health comes along.", 22, 1060), 110, y, 22, body)
    y += 22
    y = write_lines(img, ["Danger"], 110, y, 30, heading, BOLD)
    y = write_lines(img, wrap(
        "Glowing enemies hunt the ball and drain its health on contact. Resting "
        "on top of a wall drains health too, and falling out of the maze costs "
        "all of it. At zero health the game is over.", 22, 1060),
        110, y, 22, body)
    y += 22
    y = write_lines(img, ["Controls"], 110, y, 30, heading, BOLD)
    rows = [("Mouse", "Move the mouse to roll the ball"),
            ("\u2190 \u2191 \u2192 \u2193  W A S D", "Or hold these keys to roll it"),
            ("Left click  or  E", "Jump (from the floor)"),
            ("Right button  or  Q", "Hold to look from above"),
            ("Space", "Pause and continue"),
            ("Tab", "Show or hide the maze map"),
            ("Esc", "Leave the game, back to the menu"),
            ("Enter", "Continue after a win or a loss"),
            ("\u2190 \u2191 \u2192 \u2193  Enter", "Move through the menus and change settings")]
    f = font(23, REGULAR)
    d = ImageDraw.Draw(img)
    y += 8
    for key, text in rows:
        keycap(img, (110, y, 370, y + 40), key, 17)
        d.text((400, y + 20), text, font=f, fill=body, anchor="lm")
        y += 51
    hint = Image.new("RGBA", img.size, (0, 0, 0, 0))
    place_text(hint, "Press Esc to return to the menu", (0, 990, 1280, 1014), 14,
               (110, 150, 168), path=REGULAR)
    img.paste(hint.convert("RGB"), (0, 0), hint.getchannel("A"))
    return img.resize(SCREEN_TEX, Image.LANCZOS)


def options_screen():
    img = dark_background(9, 0.7)
    img = neon_title(img, "Options", 56, (640, 150), INK)
    # The option rows sit at x 25..~340, y 753..960 from the top.
    img = calm_zone(img, (0, 700, 470, 1010), level=0.2, feather=40)
    info_panel(img, (10, 730, 400, 984))
    info_panel(img, (560, 560, 1220, 984))
    heading = (120, 220, 240)
    body = (190, 202, 210)
    entries = [("Maze size", "Edge length of the maze, 20 to 80 tiles."),
               ("Enemies", "Most enemies alive at once, 5 to 400."),
               ("Health", "Health at the start of a game, 100 to 5000."),
               ("Shader", "Per-pixel lighting; needs OpenGL 2.0.")]
    y = 586
    for title, text in entries:
        write_lines(img, [title], 600, y, 26, heading, BOLD)
        y = write_lines(img, wrap(text, 21, 580), 600, y + 36, 21, body) + 14
    hint = Image.new("RGBA", img.size, (0, 0, 0, 0))
    place_text(hint, "\u2191 \u2193  choose      \u2190 \u2192  change      Esc  back to the menu",
               (560, 936, 1220, 958), 15, (110, 150, 168), path=REGULAR)
    img.paste(hint.convert("RGB"), (0, 0), hint.getchannel("A"))
    return img.resize(SCREEN_TEX, Image.LANCZOS)


def icon():
    size = 256
    bg = Image.new("RGB", (size, size), BG)
    maze = maze_image(8, 32, 4, (34, 110, 140), 21).resize((size, size), Image.LANCZOS)
    maze = ImageChops.add(maze, maze.filter(ImageFilter.GaussianBlur(4)))
    img = ImageChops.add(bg, maze)
    img = glow_sprite(img, 220, (20, 70, 200), (128, 128), falloff=2.0)
    ball = shaded_ball(104, BALL)
    img.paste(ball.convert("RGB"), (76, 76), ball.getchannel("A"))
    for pos in ((200, 60), (52, 204), (212, 196)):
        img = glow_sprite(img, 48, ENEMY, pos, core=0.6)
    mask = Image.new("L", (size, size), 0)
    ImageDraw.Draw(mask).rounded_rectangle((0, 0, size - 1, size - 1), 44, fill=255)
    out = Image.new("RGBA", (size, size), (0, 0, 0, 0))
    out.paste(img, (0, 0), mask)
    return out


# Menus and task bars ask for these sizes by name (hicolor NNxNN folders);
# Windows picks one from the .ico per display scale, 16 px up to 256 px.
DESKTOP_ICON_SIZES = (48, 64, 128)
ICO_SIZES = (16, 20, 24, 32, 40, 48, 64, 96, 128, 256)


def sized_icon_path(px):
    return os.path.join(ICONS, "kelvo-%d.png" % px)


def write_icon_set():
    """Derive every smaller icon and the .ico from the 256 px icon art."""
    art = Image.open(os.path.join(ICONS, "kelvo.png")).convert("RGBA")
    for px in DESKTOP_ICON_SIZES:
        art.resize((px, px), Image.LANCZOS).save(sized_icon_path(px), optimize=True)
    art.save(os.path.join(ICONS, "kelvo.ico"), sizes=[(px, px) for px in ICO_SIZES])


def check_icons():
    problems = []
    art = os.path.join(ICONS, "kelvo.png")
    if not os.path.exists(art) or Image.open(art).size != (256, 256):
        return ["icons/kelvo.png: missing or not 256x256"]
    for px in DESKTOP_ICON_SIZES:
        path = sized_icon_path(px)
        if not os.path.exists(path) or Image.open(path).size != (px, px):
            problems.append("%s: missing or not %dx%d" % (os.path.relpath(path, DATA), px, px))
    ico = os.path.join(ICONS, "kelvo.ico")
    if not os.path.exists(ico) or set(Image.open(ico).info.get("sizes", ())) != \
            {(px, px) for px in ICO_SIZES}:
        problems.append("icons/kelvo.ico: missing or without the sizes %s" % (ICO_SIZES,))
    return problems


# --------------------------------------------------------------------------
# Sounds. Everything is rendered into a circular buffer one loop long, so
# note tails and echoes wrap round to the start and the loop has no seam.


def midi_hz(m):
    return 440.0 * 2 ** ((m - 69) / 12.0)


def wavetable(harmonics, size=2048):
    t = [sum(a * math.sin(2 * math.pi * k * i / size) for k, a in harmonics)
         for i in range(size)]
    peak = max(abs(v) for v in t)
    return [v / peak for v in t]


SOFT_SAW = wavetable([(k, 1.0 / k ** 1.4) for k in range(1, 9)])
SINE = wavetable([(1, 1.0)])
BELL = wavetable([(1, 1.0), (2, 0.35), (3, 0.12), (5, 0.05)])


def add_pad(buf, start, length, hz, amp, attack, release, table=SOFT_SAW, detune=0.004):
    """Sustained note with slow attack/release; two detuned oscillators."""
    n = len(buf)
    total = length + release
    mask = len(table) - 1
    for det in (1 - detune, 1 + detune):
        inc = hz * det * len(table) / SR
        ph = (start * 7919 % len(table)) * 1.0   # decorrelated start phase
        for i in range(total):
            if i < attack:
                e = 0.5 - 0.5 * math.cos(math.pi * i / attack)
            elif i < length:
                e = 1.0
            else:
                e = 0.5 + 0.5 * math.cos(math.pi * (i - length) / release)
            buf[(start + i) % n] += amp * 0.5 * e * table[int(ph) & mask]
            ph += inc


def add_pluck(buf, start, hz, amp, decay_s, table=BELL):
    """Short struck note: 3 ms attack, exponential decay, faded out to zero."""
    n = len(buf)
    total = int(decay_s * 4 * SR)
    k = math.exp(-1.0 / (decay_s * SR))
    inc = hz * len(table) / SR
    mask = len(table) - 1
    a = int(0.003 * SR)
    tail = int(0.02 * SR)
    e, ph = 1.0, 0.0
    for i in range(total):
        env = e * min(1.0, i / a) * min(1.0, (total - i) / tail)
        buf[(start + i) % n] += amp * env * table[int(ph) & mask]
        ph += inc
        e *= k


def add_kick(buf, start, amp):
    n = len(buf)
    total = int(0.38 * SR)
    ph = 0.0
    for i in range(total):
        t = i / float(SR)
        hz = 45 + 85 * math.exp(-t * 30)
        ph += 2 * math.pi * hz / SR
        env = math.exp(-t * 9) * min(1.0, i / 40.0) * min(1.0, (total - i) / 300.0)
        buf[(start + i) % n] += amp * env * math.sin(ph)


def add_noise(buf, start, amp, dur, rng, bright):
    """Noise burst through a one-pole filter: bright=True gives a hat, else a
    soft snare-like brush."""
    n = len(buf)
    total = int(dur * SR)
    lp = 0.0
    a = 0.6 if bright else 0.18
    for i in range(total):
        x = rng.uniform(-1, 1)
        lp += a * (x - lp)
        v = x - lp if bright else lp
        env = math.exp(-6.0 * i / total) * min(1.0, i / 30.0) * min(1.0, (total - i) / 200.0)
        buf[(start + i) % n] += amp * env * v


def circular_delay(x, delay, feedback, mix, passes=6):
    """Feedback echo on a loop: y[n] = x[n] + fb * y[n - D], wrapping round."""
    y = list(x)
    for _ in range(passes):
        for i in range(len(y)):
            y[i] = x[i] + feedback * y[i - delay]
    return [a + mix * (b - a) for a, b in zip(x, y)]


def circular_lowpass(x, cutoff):
    a = 1 - math.exp(-2 * math.pi * cutoff / SR)
    y = [0.0] * len(x)
    s = 0.0
    for _ in range(2):             # second pass starts from the settled state
        for i in range(len(x)):
            s += a * (x[i] - s)
            y[i] = s
    return y


def mix(*parts):
    return [sum(v) for v in zip(*parts)]


def finish_loop(x):
    """Remove DC, then rotate the loop to start at a quiet point just before
    the downbeat (the seam then sits between two near-zero samples), and
    normalise to -3 dBFS."""
    n = len(x)
    dc = sum(x) / n                 # exact DC removal for a periodic signal
    x = [v - dc for v in x]
    window = int(0.03 * SR)
    best = min(range(n - window, n + 1),
               key=lambda i: abs(x[i % n]) + abs(x[(i - 1) % n]))
    best %= n
    return normalise(x[best:] + x[:best])


def normalise(x):
    peak = max(abs(v) for v in x) or 1.0
    return [v * PEAK / peak for v in x]


def menu_theme():
    """A minor, 80 bpm, 8 bars: pads, sub bass and an echoing bell arpeggio."""
    bar = SR * 3                               # 4 beats at 80 bpm = 3 s
    bars = 8
    n = bar * bars
    beat = bar // 4
    chords = [[57, 60, 64, 69], [53, 57, 60, 65], [50, 57, 60, 65], [52, 56, 59, 64]]
    pad, bass, arp = [0.0] * n, [0.0] * n, [0.0] * n
    for b in range(bars):
        ch = chords[(b // 2) % 4]
        start = b * bar
        if b % 2 == 0:                          # one chord per two bars
            for m in ch:
                add_pad(pad, start, 2 * bar - beat, midi_hz(m), 0.16, int(1.2 * SR), int(1.6 * SR))
            add_pad(bass, start, 2 * bar - beat, midi_hz(ch[0] - 12), 0.26,
                    int(0.4 * SR), int(1.0 * SR), table=SINE, detune=0.0)
        pattern = [0, 1, 2, 3, 2, 1, 3, 2] if b < 4 else [0, 2, 3, 1, 3, 2, 1, 3]
        for k, idx in enumerate(pattern):
            if b % 2 and k >= 6:
                continue                        # breathe at the end of each phrase
            add_pluck(arp, start + k * (bar // 8), midi_hz(ch[idx] + 12), 0.10, 0.35)
    arp = circular_delay(arp, beat * 3 // 4, 0.45, 0.6)
    out = circular_lowpass(mix(pad, bass, arp), 5000)
    return finish_loop(out)


def game_theme():
    """D minor, 96 bpm, 12 bars: pulsing bass, pads, soft drums, sparse arp."""
    bar = SR * 5 // 2                           # 4 beats at 96 bpm = 2.5 s
    bars = 12
    n = bar * bars
    beat = bar // 4
    eighth = bar // 8
    chords = [[50, 53, 57, 62], [46, 50, 53, 58], [43, 50, 55, 58], [45, 49, 52, 57]]
    rng = random.Random(42)
    pad, bass, arp, drums = [0.0] * n, [0.0] * n, [0.0] * n, [0.0] * n
    for b in range(bars):
        ch = chords[b % 4]
        start = b * bar
        for m in ch[1:]:
            add_pad(pad, start, bar - eighth, midi_hz(m), 0.11, int(0.5 * SR), int(0.9 * SR))
        for k in range(8):                       # pulsing eighth-note bass
            add_pluck(bass, start + k * eighth, midi_hz(ch[0] - 12), 0.30 if k % 2 == 0 else 0.2,
                      0.12, table=SOFT_SAW)
        add_kick(drums, start, 0.6)
        add_kick(drums, start + 2 * beat, 0.55)
        if b % 4 == 3:
            add_kick(drums, start + 3 * beat + eighth, 0.5)
        for k in (1, 3):
            add_noise(drums, start + k * beat, 0.22, 0.18, rng, bright=False)
        for k in range(8):
            add_noise(drums, start + k * eighth + eighth // 2 * (k % 2), 0.07 if k % 2 else 0.04,
                      0.05, rng, bright=True)
        if b >= 4:                               # arp joins after the first cycle
            notes = [ch[0] + 24, ch[2] + 12, ch[3] + 12, ch[1] + 24]
            for k in range(0, 8, 3 if b < 8 else 2):
                add_pluck(arp, start + k * eighth, midi_hz(notes[k % 4]), 0.07, 0.22)
    arp = circular_delay(arp, eighth * 3, 0.4, 0.5)
    out = circular_lowpass(mix(pad, bass, arp, drums), 6000)
    return finish_loop(out)


def drain_zap():
    """0.32 s buzz: a falling saw with 38 Hz amplitude wobble and some grit."""
    total = int(0.32 * SR)
    rng = random.Random(8)
    out = []
    ph = 0.0
    mask = len(SOFT_SAW) - 1
    for i in range(total):
        t = i / float(SR)
        hz = 160 + 560 * math.exp(-t * 9)
        ph += hz * len(SOFT_SAW) / SR
        wob = 0.65 + 0.35 * math.sin(2 * math.pi * 38 * t)
        env = min(1.0, i / (0.004 * SR)) * math.exp(-t * 6) * min(1.0, (total - i) / (0.03 * SR))
        v = SOFT_SAW[int(ph) & mask] * wob + 0.25 * rng.uniform(-1, 1) * math.exp(-t * 20)
        out.append(env * v)
    return normalise(out)


def write_wav(path, samples):
    frames = struct.pack("<%dh" % len(samples),
                         *[max(-32767, min(32767, int(round(v * 32767)))) for v in samples])
    with wave.open(path, "wb") as w:
        w.setnchannels(1)
        w.setsampwidth(2)
        w.setframerate(SR)
        w.writeframes(frames)


def read_wav(path):
    with wave.open(path, "rb") as w:
        params = (w.getnchannels(), w.getsampwidth(), w.getframerate(), w.getcomptype())
        raw = w.readframes(w.getnframes())
    return params, list(struct.unpack("<%dh" % (len(raw) // 2), raw))


# --------------------------------------------------------------------------
# Build


def build_textures():
    t = {}
    t["particle.bmp"] = particle()
    t["kelvo_menu.bmp"] = menu_screen()
    t["kelvo_instructions.bmp"] = instructions_screen()
    t["kelvo_options.bmp"] = options_screen()
    for name, text in (("startButton", "Start"), ("instructionsButton", "Instructions"),
                       ("optionsButton", "Options"), ("exitButton", "Exit")):
        t[name + ".bmp"] = button(text, 200, 46, (256, 64))
    for name, text in (("levelsizeButton", "Maze size"), ("enemyColorButton", "Enemy colour"),
                       ("enemyCountButton", "Enemies"), ("playerColorButton", "Player colour"),
                       ("playerHealthButton", "Health"), ("shaderButton", "Shader")):
        t[name + ".bmp"] = button(text, 164, 37, (256, 64))
    t["settings.bmp"] = settings_header()
    t["pause_ingame.bmp"] = banner("Paused", "Space to continue", 256, 128, (512, 256), INK)
    t["gameOver_ingame.bmp"] = banner("Game over", "Enter: back to the menu", 436, 137,
                                      (512, 128), DANGER)
    t["win_ingame.bmp"] = banner("Level complete", "Enter: on to the next maze", 550, 137,
                                 (512, 128), SUCCESS)
    t["arrowLeft.bmp"] = arrow(-1)
    t["arrowRight.bmp"] = arrow(1)
    for i, name in enumerate(DIGIT_NAMES):
        t[name + ".bmp"] = digit(str(i))
    t["on.bmp"] = free_text("On", 50, 37, (128, 96), fill=(110, 236, 170), cap=0.56)
    t["off.bmp"] = free_text("Off", 50, 37, (128, 96), fill=(150, 166, 178), cap=0.56)
    t["health_ingame.bmp"] = free_text("Health", 120, 46, (128, 64), cap=0.5)
    t["level_ingame.bmp"] = free_text("Level", 100, 46, (128, 64), cap=0.5)
    t["arrowGoalWhite_ingame.bmp"] = goal_arrow()
    t["wallTex1.bmp"] = wall_texture()
    t["time_ingame.bmp"] = free_text("Time", 100, 46, (128, 64), cap=0.5)
    t["best_ingame.bmp"] = free_text("Best", 100, 46, (128, 64), cap=0.5)
    t["newBest_ingame.bmp"] = free_text("New best!", 200, 46, (256, 64), fill=SUCCESS, cap=0.5)
    t["point.bmp"] = point()
    return t


def key_mask(img, key):
    """255 where a pixel differs from the key in any channel, else 0."""
    r, g, b = ImageChops.difference(img, Image.new("RGB", img.size, key)).split()
    return ImageChops.lighter(ImageChops.lighter(r, g), b).point(lambda v: 255 if v else 0)


def contact_sheet(path):
    """Every BMP over a checkerboard with its key shown transparent (so stray
    near-key pixels stand out), labelled with its name. Menu items that get
    highlighted appear twice, the second time with the orange added; the enemy
    sprite is shown a second time added onto dark grey, as the game draws it."""
    cell_w, cell_h, label_h = 300, 190, 22
    cols = 6
    entries = []
    for name, key in TEXTURES:
        _, img = read_bmp(os.path.join(DATA, name))
        entries.append((name, img, key, None))
        if name.endswith("Button.bmp"):
            entries.append((name + " lit", img, key, "lit"))
        elif key == BLACK_KEY:
            entries.append((name + " additive", img, key, "add"))
    rows = (len(entries) + cols - 1) // cols
    sheet = Image.new("RGB", (cols * cell_w, rows * (cell_h + label_h)), (40, 40, 44))
    d = ImageDraw.Draw(sheet)
    f = font(13, REGULAR)
    checker = Image.new("RGB", (cell_w, cell_h))
    cd = ImageDraw.Draw(checker)
    for y in range(0, cell_h, 10):
        for x in range(0, cell_w, 10):
            cd.rectangle((x, y, x + 9, y + 9),
                         fill=(110, 110, 110) if (x + y) // 10 % 2 else (150, 150, 150))
    for i, (name, img, key, mode) in enumerate(entries):
        cx, cy = (i % cols) * cell_w, (i // cols) * (cell_h + label_h)
        s = min((cell_w - 8) / float(img.width), (cell_h - 8) / float(img.height))
        size = (max(1, int(img.width * s)), max(1, int(img.height * s)))
        resample = Image.NEAREST if s >= 1 else Image.LANCZOS
        pos = (cx + (cell_w - size[0]) // 2, cy + (cell_h - size[1]) // 2)
        mask = key_mask(img, key).resize(size, Image.NEAREST) if key else None
        if mode == "add":
            sheet.paste((48, 48, 56), (cx, cy, cx + cell_w, cy + cell_h))
            region = sheet.crop(pos + (pos[0] + size[0], pos[1] + size[1]))
            sheet.paste(ImageChops.add(region, img.resize(size, resample)), pos)
        else:
            sheet.paste(checker, (cx, cy))
            if mode == "lit":
                img = ImageChops.add(img, Image.new("RGB", img.size, HIGHLIGHT))
            sheet.paste(img.resize(size, resample), pos, mask)
        d.text((cx + 4, cy + cell_h + 3), "%s  %dx%d" % (name, img.width, img.height),
               font=f, fill=(230, 230, 230))
    sheet.save(path)


def mockups():
    """Compose the overlay as the game lays it out (1280 x 1024 canvas, origin
    bottom-left) so sizes, calm areas and highlights can be judged in place."""
    def load(name):
        _, img = read_bmp(os.path.join(DATA, name))
        return img

    def put(screen, name, x, y, w, h, lit=False):
        img = load(name)
        mask = key_mask(img, BLUE_KEY)
        if lit:
            img = ImageChops.add(img, Image.new("RGB", img.size, HIGHLIGHT))
        screen.paste(img.resize((w, h), Image.BILINEAR), (x, SCREEN[1] - y - h),
                     mask.resize((w, h), Image.NEAREST))

    def number(screen, value, x, y, w, h):
        for i, ch in enumerate(str(value)):
            put(screen, DIGIT_NAMES[int(ch)] + ".bmp", x + i * w, y, w, h)

    menu = load("kelvo_menu.bmp").resize(SCREEN, Image.BILINEAR)
    for i, name in enumerate(("startButton", "instructionsButton", "optionsButton", "exitButton")):
        put(menu, name + ".bmp", 40, 300 - 60 * i, 200, 46, lit=(i == 0))
    menu.save(os.path.join(OUT, "mock_menu.png"))

    opts = load("kelvo_options.bmp").resize(SCREEN, Image.BILINEAR)
    put(opts, "settings.bmp", 25, 234, 164, 37)
    for y, label, value in ((184, "levelsizeButton", 32), (144, "enemyCountButton", 100),
                            (104, "playerHealthButton", 2000)):
        put(opts, label + ".bmp", 25, y, 164, 37, lit=(label == "levelsizeButton"))
        put(opts, "arrowLeft.bmp", 25 + 164 + 20, y, 20, 37)
        number(opts, value, 25 + 164 + 43, y, 21, 37)
        put(opts, "arrowRight.bmp", 25 + 164 + 46 + 20 * len(str(value)), y, 20, 37)
    put(opts, "shaderButton.bmp", 25, 64, 164, 37)
    put(opts, "arrowLeft.bmp", 25 + 164 + 20, 64, 20, 37)
    put(opts, "on.bmp", 25 + 164 + 43, 64, 50, 37)
    put(opts, "arrowRight.bmp", 25 + 164 + 66 + 50, 64, 20, 37)
    opts.save(os.path.join(OUT, "mock_options.png"))

    hud = dark_background(4, 0.8)
    wall = load("wallTex1.bmp")
    for x in range(200, 1100, 256):
        hud.paste(scale_px(wall, 0.6), (x, 600))
    put(hud, "health_ingame.bmp", 24, 954, 120, 46)
    number(hud, 1850, 144, 957, 30, 40)
    put(hud, "level_ingame.bmp", 324, 954, 100, 46)
    number(hud, 3, 434, 957, 30, 40)
    put(hud, "pause_ingame.bmp", 512, 448, 256, 128)
    put(hud, "gameOver_ingame.bmp", 422, 644, 436, 137)
    put(hud, "win_ingame.bmp", 365, 244, 550, 137)
    hud.save(os.path.join(OUT, "mock_hud.png"))


def build():
    os.makedirs(SOUNDS, exist_ok=True)
    os.makedirs(ICONS, exist_ok=True)
    os.makedirs(OUT, exist_ok=True)
    for name, img in build_textures().items():
        write_bmp(os.path.join(DATA, name), img)
    icon().save(os.path.join(ICONS, "kelvo.png"), optimize=True)
    write_icon_set()
    write_wav(os.path.join(SOUNDS, "healthDrain.wav"), drain_zap())
    write_wav(os.path.join(SOUNDS, "mainMenu3.wav"), menu_theme())
    write_wav(os.path.join(SOUNDS, "background.wav"), game_theme())
    contact_sheet(os.path.join(OUT, "contact_sheet.png"))
    mockups()


# --------------------------------------------------------------------------
# Self-check


def check_bmp(name, key):
    """Return a list of problems with one BMP file."""
    path = os.path.join(DATA, name)
    if not os.path.exists(path):
        return ["missing"]
    f, img = read_bmp(path)
    errs = []
    w, h = f["width"], f["height"]
    if f["magic"] != b"BM":
        errs.append("not BM")
    if f["header_size"] != 40:
        errs.append("info header is %d bytes, not 40" % f["header_size"])
    if f["bits"] != 24 or f["compression"] != 0 or f["planes"] != 1:
        errs.append("not 24-bit uncompressed")
    if h <= 0:
        errs.append("height %d is not positive (rows must be bottom-up)" % h)
    if w <= 0 or w % 4:
        errs.append("width %d is not a positive multiple of 4" % w)
    if f["offset"] != 54 or f["file_size"] != f["actual_size"] or img is None or \
            f["actual_size"] != 54 + w * h * 3:
        errs.append("size or pixel offset inconsistent")
    if errs:
        return errs
    if name == "wallTex1.bmp":
        if (w, h) != (256, 256):
            errs.append("wall texture must be 256x256 for its mip chain")
        else:
            errs += check_tileable(img)
    if key is None:
        return errs
    px = list(img.getdata())
    exact = sum(1 for p in px if p == key)
    if not exact:
        errs.append("no key pixels at all")
    if key == BLUE_KEY:
        near = [p for p in px if p != key and max(p[0], p[1], 255 - p[2]) < NEAR_KEY]
        if near:
            errs.append("%d opaque pixels near the key, e.g. %s" % (len(near), near[0]))
    else:
        border = [img.getpixel((x, y)) for x in range(w) for y in (0, h - 1)] + \
                 [img.getpixel((x, y)) for y in range(h) for x in (0, w - 1)]
        if any(p != key for p in border):
            errs.append("glow does not reach pure black at the border")
        if max(img.getpixel((w // 2, h // 2))) < 200:
            errs.append("glow centre is not bright")
    return errs


def check_tileable(img):
    """The jump across the wrap must look like any other neighbour step."""
    w, h = img.size
    px = img.load()
    lum = lambda p: sum(p) / 3.0

    def mean_step(pairs):
        pairs = list(pairs)
        return sum(abs(lum(px[a]) - lum(px[b])) for a, b in pairs) / len(pairs)
    inner = mean_step(((x, y), (x + 1, y)) for y in range(h) for x in range(w // 2 - 20, w // 2 + 20))
    seam_x = mean_step(((w - 1, y), (0, y)) for y in range(h))
    seam_y = mean_step(((x, h - 1), (x, 0)) for x in range(w))
    if seam_x > inner * 2.5 + 4 or seam_y > inner * 2.5 + 4:
        return ["seam steps %.1f/%.1f vs %.1f inside: not tileable" % (seam_x, seam_y, inner)]
    return []


def check_wav(name):
    path = os.path.join(SOUNDS, name)
    if not os.path.exists(path):
        return ["missing"]
    (ch, width, rate, comp), s = read_wav(path)
    errs = []
    if (ch, width, comp) != (1, 2, "NONE") or rate not in (22050, 44100):
        return ["not mono 16-bit PCM at 22050/44100 Hz"]
    dur = len(s) / float(rate)
    peak = max(abs(v) for v in s) / 32767.0
    if not (10 ** (-4 / 20.0) <= peak <= 10 ** (-2.5 / 20.0)):
        errs.append("peak %.1f dBFS, expected about -3" % (20 * math.log10(peak or 1e-9)))
    edge = 0.03 * 32767
    if abs(s[0]) > edge or abs(s[-1]) > edge:
        errs.append("starts/ends at %d/%d, not near zero" % (s[0], s[-1]))
    if name in LOOPING:
        if not 20 <= dur <= 60:
            errs.append("loop lasts %.1f s" % dur)
        steps = sorted(abs(b - a) for a, b in zip(s, s[1:]))
        typical = steps[int(len(steps) * 0.99)]
        if abs(s[0] - s[-1]) > max(typical, 64):
            errs.append("loop seam jumps by %d (99%% of steps <= %d)" % (abs(s[0] - s[-1]), typical))
    elif not 0.2 <= dur <= 0.5:
        errs.append("effect lasts %.2f s" % dur)
    return errs


def check():
    problems = []
    for name, key in TEXTURES:
        problems += ["%s: %s" % (name, e) for e in check_bmp(name, key)]
    for name in SOUND_FILES:
        problems += ["%s: %s" % (name, e) for e in check_wav(name)]
    problems += check_icons()
    total = sum(os.path.getsize(os.path.join(r, f)) for r, _, fs in os.walk(DATA) for f in fs)
    if total > DATA_BUDGET:
        problems.append("data/ holds %d bytes, over the %d budget" % (total, DATA_BUDGET))
    for p in problems:
        print("FAIL " + p)
    print("%d textures, %d sounds, data/ %.2f MB: %s" % (
        len(TEXTURES), len(SOUND_FILES), total / 1048576.0, "FAILED" if problems else "ok"))
    return 1 if problems else 0


if __name__ == "__main__":
    if "--check" in sys.argv[1:]:
        sys.exit(check())
    if "--icons" in sys.argv[1:]:
        write_icon_set()
        sys.exit(check())
    build()
    sys.exit(check())
