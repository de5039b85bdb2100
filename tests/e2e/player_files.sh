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
until_ok 10 grep -qx 'fullscreen 0' "$XDG_CONFIG_HOME/kelvo/settings.cfg" || fail "the window not remembered"

step "F12 saves a PNG of the frame the window shows"
# Once the menu's cursor has moved and its highlight has faded over (two
# pictures of the window agree), F12 must show the new cursor: a picture
# taken earlier, or of another frame, differs.
import -window "$window" "$work/menu.png"
keys Down
held_still() {
    cp "$work/menu.png" "$work/menu_before.png"
    import -window "$window" "$work/menu.png" &&
        "$py" "$lib/picture.py" same "$work/menu_before.png" "$work/menu.png" 0 0 1 1 0 >/dev/null
}
until_ok 20 held_still || fail "the menu does not hold still"
keys F12
until_ok 10 grep -q '^screenshot: ' "$work/stdout.log" || fail "no screenshot line"
shot=$(sed -n 's/^screenshot: //p' "$work/stdout.log" | head -n1)
case "$shot" in "$XDG_PICTURES_DIR/kelvo/kelvo-"*.png) ;; *) fail "screenshot saved as $shot" ;; esac
cp "$shot" "$pictures/player_files_screenshot.png"
"$py" "$lib/picture.py" like "$shot" "$src/data/kelvo_menu.bmp" 0.25 0 1 1 6 || fail "the screenshot is not the menu"
"$py" "$lib/picture.py" same "$shot" "$work/menu.png" 0 0 1 1 0.002 || fail "the screenshot is not the window's frame"

# --- 3. pause when hidden ------------------------------------------------------
step "hiding the window pauses a game in play"
pause="0.38 0.42 0.62 0.58"
fps_lines() { grep -c '^fps: ' "$work/stdout.log" || true; }
fps_reached() { [ "$(fps_lines)" -ge "$1" ]; }
# frames_pass: two more frame-rate lines, so the game drew for over a second.
frames_pass() {
    until_ok 20 fps_reached $(($(fps_lines) + 2)) || fail "the game stopped drawing"
}
# shot_until NAME picture.py-check...: the window's picture, as $work/NAME.png,
# passes the check within 20 s.
shot_check() {
    import -window "$window" "$work/$1.png" && shift && "$py" "$lib/picture.py" "$@"
}
shot_until() { until_ok 20 shot_check "$@"; }
keys Up Return
shot_until playing differ "$work/menu.png" "$work/playing.png" 0 0 1 1 0.3 || fail "no game started"
"$py" "$lib/picture.py" noink "$work/playing.png" $pause 0.01 || fail "paused before hiding"
# The game reacts to the unmap event itself, so it may see the map event
# right after it.
xdotool windowunmap --sync "$window"
xdotool windowmap --sync "$window"
shot_until paused ink "$work/paused.png" $pause 0.03 || fail "no pause picture"
cp "$work/paused.png" "$pictures/player_files_focus_pause.png"
frames_pass
import -window "$window" "$work/still.png"
"$py" "$lib/picture.py" same "$work/paused.png" "$work/still.png" 0 0 1 1 0.002 || fail "the game resumed by itself"
kill "$game_pid"
wait "$game_pid" 2>/dev/null || true
game_pid=""

# --- 4. best times -------------------------------------------------------------
step "an autopilot win is recorded; --quiet prints nothing"
"$bin" --records >"$work/none.txt"
grep -q '^no best times yet' "$work/none.txt" || fail "no 'none yet' line: $(cat "$work/none.txt")"
# A fixed step: the seed wins whatever the machine's speed.
timeout 300 "$bin" --window --quiet --autopilot --fixed-step --maze 5 --enemies 5 --levels 1 --seed 3 \
    >"$work/quiet.log" 2>"$work/quiet.err" || fail "autopilot run failed: $(cat "$work/quiet.err")"
[ ! -s "$work/quiet.log" ] || fail "--quiet printed: $(head -n 3 "$work/quiet.log")"
"$bin" --records >"$work/records.txt"
grep -q '^ *5  *5  *2000 ' "$work/records.txt" || fail "no record of the won level: $(cat "$work/records.txt")"
cat "$work/records.txt"
[ "$(wc -l <"$work/records.txt")" -eq 2 ] || fail "expected a heading and one setting"
echo "player files ok"
