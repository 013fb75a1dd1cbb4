#!/usr/bin/env bash
# A theme whose folder lacks 5.ico: Go To shows the theme's icons for every desktop but 5, which
# keeps its built-in icon.
# shellcheck source=tests/e2e/lib.sh
source "$(dirname "$0")/lib.sh"

# A copy of the program with a theme of its own, so the build's themes folder stays as it is.
program=$PWD/themed-program
rm -rf "$program" && mkdir -p "$program/themes/partial"
cp "$OMBRIX_EXE" "$(dirname "$OMBRIX_EXE")/OmbrixLib.dll" "$program/"
# Every icon of the theme is the red badge of "colours"; the built-in 5 is blue.
for n in 1 2 3 4 6 7 8 9; do
  cp "$(dirname "$OMBRIX_EXE")/themes/colours/1.ico" "$program/themes/partial/$n.ico"
done
OMBRIX_EXE=$program/Ombrix.exe
probe reg-set Settings FirstUse=0 Theme=partial >/dev/null

ombrix_ready
choose_from_menu "Go To..."
goto=$(probe menu 5000 | tr -d '\r') || fail "no Go To menu"
echo "$goto"
colour() { grep -E "item .* Desktop $1( \(|$| colour)" <<<"$goto" | grep -o 'colour=[0-9]*,[0-9]*,[0-9]*' | head -1 | cut -d= -f2; }
red_badge() { local r g b; IFS=, read -r r g b <<<"$1"; ((r > 120 && r > b + 60)); }
blue_tile() { local r g b; IFS=, read -r r g b <<<"$1"; ((b > 120 && b > r + 60)); }
for n in 1 2 3 4 6 7 8 9; do
  c=$(colour "$n")
  red_badge "$c" || fail "desktop $n does not show the theme's icon (colour $c)"
done
c=$(colour 5)
blue_tile "$c" || fail "desktop 5 does not show its built-in icon (colour $c)"
probe keys esc esc
echo "PASS"
