#!/usr/bin/env bash
# Runs the BMP fuzzer for a bounded time from a small corpus of valid and
# nearly valid files written here.
# Usage: run-fuzzer.sh FUZZER SECONDS
set -euo pipefail
fuzzer="$1"
seconds="$2"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir "$work/corpus"

python3 - "$work/corpus" <<'PY'
import struct, sys, os
out = sys.argv[1]

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
