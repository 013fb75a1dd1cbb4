#!/usr/bin/env bash
# The tray icon's menus and what opens from them, on real windows. A click lists the applications
# of two desktops under their headers, and choosing one on the other desktop goes there; a right
# click shows the whole menu, with Go To; the keyboard's select and context-menu events open the
# same two menus. About shows the version of the built exe, refuses the frame's close request,
# keeps tray clicks to bringing it forward, and closes with its Ok button. The organize dialog
# ("Move To..."): an application dragged with the mouse from desktop 1's list onto desktop 3's
# leaves the screen and is found on desktop 3, whose password is not asked; dragged back, it asks
# for it and, cancelled, moves nothing. One selected with a click and moved with the key 2 is found
# on desktop 2, one sent from the context menu that Shift+F10 opens on desktop 4.
# shellcheck source=tests/e2e/lib.sh
source "$(dirname "$0")/lib.sh"
: "${OMBRIX_VERSION_LINE:?the version line the build gives}"

# The items of the open menus, newest menu first, as "KIND STATE PICTURE TEXT"; PICTURE is 1 when
# a text item's picture column shows something.
menu_items() {
  probe menu 5000 | tr -d '\r' | awk '$1 == "item" { picture = $2 == "text" && $4 != "none"; $1 = ""; $4 = picture; print substr($0, 2) }'
}
expect_items() {
  local seen
  seen=$(menu_items) || fail "no menu: $seen"
  [[ $seen == "$1" ]] || fail "$2:"$'\n'"$seen"$'\n'"expected:"$'\n'"$1"
}

probe reg-set Settings "DeskPass3=$(scramble pw)" || fail "could not store desktop 3's password"
for window in Alpha Gamma Delta; do
  testwin normal $window
  probe wait shown 15000 $window || fail "$window did not open"
done
ombrix_ready
probe keys win+2 -- wait hidden 5000 Alpha Gamma Delta || fail "Win+2 did not switch"
testwin normal Beta
probe wait shown 15000 Beta || fail "Beta did not open"
probe keys win+1 -- wait hidden 5000 Beta || fail "Win+1 did not switch back"

tray 514
expect_items "label on 0 Desktop 1
text on 1 Delta
text on 1 Gamma
text on 1 Alpha
label on 0 Desktop 2
text on 1 Beta" "the click did not list both desktops under their headers"
probe menu 5000 Beta -- wait shown 5000 Beta || fail "choosing Beta did not show it"
probe wait foreground 5000 Beta || fail "Beta is not in front"
probe wait hidden 5000 Alpha Gamma Delta || fail "choosing Beta did not leave desktop 1"

tray 517
expect_items "text on 0 &Go To...
text on 0 All Desktops...
text on 1 &Move To...
separator on 0
text on 1 Settings...
separator on 0
text on 0 Disable Hot-Keys
separator on 0
text on 1 Help...
text on 1 &About...
separator on 0
text on 1 &Exit" "the right-click menu is not the whole menu"
probe menu 5000 "Go To..." || fail "could not open Go To"
sleep 0.5
goto=$(menu_items) || fail "no Go To menu"
grep -qx "text on 1 Desktop 1 (3 apps)" <<<"$goto" || fail "Go To lacks desktop 1 with its count: $goto"
grep -qx "text off 1 Desktop 2 (1 apps)" <<<"$goto" || fail "the current desktop is not greyed: $goto"
grep -qx "text on 1 Desktop 9" <<<"$goto" || fail "Go To lacks desktop 9: $goto"
probe menu 5000 "Desktop 1 (3 apps)" -- wait shown 5000 Alpha Gamma Delta || fail "Go To did not switch to desktop 1"

# The keyboard: NIN_KEYSELECT (Enter on the icon) and WM_CONTEXTMENU (the menu key), version 4 form.
tray $((0x401 | 1 << 16))
items=$(menu_items) || fail "Enter on the icon opened no menu"
grep -qx "label on 0 Desktop 2" <<<"$items" || fail "Enter did not open the list of all desktops: $items"
probe keys esc
tray $((0x7B | 1 << 16))
items=$(menu_items) || fail "the menu key opened no menu"
grep -qx "text on 1 &Exit" <<<"$items" || fail "the menu key did not open the whole menu: $items"
probe keys esc

about="About Ombrix"
open_from_menu "About..." "$about"
shows "$about" "\"$OMBRIX_VERSION_LINE\"" || fail "About does not show \"$OMBRIX_VERSION_LINE\""
shows "$about" '"Ombrix"' || fail "About does not name the program"
probe post "$about" 16 -- hold shown 1000 "$about" || fail "About closed on WM_CLOSE"
probe activate Alpha || fail "could not activate another window"
tray 514
probe wait foreground 3000 "$about" || fail "a tray click did not bring About forward"
probe menu 1000 && fail "a tray click opened a menu while About was open"
probe click "$about" Ok -- wait gone 5000 "$about" || fail "Ok did not close About"

organize="Organize Applications..."
tray 517
probe menu 5000 "Move To..." || fail "the menu does not open after About closed"
probe wait shown 5000 "$organize" || fail "$organize did not open"
listed() { list_items "$organize" "$1" | grep -qx "$2"; }
for window in Alpha Gamma Delta; do listed 1 $window || fail "desktop 1's list does not show $window"; done
# The screen point of item $2 of list $1 ("*": the list) as "x y".
point() { probe item-point "$organize" "$1" "$2" | tr -d '\r'; }
# A drag with the real mouse of item $2 of list $1 onto list $3: press on the item, move past the
# drag threshold, then on in steps.
drag() {
  local x y tx ty i
  read -r x y < <(point "$1" "$2")
  read -r tx ty < <(point "$3" "*")
  [[ -n $x && -n $tx ]] || fail "no place to drag from or to"
  xdotool mousemove "$x" "$y" sleep 0.3 mousedown 1 sleep 0.3
  for i in 1 2 3 4 5 6 7 8; do xdotool mousemove $((x + (tx - x) * i / 8)) $((y + (ty - y) * i / 8)) sleep 0.1; done
  xdotool sleep 0.3 mouseup 1
}
prompt="Password Request"
drag 1 Alpha 3
probe wait hidden 5000 Alpha || fail "the application dragged to desktop 3 stayed on screen"
probe hold gone 500 "$prompt" || fail "moving onto desktop 3 asked its password"
probe hold shown 500 Gamma || fail "the other application left the screen"
probe wait shown 3000 "$organize" || fail "the dialog went away"
listed 3 Alpha || fail "desktop 3's list does not show the dragged application"
listed 1 Alpha && fail "desktop 1's list still shows the dragged application"
drag 3 Alpha 1
probe wait shown 5000 "$prompt" || fail "the drag off desktop 3 did not ask its password"
probe click "$prompt" Cancel -- hold hidden 1000 Alpha || fail "the cancelled drag showed Alpha"
listed 3 Alpha || fail "the cancelled drag moved Alpha"
# Without dragging: a click selects, the number of a desktop moves.
read -r x y < <(point 1 Gamma)
xdotool mousemove "$x" "$y" click 1 sleep 0.3 key 2
probe wait hidden 5000 Gamma || fail "the key 2 did not move the selected application"
listed 2 Gamma || fail "desktop 2's list does not show the application moved by its number"
read -r x y < <(point 1 Delta)
xdotool mousemove "$x" "$y" click 1 sleep 0.3 key shift+F10
probe menu 5000 "Move to Desktop 4" -- wait hidden 5000 Delta || fail "the context menu did not move the application"
listed 4 Delta || fail "desktop 4's list does not show the application moved from its menu"
xdotool key Escape
probe wait gone 5000 "$organize" || fail "Esc did not close the dialog"

probe keys win+3 -- wait shown 5000 "$prompt" -- type "$prompt" pw -- click "$prompt" OK -- wait shown 5000 Alpha ||
  fail "the dragged application is not on desktop 3"
probe keys win+2 -- wait shown 5000 Gamma Beta || fail "the application moved by its number is not on desktop 2"
probe wait hidden 5000 Alpha || fail "desktop 3's application stayed on desktop 2"
probe keys win+4 -- wait shown 5000 Delta || fail "the application moved from its menu is not on desktop 4"
echo "PASS"
