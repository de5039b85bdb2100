#!/usr/bin/env bash
# Builds the Debian package as scripts/package does (into a build folder of
# its own beside the test build) and checks it: lintian finds no error or
# warning, the control data and Debian's games layout are right, the
# metadata names the packaged version, the unpacked game runs from a
# player's home with its data under usr/share/games/kelvo, and a second
# packing gives the same bytes.
set -euo pipefail
build="${KELVO_BUILD:?}"
src="${KELVO_SRC:?}"
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
fail() { echo "$1"; shift; [ "$#" -eq 0 ] || cat "$@"; exit 1; }

"$src/scripts/package" "$build/package" >"$tmp/package.log" 2>&1 || fail "scripts/package failed" "$tmp/package.log"
deb=$(tail -n1 "$tmp/package.log")
[ -f "$deb" ] || fail "no package" "$tmp/package.log"

# Tags lintian shows by default are errors and warnings; overridden ones
# carry their reason in the package's override file.
lintian --fail-on error,warning "$deb" >"$tmp/lintian.log" 2>&1 || fail "lintian" "$tmp/lintian.log"

dpkg-deb --info "$deb" >"$tmp/info"
version=$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' "$build/CMakeCache.txt")
for line in "Package: kelvo" "Version: $version" "Section: games"; do
    grep -qx " $line" "$tmp/info" || fail "missing control line: $line" "$tmp/info"
done
for lib in libc6 libglut3.12 libglew2.2 libopenal1 libalut0 libpng16-16; do
    grep -q "^ Depends: .*\b$lib\b" "$tmp/info" || fail "does not depend on $lib" "$tmp/info"
done

app=io.github.kelvo.kelvo
dpkg-deb --contents "$deb" | awk '{print $6}' >"$tmp/contents"
for path in ./usr/games/kelvo ./usr/share/games/kelvo/kelvo.cfg ./usr/share/games/kelvo/data/kelvo_menu.bmp \
        ./usr/share/applications/$app.desktop ./usr/share/metainfo/$app.metainfo.xml \
        ./usr/share/icons/hicolor/{48x48,64x64,128x128,256x256}/apps/kelvo.png \
        ./usr/share/man/man6/kelvo.6.gz ./usr/share/doc/kelvo/copyright; do
    grep -qx -- "$path" "$tmp/contents" || fail "not packaged: $path" "$tmp/contents"
done
if grep -q "^\./usr/local\|^\./usr/bin\|/icons/kelvo\.\|^\./usr/share/kelvo" "$tmp/contents"; then
    fail "package outside Debian's games layout" "$tmp/contents"
fi

dpkg-deb -x "$deb" "$tmp/root"
# The newest release in the metadata is the one packaged (install.sh
# validates the desktop entry and the metadata).
grep -m1 "<release " "$tmp/root/usr/share/metainfo/$app.metainfo.xml" | grep -qF "version=\"$version\"" ||
    fail "the metadata's newest release is not $version" "$tmp/root/usr/share/metainfo/$app.metainfo.xml"

# The unpacked tree finds its own data from a player's home.
[ "$("$tmp/root/usr/games/kelvo" --version)" = "kelvo $version" ] || fail "--version"
mkdir -p "$tmp/home"
(cd "$tmp/home" && env -u KELVO_DATA HOME="$tmp/home" XDG_CONFIG_HOME= \
    timeout 120 "$tmp/root/usr/games/kelvo" --window --frames 5 --seed 1 >"$tmp/run.log" 2>&1) ||
    fail "unpacked game failed" "$tmp/run.log"
grep -qF "Using data folder $tmp/root/usr/share/games/kelvo/data and configuration $tmp/root/usr/share/games/kelvo/kelvo.cfg" \
    "$tmp/run.log" || fail "unpacked game used other files" "$tmp/run.log"

# Packed again from the same build, with another time on the program and
# another umask, the package has the same bytes (scripts/reproducible
# compares the releases of two clones of a commit).
cp "$deb" "$tmp/first.deb"
touch "$build/package/kelvo"
(umask 077 && "$src/scripts/package" "$build/package") >"$tmp/again.log" 2>&1 ||
    fail "scripts/package failed the second time" "$tmp/again.log"
cmp "$tmp/first.deb" "$deb" || fail "packed twice, the package differs"
echo "package ok: $(basename "$deb")"
