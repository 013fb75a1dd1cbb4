#!/usr/bin/env bash
# The organize dialog opened from "Move To...": an application dragged with the mouse from
# desktop 1's list onto desktop 3's leaves the screen and is found on desktop 3; one selected
# with a click and moved with the key 2 is found on desktop 2, one sent from the context menu
# that Shift+F10 opens on desktop 4.
# shellcheck source=tests/e2e/lib.sh
source "$(dirname "$0")/lib.sh"

dialog="Organize Applications..."
testwin normal Alpha
testwin normal Beta
testwin normal Gamma
probe wait shown 10000 Alpha Beta Gamma || fail "the test windows did not open"
ombrix_ready

open_from_menu "Move To..." "$dialog"
listed() { probe items "$dialog" "$1" | tr -d '\r' | grep -qx "$2"; }
listed 1 Alpha && listed 1 Beta || fail "desktop 1's list does not show both windows"

# A drag with the real mouse: press on the item, move past the drag threshold, then on in steps.
drag() {
  local x y tx ty i
  read -r x y < <(probe item-point "$dialog" "$1" "$2" | tr -d '\r')
  read -r tx ty < <(probe item-point "$dialog" "$3" "*" | tr -d '\r')
  [[ -n $x && -n $tx ]] || fail "no place to drag from or to"
  xdotool mousemove "$x" "$y"
  sleep 0.3
  xdotool mousedown 1
  sleep 0.3
  for i in 1 2 3 4 5 6 7 8; do
    xdotool mousemove $((x + (tx - x) * i / 8)) $((y + (ty - y) * i / 8))
    sleep 0.1
  done
  sleep 0.3
  xdotool mouseup 1
}
drag 1 Alpha 3
probe wait hidden 5000 Alpha || fail "the application dragged to desktop 3 stayed on screen"
probe hold shown 500 Beta || fail "the other application left the screen"
probe wait shown 3000 "$dialog" || fail "the dialog went away"
listed 3 Alpha || fail "desktop 3's list does not show the dragged application"
listed 1 Alpha && fail "desktop 1's list still shows the dragged application"

# Without dragging: a click selects, the number of a desktop moves.
read -r x y < <(probe item-point "$dialog" 1 Beta | tr -d '\r')
xdotool mousemove "$x" "$y" click 1
sleep 0.3
xdotool key 2
probe wait hidden 5000 Beta || fail "the key 2 did not move the selected application"
listed 2 Beta || fail "desktop 2's list does not show the application moved by its number"
read -r x y < <(probe item-point "$dialog" 1 Gamma | tr -d '\r')
xdotool mousemove "$x" "$y" click 1
sleep 0.3
xdotool key shift+F10
probe menu-choose "Move to Desktop 4" 5000 || fail "Shift+F10 did not offer the desktops"
probe wait hidden 5000 Gamma || fail "the context menu did not move the application"
listed 4 Gamma || fail "desktop 4's list does not show the application moved from its menu"

xdotool key Escape
probe wait gone 5000 "$dialog" || fail "Esc did not close the dialog"
probe keys win+3
probe wait shown 5000 Alpha || fail "the dragged application is not on desktop 3"
probe keys win+2
probe wait shown 5000 Beta || fail "the application moved by its number is not on desktop 2"
probe wait hidden 5000 Alpha || fail "desktop 3's application stayed on desktop 2"
probe keys win+4
probe wait shown 5000 Gamma || fail "the application moved from its menu is not on desktop 4"
echo "PASS"
