#!/usr/bin/env bash
# The Windows release as a player gets it: unzipped into a folder whose path
# has a blank and letters outside ASCII, it carries everything it needs
# (no DLL from the build machine: WINEPATH is empty) and, started under wine
# from that folder and from elsewhere, runs its frames and exits cleanly,
# with OpenAL's null output and with whatever wine offers as a sound device.
set -euo pipefail
zip="${KELVO_ZIP:?}"
wine="${KELVO_WINE:?}"
[ -f "$zip" ] || { echo "no release zip at $zip (scripts/windows makes it)"; exit 1; }
[ -n "${DISPLAY:-}" ] || { echo "needs an X display"; exit 1; }

out=$(mktemp -d)
trap 'rm -rf "$out"' EXIT
place="$out/Spiele für Zoë"
mkdir -p "$place"
(cd "$place" && cmake -E tar xf "$zip")
game="$place/$(basename "$zip" .zip)"

for file in kelvo.exe libfreeglut.dll glew32.dll OpenAL32.dll alut.dll kelvo.cfg README.txt \
    data/kelvo_menu.bmp data/sounds/background.wav licences/openal-soft/COPYING \
    licences/freeglut/COPYING licences/glew/LICENSE.txt licences/freealut/COPYING; do
    [ -f "$game/$file" ] || { echo "the release lacks $file"; exit 1; }
done

# run NAME WORKING-FOLDER [ENV=VALUE...]: one start of the game, 120 frames.
run() {
    local name="$1" folder="$2"
    shift 2
    if ! (cd "$folder" && env "$@" WINEPATH= timeout 300 "$wine" "$game/kelvo.exe" --window --frames 120 --seed 1 \
            >"$out/$name.log" 2>"$out/$name.err"); then
        echo "$name: the game failed"; cat "$out/$name.log" "$out/$name.err"; exit 1
    fi
    grep -q "^[0-9]\+\.[0-9]\+.*Mesa" "$out/$name.log" || {
        echo "$name: no OpenGL version line"; cat "$out/$name.log" "$out/$name.err"; exit 1; }
    grep -q "^fps: [0-9]\+" "$out/$name.log" || {
        echo "$name: no frame-rate line, so no second of frames ran"; cat "$out/$name.log"; exit 1; }
    grep -q "loaded texture: data/kelvo_menu.bmp" "$out/$name.log" || {
        echo "$name: the menu picture was not loaded"; cat "$out/$name.log"; exit 1; }
}

run null-audio "$game" ALSOFT_DRIVERS=null
# OpenAL's null output always opens: the shipped OpenAL and ALUT DLLs work
# and read the game's sounds.
if grep -q "no audio\|cannot load sound" "$out/null-audio.err"; then
    echo "null-audio: the sound system failed"; cat "$out/null-audio.err"; exit 1
fi
run wine-audio "$game" -u ALSOFT_DRIVERS
# Started by its full path from another folder, the game still finds the
# data beside its executable.
run elsewhere "$out" ALSOFT_DRIVERS=null
echo "windows release ok"
