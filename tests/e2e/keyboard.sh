#!/usr/bin/env bash
# Keyboard play through X, as a player does: extra keys from settings.cfg
# (a key of another action and a hostile line each cost one line on
# standard error, nothing else); a held arrow key rolls the ball onto the
# next tile the way it points and E leaves the floor; the game played by
# keyboard replays exactly; the accepted extra keys survive a save from the
# options screen and roll the ball in the next start; the autopilot wins a
# level steering by the arrow keys alone.
set -euo pipefail
bin="${KELVO_BIN:?}"
src="${KELVO_SRC:?}"
work=$(mktemp -d)
export XDG_CONFIG_HOME="$work/config" XDG_DATA_HOME="$work/data"
export ALSOFT_DRIVERS="${ALSOFT_DRIVERS:-null}"

source "$src/tests/e2e/lib/session.sh"
start_own_x_server

until_ok() {
    local end=$((SECONDS + $1))
    shift
    until "$@"; do [ "$SECONDS" -lt "$end" ] || return 1; sleep 0.2; done
}
start_game() {
    cd "$src"
    stdbuf -oL "$bin" --window --seed 6 --enemies 5 --trace-ball >"$work/stdout.log" 2>"$work/stderr.log" &
    game_pid=$!
    window=$(timeout 60 xdotool search --sync --name '^Kelvo$' | head -n1) || fail "no game window"
    # Keyboard focus follows the pointer, which must enter the new window
    # (the last one left it where the new one opens).
    xdotool mousemove 0 0 mousemove --window "$window" 300 300
    until_ok 60 grep -q '^fps: ' "$work/stdout.log" || fail "the game does not run"
}
# The first key sent to a new window can be lost before the window has the
# keyboard: Down is sent until the game reports it (special keys are printed
# in every state), then Up and Return start a game.
start_playing() {
    for _ in 1 2 3 4 5; do
        xdotool key Down
        until_ok 3 grep -q '^button pressed: 103' "$work/stdout.log" && break
    done
    xdotool key --delay 150 Up Return
}
traced() { grep "^ball tile: " "$work/stdout.log" | tail -n 1; }
# roll KEY COLUMN ROW: holds KEY until the ball leaves the start tile, which
# must be for the neighbour COLUMN ROW.
roll() {
    local offset
    offset=$(stat -c %s "$work/stdout.log")
    xdotool keydown "$1"
    reached() { tail -c +$((offset + 1)) "$work/stdout.log" | grep -m1 "^ball tile: "; }
    until_ok 20 reached >/dev/null || fail "holding $1 did not move the ball"
    xdotool keyup "$1"
    [ "$(reached)" = "ball tile: $2 $3" ] || fail "holding $1 rolled the ball to $(reached), not $2 $3"
    echo "$1 rolled the ball to $2 $3"
}

mkdir -p "$XDG_CONFIG_HOME/kelvo"
printf 'enemies 5\nbind roll_right l\nbind roll_left j\nbind jump w\nbind roll_forward i\nbind \033[2J\001 x\nbind roll_back k\n' \
    >"$XDG_CONFIG_HOME/kelvo/settings.cfg"

step "extra keys: a conflict and a hostile line cost one line each"
start_game
[ "$(grep -c '^kelvo: .*bind: ' "$work/stderr.log")" -eq 2 ] || fail "bind problems: $(cat "$work/stderr.log")"
grep -q "bind: w is already the key of roll_forward" "$work/stderr.log" || fail "conflict not named"

step "a held arrow key rolls the ball to the next tile, E jumps"
start_playing
until_ok 30 test -n "$(traced)" || fail "no start tile traced"
read -r _ _ column row < <(traced)
# The way out of the start tile leads towards the middle of the 32-wide maze
# (columns grow with x, Right; rows with z, Down).
to_column=$((16 - column)) to_row=$((16 - row))
if [ "${to_column#-}" -gt "${to_row#-}" ]; then
    step=$((to_column > 0 ? 1 : -1)) next_column=$((column + step)) next_row=$row
    if [ "$step" -gt 0 ]; then arrow=Right letter=l; else arrow=Left letter=j; fi
else
    step=$((to_row > 0 ? 1 : -1)) next_column=$column next_row=$((row + step))
    if [ "$step" -gt 0 ]; then arrow=Down letter=k; else arrow=Up letter=i; fi
fi
roll "$arrow" "$next_column" "$next_row"
# Rolling on, the ball settles on the floor before E.
xdotool key e
until_ok 10 grep -q '^ball leaves the floor' "$work/stdout.log" || fail "E did not jump"

step "a changed option saves the file with the accepted extra keys"
xdotool key --delay 150 Escape Down Down Return Down Down Right Escape
settings="$XDG_CONFIG_HOME/kelvo/settings.cfg"
until_ok 20 grep -qx 'starting_health 2050' "$settings" || fail "the options were not saved"
[ "$(grep -c '^bind ' "$settings")" -eq 4 ] || fail "bind lines saved: $(grep bind "$settings")"
grep -qx 'bind roll_back k' "$settings" || fail "an accepted key was lost"
xdotool key --delay 150 Down Return
wait_game_exit

step "the game played by keyboard replays exactly"
saved=$(grep "^replay saved: " "$work/stdout.log") || fail "no replay saved"
file=$(sed -E 's/^replay saved: (.*) \(state [0-9a-f]{16}\)$/\1/' <<<"$saved")
hash=$(sed -E 's/.*\(state ([0-9a-f]{16})\)$/\1/' <<<"$saved")
timeout 300 "$bin" --window --replay "$file" --fast >"$work/replay.log" 2>&1 ||
    fail "playback failed: $(grep -E 'replay|kelvo:' "$work/replay.log" | tail -n 3)"
grep "^replay ok: ticks [0-9]*, state $hash$" "$work/replay.log" || fail "playback: $(grep replay "$work/replay.log")"

step "the next start rolls the ball with the saved extra key"
start_game
[ ! -s "$work/stderr.log" ] || fail "the saved file still has problems: $(cat "$work/stderr.log")"
start_playing
until_ok 30 test -n "$(traced)" || fail "no start tile traced"
roll "$letter" "$next_column" "$next_row"
kill "$game_pid"
wait "$game_pid" 2>/dev/null || true
game_pid=""

step "the autopilot wins a level by the keys alone"
# One tick per frame: the seed plays the same whatever the machine's speed.
timeout 300 "$bin" --window --autopilot-keys --fixed-step --maze 7 --enemies 5 --levels 1 --seed 3 --no-record \
    >"$work/stdout.log" 2>"$work/stderr.log" || fail "the autopilot's run failed"
grep "^autopilot: level won" "$work/stdout.log" || fail "the autopilot did not win by keys"
grep -q "^button pressed: 102" "$work/stdout.log" || fail "the autopilot did not steer by the arrow keys"
echo "keyboard ok"
