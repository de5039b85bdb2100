#!/usr/bin/env bash
# The Windows release as a player gets it: unzipped into a folder whose path
# has a blank and letters outside ASCII, it carries everything it needs
# (no DLL from the build machine: WINEPATH is empty) and, started under wine
# from that folder and from elsewhere, runs its frames and exits cleanly,
# with OpenAL's null output and with whatever wine offers as a sound device;
# F12 saves a PNG of the window into the player's Pictures\kelvo folder (a
# copy is left as windows_screenshot.png in KELVO_PICTURES).
set -euo pipefail
zip="${KELVO_ZIP:?}"
wine="${KELVO_WINE:?}"
[ -f "$zip" ] || { echo "no release zip at $zip (scripts/windows makes it)"; exit 1; }
[ -n "${DISPLAY:-}" ] || { echo "needs an X display"; exit 1; }

out=$(mktemp -d)
trap 'WINEPREFIX="$out/wineprefix" wineserver -k 2>/dev/null; rm -rf "$out"' EXIT
place="$out/Spiele für Zoë"
mkdir -p "$place"
(cd "$place" && cmake -E tar xf "$zip")
game="$place/$(basename "$zip" .zip)"

for file in kelvo.exe libfreeglut.dll glew32.dll OpenAL32.dll alut.dll kelvo.cfg README.txt \
    data/kelvo_menu.bmp data/sounds/background.wav licences/openal-soft/COPYING \
    licences/freeglut/COPYING licences/glew/LICENSE.txt licences/freealut/COPYING \
    licences/zlib/LICENSE licences/libpng1.6/LICENSE; do
    [ -f "$game/$file" ] || { echo "the release lacks $file"; exit 1; }
done
# zlib and libpng are linked into kelvo.exe: a DLL of theirs beside it would
# mean the game needs one, and a player's copy might lack it.
if ls "$game" | grep -qi '^\(lib\)\?\(png\|z\).*\.dll$'; then
    echo "the release carries a zlib or libpng DLL"; ls "$game"; exit 1
fi

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

# F12 as a player presses it, on a fresh Windows profile of its own (a wine
# prefix whose home is a scratch folder, so nothing lands in the tester's
# own home): the picture goes into the player's Pictures\kelvo folder as a
# PNG of the whole window. Without a window manager keys go to the window
# under the pointer, so the pointer is put on the game's window; a press
# that comes before the game takes input is repeated. The menu's last item
# then ends the game.
mkdir -p "$out/home"
player=(env KELVO_WINEPREFIX="$out/wineprefix" HOME="$out/home" WINEPATH=)
(cd "$game" && ALSOFT_DRIVERS=null timeout 300 "${player[@]}" "$wine" "$game/kelvo.exe" --window --seed 1 \
    >"$out/f12.log" 2>"$out/f12.err") &
game_pid=$!
# A search stops at the first window that goes away while it looks (wine
# makes and drops helper windows while it starts), so it is repeated.
window=""
for _ in $(seq 360); do
    window=$(xdotool search --name '^Kelvo$' 2>/dev/null | sed -n 1p || true)
    [ -n "$window" ] && break
    sleep 0.5
done
[ -n "$window" ] || { echo "f12: no game window"; cat "$out/f12.log" "$out/f12.err"; exit 1; }
xdotool mousemove --window "$window" 300 300
for _ in $(seq 30); do
    grep -q '^screenshot: ' "$out/f12.log" && break
    grep -q 'screenshot not saved' "$out/f12.err" && break
    xdotool key F12
    sleep 2
done
xdotool key --delay 200 Down Down Down Return
wait "$game_pid" || { echo "f12: the game failed"; cat "$out/f12.log" "$out/f12.err"; exit 1; }
shot=$(sed -n 's/^screenshot: //p' "$out/f12.log" | head -n1 | tr -d '\r')
[ -n "$shot" ] || { echo "f12: no screenshot saved"; cat "$out/f12.log" "$out/f12.err"; exit 1; }
echo "f12: saved $shot"
case "$shot" in */Pictures/kelvo/kelvo-*.png) ;; *) echo "f12: screenshot saved as $shot"; exit 1 ;; esac
mkdir -p "${KELVO_PICTURES:-$out}"
keep="${KELVO_PICTURES:-$out}/windows_screenshot.png"
cp "$("${player[@]}" "$wine" winepath -u "$shot" | tr -d '\r')" "$keep"
/usr/bin/python3 - "$keep" <<'EOF'
import struct, sys
data = open(sys.argv[1], "rb").read()
assert data[:8] == b"\x89PNG\r\n\x1a\n", "not a PNG"
assert data[12:16] == b"IHDR", "no header chunk first"
width, height = struct.unpack(">II", data[16:24])
assert (width, height) == (1024, 768), "picture of %dx%d, the window is 1024x768" % (width, height)
from PIL import Image
img = Image.open(sys.argv[1]).convert("RGB")
lit = sum(1 for p in img.getdata() if sum(p) > 60)
assert lit > width * height * 0.05, "nearly black: %d lit pixels" % lit
print("windows screenshot %dx%d, %d lit pixels" % (width, height, lit))
EOF
echo "windows release ok"
