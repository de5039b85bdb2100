#!/usr/bin/env bash
# What the game remembers and offers, used through X input as a player does,
# with the player's folders in a temporary place:
#  1. the options screen's maze size is saved and the next start builds its
#     first maze with it;
#  2. F11 switches between the window and full screen; F12 saves a PNG;
#  3. hiding the window pauses a game in play, and it stays paused;
#  4. a level the autopilot wins shows up in `kelvo --records`, and --quiet
#     keeps the console empty meanwhile.
set -euo pipefail
bin="${KELVO_BIN:?}"
build="${KELVO_BUILD:?}"
src="${KELVO_SRC:?}"
py=/usr/bin/python3
lib="$src/tests/e2e/lib"
pictures="$build/pictures"
mkdir -p "$pictures"
work=$(mktemp -d)
export XDG_CONFIG_HOME="$work/config" XDG_DATA_HOME="$work/data" XDG_PICTURES_DIR="$work/shots"
export ALSOFT_DRIVERS="${ALSOFT_DRIVERS:-null}"

source "$src/tests/e2e/lib/session.sh"
start_own_x_server

window=""
start_game() {
    cd "$src"
    stdbuf -oL "$bin" --window --seed 7 "$@" >"$work/stdout.log" 2>"$work/stderr.log" &
    game_pid=$!
    window=$(timeout 60 xdotool search --sync --name '^Kelvo$' | head -n1) || fail "no game window"
    xdotool mousemove --window "$window" 300 300
    # The menu is up once the first maze has been printed and a frame drawn.
    until_ok 60 grep -q '^fps: ' "$work/stdout.log" || fail "the game does not run"
}
until_ok() {
    local limit=$1
    shift
    local end=$((SECONDS + limit))
    until "$@"; do
        [ "$SECONDS" -ge "$end" ] && return 1
        sleep 0.3
    done
}
keys() { xdotool key --delay 150 "$@"; }
geometry() { xdotool getwindowgeometry "$window" | sed -n 's/^ *Geometry: //p'; }

# --- 1. saved options ---------------------------------------------------------
step "options: maze 32 -> 40, leave, exit"
start_game
keys Down Down Return
xdotool key --delay 100 $(printf 'Right %.0s' $(seq 8))
keys Escape
until_ok 20 grep -qx 'maze_size 40' "$XDG_CONFIG_HOME/kelvo/settings.cfg" || fail "maze size not saved"
grep -qx 'enemies 100' "$XDG_CONFIG_HOME/kelvo/settings.cfg" || fail "settings file incomplete"
# The cursor is on "options"; "exit" is the next item.
keys Down Return
wait_game_exit

step "the next start builds a 40 x 40 maze first"
start_game
size=$("$py" "$lib/maze.py" size "$work/stdout.log" 0) || fail "no maze printed"
[ "$size" = "40 40" ] || fail "first maze is $size, wanted 40 40"

# --- 2. F11, F12 ----------------------------------------------------------------
step "F11 fills the screen and restores the window"
before=$(geometry)
[ "$before" = "1024x768" ] || fail "window starts at $before"
keys F11
until_ok 10 test "$(geometry)" = "1280x1024" || fail "F11 left the window at $(geometry)"
grep -qx 'fullscreen 1' "$XDG_CONFIG_HOME/kelvo/settings.cfg" || fail "full screen not remembered"
keys F11
until_ok 10 test "$(geometry)" = "1024x768" || fail "second F11 left the window at $(geometry)"

step "F12 saves a PNG of the window"
keys F12
until_ok 10 grep -q '^screenshot: ' "$work/stdout.log" || fail "no screenshot line"
shot=$(sed -n 's/^screenshot: //p' "$work/stdout.log" | head -n1)
case "$shot" in "$XDG_PICTURES_DIR/kelvo/kelvo-"*.png) ;; *) fail "screenshot saved as $shot" ;; esac
"$py" - "$shot" <<'EOF' || fail "the screenshot does not decode to the menu"
import sys
from PIL import Image
img = Image.open(sys.argv[1]).convert("RGB")
assert img.size == (1024, 768), img.size
lit = sum(1 for p in img.getdata() if sum(p) > 60)
assert lit > img.size[0] * img.size[1] * 0.05, "nearly black: %d lit pixels" % lit
print("screenshot %dx%d, %d lit pixels" % (img.size + (lit,)))
EOF
cp "$shot" "$pictures/player_files_screenshot.png"

# --- 3. pause when hidden ------------------------------------------------------
step "hiding the window pauses a game in play"
pause="0.38 0.42 0.62 0.58"
keys Return
sleep 2
import -window "$window" "$work/playing.png"
"$py" "$lib/picture.py" noink "$work/playing.png" $pause 0.01 || fail "paused before hiding"
xdotool windowunmap --sync "$window"
sleep 1
xdotool windowmap --sync "$window"
sleep 2
import -window "$window" "$pictures/player_files_focus_pause.png"
"$py" "$lib/picture.py" ink "$pictures/player_files_focus_pause.png" $pause 0.03 || fail "no pause picture"
sleep 1
import -window "$window" "$work/still.png"
"$py" "$lib/picture.py" same "$pictures/player_files_focus_pause.png" "$work/still.png" 0 0 1 1 0.002 ||
    fail "the game resumed by itself"
kill "$game_pid"
wait "$game_pid" 2>/dev/null || true
game_pid=""

# --- 4. best times -------------------------------------------------------------
step "an autopilot win is recorded; --quiet prints nothing"
"$bin" --records >"$work/none.txt"
grep -q '^no best times yet' "$work/none.txt" || fail "no 'none yet' line: $(cat "$work/none.txt")"
won=""
for seed in 3 4 5; do
    timeout 300 "$bin" --window --quiet --autopilot --maze 5 --enemies 5 --levels 1 --seed "$seed" \
        >"$work/quiet.log" 2>"$work/quiet.err" || fail "autopilot run failed: $(cat "$work/quiet.err")"
    [ ! -s "$work/quiet.log" ] || fail "--quiet printed: $(head -n 3 "$work/quiet.log")"
    if "$bin" --records >"$work/records.txt" && grep -q '^ *5  *5  *2000 ' "$work/records.txt"; then
        won=yes
        break
    fi
done
[ -n "$won" ] || fail "no record after three autopilot runs: $(cat "$work/records.txt")"
cat "$work/records.txt"
[ "$(wc -l <"$work/records.txt")" -eq 2 ] || fail "expected a heading and one setting"
echo "player files ok"
