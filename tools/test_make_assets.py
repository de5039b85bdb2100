#!/usr/bin/env python3
"""Tests for the asset generator's file writers and its self-check.

    python3 tools/test_make_assets.py
"""

import math
import os
import struct
import sys
import tempfile
import unittest

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import make_assets as m  # noqa: E402  (re-executes under the system python if needed)
from PIL import Image, ImageDraw  # noqa: E402


class TempData(unittest.TestCase):
    """Point the generator's data folders at a scratch directory."""

    def setUp(self):
        self.tmp = tempfile.TemporaryDirectory()
        self.saved = (m.DATA, m.SOUNDS)
        m.DATA = self.tmp.name
        m.SOUNDS = self.tmp.name

    def tearDown(self):
        m.DATA, m.SOUNDS = self.saved
        self.tmp.cleanup()

    def path(self, name):
        return os.path.join(self.tmp.name, name)


class BmpFormat(TempData):
    def test_header_and_bottom_up_bgr_rows(self):
        img = Image.new("RGB", (8, 2))
        img.paste((255, 0, 0), (0, 0, 8, 1))      # top row red
        img.paste((0, 255, 0), (0, 1, 8, 2))      # bottom row green
        img.putpixel((7, 1), (1, 2, 3))
        m.write_bmp(self.path("t.bmp"), img)
        with open(self.path("t.bmp"), "rb") as f:
            raw = f.read()
        self.assertEqual(raw[:2], b"BM")
        self.assertEqual(struct.unpack_from("<I", raw, 2)[0], len(raw))
        self.assertEqual(struct.unpack_from("<I", raw, 10)[0], 54)
        hsize, w, h, planes, bits, comp = struct.unpack_from("<IiiHHI", raw, 14)
        self.assertEqual((hsize, w, h, planes, bits, comp), (40, 8, 2, 1, 24, 0))
        self.assertEqual(len(raw), 54 + 8 * 2 * 3)  # no row padding
        # First stored row is the bottom one, in blue-green-red order.
        self.assertEqual(raw[54:57], bytes((0, 255, 0)))
        self.assertEqual(raw[54 + 21:54 + 24], bytes((3, 2, 1)))
        self.assertEqual(raw[54 + 24:54 + 27], bytes((0, 0, 255)))
        fields, back = m.read_bmp(self.path("t.bmp"))
        self.assertEqual(list(back.getdata()), list(img.getdata()))

    def rewrite(self, name, raw):
        with open(self.path(name), "wb") as f:
            f.write(bytes(raw))

    def test_width_must_allow_unpadded_rows(self):
        with self.assertRaises(ValueError):
            m.write_bmp(self.path("odd.bmp"), Image.new("RGB", (6, 4)))

    def test_check_rejects_top_down_and_wrong_depth(self):
        m.write_bmp(self.path("a.bmp"), Image.new("RGB", (4, 4), (9, 9, 9)))
        with open(self.path("a.bmp"), "rb") as f:
            raw = bytearray(f.read())
        struct.pack_into("<i", raw, 22, -4)          # top-down height
        self.rewrite("a.bmp", raw)
        self.assertTrue(any("bottom-up" in e for e in m.check_bmp("a.bmp", None)))
        struct.pack_into("<i", raw, 22, 4)
        struct.pack_into("<H", raw, 28, 32)          # 32 bits per pixel
        self.rewrite("a.bmp", raw)
        self.assertTrue(any("24-bit" in e for e in m.check_bmp("a.bmp", None)))
        self.assertEqual(m.check_bmp("missing.bmp", None), ["missing"])


class ColourKey(TempData):
    def design(self, colour):
        img = Image.new("RGBA", (256, 128), (0, 0, 0, 0))
        ImageDraw.Draw(img).ellipse((20, 10, 236, 118), fill=colour + (255,))
        return img

    def test_threshold_leaves_only_exact_key_or_far_colours(self):
        for colour in ((80, 214, 240), (10, 10, 250), (0, 0, 200)):
            out = m.keyed(self.design(colour), (64, 32))
            px = list(out.getdata())
            self.assertIn(m.BLUE_KEY, px)
            opaque = [p for p in px if p != m.BLUE_KEY]
            self.assertTrue(opaque, colour)
            for p in opaque:
                self.assertGreaterEqual(max(p[0], p[1], 255 - p[2]), m.NEAR_KEY, (colour, p))

    def test_check_flags_near_key_fringe_and_missing_key(self):
        img = Image.new("RGB", (8, 8), m.BLUE_KEY)
        img.putpixel((3, 3), (80, 214, 240))
        m.write_bmp(self.path("ok.bmp"), img)
        self.assertEqual(m.check_bmp("ok.bmp", m.BLUE_KEY), [])
        img.putpixel((4, 3), (0, 0, 254))             # one-off from the key: opaque
        m.write_bmp(self.path("fringe.bmp"), img)
        self.assertTrue(any("near the key" in e for e in m.check_bmp("fringe.bmp", m.BLUE_KEY)))
        m.write_bmp(self.path("solid.bmp"), Image.new("RGB", (8, 8), (30, 30, 30)))
        self.assertTrue(any("no key" in e for e in m.check_bmp("solid.bmp", m.BLUE_KEY)))

    def test_particle_fades_to_exact_black(self):
        img = m.particle()
        w, h = img.size
        self.assertEqual(w % 4, 0)
        m.write_bmp(self.path("p.bmp"), img)
        self.assertEqual(m.check_bmp("p.bmp", m.BLACK_KEY), [])
        # Brightness falls monotonically from the centre along a radius.
        row = [sum(img.getpixel((x, h // 2))) for x in range(w // 2, w)]
        self.assertTrue(all(a >= b for a, b in zip(row, row[1:])))


class Tiling(unittest.TestCase):
    def test_wall_tiles_and_a_gradient_does_not(self):
        self.assertEqual(m.check_tileable(m.wall_texture()), [])
        ramp = Image.new("RGB", (256, 256))
        ramp.putdata([(x, x, x) for y in range(256) for x in range(256)])
        self.assertTrue(m.check_tileable(ramp))


class Sound(TempData):
    def loop(self, n=m.SR * 21, hz=110.0, offset=0.0):
        return [math.sin(2 * math.pi * hz * i / m.SR + offset) * 0.5 + 0.1 for i in range(n)]

    def test_loop_is_rotated_to_a_quiet_seam_normalised_and_centred(self):
        x = m.finish_loop(self.loop(offset=1.3))
        self.assertAlmostEqual(max(abs(v) for v in x), m.PEAK, places=6)
        self.assertLess(abs(sum(x) / len(x)), 1e-6)
        self.assertLess(abs(x[0]) + abs(x[-1]), 0.06)
        m.write_wav(self.path("mainMenu3.wav"), x)
        self.assertEqual(m.check_wav("mainMenu3.wav"), [])

    def test_check_hears_a_click_at_the_seam(self):
        x = m.normalise(self.loop(hz=100.0))   # whole cycles, but starts at +0.1 offset
        x = [v * 0.2 for v in x[:len(x) // 2]] + x[len(x) // 2:]
        x = m.normalise([v - x[0] for v in x])  # starts at zero, ends high: a jump
        m.write_wav(self.path("background.wav"), x)
        errs = m.check_wav("background.wav")
        self.assertTrue(any("seam" in e or "not near zero" in e for e in errs), errs)

    def test_effect_is_short_mono_and_starts_and_ends_silent(self):
        m.write_wav(self.path("healthDrain.wav"), m.drain_zap())
        self.assertEqual(m.check_wav("healthDrain.wav"), [])
        (ch, width, rate, _), s = m.read_wav(self.path("healthDrain.wav"))
        self.assertEqual((ch, width, rate), (1, 2, m.SR))


if __name__ == "__main__":
    unittest.main()
