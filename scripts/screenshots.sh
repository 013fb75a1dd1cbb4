#!/usr/bin/env bash
# Takes the screenshots of the README under Wine in a virtual display: Ombrix in use (windows on
# screen, the tray icon and its list of all desktops), the list alone, the full menu with Go To
# open (a right click), the About window, the password prompt, every page of both settings
# dialogs in English and Italian, the rules editor, the organize dialog during a drag and the
# installer's first page. Needs the packages built (bash scripts/package.sh); writes
# docs/images/*.png.
set -euo pipefail
cd "$(dirname "$0")/.."

# The end-to-end tests' prefix, whose Ombrix settings they reset anyway; always a fresh Xvfb.
export OMBRIX_WINEPREFIX=$PWD/build/win64/wineprefix
unset DISPLAY
# shellcheck source=scripts/wine-env.sh
source scripts/wine-env.sh
build=build/win64
PROBE_EXE=$build/tests/e2e/probe.exe
# shellcheck source=tests/e2e/lib.sh
source tests/e2e/lib.sh --helpers
out=docs/images
mkdir -p "$out"

# Crops the screen to the rectangle around every open menu, with a margin.
shoot_menus() {
  local box
  box=$(probe menu 5000 | tr -d '\r' | awk '/^menu/ {
      if (n++ == 0 || $2 < l) l = $2; if (n == 1 || $3 < t) t = $3
      if ($4 > r) r = $4; if ($5 > b) b = $5 }
    END { m = 12; printf "%dx%d+%d+%d", r - l + 2 * m, b - t + 2 * m, l - m, t - m }')
  import -display "$DISPLAY" -window root -crop "$box" +repage "$1"
  echo "screenshots: $1"
}

# The window of that title with its frame.
shoot_window() {
  local id
  id=$(xwininfo -display "$DISPLAY" -root -tree | awk -v title="\"$1\"" 'index($0, title) { print $1; exit }')
  import -display "$DISPLAY" -window "$id" -frame "$2" 2>/dev/null ||
    import -display "$DISPLAY" -window "$id" "$2"
  echo "screenshots: $2"
}

report="Report – draft 2 (naïve numbers)"
probe kill Ombrix.exe testwin.exe notepad.exe winemine.exe >/dev/null
clear_settings
probe reg-set Settings FirstUse=0 DeskName1=Writing DeskName2=Games "DeskPass3=$(scramble x)" >/dev/null
rule "Mines to Games" title contains WineMine move 2
rule "Keep the clock" class equals ClockClass ignore
store_rules
rm -f "$build/Ombrix.restore" "$build/Ombrix.desktops"
# A background instead of the bare black of the virtual display.
background=$(mktemp --suffix=.png)
convert -size 1280x1024 gradient:'#3c5a78-#18222e' "$background"
display -window root "$background" &
background_pid=$!
# display may have ended already; under set -e a failing kill would end the trap before the rest.
trap 'kill "$background_pid" 2>/dev/null || true; rm -f "$background"; ombrix_wine_stop' EXIT
"$WINE" notepad >/dev/null 2>&1 &
"$WINE" "$build/tests/e2e/testwin.exe" normal "$report" &
probe wait shown 15000 "Untitled - Notepad" "$report" >/dev/null
probe place "Untitled - Notepad" 280 60 560 400 >/dev/null
probe place "$report" 860 200 320 280 >/dev/null
probe type "Untitled - Notepad" "Desktop 1, Writing: this note and the report. Desktop 2, Games: WineMine, out of sight until Win+2." >/dev/null
"$WINE" "$build/Ombrix.exe" &
probe main-window 20000 >/dev/null
probe keys win+2 >/dev/null
"$WINE" winemine >/dev/null 2>&1 &
probe wait shown 15000 WineMine >/dev/null
probe keys win+1 >/dev/null
sleep 4  # the splash window closes

# Wine shows the notification area as a small window in the top left corner; the list opens at
# the mouse, beside it.
xdotool mousemove 24 40
tray 514
sleep 1
import -display "$DISPLAY" -window root -crop 1200x500+0+0 +repage "$out/in-use.png"
echo "screenshots: $out/in-use.png"
probe keys esc >/dev/null

tray 514
shoot_menus "$out/menu-all-desktops.png"
probe keys esc >/dev/null

tray 517
probe menu 5000 "Go To..." >/dev/null
sleep 0.5
shoot_menus "$out/menu-main.png"
probe keys esc esc >/dev/null

tray 517
probe menu 5000 "About..." >/dev/null
probe wait shown 5000 "About Ombrix" >/dev/null
sleep 0.5
shoot_window "About Ombrix" "$out/about.png"
probe click "About Ombrix" Ok >/dev/null

probe keys win+3 >/dev/null
probe wait shown 5000 "Password Request" >/dev/null
probe type "Password Request" secret >/dev/null
sleep 0.5
shoot_window "Password Request" "$out/password.png"
probe click "Password Request" Cancel >/dev/null

# open SUBMENU ITEM DIALOG: a dialog from the tray menu.
open_dialog() {
  tray 517
  probe menu 5000 "$1" >/dev/null
  sleep 0.3
  probe menu 5000 "$2" >/dev/null
  probe wait shown 5000 "$3" >/dev/null
  sleep 0.5
}
# shoot_pages DIALOG FILE...: each page of the open dialog, in tab order, into its file.
shoot_pages() {
  local dialog=$1 page=0 file
  shift
  for file in "$@"; do
    probe tab "$dialog" "$page" >/dev/null
    sleep 0.3
    shoot_window "$dialog" "$out/$file"
    page=$((page + 1))
  done
  probe keys esc >/dev/null
}
# Both settings dialogs, the desktop's on desktop 2; $1 is the file names' suffix and then come
# the menu items and titles in the language shown.
shoot_settings() {
  local suffix=$1
  open_dialog "$2" "$3" "$4"
  shoot_pages "$4" "settings-general$suffix.png" "settings-hotkeys$suffix.png" \
    "settings-password$suffix.png"
  probe keys win+2 >/dev/null
  open_dialog "$2" "$5" "$6"
  shoot_pages "$6" "desktop-general$suffix.png" "desktop-wallpaper$suffix.png"
  probe keys win+1 >/dev/null
}
shoot_settings "" "Settings..." "Program Settings..." "Ombrix Settings" \
  "Desktop Settings..." "Desktop Settings"

rules="Application Rules"
tray 517
probe menu 5000 "Settings..." >/dev/null
probe menu 5000 "Application Rules..." >/dev/null
probe wait shown 5000 "$rules" >/dev/null
read -r x y < <(probe item-point "$rules" 1 "Untitled - Notepad" | tr -d '\r')
xdotool mousemove "$x" "$y" click 1
probe type "$rules" "Notes to Games" 1 >/dev/null
probe click "$rules" "if window text" >/dev/null
probe combo "$rules" 1 "ends with" >/dev/null
probe combo "$rules" 5 2 >/dev/null
xdotool mousemove 0 0
sleep 0.5
shoot_window "$rules" "$out/rules.png"
probe click "$rules" Cancel >/dev/null

organize="Organize Applications..."
tray 517
probe menu 5000 "Move To..." >/dev/null
probe wait shown 5000 "$organize" >/dev/null
# Halfway through a drag from desktop 1's list to desktop 4's; Esc then ends it.
read -r x y < <(probe item-point "$organize" 1 "Untitled - Notepad" | tr -d '\r')
read -r tx ty < <(probe item-point "$organize" 4 "*" | tr -d '\r')
xdotool mousemove "$x" "$y" mousedown 1
for i in 1 2 3 4 5 6; do
  xdotool mousemove $((x + (tx - x) * i / 6)) $((y + (ty - y) * i / 6))
  sleep 0.1
done
sleep 0.5
shoot_window "$organize" "$out/organize.png"
xdotool key Escape mouseup 1
probe click "$organize" Ok >/dev/null

# The same pages in Italian, chosen in Program Settings as a user does.
open_dialog "Settings..." "Program Settings..." "Ombrix Settings"
probe combo "Ombrix Settings" 1 italiano.lng >/dev/null
probe click "Ombrix Settings" Ok >/dev/null
probe wait gone 5000 "Ombrix Settings" >/dev/null
shoot_settings "-it" "Impostazioni..." "Impostazioni del programma..." "Impostazioni di Ombrix" \
  "Impostazioni dei desktop..." "Impostazioni del desktop"
probe kill Ombrix.exe testwin.exe notepad.exe winemine.exe >/dev/null

installer=$(ls -t build/dist/Ombrix-*-setup.exe | head -1)
"$WINE" "$installer" &
probe wait shown 10000 "Ombrix Setup" >/dev/null
sleep 0.5
shoot_window "Ombrix Setup" "$out/installer.png"
probe kill "$(basename "$installer")" >/dev/null
