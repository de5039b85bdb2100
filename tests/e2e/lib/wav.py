#!/usr/bin/python3
"""Loudness of a WAV file that OpenAL Soft's wave writer is still writing.

The writer fills in the RIFF and data lengths only when the device closes, so
the samples are read from the start of the data chunk to the end of the file.
Integer PCM (8/16/32 bit) and 32-bit float, plain or extensible headers.

  audible FILE FROM TO [RMS]   some quarter second between FROM and TO
                               seconds has an RMS of at least RMS (default
                               1e-4 of full scale); exit 1 when none has,
                               or when the file does not reach TO yet
  levels FILE                  print the RMS of every second
  closed FILE                  the writer finished the file: the RIFF and
                               data lengths match the file's size
"""
import array
import struct
import sys

FLOAT, PCM = 3, 1


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


def rms(samples):
    return (sum(v * v for v in samples) / len(samples)) ** 0.5 if samples else 0.0


def main(argv):
    if len(argv) >= 5 and argv[1] == "audible":
        path, start, end = argv[2], float(argv[3]), float(argv[4])
        limit = float(argv[5]) if len(argv) > 5 else 1e-4
        rate, channels, samples = read(path)
        frame = rate * channels
        have = len(samples) / frame
        if have < end:
            print("%s: only %.2f s written so far" % (path, have))
            return 1
        step = frame // 4
        loudest = max(rms(samples[i:i + step]) for i in range(int(start * frame), int(end * frame) - step + 1, step))
        print("%s: loudest quarter second in %.1f..%.1f s has RMS %.5f (>= %.5f)" % (path, start, end, loudest, limit))
        return 0 if loudest >= limit else 1
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
