#!/usr/bin/env bash
# Runs a fuzzer for a bounded time from a small corpus of valid and nearly
# valid files written here.
# Usage: run-fuzzer.sh FUZZER SECONDS bmp|replay
set -euo pipefail
fuzzer="$1"
seconds="$2"
kind="${3:-bmp}"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir "$work/corpus"

python3 - "$work/corpus" "$kind" <<'PY'
import struct, sys, os
out = sys.argv[1]

def replay(frames, game='1.0.0', extra=b''):
    body = b''.join(struct.pack('<dII', step, check, len(events)) +
                    b''.join(struct.pack('<Bii', *e) for e in events) for step, check, events in frames)
    count = sum(len(events) for _, _, events in frames)
    head = ('kelvo replay 2\ngame %s\nseed 7\nmaze 7\nenemies 5\nhealth 2000\nlighting 0\nmouse 1 0\n'
            'window 640 480\nframes %d\nevents %d\nstate 0123456789abcdef\n\n' % (game, len(frames), count))
    return head.encode() + body + extra

if sys.argv[2] == 'replay':
    frames = [(1 / 60, 0xdeadbeef, [(5, 640, 480), (1, 13, 0)]), (0.1, 1, []),
              (1 / 60, 2, [(4, 320, 240), (3, 0, 0), (3, 0, 1), (2, 101, 0)])]
    seeds = {'run': replay(frames), 'empty': replay([]), 'cut': replay(frames)[:-5],
             'trailing': replay(frames, extra=b'x'), 'other': replay(frames, game='0.9')}
    for name, data in seeds.items():
        with open(os.path.join(out, name + '.replay'), 'wb') as f:
            f.write(data)
    sys.exit(0)

def bmp(width, height, bits=24, compression=0, top_down=False, offset=54):
    stride = (width * 3 + 3) & ~3
    rows = abs(height)
    pixels = bytes((x * 37 + y * 11) & 255 for y in range(rows) for x in range(stride))
    info = struct.pack('<IiiHHIIiiII', 40, width, -rows if top_down else height, 1, bits, compression,
                       len(pixels), 2835, 2835, 0, 0)
    gap = b'\0' * (offset - 54)
    head = b'BM' + struct.pack('<IHHI', 54 + len(gap) + len(pixels), 0, 0, offset)
    return head + info + gap + pixels

seeds = {
    'square': bmp(4, 4), 'padded1': bmp(1, 3), 'padded3': bmp(3, 2), 'padded5': bmp(5, 1),
    'topdown': bmp(3, 3, top_down=True), 'offset': bmp(2, 2, offset=70),
    'bits32': bmp(2, 2, bits=32), 'rle': bmp(4, 1, compression=1), 'truncated': bmp(8, 8)[:100],
    'headeronly': bmp(2, 2)[:54],
}
for name, data in seeds.items():
    with open(os.path.join(out, name + '.bmp'), 'wb') as f:
        f.write(data)
PY

# The decoder's own console lines would drown the fuzzer's report.
"$fuzzer" -max_total_time="$seconds" -max_len=4096 -rss_limit_mb=1024 -close_fd_mask=3 \
    -artifact_prefix="$work/" "$work/corpus" 2>"$work/log" || {
    tail -n 60 "$work/log"
    for crash in "$work"/crash-* "$work"/leak-* "$work"/oom-* "$work"/timeout-*; do
        [ -e "$crash" ] && { echo "failing input: $crash"; xxd "$crash" | head -n 20; }
    done
    exit 1
}
tail -n 3 "$work/log"
