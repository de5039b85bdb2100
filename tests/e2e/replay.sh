#!/usr/bin/env bash
# Replays and the fixed ticks: an autopilot game of two levels, recorded one
# tick per frame, plays back to the same state hash both one tick per frame
# and at the game's own 60 ticks a second, whatever the frame rate; one
# changed input byte makes playback report divergence at that tick; playback
# keeps the recorded pace; two benchmarks with one seed agree, one of them
# beside a busy loop; bad files, and a replay of the older format, get one
# line on stderr and exit code 1.
set -euo pipefail
bin="${KELVO_BIN:?}"
work=$(mktemp -d)
busy=""
cleanup() {
    if [ -n "$busy" ]; then kill "$busy" 2>/dev/null || true; fi
    rm -rf "$work"
}
trap cleanup EXIT
fail() { echo "FAIL: $*"; tail -n 5 "$work"/*.log 2>/dev/null || true; exit 1; }
export XDG_DATA_HOME="$work/home" KELVO_DATA="${KELVO_SRC:?}/data"
# The smallest screen (the configuration in the working directory comes
# first): the cheapest frames, so drawing takes a small part of a paced
# playback.
cd "$work"
printf 'resolution 1\n' >kelvo.cfg
export ALSOFT_DRIVERS="${ALSOFT_DRIVERS:-null}"
# No lighting program: the cheapest frames on a software renderer.
export MESA_GL_VERSION_OVERRIDE=1.5
run() { timeout 300 "$bin" --window "$@"; }

# --- record and play back ---------------------------------------------------
run --autopilot --fixed-step --levels 2 --maze 7 --enemies 5 --seed 3 >"$work/record.log" 2>&1 ||
    fail "recording run failed"
saved=$(grep "^replay saved: " "$work/record.log") || fail "no replay saved"
file=$(sed -E 's/^replay saved: (.*) \(state [0-9a-f]{16}\)$/\1/' <<<"$saved")
hash=$(sed -E 's/.*\(state ([0-9a-f]{16})\)$/\1/' <<<"$saved")
case "$file" in "$XDG_DATA_HOME/kelvo/replays/"*.replay) ;; *) fail "replay saved as $file" ;; esac
[ "$(grep -cE "^autopilot: level (won|lost) " "$work/record.log")" -eq 2 ] || fail "the recording did not play two levels"
ticks=$(sed -n 's/^ticks //p' "$file")

# now_ms: the wall clock in milliseconds.
now_ms() { echo $((${EPOCHREALTIME/./} / 1000)); }
start=$(now_ms)
run --replay "$file" --fast >"$work/play.log" 2>&1 || fail "playback failed"
fast=$(($(now_ms) - start))
grep -qx "replay ok: ticks $ticks, state $hash" "$work/play.log" || fail "playback: $(grep replay "$work/play.log")"

# The key that starts the first game, turned into one the menu ignores: the
# world stays frozen, so the state differs from the tick that key starts.
python3 "$KELVO_SRC/tests/e2e/lib/replay_edit.py" "$file" "$work/changed.replay" 13 1 97 >"$work/changed_tick" ||
    fail "no Enter key recorded"
set +e
run --replay "$work/changed.replay" --fast >"$work/changed.log" 2>"$work/changed.err"
rc=$?
set -e
[ "$rc" -eq 3 ] || fail "a changed replay gave exit code $rc"
grep -qx "replay diverged at tick $(cat "$work/changed_tick")" "$work/changed.err" ||
    fail "divergence: $(cat "$work/changed.err"), changed tick $(cat "$work/changed_tick")"

# At the recorded pace (60 ticks a second) playback takes at least the
# recorded game time, and at most that time plus drawing its frames, which
# the fast playback above measured (twice over, as the machine's load may
# change in between).
recorded=$((ticks * 1000 / 60))
start=$(now_ms)
run --replay "$file" >"$work/paced.log" 2>&1 || fail "paced playback failed"
took=$(($(now_ms) - start))
grep -qx "replay ok: ticks $ticks, state $hash" "$work/paced.log" || fail "paced playback: $(cat "$work/paced.log")"
[ "$took" -ge "$recorded" ] || fail "paced playback took $took ms for $recorded ms of game"
[ "$took" -le $((recorded + 2 * fast)) ] ||
    fail "paced playback took $took ms for $recorded ms of game, drawn in $fast ms"

# --- deterministic benchmark ------------------------------------------------
bench() { run --benchmark --frames 3000 --maze 8 --enemies 10 --seed 11 --no-record | grep -E "^(levels|state)"; }
bench >"$work/bench1.log" || fail "first benchmark failed"
( while :; do :; done ) &
busy=$!
bench >"$work/bench2.log" || fail "benchmark beside a busy loop failed"
kill "$busy"
busy=""
[ "$(wc -l <"$work/bench1.log")" -eq 3 ] || fail "benchmark summary: $(cat "$work/bench1.log")"
diff "$work/bench1.log" "$work/bench2.log" || fail "the same seed played out differently"

# --- bad files ----------------------------------------------------------------
head -c 300 "$file" >"$work/cut.replay"
sed '1s/^kelvo replay 4$/kelvo replay 2/' "$file" >"$work/format2.replay"
for bad in "$work/missing.replay" "$work/cut.replay" "$work" "$work/format2.replay"; do
    set +e
    run --replay "$bad" --fast >"$work/bad.log" 2>"$work/bad.err"
    rc=$?
    set -e
    [ "$rc" -eq 1 ] || fail "$bad gave exit code $rc"
    [ "$(wc -l <"$work/bad.err")" -eq 1 ] || fail "$bad: $(cat "$work/bad.err")"
done
grep -q "replay format 2, one step per drawn frame" "$work/bad.err" || fail "format 2: $(cat "$work/bad.err")"
echo "replay ok: $ticks ticks, paced $took ms for $recorded ms of game, fast $fast ms"
