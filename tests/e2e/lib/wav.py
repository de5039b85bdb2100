#!/usr/bin/python3
"""Loudness of a WAV file that OpenAL Soft's wave writer is still writing.

The writer fills in the RIFF and data lengths only when the device closes, so
the samples are read from the start of the data chunk to the end of the file.
Integer PCM (8/16/32 bit) and 32-bit float, plain or extensible headers.

  length FILE                  print how many seconds have been written
  level FILE FROM TO SOURCE    the level over the whole seconds FROM..TO of
                               FILE is within 6 dB of the level of all of
                               SOURCE (a sound the game plays); exit 1 when
                               it is not, or when FILE does not reach TO yet.
                               Levels are RMS of all channels' power added
  levels FILE                  print the RMS of every second
  closed FILE                  the writer finished the file: the RIFF and
                               data lengths match the file's size
"""
import array
import math
import struct
import sys

FLOAT, PCM = 3, 1
# The music as heard must come within this many decibels of its file.
LEVEL_TOLERANCE = 6.0


def read(path):
    """Return (sample rate, channels, samples as floats in -1..1)."""
    with open(path, "rb") as f:
        data = f.read()
    if data[:4] != b"RIFF" or data[8:12] != b"WAVE":
        raise ValueError("not a WAV file")
    pos, fmt = 12, None
    while pos + 8 <= len(data):
        tag, size = data[pos:pos + 4], struct.unpack("<I", data[pos + 4:pos + 8])[0]
        body = pos + 8
        if tag == b"fmt ":
            code, channels, rate, _, _, bits = struct.unpack("<HHIIHH", data[body:body + 16])
            if code == 0xFFFE:
                # Extensible: the real format code opens the sub-format GUID.
                code = struct.unpack("<H", data[body + 24:body + 26])[0]
            fmt = (code, channels, rate, bits)
        elif tag == b"data":
            if fmt is None:
                raise ValueError("data before fmt")
            return fmt[2], fmt[1], decode(fmt[0], fmt[3], data[body:])
        pos = body + size + (size & 1)
    raise ValueError("no data chunk yet")


def finished(path):
    with open(path, "rb") as f:
        data = f.read()
    riff = struct.unpack("<I", data[4:8])[0]
    pos = data.find(b"data", 12)
    size = struct.unpack("<I", data[pos + 4:pos + 8])[0] if pos >= 0 else None
    ok = riff == len(data) - 8 and size is not None and pos + 8 + size == len(data)
    print("%s: %d bytes, RIFF length %d, data length %s: %s" % (
        path, len(data), riff, size, "complete" if ok else "unfinished"))
    return ok


def decode(code, bits, raw):
    width = bits // 8
    raw = raw[:len(raw) // width * width]
    if code == FLOAT and bits == 32:
        return array.array("f", raw)
    if code == PCM and bits in (16, 32):
        ints = array.array("h" if bits == 16 else "i", raw)
        scale = float(1 << (bits - 1))
        return [v / scale for v in ints]
    if code == PCM and bits == 8:
        return [(v - 128) / 128.0 for v in raw]
    raise ValueError("unsupported sample format %d/%d bits" % (code, bits))


def decibels(level):
    return 20 * math.log10(level) if level > 0 else float("-inf")


def rms(samples):
    return (sum(v * v for v in samples) / len(samples)) ** 0.5 if samples else 0.0


def main(argv):
    if len(argv) == 3 and argv[1] == "length":
        rate, channels, samples = read(argv[2])
        print("%.2f" % (len(samples) / (rate * channels)))
        return 0
    if len(argv) == 6 and argv[1] == "level":
        path, start, end, source = argv[2], int(argv[3]), int(argv[4]), argv[5]
        rate, channels, samples = read(path)
        frame = rate * channels
        if len(samples) < end * frame:
            print("%s: only %.2f s written so far" % (path, len(samples) / frame))
            return 1
        # The power of all channels together: a mono sound in the middle of
        # two speakers plays at -3 dB in each.
        played = decibels(rms(samples[start * frame:end * frame]) * math.sqrt(channels))
        _, source_channels, recorded_samples = read(source)
        recorded = decibels(rms(recorded_samples) * math.sqrt(source_channels))
        print("%s: %.1f dBFS in %d..%d s, %s: %.1f dBFS, %.1f dB apart (at most %.0f)" % (
            path, played, start, end, source, recorded, played - recorded, LEVEL_TOLERANCE))
        return 0 if abs(played - recorded) <= LEVEL_TOLERANCE else 1
    if len(argv) == 3 and argv[1] == "closed":
        return 0 if finished(argv[2]) else 1
    if len(argv) == 3 and argv[1] == "levels":
        rate, channels, samples = read(argv[2])
        frame = rate * channels
        for second in range(len(samples) // frame):
            print("%3d s: %.5f" % (second, rms(samples[second * frame:(second + 1) * frame])))
        return 0
    print(__doc__)
    return 2


if __name__ == "__main__":
    sys.exit(main(sys.argv))
