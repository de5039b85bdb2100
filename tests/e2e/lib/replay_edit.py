#!/usr/bin/python3
"""replay_edit.py FILE OUT KEY N NEWKEY: writes FILE to OUT with the Nth press
of key code KEY turned into NEWKEY and prints the tick (from 1) holding it;
exits 1 when FILE has no such press. (Enter is 13, Space 32.)"""
import struct
import sys

path, out = sys.argv[1:3]
key, nth, new_key = (int(v) for v in sys.argv[3:6])
data = bytearray(open(path, 'rb').read())
at = data.index(b'\n\n') + 2
tick = 0
while at < len(data):
    tick += 1
    count = struct.unpack_from('<I', data, at + 4)[0]
    at += 8
    for _ in range(count):
        kind, a, _b = struct.unpack_from('<Bii', data, at)
        nth -= kind == 1 and a == key  # kind 1: a key press
        if nth == 0:
            struct.pack_into('<i', data, at + 1, new_key)
            open(out, 'wb').write(data)
            print(tick)
            sys.exit(0)
        at += 9
sys.exit('%s: too few presses of key %d' % (path, key))
