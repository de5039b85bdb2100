#!/usr/bin/env bash
# Plays the real game the way a person does: keys and mouse motion sent
# through X, the picture read back from the window, the sound captured by
# OpenAL Soft's wave-file writer. Menu -> game -> pause -> resume -> menu ->
# options (bigger maze, small swarm) -> game, steering the ball -> menu ->
# exit with code 0; the game saved a replay of all that, and playing it back
# with other sound back-ends (as on another machine) reaches the same state.
# Screenshots of every step are left in $KELVO_BUILD/pictures/play_*.png.
set -euo pipefail
bin="${KELVO_BIN:?}"
build="${KELVO_BUILD:?}"
src="${KELVO_SRC:?}"
py=/usr/bin/python3
lib="$src/tests/e2e/lib"
pictures="$build/pictures"
mkdir -p "$pictures"
work=$(mktemp -d)
# Fresh player folders: the options chosen below are saved there.
export XDG_CONFIG_HOME="$work/config" XDG_DATA_HOME="$work/data" XDG_PICTURES_DIR="$work/pictures"

source "$src/tests/e2e/lib/session.sh"
start_own_x_server

# --- helpers -----------------------------------------------------------------

window=""
# shot NAME: screenshot of the game window as $pictures/play_NAME.png.
shot() {
    local try
    for try in 1 2 3; do
        import -window "$window" "$pictures/play_$1.png" 2>/dev/null && return 0
        sleep 0.5
    done
    fail "screenshot $1"
}
pic() { "$py" "$lib/picture.py" "$@"; }
picture_of() { echo "$pictures/play_$1.png"; }

# until SECONDS COMMAND...: retry COMMAND until it succeeds, at most SECONDS.
until_ok() {
    local limit=$1
    shift
    local end=$((SECONDS + limit))
    while ! "$@" >"$work/last_check" 2>&1; do
        if [ "$SECONDS" -ge "$end" ]; then
            cat "$work/last_check"
            return 1
        fi
        sleep 0.5
    done
    cat "$work/last_check"
}
# shot_until SECONDS NAME picture.py-check-with-@-for-the-shot...
shot_until() {
    local limit=$1 name=$2
    shift 2
    local args=()
    for a in "$@"; do
        if [ "$a" = "@" ]; then args+=("$(picture_of "$name")"); else args+=("$a"); fi
    done
    until_ok "$limit" eval 'shot "$name" && pic "${args[@]}"'
}
keys() { xdotool key --delay 200 "$@"; }
game_alive() { kill -0 "$game_pid" 2>/dev/null; }
# The wave writer runs in real time: sound_reached SECONDS [WAV] holds once
# that much sound has been written.
sound_length() { "$py" "$lib/wav.py" length "${1:-$work/sound.wav}"; }
sound_reached() { awk -v have="$(sound_length "${2:-}")" -v want="$1" 'BEGIN { print "sound written: " have " s"; exit !(have >= want) }'; }
# music_gain FROM TO FILE [WAV]: the whole seconds FROM..TO of the sound are
# the game's sound file FILE, of all its files the one they follow; prints
# the gain it plays at, in dB.
music_gain() {
    until_ok 60 sound_reached "$2" "${4:-}" >&2 || return 1
    "$py" "$lib/wav.py" track "${4:-$work/sound.wav}" "$1" "$2" "$src"/data/sounds/*.wav >"$work/track" || true
    cat "$work/track" >&2
    tail -n 1 "$work/track" | awk -v want="$3" '$1 == want { print $2; found = 1 } END { exit !found }'
}
fps_lines() { grep -c "^fps: " "$work/stdout.log" || true; }
fps_lines_reached() { [ "$(fps_lines)" -ge "$1" ]; }

# Regions as fractions of the window (left top right bottom).
title="0.35 0.15 0.82 0.33"  # the glowing game name on the menu picture
pause="0.38 0.42 0.62 0.58"  # the pause picture in the middle
all="0 0 1 1"

# --- 1. start ----------------------------------------------------------------
step "start the game in a window"
cat >"$work/alsoft.conf" <<EOF
drivers=wave
[wave]
file=$work/sound.wav
EOF
cd "$src"
export XDG_DATA_HOME="$work/home"
env -u ALSOFT_DRIVERS ALSOFT_CONF="$work/alsoft.conf" \
    stdbuf -oL "$bin" --window --seed 6 --trace-ball >"$work/stdout.log" 2>"$work/stderr.log" &
game_pid=$!
window=$(timeout 60 xdotool search --sync --name '^Kelvo$' | head -n1) || fail "no game window"
# Keyboard focus follows the pointer.
xdotool mousemove --window "$window" 300 300

# --- 2. menu -----------------------------------------------------------------
step "the menu shows and its music plays"
# Right of the buttons the menu is its background picture.
shot_until 60 menu like @ "$src/data/kelvo_menu.bmp" 0.25 0 1 1 6 || fail "menu picture not drawn"
menu_gain=$(music_gain 1 5 mainMenu3.wav) || fail "the menu does not play mainMenu3.wav"

# --- 3. game -----------------------------------------------------------------
step "Down, Up, Enter start a game"
keys Down Up Return
game_music=$(sound_length)
shot_until 30 game map @ "$work/stdout.log" 0 0.5 || fail "the map does not show the first maze"
pic differ "$(picture_of menu)" "$(picture_of game)" $all 0.3 || fail "game looks like the menu"

# The swarm soon finds the ball in this first game (100 enemies; seed 6 starts
# it in a corner, far from where the swarm falls) and a lost
# game ignores Esc, so pausing and leaving come first; the ball is steered
# in the next game, with few enemies.

# --- 4. pause ----------------------------------------------------------------
step "Space pauses"
shot before_pause
pic noink "$(picture_of before_pause)" $pause 0.01 || fail "pause picture before Space"
keys space
# The panel's text and frame are measured by their own colour: a plain
# before/after difference depends on how dark the scene behind the panel is.
shot_until 20 paused ink @ $pause 0.03 || fail "no pause picture"
# Two more frame-rate lines show the game still draws (a hung game would
# pass the picture check too).
fps_then=$(fps_lines)
until_ok 20 fps_lines_reached $((fps_then + 2)) || fail "the paused game stopped drawing frames"
shot paused_later
pic same "$(picture_of paused)" "$(picture_of paused_later)" $all 0.002 || fail "world moves while paused"
# The in-game music plays on while paused; measured from its second second.
from=$(awk -v t="$game_music" 'BEGIN { print int(t) + 2 }')
music_gain "$from" $((from + 3)) background.wav >/dev/null || fail "the game does not play background.wav"

# --- 5. resume, back to the menu ---------------------------------------------
step "Space resumes, Esc returns to the menu"
keys space
shot_until 20 resumed noink @ $pause 0.01 || fail "pause picture stays"
shot_until 20 resumed_later differ "$(picture_of resumed)" @ $all 0.005 || fail "the world stays frozen"
keys Escape
shot_until 20 menu_again same "$(picture_of menu)" @ $all 0.02 || fail "Esc did not bring the menu back"

# --- 6. options: a bigger maze -----------------------------------------------
step "the options screen makes the maze 40 wide and the swarm 5 strong"
keys Down Down Return
shot_until 20 options differ "$(picture_of menu)" @ $title 0.3 || fail "no options screen"
# Level size 32 -> 40 in steps of 1; enemy count 100 -> 5 in steps of 5.
xdotool key --delay 100 $(printf 'Right %.0s' $(seq 8)) Down $(printf 'Left %.0s' $(seq 19))
shot options_set
offset=$(stat -c %s "$work/stdout.log")
keys Escape
size=$(until_ok 60 "$py" "$lib/maze.py" size "$work/stdout.log" "$offset") || fail "no new maze printed"
[ "$size" = "40 40" ] || fail "new maze is $size, wanted 40 40"
shot_until 20 menu_after_options same "$(picture_of menu)" @ $title 0.02 || fail "menu not back after options"
game40=$(stat -c %s "$work/stdout.log")
keys Up Up Return
# The map must show the new maze, not the first one (nor nothing).
shot_until 30 game_40 map @ "$work/stdout.log" "$offset" 0.5 || fail "the map does not show the new maze"

# --- 7. rolling --------------------------------------------------------------
step "moving the mouse rolls the ball"
# The picture alone cannot tell: the swarm's light sweeps over the walls by
# itself as much as a short roll moves them. The game's hidden --trace-ball
# hook prints "ball tile: COLUMN ROW" whenever the ball's tile changes; the
# ball starts at rest on the maze's border, and the way in leads towards the
# middle (columns grow with x, rows with z; the mouse's x pushes along x and
# its y along z). The first new tile must be one step that way.
traced_since() { tail -c +$(($1 + 1)) "$work/stdout.log" | grep "^ball tile: " | tail -n 1; }
start_traced() { [ -n "$(traced_since "$game40")" ]; }
until_ok 30 start_traced || fail "no start tile traced"
swarm=$(tail -c +$((game40 + 1)) "$work/stdout.log" | grep -m1 "^swarm: ")
[ "$swarm" = "swarm: at most 5 enemies" ] || fail "the enemy count chosen was not used: $swarm"
offset=$(stat -c %s "$work/stdout.log")
read -r _ _ column row < <(traced_since "$game40")
to_column=$((20 - column))  # 20: the middle of the 40-wide maze
to_row=$((20 - row))
if [ "${to_column#-}" -gt "${to_row#-}" ]; then
    step_column=$((to_column > 0 ? 1 : -1)) step_row=0
else
    step_column=0 step_row=$((to_row > 0 ? 1 : -1))
fi
echo "start tile $column $row: pushing $step_column $step_row"
# Each look pushes a little more, until the ball reaches another tile.
push_moved() {
    xdotool mousemove_relative -- $((30 * step_column)) $((30 * step_row))
    [ -n "$(tail -c +$((offset + 1)) "$work/stdout.log" | grep -m1 "^ball tile: ")" ]
}
until_ok 60 push_moved || fail "steering did not move the ball"
new_tile=$(tail -c +$((offset + 1)) "$work/stdout.log" | grep -m1 "^ball tile: ")
shot rolled
echo "$new_tile"
[ "$new_tile" = "ball tile: $((column + step_column)) $((row + step_row))" ] || fail "the ball rolled the wrong way"
game_alive || fail "game died while rolling"
if grep -qiE "error|sanitizer|abort|assert" "$work/stderr.log" "$work/stdout.log"; then
    fail "problems reported on the console"
fi

# --- 8. exit -----------------------------------------------------------------
step "Esc, then exit from the menu"
keys Escape
shot_until 20 menu_last same "$(picture_of menu)" @ $title 0.02 || fail "menu not back"
keys Down Down Down Return
wait_game_exit
if [ -s "$work/stderr.log" ]; then
    fail "the game wrote to standard error"
fi
"$py" "$lib/wav.py" closed "$work/sound.wav" || fail "sound device not closed at exit"

# --- 9. replay -----------------------------------------------------------------
step "the game replays to the same state"
saved=$(grep "^replay saved: " "$work/stdout.log") || fail "no replay saved"
file=$(sed -E 's/^replay saved: (.*) \(state [0-9a-f]{16}\)$/\1/' <<<"$saved")
hash=$(sed -E 's/.*\(state ([0-9a-f]{16})\)$/\1/' <<<"$saved")
grep -q "^events [1-9]" "$file" || fail "no input recorded"
# The recording wrote its sound to a file; the playback lets OpenAL Soft try
# its usual back-ends. Its PulseAudio client, finding no runtime folder in
# this fresh XDG_CONFIG_HOME, draws from the C library's rand() to name one
# (under $TMPDIR), between the first maze and the swarm's first births: a
# game whose world drew from rand() too diverges here.
timeout 300 env -u ALSOFT_DRIVERS -u XDG_RUNTIME_DIR -u PULSE_RUNTIME_PATH TMPDIR="$work" \
    "$bin" --window --replay "$file" --fast >"$work/replay.log" 2>&1 ||
    fail "playback failed: $(grep -E 'replay|kelvo:' "$work/replay.log" | tail -n 3)"
grep "^replay ok: ticks [0-9]*, state $hash$" "$work/replay.log" || fail "playback: $(grep replay "$work/replay.log")"

# --- 10. music volume ----------------------------------------------------------
step "music_volume 60 plays the menu music at 60 %"
echo "music_volume 60" >>"$XDG_CONFIG_HOME/kelvo/settings.cfg"
sed "s|$work/sound.wav|$work/sound60.wav|" "$work/alsoft.conf" >"$work/alsoft60.conf"
env -u ALSOFT_DRIVERS ALSOFT_CONF="$work/alsoft60.conf" "$bin" --window --no-record >"$work/stdout.log" 2>"$work/stderr.log" &
game_pid=$!
quiet_gain=$(music_gain 1 5 mainMenu3.wav "$work/sound60.wav") || fail "the menu does not play mainMenu3.wav"
# 20 log10(0.6) = -4.4 dB
awk -v d="$(awk -v a="$quiet_gain" -v b="$menu_gain" 'BEGIN { print a - b }')" \
    'BEGIN { print "60 % against 100 %: " d " dB"; exit !(d > -5.4 && d < -3.4) }' || fail "music_volume 60 not applied"
echo "play ok"
