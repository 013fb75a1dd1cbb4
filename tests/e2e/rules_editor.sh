#!/usr/bin/env bash
# A rule written in the rules editor with its real controls: it is stored, moves a window that
# opens afterwards to desktop 3, and after Exit and a new start it still does and is still
# listed. Ok with a program password asks for it, and a wrong one saves nothing.
# shellcheck source=tests/e2e/lib.sh
source "$(dirname "$0")/lib.sh"

editor="Application Rules"
prompt="Password Request"
open_editor() { open_from_menu "Settings..." "Application Rules..." "$editor"; }
rules_listed() { probe items "$editor" 2 | tr -d '\r'; }

# The program password "pw" in its stored form (each character's code plus 5 in hexadecimal
# and a letter, then the marker of 5).
probe reg-set Settings GlobalPass=75Q7CQE >/dev/null || fail "could not store the password"
testwin normal Alpha
probe wait shown 10000 Alpha || fail "the test window did not open"
ombrix_ready

open_editor
probe items "$editor" 1 | tr -d '\r' | grep -qx Alpha || fail "the running applications do not show Alpha"
# Picking a running application fills in its title, again when it is picked a second time.
title_shown() { probe controls "$editor" | tr -d '\r' | grep -qF -- "\"$1\" shown"; }
read -r x y < <(probe item-point "$editor" 1 Alpha | tr -d '\r')
xdotool mousemove "$x" "$y" click 1
sleep 0.3
title_shown Alpha || fail "picking Alpha did not fill in its title: $(probe controls "$editor")"
probe type "$editor" X 2 >/dev/null
sleep 0.3
title_shown Alpha && fail "could not change the title: $(probe controls "$editor")"
xdotool mousemove "$x" "$y" click 1
sleep 0.3
title_shown Alpha || fail "picking Alpha again did not fill in its title"
probe click "$editor" Cancel >/dev/null
probe wait gone 5000 "$editor" || fail "Cancel did not close the editor"

open_editor
probe type "$editor" Mover 1 >/dev/null
probe click "$editor" "if window text" >/dev/null
probe combo "$editor" 1 "is equal to" >/dev/null || fail "no title mode to choose"
probe type "$editor" Zeta 2 >/dev/null
probe combo "$editor" 4 "Move To Desk" >/dev/null || fail "no action to choose"
probe combo "$editor" 5 3 >/dev/null || fail "no desktop to choose"
sleep 0.5
probe click "$editor" "Add Rule" >/dev/null
sleep 0.5
[[ $(rules_listed) == Mover ]] || fail "Add Rule did not list the rule"

probe click "$editor" Ok >/dev/null
probe wait shown 5000 "$prompt" || fail "Ok did not ask for the program password"
probe type "$prompt" wrong >/dev/null
probe click "$prompt" OK >/dev/null
probe msgbox "Attention!" "Wrong password!" 5000 || fail "a wrong password was not told"
probe hold shown 500 "$editor" || fail "a wrong password closed the editor"
probe reg-wait Rules NumRules 1 500 >/dev/null && fail "a wrong password saved the rules"

probe click "$editor" Ok >/dev/null
probe wait shown 5000 "$prompt" || fail "the second Ok did not ask for the password"
probe type "$prompt" pw >/dev/null
probe click "$prompt" OK >/dev/null
probe wait gone 5000 "$editor" || fail "Ok with the right password did not close the editor"
for value in NumRules=1 RuleName1=Mover CheckWinText1=1 WinTextMode1=4 WinText1=Zeta Action1=0 DestDesk1=3; do
  probe reg-wait Rules "${value%%=*}" "${value#*=}" 3000 >/dev/null || fail "the rule was not stored as $value"
done

testwin normal Zeta
probe wait hidden 10000 Zeta || fail "the new rule did not move a window that opened afterwards"
probe hold shown 1000 Alpha || fail "the rule moved a window it does not match"

choose_from_menu Exit
probe msgbox "Attention!" "Exit Ombrix?" 5000 yes || fail "Exit did not ask"
probe wait shown 5000 "$prompt" || fail "Exit did not ask for the program password"
probe type "$prompt" pw >/dev/null
probe click "$prompt" OK >/dev/null
wait_exit "$ombrix" 15 || fail "Ombrix did not end"
probe wait shown 5000 Zeta || fail "the exit left the moved window hidden"

ombrix_ready
probe wait hidden 10000 Zeta || fail "after a new start the rule no longer moves its window"
probe keys win+3
probe wait shown 5000 Zeta || fail "the window is not on desktop 3"
probe keys win+1
probe wait shown 5000 Alpha || fail "Win+1 did not come back"
open_editor
[[ $(rules_listed) == Mover ]] || fail "after a new start the editor does not list the rule"
probe click "$editor" Cancel >/dev/null
probe wait gone 5000 "$editor" || fail "Cancel did not close the editor"
echo "PASS"
