#!/usr/bin/env bash
# The Windows release as a player gets it: unzipped into a folder whose path
# has a blank and letters outside ASCII, it carries everything it needs
# (no DLL from the build machine: WINEPATH is empty) and, started under wine
# from that folder and from elsewhere, runs a second of its clock and leaves
# through its menu with exit code 0, with OpenAL's null output and with
# whatever wine offers as a sound device; F12 saves a PNG of the frame the
# window shows into the player's Pictures\kelvo folder (a copy is left as
# windows_screenshot.png in KELVO_PICTURES).
set -euo pipefail
zip="${KELVO_ZIP:?}"
wine="${KELVO_WINE:?}"
[ -f "$zip" ] || { echo "no release zip at $zip (scripts/windows makes it)"; exit 1; }
[ -n "${DISPLAY:-}" ] || { echo "needs an X display"; exit 1; }

out=$(mktemp -d)
game_pid=""
trap '[ -z "$game_pid" ] || kill "$game_pid" 2>/dev/null; WINEPREFIX="$out/wineprefix" wineserver -k 2>/dev/null; rm -rf "$out"' EXIT
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

picture="$(dirname "$0")/../e2e/lib/picture.py"
fail() { echo "$1"; cat "$out/$name.log" "$out/$name.err"; exit 1; }
# until_ok SECONDS COMMAND...: COMMAND holds within SECONDS.
until_ok() {
    local end=$((SECONDS + $1))
    shift
    until "$@"; do
        [ "$SECONDS" -lt "$end" ] || return 1
        sleep 0.5
    done
}
# A search stops at the first window that goes away while it looks (wine
# makes and drops helper windows while it starts), so it is repeated.
find_window() {
    window=$(xdotool search --name '^Kelvo$' 2>/dev/null | sed -n 1p || true)
    [ -n "$window" ] || kill -0 "$game_pid" 2>/dev/null || fail "$name: the game ended before its window showed"
    [ -n "$window" ]
}

# start NAME WORKING-FOLDER [ENV=VALUE...]: starts the game, finds its window
# and waits for a second of the game's clock (its first frame-rate line).
# Without a window manager keys go to the window under the pointer, so the
# pointer is put on the game's window.
start() {
    name="$1"
    local folder="$2"
    shift 2
    (cd "$folder" && exec env "$@" WINEPATH= timeout 300 "$wine" "$game/kelvo.exe" --window --seed 1 \
        >"$out/$name.log" 2>"$out/$name.err") &
    game_pid=$!
    until_ok 180 find_window || fail "$name: no game window"
    xdotool mousemove --window "$window" 300 300
    until_ok 120 grep -q "^fps: [0-9]\+" "$out/$name.log" || fail "$name: no second of frames ran"
    grep -q "^[0-9]\+\.[0-9]\+.*Mesa" "$out/$name.log" || fail "$name: no OpenGL version line"
    grep -q "loaded texture: data/kelvo_menu.bmp" "$out/$name.log" || fail "$name: the menu picture was not loaded"
}
# finish KEYS...: the keys lead to the menu's last item, which ends the game.
finish() {
    xdotool key --delay 200 "$@" Return
    wait "$game_pid" || fail "$name: the game failed"
    game_pid=""
}

start null-audio "$game" ALSOFT_DRIVERS=null
finish Down Down Down
# OpenAL's null output always opens: the shipped OpenAL and ALUT DLLs work
# and read the game's sounds.
if grep -q "no audio\|cannot load sound" "$out/null-audio.err"; then
    fail "null-audio: the sound system failed"
fi
start wine-audio "$game" -u ALSOFT_DRIVERS
finish Down Down Down
# Started by its full path from another folder, the game still finds the
# data beside its executable.
start elsewhere "$out" ALSOFT_DRIVERS=null
finish Down Down Down

# F12 as a player presses it, on a fresh Windows profile of its own (a wine
# prefix whose home is a scratch folder, so nothing lands in the tester's
# own home): the picture goes into the player's Pictures\kelvo folder as a
# PNG of the frame the window shows. Once the menu's cursor has moved (the
# window no longer shows the first menu) and its highlight has faded over
# (two pictures of the window agree), the picture must show the new cursor:
# one taken earlier, or of another frame, differs. The key reaches the game
# some time after xdotool sends it, so the move itself is awaited first.
mkdir -p "$out/home"
player=(KELVO_WINEPREFIX="$out/wineprefix" HOME="$out/home")
start f12 "$game" ALSOFT_DRIVERS=null "${player[@]}"
import -window "$window" "$out/first.png"
xdotool key Down
cursor_moved() {
    import -window "$window" "$out/window.png" &&
        /usr/bin/python3 "$picture" differ "$out/first.png" "$out/window.png" 0 0 1 1 0.001 >/dev/null
}
until_ok 60 cursor_moved || fail "f12: the menu's cursor did not move"
held_still() {
    cp "$out/window.png" "$out/before.png"
    import -window "$window" "$out/window.png" &&
        /usr/bin/python3 "$picture" same "$out/before.png" "$out/window.png" 0 0 1 1 0 >/dev/null
}
until_ok 60 held_still || fail "f12: the menu does not hold still"
xdotool key F12
until_ok 60 grep -q '^screenshot: \|screenshot not saved' "$out/f12.log" "$out/f12.err" || fail "f12: no screenshot line"
finish Down Down
shot=$(sed -n 's/^screenshot: //p' "$out/f12.log" | head -n1 | tr -d '\r')
[ -n "$shot" ] || fail "f12: no screenshot saved"
echo "f12: saved $shot"
case "$shot" in */Pictures/kelvo/kelvo-*.png) ;; *) fail "f12: screenshot saved as $shot" ;; esac
mkdir -p "${KELVO_PICTURES:-$out}"
keep="${KELVO_PICTURES:-$out}/windows_screenshot.png"
cp "$(env "${player[@]}" WINEPATH= "$wine" winepath -u "$shot" | tr -d '\r')" "$keep"
# The menu upright (its picture right of the buttons), and the frame the
# window showed after the press.
/usr/bin/python3 "$picture" like "$keep" "$game/data/kelvo_menu.bmp" 0.25 0 1 1 6 || fail "f12: not the menu"
/usr/bin/python3 "$picture" same "$keep" "$out/window.png" 0 0 1 1 0.002 || fail "f12: not the window's frame"
echo "windows release ok"
