#!/usr/bin/env bash
# Takes the screenshots of the README under Wine in a virtual display: the list of all desktops (a
# click on the tray icon), the full menu with Go To open (a right click), the About window, the
# password prompt, the two settings dialogs, the rules editor and the organize dialog during a
# drag. Needs
# the Windows tree built (bash scripts/build.sh win64); writes docs/images/*.png.
set -euo pipefail
cd "$(dirname "$0")/.."

# The end-to-end tests' prefix, whose Ombrix settings they reset anyway; always a fresh Xvfb.
export OMBRIX_WINEPREFIX=$PWD/build/win64/wineprefix
unset DISPLAY
# shellcheck source=scripts/wine-env.sh
source scripts/wine-env.sh
build=build/win64
probe() { "$WINE" "$build/tests/e2e/probe.exe" "$@"; }
tray() { probe post ThunderRT6FormDC OmbrixMainWND 0x8001 0 "$1" >/dev/null; }
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

probe kill Ombrix.exe testwin.exe notepad.exe winemine.exe >/dev/null
probe reg-clear >/dev/null
# Desktop 3's password is "x" in its stored form.
probe reg-set Settings FirstUse=0 DeskName2=Mail DeskPass3=7DQE >/dev/null
probe reg-set Rules NumRules=2 RuleName1="Mines on Mail" CheckWinText1=1 WinTextMode1=0 \
  WinText1=WineMine Action1=0 DestDesk1=2 RuleName2="Keep the clock" CheckWinClass2=1 \
  WinClassMode2=4 WinClass2=ClockClass Action2=6 >/dev/null
rm -f "$build/Ombrix.restore" "$build/Ombrix.desktops"
"$WINE" notepad >/dev/null 2>&1 &
"$WINE" "$build/tests/e2e/testwin.exe" normal "Report – draft 2 (naïve numbers)" &
probe wait shown 15000 "Untitled - Notepad" "Report – draft 2 (naïve numbers)" >/dev/null
"$WINE" "$build/Ombrix.exe" &
probe main-window 20000 >/dev/null
probe keys win+2 >/dev/null
"$WINE" winemine >/dev/null 2>&1 &
probe wait shown 15000 WineMine >/dev/null
probe keys win+1 >/dev/null
sleep 4  # the splash window closes

tray 514
shoot_menus "$out/menu-all-desktops.png"
probe keys esc >/dev/null

tray 517
probe menu-choose "Go To..." 5000 >/dev/null
sleep 0.5
shoot_menus "$out/menu-main.png"
probe keys esc esc >/dev/null

tray 517
probe menu-choose "About..." 5000 >/dev/null
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
  probe menu-choose "$1" 5000 >/dev/null
  sleep 0.3
  probe menu-choose "$2" 5000 >/dev/null
  probe wait shown 5000 "$3" >/dev/null
  sleep 0.5
}
open_dialog "Settings..." "Program Settings..." "Ombrix Settings"
shoot_window "Ombrix Settings" "$out/settings.png"
probe keys esc >/dev/null

probe keys win+2 >/dev/null
open_dialog "Settings..." "Desktop Settings..." "Desktop Settings"
shoot_window "Desktop Settings" "$out/desktop-settings.png"
probe keys esc >/dev/null

rules="Application Rules"
tray 517
probe menu-choose "Settings..." 5000 >/dev/null
probe menu-choose "Application Rules..." 5000 >/dev/null
probe wait shown 5000 "$rules" >/dev/null
read -r x y < <(probe item-point "$rules" 1 "Untitled - Notepad" | tr -d '\r')
xdotool mousemove "$x" "$y" click 1
probe type "$rules" "Notes on Mail" 1 >/dev/null
probe click "$rules" "if window text" >/dev/null
probe choose "$rules" 1 "ends with" >/dev/null
probe choose "$rules" 5 2 >/dev/null
xdotool mousemove 0 0
sleep 0.5
shoot_window "$rules" "$out/rules.png"
probe click "$rules" Cancel >/dev/null

organize="Organize Applications..."
tray 517
probe menu-choose "Move To..." 5000 >/dev/null
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
probe kill Ombrix.exe testwin.exe notepad.exe winemine.exe >/dev/null
