#!/usr/bin/env bash
# The game keeps running when its surroundings are poor: no textures or
# sounds in the data folder, no audio device, a driver below OpenGL 2.0, and
# all three at once. Each run starts a game from the menu with Enter, pauses
# and resumes it with Space (only a running game reacts to Space, and says
# so), plays on and exits 0 after its frames.
set -euo pipefail
bin="${KELVO_BIN:?}"
out=$(mktemp -d)
trap 'rm -rf "$out"' EXIT
mkdir "$out/data"
export ALSOFT_DRIVERS="${ALSOFT_DRIVERS:-null}"

play() {
    local what="$1"
    shift
    local log="$out/${what// /_}.log"
    if ! timeout 180 env "$@" "$bin" --window --frames 80 --seed 7 \
        --press 10:13 --press 30:32 --press 40:32 >"$log" 2>&1; then
        echo "$what: the game did not exit cleanly"; cat "$log"; exit 1
    fi
    if [ "$(grep -c '^button 32 pressed$' "$log")" -ne 2 ]; then
        echo "$what: no game was started from the menu"; cat "$log"; exit 1
    fi
}

play "empty data folder" KELVO_DATA="$out/data"
grep -q "loaded texture" "$out/empty_data_folder.log" && { echo "textures came from somewhere"; exit 1; }
play "no audio device" ALSOFT_DRIVERS=no-such-driver
play "OpenGL 1.5" MESA_GL_VERSION_OVERRIDE=1.5
grep -q "^1\.5" "$out/OpenGL_1.5.log" || { echo "the override did not take"; cat "$out/OpenGL_1.5.log"; exit 1; }
play "everything missing" KELVO_DATA="$out/data" ALSOFT_DRIVERS=no-such-driver MESA_GL_VERSION_OVERRIDE=1.5
echo "the game runs without data files, audio device or OpenGL 2.0"
