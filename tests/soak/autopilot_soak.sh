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
set +e
timeout 400 "$bin" --data "$data" --window --autopilot --check-walls --levels "$levels" \
    --maze 8 --enemies 5 --seed 7 >"$work/out.log" 2>"$work/err.log"
rc=$?
set -e
finished=$(grep -c "^autopilot: level" "$work/out.log" || true)
if [ "$rc" -ne 0 ] || [ "$finished" -lt "$levels" ] || grep -q "ERROR: \|runtime error" "$work/err.log"; then
    echo "soak failed: exit code $rc, $finished of $levels levels finished"
    grep "^autopilot:" "$work/out.log" || true
    tail -n 60 "$work/err.log"
    exit 1
fi
grep "^autopilot:" "$work/out.log"
echo "soak ok: $finished levels"
