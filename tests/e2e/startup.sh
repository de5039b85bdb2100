#!/usr/bin/env bash
# Starts the built game under the current X display, windowed and in the
# full-screen fallback, and checks that it runs its frames and exits cleanly.
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

"$bin" --help | grep -q -- "--frames"
set +e
"$bin" --no-such-option >/dev/null 2>"$out/usage.err"
rc=$?
set -e
[ "$rc" -eq 2 ] || { echo "unknown option gave exit code $rc"; exit 1; }
grep -q "Usage" "$out/usage.err"
echo "startup ok"
