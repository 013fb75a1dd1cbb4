#!/usr/bin/env bash
# Application rules on programs started after Ombrix. Stored rules: "Move To Desk" 3 sends a
# window to desktop 3, "Ignore App." leaves one on screen whatever the desktop, "Maximize",
# "Minimize", "Visibility" 5 (layered, alpha 178); "Close" closes a window without waiting for
# good on one that does not answer; "Kill" ends the process (matched by the window class). The
# rules editor with its real controls: picking a running application fills in its title; a rule
# added there is stored when Ok is confirmed with the program password (a wrong one saves
# nothing), moves a window that opens afterwards, and after Exit, which asks for the program
# password, and a new start it still does and is still listed.
# shellcheck source=tests/e2e/lib.sh
source "$(dirname "$0")/lib.sh"

# The unanswering window's rule comes first, so every pass tries it before the others.
rule Frozen title equals Frozen close
rule Closer title equals Closer close
rule Notepad class equals Notepad kill
rule Mover title equals Mover move 3
rule Keeper title equals Keeper ignore
rule Bigger title equals Bigger maximize
rule Smaller title equals Smaller minimize
rule Faded title equals Faded visibility 5
store_rules
probe reg-set Settings "GlobalPass=$(scramble pw)"
testwin normal Alpha
probe wait shown 10000 Alpha || fail "the test window did not open"
ombrix_ready

for window in Keeper Mover Bigger Smaller Faded Plain; do testwin normal "$window"; done
probe wait hidden 10000 Mover || fail "the window of the Move To Desk rule stayed on desktop 1"
probe wait zoomed 10000 Bigger || fail "the Maximize rule did not maximize"
probe wait iconic 10000 Smaller || fail "the Minimize rule did not minimize"
probe wait alpha=178 10000 Faded || fail "the Visibility rule did not make the window layered with alpha 178"
probe wait shown 5000 Plain || fail "the window no rule matches did not open"
probe hold shown 1000 Alpha Keeper Plain || fail "a window that no rule moves left the screen"
probe wait alpha=178 0 Plain && fail "the Visibility rule acted on a window it does not match"
probe keys win+3 -- wait shown 5000 Mover || fail "the moved window is not on desktop 3"
probe wait hidden 5000 Alpha || fail "Win+3 did not hide desktop 1"
probe hold shown 500 Keeper || fail "the ignored window was hidden by Win+3"
probe keys win+1 -- wait shown 5000 Alpha || fail "Win+1 did not show desktop 1"
probe wait hidden 5000 Mover || fail "Win+1 did not hide desktop 3"
probe hold shown 500 Keeper || fail "the ignored window was hidden by Win+1"

editor="Application Rules"
prompt="Password Request"
open_editor() { open_from_menu "Settings..." "Application Rules..." "$editor"; }
last_rule() { list_items "$editor" 2 | tail -1; }
# The password prompt: types $1 and presses OK; $2 says what failed when there is no prompt.
answer() { probe wait shown 5000 "$prompt" -- type "$prompt" "$1" -- click "$prompt" OK || fail "$2"; }
open_editor
list_items "$editor" 1 | grep -qx Alpha || fail "the running applications do not show Alpha"
# Picking a running application fills in its title, again when it is picked a second time.
read -r x y < <(probe item-point "$editor" 1 Alpha | tr -d '\r')
pick_alpha() {
  xdotool mousemove "$x" "$y" click 1
  sleep 0.3
  shows "$editor" '"Alpha" shown' || fail "$1"
}
pick_alpha "picking Alpha did not fill in its title"
probe type "$editor" X 2
sleep 0.3
shows "$editor" '"Alpha" shown' && fail "could not change the title"
pick_alpha "picking Alpha again did not fill in its title"
probe click "$editor" Cancel -- wait gone 5000 "$editor" || fail "Cancel did not close the editor"

open_editor
probe type "$editor" "Zeta to 3" 1
probe click "$editor" "if window text"
probe combo "$editor" 1 "is equal to" || fail "no title mode to choose"
probe type "$editor" Zeta 2
probe combo "$editor" 4 "Move To Desk" || fail "no action to choose"
probe combo "$editor" 5 3 || fail "no desktop to choose"
sleep 0.5
probe click "$editor" "Add Rule"
sleep 0.5
[[ $(last_rule) == "Zeta to 3" ]] || fail "Add Rule did not list the rule"
probe click "$editor" Ok
answer wrong "Ok did not ask for the program password"
probe msgbox "Attention!" "Wrong password!" 5000 || fail "a wrong password was not told"
probe hold shown 500 "$editor" || fail "a wrong password closed the editor"
rules_stored || fail "a wrong password changed the stored rules"
probe click "$editor" Ok
answer pw "the second Ok did not ask for the password"
probe wait gone 5000 "$editor" || fail "Ok with the right password did not close the editor"
rule "Zeta to 3" title equals Zeta move 3
rules_stored || fail "the editor did not store the rules it had and the new one"
testwin normal Zeta
probe wait hidden 10000 Zeta || fail "the new rule did not move a window that opened afterwards"
probe hold shown 1000 Alpha || fail "the rule moved a window it does not match"

choose_from_menu Exit
probe msgbox "Attention!" "Exit Ombrix?" 5000 yes || fail "Exit did not ask"
probe wait shown 5000 "$prompt" || fail "Exit did not ask for the program password"
shows "$prompt" '"Input PROGRAM Password"' || fail "the prompt does not ask for the program password"
answer pw "Exit did not ask for the program password"
wait_exit "$ombrix" 15 || fail "the right program password did not end Ombrix"
probe wait shown 5000 Zeta Mover || fail "the exit left the moved windows hidden"

ombrix_ready
probe wait hidden 10000 Zeta || fail "after a new start the rule no longer moves its window"
probe keys win+3 -- wait shown 5000 Zeta || fail "the window is not on desktop 3"
probe keys win+1 -- wait shown 5000 Alpha || fail "Win+1 did not come back"
open_editor
[[ $(last_rule) == "Zeta to 3" ]] || fail "after a new start the editor does not list the rule"
probe click "$editor" Cancel -- wait gone 5000 "$editor" || fail "Cancel did not close the editor"

# A window that never answers: its rule's close request must not hold Ombrix up.
testwin hung Frozen
probe wait shown 10000 Frozen || fail "the unanswering window did not open"
sleep 1
testwin normal Closer
closer=$!
wait_exit "$closer" 15 || fail "the Close rule did not close a window opened after an unanswering one"
probe wait gone 1000 Closer || fail "the closed window is still there"
probe send OmbrixMainWND 0 || fail "Ombrix does not answer"
start_program notepad
notepad=$!
wait_exit "$notepad" 15 || fail "the Kill rule did not end Notepad"
kill -0 "$ombrix" 2>/dev/null || fail "Ombrix ended"
echo "PASS"
