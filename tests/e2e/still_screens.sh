#!/usr/bin/env bash
# A screen where nothing moves costs little: over 5 s of the idle main menu,
# and over 5 s of a paused game, the game's own CPU time (user + system) is
# at most a quarter of a core, while every core also runs a busy loop; the
# once-a-second frame-rate line keeps coming. The loops run at the lowest
# priority, so they keep the cores busy without starving the game: a game
# that burnt a core would still get it, and fail.
set -euo pipefail
bin="${KELVO_BIN:?}"
work=$(mktemp -d)
game=""
loops=()
cleanup() {
    if [ -n "$game" ]; then kill "$game" 2>/dev/null || true; fi
    for loop in "${loops[@]}"; do kill "$loop" 2>/dev/null || true; done
    rm -rf "$work"
}
trap cleanup EXIT
fail() { echo "FAIL: $*"; tail -n 5 "$work/game.log"; exit 1; }
if [ ! -d data ] && [ -z "${KELVO_DATA:-}" ]; then
    mkdir "$work/data"
    export KELVO_DATA="$work/data"
fi
export ALSOFT_DRIVERS="${ALSOFT_DRIVERS:-null}"
for _ in $(seq "$(nproc)"); do
    nice -n 19 yes >/dev/null &
    loops+=($!)
done

# await PATTERN COUNT: waits up to 60 s until the log holds COUNT lines matching.
await() {
    for _ in $(seq 600); do
        [ "$(grep -c -- "$1" "$work/game.log")" -ge "$2" ] && return 0
        kill -0 "$game" 2>/dev/null || fail "the game ended"
        sleep 0.1
    done
    fail "no $2 lines '$1'"
}
cpu_ticks() { sed 's/.*) //' "/proc/$game/stat" | awk '{print $12 + $13}'; }

# still_costs WHAT READY [OPTIONS]: once READY shows and the next second has
# been counted, 5 s of the game cost at most 0.25 of a core.
still_costs() {
    local what="$1" ready="$2"
    shift 2
    "$bin" --window --no-record --seed 1 "$@" >"$work/game.log" 2>&1 &
    game=$!
    await "$ready" 1
    local seen
    seen=$(grep -c "^fps:" "$work/game.log")
    await "^fps:" $((seen + 1))
    seen=$(grep -c "^fps:" "$work/game.log")
    local start_ticks start_time end_ticks end_time
    start_ticks=$(cpu_ticks)
    start_time=$(date +%s.%N)
    sleep 5
    end_ticks=$(cpu_ticks)
    end_time=$(date +%s.%N)
    local lines=$(($(grep -c "^fps:" "$work/game.log") - seen))
    kill "$game"
    wait "$game" 2>/dev/null || true
    game=""
    local cores
    cores=$(python3 -c "print(round(($end_ticks - $start_ticks) / $(getconf CLK_TCK) / ($end_time - $start_time), 3))")
    echo "$what: $cores of a core, $lines frame-rate lines"
    python3 -c "import sys; sys.exit($cores > 0.25)" || fail "$what costs $cores of a core"
    [ "$lines" -ge 4 ] || fail "$what printed $lines frame-rate lines in 5 s"
}

still_costs "main menu" "^fps:"
# Enter starts a game, Space pauses it (and says so).
still_costs "paused game" "^button 32 pressed$" --press 5:13 --press 30:32
