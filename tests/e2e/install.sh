#!/usr/bin/env bash
# Installs the built game into a scratch prefix and starts it from unrelated
# working directories: it must find its data and settings there, honour
# --data and KELVO_DATA, and refuse to start without any data.
set -euo pipefail
build="${KELVO_BUILD:?}"
src="${KELVO_SRC:?}"
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
prefix="$tmp/prefix"
share="$prefix/share/kelvo"

cmake --install "$build" --prefix "$prefix" >"$tmp/install.log" 2>&1 || {
    echo "install failed"; cat "$tmp/install.log"; exit 1; }

fail() { echo "$1"; shift; [ "$#" -eq 0 ] || cat "$@"; exit 1; }

# Layout.
[ -x "$prefix/bin/kelvo" ] || fail "no bin/kelvo"
[ -d "$share/data" ] || fail "no share/kelvo/data"
cmp -s "$src/kelvo.cfg" "$share/kelvo.cfg" || fail "default kelvo.cfg not installed"
desktop="$prefix/share/applications/io.github.kelvo.kelvo.desktop"
grep -qx "Categories=Game;ActionGame;" "$desktop" || fail "desktop entry"
grep -qx "Exec=kelvo" "$desktop" || fail "desktop entry command"
grep -qx "Icon=kelvo" "$desktop" || fail "desktop entry icon"
desktop-file-validate "$desktop" >"$tmp/desktop.err" 2>&1 || fail "desktop entry invalid" "$tmp/desktop.err"
[ ! -s "$tmp/desktop.err" ] || fail "desktop entry hints" "$tmp/desktop.err"
appstreamcli validate --no-net "$prefix/share/metainfo/io.github.kelvo.kelvo.metainfo.xml" >"$tmp/appstream.log" 2>&1 ||
    fail "AppStream metadata invalid" "$tmp/appstream.log"
for px in 48 64 128 256; do
    file "$prefix/share/icons/hicolor/${px}x$px/apps/kelvo.png" | grep -q "PNG image data, $px x $px" ||
        fail "no ${px} px icon"
done
(cd "$src/data" && find . -type f ! -path "*/__pycache__/*" ! -path "./icons/*") | while read -r f; do
    cmp -s "$src/data/$f" "$share/data/$f" || fail "data file not installed: $f"
done
[ -f "$prefix/share/man/man6/kelvo.6.gz" ] || fail "no compressed manual page"
man="$tmp/kelvo.6"
gzip -dc "$prefix/share/man/man6/kelvo.6.gz" >"$man" || fail "manual page does not decompress"
for word in '\-\-window' '\-\-seed' '\-\-frames' '\-\-data' '\-\-version' '\-\-replay' '\-\-fast' \
        '\-\-no\-record' '\-\-fixed\-step' KELVO_DATA XDG_CONFIG_HOME XDG_DATA_HOME replays \
        kelvo.cfg Mouse Space Tab Esc Enter; do
    grep -qF -- "$word" "$man" || fail "manual page lacks $word"
done
groff -man -ww -z "$man" 2>"$tmp/groff.err"
[ ! -s "$tmp/groff.err" ] || fail "manual page warnings" "$tmp/groff.err"

version=$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' "$build/CMakeCache.txt")
[ "$("$prefix/bin/kelvo" --version)" = "kelvo $version" ] || fail "--version"

# Runs the installed game from a fresh working directory with a clean home.
# Usage: play NAME [env assignments...] -- [options...]
play() {
    local name="$1"; shift
    local vars=()
    while [ "$1" != "--" ]; do vars+=("$1"); shift; done
    shift
    mkdir -p "$tmp/$name"
    set +e
    (cd "$tmp/$name" && env -u KELVO_DATA HOME="$tmp/home" XDG_CONFIG_HOME= "${vars[@]}" \
        timeout 120 "$prefix/bin/kelvo" "$@" >"$tmp/$name.out" 2>"$tmp/$name.err")
    rc=$?
    set -e
}

play installed -- --window --frames 60 --seed 1
[ "$rc" -eq 0 ] || fail "installed game failed ($rc)" "$tmp/installed.out" "$tmp/installed.err"
grep -qxF "Using data folder $share/data and configuration $share/kelvo.cfg" "$tmp/installed.out" ||
    fail "installed game used other files" "$tmp/installed.out"
grep -qx "num: 3" "$tmp/installed.out" || fail "default configuration not read" "$tmp/installed.out"

# A personal configuration wins over the installed default.
mkdir -p "$tmp/home/.config/kelvo"
echo "resolution 1" >"$tmp/home/.config/kelvo/kelvo.cfg"
play personal -- --window --frames 5
[ "$rc" -eq 0 ] || fail "personal configuration run failed ($rc)" "$tmp/personal.err"
grep -qxF "Using data folder $share/data and configuration $tmp/home/.config/kelvo/kelvo.cfg" "$tmp/personal.out" &&
    grep -qx "num: 1" "$tmp/personal.out" || fail "personal configuration not used" "$tmp/personal.out"
rm -r "$tmp/home/.config"

# --data beats KELVO_DATA, which beats the search.
mkdir -p "$tmp/mine/data" "$tmp/env/data"
play option KELVO_DATA="$tmp/env/data" -- --data "$tmp/mine/data" --window --frames 5
[ "$rc" -eq 0 ] || fail "--data run failed ($rc)" "$tmp/option.err"
grep -q "^Using data folder $tmp/mine/data and no configuration" "$tmp/option.out" || fail "--data ignored" "$tmp/option.out"
play variable KELVO_DATA="$tmp/env/data" -- --window --frames 5
[ "$rc" -eq 0 ] || fail "KELVO_DATA run failed ($rc)" "$tmp/variable.err"
grep -q "^Using data folder $tmp/env/data and no configuration" "$tmp/variable.out" || fail "KELVO_DATA ignored" "$tmp/variable.out"

# An unusable override is an error, not a silent fallback.
play wrong KELVO_DATA="$tmp/nowhere/data" -- --window --frames 5
[ "$rc" -eq 1 ] || fail "KELVO_DATA to a missing folder gave exit code $rc" "$tmp/wrong.out"
grep -q "^kelvo: KELVO_DATA names $tmp/nowhere/data" "$tmp/wrong.err" || fail "no error line" "$tmp/wrong.err"

# Without data anywhere: one line on standard error and exit code 1. The
# configured prefix is searched last and may hold an installed copy, so this
# runs the game built with a prefix that never holds data.
rm -r "$share/data"
cp "$build/tests/kelvo_empty_prefix" "$prefix/bin/kelvo"
play nodata -- --window --frames 5
[ "$rc" -eq 1 ] || fail "no data gave exit code $rc" "$tmp/nodata.out" "$tmp/nodata.err"
[ "$(wc -l <"$tmp/nodata.err")" -eq 1 ] || fail "expected one error line" "$tmp/nodata.err"
grep -q "^kelvo: no game data found (looked for $tmp/nodata/data, .*$share/data" "$tmp/nodata.err" ||
    fail "error line does not say where it looked" "$tmp/nodata.err"
[ ! -s "$tmp/nodata.out" ] || fail "no data: nothing belongs on standard output" "$tmp/nodata.out"
echo "install ok"
