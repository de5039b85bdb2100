#!/usr/bin/env bash
# Long unattended play: the autopilot finishes at least ten small levels
# (won or lost, each followed by a new maze or a new game) while every frame
# checks that the ball's centre is outside all wall boxes. Built with the
# sanitizers, any memory error or leak (checked before the process ends)
# fails the run.
set -euo pipefail
bin="${KELVO_BIN:?}"
src="${KELVO_SRC:?}"
levels="${KELVO_SOAK_LEVELS:-10}"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

data="$src/data"
if [ ! -d "$data" ]; then
    mkdir "$work/data"
    data="$work/data"
fi
# The smallest screen keeps a sanitized software-rendered frame short.
printf 'resolution 1\n' >"$work/kelvo.cfg"
export LSAN_OPTIONS="${LSAN_OPTIONS:-suppressions=$src/tests/support/lsan.supp:print_suppressions=0}"
export ASAN_OPTIONS="${ASAN_OPTIONS:-detect_leaks=1}"
export ALSOFT_DRIVERS="${ALSOFT_DRIVERS:-null}"

cd "$work"
soak_once() {
    set +e
    timeout 400 "$bin" --data "$data" --window --autopilot --check-walls --levels "$levels" \
        --maze 8 --enemies 5 --seed 7 >"$work/out.log" 2>"$work/err.log"
    rc=$?
    set -e
    finished=$(grep -c "^autopilot: level" "$work/out.log" || true)
}

# LeakSanitizer stops every thread with a tracer of its own before it scans
# memory; on a loaded machine that tracer has been seen to crash ("Tracer
# caught signal 11 ... LeakSanitizer has encountered a fatal error") after the
# game had finished every level. That is the checker failing, not a leak: the
# run is repeated, at most twice, with the checker's thread log on. A leak report, a
# memory error, a wall crossing or an unfinished run fails at once.
checker_crashed() {
    [ "$rc" -ne 0 ] && [ "$finished" -ge "$levels" ] &&
        grep -q "LeakSanitizer has encountered a fatal error" "$work/err.log" &&
        ! grep -q "ERROR: \|runtime error\|detected memory leaks" "$work/err.log"
}

tries=1
soak_once
while checker_crashed && [ "$tries" -lt 3 ]; do
    echo "soak: the leak checker crashed after $finished levels (exit code $rc, try $tries of 3); running again"
    tail -n 5 "$work/err.log"
    [ "$tries" -eq 1 ] && LSAN_OPTIONS="$LSAN_OPTIONS:verbosity=1:log_threads=1"
    tries=$((tries + 1))
    soak_once
done
if [ "$rc" -ne 0 ] || [ "$finished" -lt "$levels" ] || grep -q "ERROR: \|runtime error" "$work/err.log"; then
    echo "soak failed: exit code $rc, $finished of $levels levels finished"
    grep "^autopilot:" "$work/out.log" || true
    tail -n 60 "$work/err.log"
    exit 1
fi
grep "^autopilot:" "$work/out.log"
echo "soak ok: $finished levels"
