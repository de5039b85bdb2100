#!/usr/bin/env bash
# Starts the built game under the current X display, windowed and in the
# full-screen fallback, and checks that it runs its frames and exits cleanly,
# and that a benchmark prints its floors beside its figures.
# (The once-a-second frame-rate line depends on how fast the machine draws
# 120 frames; its counting is checked by GameRulesGLTest.)
set -euo pipefail
bin="${KELVO_BIN:?}"
out=$(mktemp -d)
trap 'rm -rf "$out"' EXIT
# The game refuses to start without a data folder; a tree without the
# generated assets still gets one (missing textures draw untextured).
if [ ! -d data ] && [ -z "${KELVO_DATA:-}" ]; then
    mkdir "$out/data"
    export KELVO_DATA="$out/data"
fi

timeout 120 "$bin" --window --frames 120 --seed 1 >"$out/window.log" 2>"$out/window.err" || {
    echo "windowed run failed"; cat "$out/window.log" "$out/window.err"; exit 1; }
# The driver's version string starts with "MAJOR.MINOR".
grep -qE "^[1-9][0-9]*\.[0-9]+([. ]|$)" "$out/window.log" || { echo "no OpenGL version line"; cat "$out/window.log"; exit 1; }

# Without --window the game asks for a video mode and, where the display
# cannot switch (as here), falls back to a full-screen window.
timeout 120 "$bin" --frames 120 --seed 1 >"$out/full.log" 2>"$out/full.err" || {
    echo "full-screen fallback run failed"; cat "$out/full.log" "$out/full.err"; exit 1; }

# A short benchmark, with the lighting program where the driver offers it:
# the floors follow the game's figures, measured in the same window. Logic,
# not speed: a frame that only clears and swaps does less than a game frame
# and less than a shaded quad, whatever the machine.
timeout 300 "$bin" --window --benchmark --frames 120 --shaders --maze 8 --enemies 10 --no-record \
    >"$out/bench.log" 2>"$out/bench.err" || { echo "benchmark failed"; cat "$out/bench.log" "$out/bench.err"; exit 1; }
python3 - "$out/bench.log" <<'PY' || { cat "$out/bench.log"; exit 1; }
import re, sys
text = open(sys.argv[1]).read()
game = float(re.search(r"^mean fps: ([0-9.]+)$", text, re.M).group(1))
floors = {m[0]: [float(v) for v in m[1:]] for m in re.findall(
    r"^floor (\S+): frames (\d+), mean fps ([0-9.]+), frame ms median ([0-9.]+), p99 ([0-9.]+)$", text, re.M)}
shaded = re.search(r"^shaders: (on|off)$", text, re.M).group(1) == "on"
expected = {"clear-and-swap", "shade-once"} if shaded else {"clear-and-swap"}
if set(floors) != expected:
    sys.exit(f"floor lines {sorted(floors)}, expected {sorted(expected)}")
for name, (frames, fps, median, p99) in floors.items():
    if frames < 10 or fps <= 0 or not 0 < median <= p99:
        sys.exit(f"floor {name}: {frames:.0f} frames, {fps} fps, median {median}, p99 {p99}")
clear = floors["clear-and-swap"][1]
if clear <= game:
    sys.exit(f"clear and swap ({clear} fps) no faster than the game ({game} fps)")
if shaded and clear <= floors["shade-once"][1]:
    sys.exit(f"clear and swap ({clear} fps) no faster than shade-once ({floors['shade-once'][1]} fps)")
PY

# --no-shaders wins over a settings file that asks for the program (which,
# without it, turns the program on here).
mkdir -p "$out/config/kelvo"
printf 'per_pixel_lighting 1\n' >"$out/config/kelvo/settings.cfg"
for run in saved no-shaders; do
    extra=()
    [ "$run" = no-shaders ] && extra=(--no-shaders)
    XDG_CONFIG_HOME="$out/config" timeout 120 "$bin" --window --benchmark --frames 30 --maze 8 --enemies 10 \
        --no-record "${extra[@]}" >"$out/$run.log" 2>"$out/$run.err" || {
        echo "$run run failed"; cat "$out/$run.log" "$out/$run.err"; exit 1; }
done
grep -qx "shaders: on" "$out/saved.log" || { echo "the saved lighting choice was not used"; grep "^shaders" "$out/saved.log"; exit 1; }
grep -qx "shaders: off" "$out/no-shaders.log" || { echo "--no-shaders left the program on"; exit 1; }

"$bin" --help | grep -q -- "--frames"
set +e
"$bin" --no-such-option >/dev/null 2>"$out/usage.err"
rc=$?
set -e
[ "$rc" -eq 2 ] || { echo "unknown option gave exit code $rc"; exit 1; }
grep -q "Usage" "$out/usage.err"
echo "startup ok"
