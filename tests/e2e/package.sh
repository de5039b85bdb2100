#!/usr/bin/env bash
# Packs the built game as a .deb (installed under /usr), checks its control
# data and layout, and runs the unpacked program far from the source tree.
set -euo pipefail
build="${KELVO_BUILD:?}"
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT

cpack --config "$build/CPackConfig.cmake" -B "$tmp/pkg" -D CPACK_PACKAGING_INSTALL_PREFIX=/usr \
    >"$tmp/cpack.log" 2>&1 || { echo "cpack failed"; cat "$tmp/cpack.log"; exit 1; }
debs=("$tmp"/pkg/kelvo_*.deb)
[ "${#debs[@]}" -eq 1 ] && [ -f "${debs[0]}" ] || { echo "expected one .deb"; ls -R "$tmp/pkg"; exit 1; }
deb="${debs[0]}"

dpkg-deb --info "$deb" >"$tmp/info"
version=$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' "$build/CMakeCache.txt")
expect_field() {
    grep -qx " $1" "$tmp/info" || { echo "missing control line: $1"; cat "$tmp/info"; exit 1; }
}
expect_field "Package: kelvo"
expect_field "Version: $version"
expect_field "Section: games"
expect_field "Depends: libgl1, libglu1-mesa, libglut3.12, libglew2.2, libopenal1, libalut0, libpng16-16"

dpkg-deb --contents "$deb" | awk '{print $6}' >"$tmp/contents"
for path in ./usr/bin/kelvo ./usr/share/kelvo/kelvo.cfg ./usr/share/kelvo/data/ \
        ./usr/share/applications/kelvo.desktop ./usr/share/man/man6/kelvo.6.gz; do
    grep -qx -- "$path" "$tmp/contents" || { echo "not packaged: $path"; cat "$tmp/contents"; exit 1; }
done
if grep -q "^\./usr/local\|_CPack_Packages" "$tmp/contents"; then
    echo "package leaks build paths"; cat "$tmp/contents"; exit 1
fi

# The unpacked tree finds its own data from any working directory.
dpkg-deb -x "$deb" "$tmp/root"
[ "$("$tmp/root/usr/bin/kelvo" --version)" = "kelvo $version" ]
mkdir "$tmp/elsewhere"
(cd "$tmp/elsewhere" && env -u KELVO_DATA HOME="$tmp/home" XDG_CONFIG_HOME= \
    timeout 120 "$tmp/root/usr/bin/kelvo" --window --frames 5 --seed 1 >"$tmp/run.log" 2>&1) || {
    echo "unpacked game failed"; cat "$tmp/run.log"; exit 1; }
grep -qF "Using data folder $tmp/root/usr/share/kelvo/data and configuration $tmp/root/usr/share/kelvo/kelvo.cfg" \
    "$tmp/run.log" || { echo "unpacked game used other files"; cat "$tmp/run.log"; exit 1; }
echo "package ok: $(basename "$deb")"
