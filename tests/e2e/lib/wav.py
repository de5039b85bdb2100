#!/usr/bin/python3
"""Loudness of a WAV file that OpenAL Soft's wave writer is still writing.

The writer fills in the RIFF and data lengths only when the device closes, so
the samples are read from the start of the data chunk to the end of the file.
Integer PCM (8/16/32 bit) and 32-bit float, plain or extensible headers.

  length FILE                  print how many seconds have been written
  track FILE FROM TO SOURCE... which SOURCE (a looping sound the game plays)
                               the whole seconds FROM..TO of FILE are, found
                               by correlating their loudness envelopes at
                               every offset into the loop; prints the best
                               one's name and its gain as played, in dB (all
                               channels' power added); exit 1 when FILE does
                               not reach TO yet or no SOURCE matches
  closed FILE                  the writer finished the file: the RIFF and
                               data lengths match the file's size
"""
import array
import math
import struct
import sys

FLOAT, PCM = 3, 1
# Envelope blocks per second: fine enough to follow the notes, coarse
# enough that the sample rates of the file and the device need not match.
BLOCKS = 100
# A piece of a recording whose envelope correlates at least this well with a
# source file at some offset is that file playing.
MATCH = 0.5


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


def envelope(samples, channels, rate):
    """Power (mean square, channels added) of each 1/BLOCKS s block."""
    size = rate // BLOCKS * channels
    return [sum(v * v for v in samples[i:i + size]) / size * channels
            for i in range(0, len(samples) - size + 1, size)]


def correlation(a, b):
    n = len(a)
    ma, mb = sum(a) / n, sum(b) / n
    da, db = [v - ma for v in a], [v - mb for v in b]
    norm = (sum(v * v for v in da) * sum(v * v for v in db)) ** 0.5
    return sum(x * y for x, y in zip(da, db)) / norm if norm else 0.0


def best_offset(played, source):
    """(correlation, gain in dB) of played at its best offset into the loop."""
    loop = source * (len(played) // len(source) + 2)
    best = max(range(len(source)), key=lambda o: correlation(played, loop[o:o + len(played)]))
    match = loop[best:best + len(played)]
    return correlation(played, match), 10 * math.log10(sum(played) / sum(match))


def identify(path, start, end, sources):
    rate, channels, samples = read(path)
    frame = rate * channels
    if len(samples) < end * frame:
        print("%s: only %.2f s written so far" % (path, len(samples) / frame))
        return 1
    played = envelope(samples[start * frame:end * frame], channels, rate)
    found = []
    for source in sources:
        source_rate, source_channels, source_samples = read(source)
        match, gain = best_offset(played, envelope(source_samples, source_channels, source_rate))
        print("%s %d..%d s against %s: correlation %.3f, gain %.1f dB" % (path, start, end, source, match, gain))
        found.append((match, source, gain))
    match, source, gain = max(found)
    if match < MATCH:
        return 1
    print("%s %.1f" % (source.rsplit("/", 1)[-1], gain))
    return 0


def main(argv):
    if len(argv) == 3 and argv[1] == "length":
        rate, channels, samples = read(argv[2])
        print("%.2f" % (len(samples) / (rate * channels)))
        return 0
    if len(argv) >= 6 and argv[1] == "track":
        return identify(argv[2], int(argv[3]), int(argv[4]), argv[5:])
    if len(argv) == 3 and argv[1] == "closed":
        return 0 if finished(argv[2]) else 1
    print(__doc__)
    return 2


if __name__ == "__main__":
    sys.exit(main(sys.argv))
