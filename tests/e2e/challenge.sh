#!/usr/bin/env bash
# Maze codes and challenges from the command line: a game prints each
# level's code; --challenge with one of them plays that maze at once, the
# autopilot's run of it takes exactly the par (worked out before play) and
# earns gold, a second run works out the same par, --records lists the code,
# the daily maze is one per date, and mistyped codes get one line naming the wrong part and exit status 2.
set -euo pipefail
bin="${KELVO_BIN:?}"
out=$(mktemp -d)
trap 'rm -rf "$out"' EXIT
export ALSOFT_DRIVERS="${ALSOFT_DRIVERS:-null}"
fail() { echo "$1"; shift; [ $# -eq 0 ] || grep -hE '^(maze code|par|challenge|kelvo)' "$@"; exit 1; }
run() { timeout 300 "$bin" --window --no-record --fixed-step "$@"; }

run --autopilot --levels 2 --seed 5 --maze 12 --enemies 30 >"$out/game.log" || fail "the game failed" "$out/game.log"
mapfile -t codes < <(sed -n 's/^maze code: //p' "$out/game.log")
[ "${#codes[@]}" -eq 2 ] && [ "${codes[0]}" != "${codes[1]}" ] || fail "two levels, two codes expected" "$out/game.log"
code="${codes[1]}"

for try in 1 2; do
    run --autopilot --levels 1 --challenge "$code" >"$out/challenge$try.log" || fail "challenge $try failed" "$out/challenge$try.log"
    first_frame=$(grep -n -m1 '^fps: ' "$out/challenge$try.log" | cut -d: -f1)
    said=$(grep -n -m1 "^challenge: $code\$" "$out/challenge$try.log" | cut -d: -f1)
    [ -n "$said" ] && [ "$said" -lt "${first_frame:-999999}" ] || fail "no \"challenge: $code\" before the first frame"
    [ "$(sed -n 's/^maze code: //p' "$out/challenge$try.log")" = "$code" ] || fail "not the code's maze" "$out/challenge$try.log"
    grep -qE "^challenge won: $code time ([0-9.]+) s \(best [0-9.]+ s, par \1 s, medal gold\)$" "$out/challenge$try.log" ||
        fail "the autopilot's run takes the par and earns gold" "$out/challenge$try.log"
done
grep -h '^challenge won' "$out"/challenge[12].log | sort -u | wc -l | grep -qx 1 || fail "par differs between runs" "$out"/challenge[12].log
"$bin" --records | grep -q "^$code " || fail "--records lacks the code" <("$bin" --records)

# The daily maze: one per UTC date, the same for everyone that day; the run
# of consecutive days played shows in --records.
for day in 2026-12-07 2026-12-08 2026-12-08; do
    run --frames 3 --daily --today "$day" >"$out/daily.log" || fail "daily $day failed" "$out/daily.log"
    sed -n "s/^challenge: /$day /p" "$out/daily.log" >>"$out/daily.codes"
done
[ "$(sort -u "$out/daily.codes" | wc -l)" -eq 2 ] && [ "$(cut -d' ' -f2 "$out/daily.codes" | sort -u | wc -l)" -eq 2 ] ||
    fail "one maze per date expected" "$out/daily.codes"
"$bin" --records --today 2026-12-09 | grep -qx "daily mazes: 2 days played, a run of 2 days up to 2026-12-09" ||
    fail "--records lacks the daily run" <("$bin" --records --today 2026-12-09)

# A code with the right check digit around the given groups.
sealed() { python3 -c '
import sys
t=["0317598642","7092154863","4206871359","1750983426","6123045978","3674209581","5869720134","8945362017","9438617205","2581436790"]
i=0
for c in sys.argv[1]:
    if c.isdigit(): i=int(t[i][int(c)])
print(sys.argv[1]+"-"+str(i))' "$1"; }
typo="${code:0:3}$(( (${code:3:1} + 1) % 10 ))${code:4}"
for case in "$typo|bad check digit: .*" "$(sealed 1-81-030-2000-0000000001)|maze size 81 is outside 3\.\.80" \
    "$(sealed 1-12-030-9000-0000000001)|starting health 9000 is outside 100\.\.5000" \
    "$(sealed 2-12-030-2000-0000000001)|made for simulation format 2; this build plays format 1"; do
    given="${case%%|*}"
    set +e
    "$bin" --window --challenge "$given" >"$out/bad.log" 2>"$out/bad.err"
    status=$?
    set -e
    [ "$status" -eq 2 ] && [ "$(wc -l <"$out/bad.err")" -eq 1 ] &&
        grep -qxE "kelvo: --challenge $given: ${case#*|}" "$out/bad.err" || fail "$given: status $status" "$out/bad.err"
done
echo "codes name their mazes; a challenge is won at par with gold; mistyped codes are refused"
