#!/usr/bin/python3
"""Turns the Nth press of one key in a replay into another key and prints the
frame (from 1) that holds it; exits 1 when the replay has no such press.

  replay_edit.py FILE OUT KEY N NEWKEY     keys as codes (13 Enter, 32 Space)
"""
import struct
import sys

KEY_EVENT = 1


def main(path, out, key, nth, new_key):
    data = bytearray(open(path, 'rb').read())
    at = data.index(b'\n\n') + 2
    frame = seen = 0
    while at < len(data):
        frame += 1
        count = struct.unpack_from('<I', data, at + 12)[0]
        at += 16
        for _ in range(count):
            kind, a, _b = struct.unpack_from('<Bii', data, at)
            if kind == KEY_EVENT and a == key:
                seen += 1
                if seen == nth:
                    struct.pack_into('<i', data, at + 1, new_key)
                    open(out, 'wb').write(data)
                    print(frame)
                    return 0
            at += 9
    print('%s: no press %d of key %d' % (path, nth, key), file=sys.stderr)
    return 1


if __name__ == '__main__':
    if len(sys.argv) != 6:
        sys.exit(__doc__)
    sys.exit(main(sys.argv[1], sys.argv[2], *(int(v) for v in sys.argv[3:])))
