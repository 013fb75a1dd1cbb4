#!/usr/bin/env bash
# The tray icon's menus on real windows: a click lists the applications of two desktops under their
# headers and choosing one on the other desktop goes there; a right click shows the whole menu; the
# keyboard's select and context-menu events open the same two menus.
# shellcheck source=tests/e2e/lib.sh
source "$(dirname "$0")/lib.sh"

tray() { probe post ThunderRT6FormDC OmbrixMainWND 0x8001 0 "$1" >/dev/null || fail "could not post $1"; }
# The items of the open menus, newest menu first, as "KIND STATE PICTURE TEXT"; PICTURE is 1 when
# something is drawn in the item's picture column.
menu_items() {
  probe menu 5000 | tr -d '\r' | awk '/^item/ {
    text = ""; colour = "none"
    for (i = 10; i <= NF; ++i) {
      if ($i ~ /^colour=/) { colour = substr($i, 8); break }
      text = text (text == "" ? "" : " ") $i
    }
    print $3, $4, ($3 == "text" && colour != "none") ? 1 : 0, text
  }'
}
expect_items() {
  local seen
  seen=$(menu_items) || fail "no menu: $seen"
  [[ $seen == "$1" ]] || fail "$2:"$'\n'"$seen"$'\n'"expected:"$'\n'"$1"
}

testwin normal Alpha
probe wait shown 15000 Alpha || fail "Alpha did not open"
testwin normal Gamma
probe wait shown 15000 Gamma || fail "Gamma did not open"
ombrix_ready
probe keys win+2
probe wait hidden 5000 Alpha Gamma || fail "Win+2 did not switch"
testwin normal Beta
probe wait shown 15000 Beta || fail "Beta did not open"
probe keys win+1
probe wait hidden 5000 Beta || fail "Win+1 did not switch back"

tray 514
expect_items "label on 0 Desktop 1
text on 1 Gamma
text on 1 Alpha
label on 0 Desktop 2
text on 1 Beta" "the click did not list both desktops under their headers"
probe menu-choose Beta 5000 || fail "could not choose Beta"
probe wait shown 5000 Beta || fail "choosing Beta did not show it"
probe wait foreground 5000 Beta || fail "Beta is not in front"
probe wait hidden 5000 Alpha Gamma || fail "choosing Beta did not leave desktop 1"

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
probe menu-choose "Go To..." 5000 || fail "could not open Go To"
sleep 0.5
goto=$(menu_items) || fail "no Go To menu"
grep -qx "text on 1 Desktop 1 (2 apps)" <<<"$goto" || fail "Go To lacks desktop 1 with its count: $goto"
grep -qx "text off 1 Desktop 2 (1 apps)" <<<"$goto" || fail "the current desktop is not greyed: $goto"
grep -qx "text on 1 Desktop 9" <<<"$goto" || fail "Go To lacks desktop 9: $goto"
probe menu-choose "Desktop 1 (2 apps)" 5000 || fail "could not choose desktop 1"
probe wait shown 5000 Alpha Gamma || fail "Go To did not switch to desktop 1"

# The keyboard: NIN_KEYSELECT (Enter on the icon) and WM_CONTEXTMENU (the menu key), version 4 form.
tray $((0x401 | 1 << 16))
items=$(menu_items) || fail "Enter on the icon opened no menu"
grep -qx "label on 0 Desktop 2" <<<"$items" || fail "Enter did not open the list of all desktops: $items"
probe keys esc
tray $((0x7B | 1 << 16))
items=$(menu_items) || fail "the menu key opened no menu"
grep -qx "text on 1 &Exit" <<<"$items" || fail "the menu key did not open the whole menu: $items"
probe keys esc
echo "PASS"
