#!/usr/bin/env bash
# Starts the built game on an X server of its own, windowed and in the
# full-screen fallback, and checks that it runs its frames and exits cleanly,
# that the fallback window covers the screen, and that a benchmark prints its
# floors beside its figures.
# (The once-a-second frame-rate line depends on how fast the machine draws
# 120 frames; its counting is checked by GameRulesGLTest.)
set -euo pipefail
bin="${KELVO_BIN:?}"
work=$(mktemp -d)
source "${KELVO_SRC:?}/tests/e2e/lib/session.sh"
start_own_x_server

timeout 120 "$bin" --window --frames 120 --seed 1 >"$work/window.log" 2>"$work/window.err" || {
    echo "windowed run failed"; cat "$work/window.log" "$work/window.err"; exit 1; }
# The driver's version string starts with "MAJOR.MINOR".
grep -qE "^[1-9][0-9]*\.[0-9]+([. ]|$)" "$work/window.log" || { echo "no OpenGL version line"; cat "$work/window.log"; exit 1; }

# Without --window the game asks for a video mode and, where the display
# cannot switch (as here), falls back to a window covering the screen; the
# menu's last item ends it.
stdbuf -oL "$bin" --seed 1 >"$work/stdout.log" 2>"$work/stderr.log" &
game_pid=$!
window=$(timeout 60 xdotool search --sync --name '^Kelvo$' | head -n1) || fail "no full-screen window"
screen=$(xdotool getdisplaygeometry | tr ' ' x)
placed() { xdotool getwindowgeometry "$window" | sed -n 's/^ *Geometry: //p'; }
end=$((SECONDS + 60))
until [ "$(placed)" = "$screen" ] && grep -q '^fps: ' "$work/stdout.log"; do
    [ "$SECONDS" -lt "$end" ] || fail "the full-screen window is $(placed), the screen $screen"
    sleep 0.3
done
xdotool mousemove --window "$window" 300 300 key --delay 150 Down Down Down Return
wait_game_exit

# A short benchmark, with the lighting program where the driver offers it:
# the floors follow the game's figures, measured in the same window. Logic,
# not speed: a frame that only clears and swaps does less than a game frame
# and less than a shaded quad, whatever the machine.
timeout 300 "$bin" --window --benchmark --frames 120 --shaders --maze 8 --enemies 10 --no-record \
    >"$work/bench.log" 2>"$work/bench.err" || { echo "benchmark failed"; cat "$work/bench.log" "$work/bench.err"; exit 1; }
python3 - "$work/bench.log" <<'PY' || { cat "$work/bench.log"; exit 1; }
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
mkdir -p "$work/config/kelvo"
printf 'per_pixel_lighting 1\n' >"$work/config/kelvo/settings.cfg"
for run in saved no-shaders; do
    extra=()
    [ "$run" = no-shaders ] && extra=(--no-shaders)
    XDG_CONFIG_HOME="$work/config" timeout 120 "$bin" --window --benchmark --frames 30 --maze 8 --enemies 10 \
        --no-record "${extra[@]}" >"$work/$run.log" 2>"$work/$run.err" || {
        echo "$run run failed"; cat "$work/$run.log" "$work/$run.err"; exit 1; }
done
grep -qx "shaders: on" "$work/saved.log" || { echo "the saved lighting choice was not used"; grep "^shaders" "$work/saved.log"; exit 1; }
grep -qx "shaders: off" "$work/no-shaders.log" || { echo "--no-shaders left the program on"; exit 1; }

"$bin" --help | grep -q -- "--frames"
set +e
"$bin" --no-such-option >/dev/null 2>"$work/usage.err"
rc=$?
set -e
[ "$rc" -eq 2 ] || { echo "unknown option gave exit code $rc"; exit 1; }
grep -q "Usage" "$work/usage.err"
echo "startup ok"
