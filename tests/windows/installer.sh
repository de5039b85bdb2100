#!/usr/bin/env bash
# The installer as a player runs it, under wine in a scratch prefix with a
# home of its own: a silent install (/S) puts the game, its shortcut in the
# Start menu and its uninstall entry (with the version) in place; the
# installed kelvo.exe carries its icon, version details and manifest and
# runs its frames; started from the Start-menu shortcut it shows its menu
# (the screen is left as installed_from_start_menu.png in KELVO_PICTURES);
# a silent uninstall, waited for with wineserver -w (the uninstaller copies
# itself away and returns at once), removes the program, the shortcut and
# the entry and keeps the player's own %APPDATA%\kelvo.
set -euo pipefail
setup="${KELVO_SETUP:?}"
wine="${KELVO_WINE:?}"
version="${KELVO_VERSION:?}"
[ -f "$setup" ] || { echo "no installer at $setup (scripts/windows makes it)"; exit 1; }
[ -n "${DISPLAY:-}" ] || { echo "needs an X display"; exit 1; }

out=$(mktemp -d)
trap 'WINEPREFIX="$out/wineprefix" wineserver -k 2>/dev/null; rm -rf "$out"' EXIT
fail() { echo "$1"; shift; [ "$#" -eq 0 ] || cat "$@"; exit 1; }
mkdir -p "$out/home"
as_player=(env KELVO_WINEPREFIX="$out/wineprefix" HOME="$out/home" WINEPATH= ALSOFT_DRIVERS=null "$wine")
player() { "${as_player[@]}" "$@"; }
settle() { WINEPREFIX="$out/wineprefix" wineserver -w; }
folder() { player cmd /c echo "%$1%" | tr -d '\r'; }
unix_path() { player winepath -u "$1" | tr -d '\r'; }
key='HKCU\Software\Microsoft\Windows\CurrentVersion\Uninstall\Kelvo'

player "$setup" /S >"$out/setup.log" 2>&1 || fail "the silent install failed" "$out/setup.log"
settle
programs=$(unix_path "$(folder LOCALAPPDATA)\\Programs\\Kelvo")
shortcut=$(unix_path "$(folder APPDATA)\\Microsoft\\Windows\\Start Menu\\Programs\\Kelvo.lnk")
for file in kelvo.exe uninstall.exe OpenAL32.dll kelvo.cfg README.txt data/kelvo_menu.bmp \
        data/sounds/background.wav licences/freeglut/COPYING; do
    [ -f "$programs/$file" ] || fail "not installed: $file" <(find "$out/home" -ipath "*programs*")
done
[ -f "$shortcut" ] || fail "no Start-menu shortcut"
player reg query "$key" >"$out/key.txt" 2>&1 || fail "no uninstall entry" "$out/key.txt"
grep -q "DisplayVersion.*REG_SZ.*$version" "$out/key.txt" || fail "the entry lacks the version" "$out/key.txt"
grep -qi "DisplayIcon.*kelvo.exe" "$out/key.txt" || fail "the entry lacks the icon" "$out/key.txt"
grep -q "EstimatedSize.*REG_DWORD.*0x[1-9a-f]" "$out/key.txt" || fail "the entry lacks the size" "$out/key.txt"

# Resources, read back from the installed program: an icon in several
# sizes, the version details and the manifest.
"${KELVO_WINDRES:?}" -i "$programs/kelvo.exe" -O rc >"$out/resources.rc"
for text in RT_ICON "RT_GROUP_ICON" "VALUE \"ProductVersion\", \"$version\"" \
        'VALUE "OriginalFilename", "kelvo.exe"' 'VALUE "ProductName", "Kelvo"' 'VALUE "LegalCopyright"' \
        RT_MANIFEST '>PerMonitorV2' '>UTF-8<' '{8e0f7a12-bfb3-4fe8-b9a5-48fd50a15a9a}'; do
    grep -qF -- "$text" "$out/resources.rc" || fail "kelvo.exe's resources lack $text"
done
grep -q "Has \([4-9]\|[1-9][0-9]\) elements" "$out/resources.rc" || fail "kelvo.exe's icon has under four sizes"

(cd "$out" && timeout 300 "${as_player[@]}" "$programs/kelvo.exe" --window --frames 30 --seed 1 \
    >"$out/run.log" 2>&1) || fail "the installed game failed" "$out/run.log"
grep -q "loaded texture: data/kelvo_menu.bmp" "$out/run.log" || fail "the installed game found no data" "$out/run.log"

# From the Start menu, as a player starts it (full screen): once the menu
# is on the screen, its last item ends the game. Without a window manager
# keys go to the window under the pointer.
timeout 300 "${as_player[@]}" start /wait /unix "$shortcut" >"$out/menu.log" 2>&1 &
game=$!
screen="${KELVO_PICTURES:-$out}/installed_from_start_menu.png"
mkdir -p "$(dirname "$screen")"
shown=""
for _ in $(seq 120); do
    window=$(xdotool search --name '^Kelvo$' 2>/dev/null | sed -n 1p || true)
    if [ -n "$window" ] && import -window root "$screen" 2>/dev/null &&
            /usr/bin/python3 - "$screen" <<'PY'
import sys
from PIL import Image
img = Image.open(sys.argv[1]).convert("L")
# The menu picture lights about 38 % of its pixels above 20; a screen the
# game has not drawn yet is black.
lit = sum(1 for v in img.getdata() if v > 20)
sys.exit(0 if lit > img.width * img.height * 0.15 else 1)
PY
    then
        shown=yes
        break
    fi
    sleep 1
done
[ -n "$shown" ] || fail "no menu on the screen from the Start-menu shortcut" "$out/menu.log"
xdotool mousemove --window "$window" 300 300 key --delay 200 Down Down Down Return
wait "$game" || fail "the game started from the shortcut failed" "$out/menu.log"
settle

mkdir -p "$(unix_path "$(folder APPDATA)")/kelvo"
echo "resolution 1" >"$(unix_path "$(folder APPDATA)")/kelvo/settings.cfg"
player "$programs/uninstall.exe" /S >"$out/uninstall.log" 2>&1 || fail "the silent uninstall failed" "$out/uninstall.log"
settle
[ ! -e "$programs" ] || fail "the uninstall left files" <(find "$programs")
[ ! -e "$shortcut" ] || fail "the uninstall left the shortcut"
if player reg query "$key" >/dev/null 2>&1; then fail "the uninstall left its entry"; fi
[ -f "$(unix_path "$(folder APPDATA)")/kelvo/settings.cfg" ] || fail "the uninstall took the player's settings"
echo "installer ok: $(basename "$setup") ($(stat -c %s "$setup") bytes)"
