#!/usr/bin/env bash
# The game keeps running when its surroundings are poor: no textures or
# sounds in the data folder, no audio device, a driver below OpenGL 2.0, and
# all three at once. Each run starts a game from the menu with Enter, pauses
# and resumes it with Space (only a running game reacts to Space), plays on
# and exits 0 after its frames; each missing sound or device is one line on
# standard error, and nothing else is. Its replay, with either Space turned
# into a key the game ignores, parts from the recording at that Space's
# frame: each one stopped or restarted the world.
set -euo pipefail
bin="${KELVO_BIN:?}"
edit="${KELVO_SRC:?}/tests/e2e/lib/replay_edit.py"
out=$(mktemp -d)
export XDG_DATA_HOME="$out/home"
trap 'rm -rf "$out"' EXIT
mkdir "$out/data"
export ALSOFT_DRIVERS="${ALSOFT_DRIVERS:-null}"

play() {
    local what="$1"
    shift
    local log="$out/${what// /_}.log"
    if ! timeout 180 env "$@" "$bin" --window --frames 80 --seed 7 \
        --press 10:13 --press 30:32 --press 40:32 >"$log" 2>"$log.err"; then
        echo "$what: the game did not exit cleanly"; cat "$log" "$log.err"; exit 1
    fi
    local saved nth tick
    saved=$(sed -n 's/^replay saved: \(.*\) (state [0-9a-f]*)$/\1/p' "$log")
    for nth in 1 2; do
        tick=$(python3 "$edit" "$saved" "$out/edited.replay" 32 "$nth" 97) || { echo "$what: no Space recorded"; exit 1; }
        env "$@" "$bin" --replay "$out/edited.replay" --fast >/dev/null 2>"$out/edited.err" || true
        grep -qx "replay diverged at tick $tick" "$out/edited.err" || {
            echo "$what: Space $nth at tick $tick changed nothing"; cat "$out/edited.err"; exit 1; }
    done
}

# stderr_is WHAT PATTERN...: standard error of that run is one line per
# pattern (extended regular expressions), in that order.
stderr_is() {
    local what="$1" err="$out/${1// /_}.log.err" lines pattern i=0
    shift
    mapfile -t lines <"$err"
    local ok=$(( ${#lines[@]} == $# ))
    for pattern in "$@"; do
        [[ ${lines[i]:-} =~ ^${pattern}$ ]] || ok=0
        i=$((i + 1))
    done
    if [ "$ok" -ne 1 ]; then
        echo "$what: standard error should be:"; printf '  %s\n' "$@"
        echo "but is:"; cat "$err"; exit 1
    fi
}

play "empty data folder" KELVO_DATA="$out/data"
# Played from the empty folder (its name is printed), it found no sound
# there; textures missing there are silent and draw untextured.
grep -qx "Using data folder $out/data.*" "$out/empty_data_folder.log" || {
    echo "not played from the empty folder"; cat "$out/empty_data_folder.log"; exit 1; }
stderr_is "empty data folder" "cannot load sound data/sounds/healthDrain.wav: .+" \
    "cannot load sound data/sounds/mainMenu3.wav: .+" "cannot load sound data/sounds/background.wav: .+"

play "no audio device" ALSOFT_DRIVERS=no-such-driver
stderr_is "no audio device" "no audio, playing silently: .+"

play "OpenGL 1.5" MESA_GL_VERSION_OVERRIDE=1.5
grep -q "^1\.5" "$out/OpenGL_1.5.log" || { echo "the override did not take"; cat "$out/OpenGL_1.5.log"; exit 1; }
stderr_is "OpenGL 1.5"

# Without a device no sound is even tried.
play "everything missing" KELVO_DATA="$out/data" ALSOFT_DRIVERS=no-such-driver MESA_GL_VERSION_OVERRIDE=1.5
stderr_is "everything missing" "no audio, playing silently: .+"
echo "the game runs without data files, audio device or OpenGL 2.0"
