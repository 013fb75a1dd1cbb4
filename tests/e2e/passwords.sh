#!/usr/bin/env bash
# A desktop with a password is entered only with it, typed into the prompt; while the prompt is
# open a hot-key only brings it forward. Exit asks for the program password; the session end
# does not.
# shellcheck source=tests/e2e/lib.sh
source "$(dirname "$0")/lib.sh"

prompt="Password Request"
probe reg-set Settings "DeskPass2=$(scramble s3cret)" "GlobalPass=$(scramble admin)" ||
  fail "could not store the passwords"
testwin normal Alpha
probe wait shown 10000 Alpha || fail "the test window did not open"
ombrix_ready

probe keys win+2
probe wait shown 5000 "$prompt" || fail "Win+2 did not ask for desktop 2's password"
probe texts "$prompt" | tr -d '\r' | grep -qx "Input DESKTOP Password" || fail "the prompt does not ask for the desktop's password"
probe keys win+3
probe hold shown 1000 Alpha "$prompt" || fail "a hot-key acted while the prompt was open"
probe type "$prompt" S3CRET
probe click "$prompt" OK
probe msgbox "Attention!" "Wrong password!" 5000 || fail "a wrong password was not told"
probe wait gone 5000 "$prompt" || fail "the prompt stayed after a wrong password"
probe hold shown 1000 Alpha || fail "a wrong password let the switch go on"

probe keys win+2
probe wait shown 5000 "$prompt" || fail "the second Win+2 did not ask"
probe type "$prompt" s3cret
probe keys enter
probe wait hidden 5000 Alpha || fail "the right password, confirmed with Enter, did not switch"
probe wait gone 3000 "$prompt" || fail "the prompt stayed after the switch"

choose_from_menu Exit
probe msgbox "Attention!" "Exit Ombrix?" 5000 yes || fail "Exit did not ask"
probe wait shown 5000 "$prompt" || fail "Exit did not ask for the program password"
probe texts "$prompt" | tr -d '\r' | grep -qx "Input PROGRAM Password" || fail "the prompt does not ask for the program password"
probe type "$prompt" admin
probe click "$prompt" OK
wait_exit "$ombrix" 15 || fail "the right program password did not end Ombrix"
probe wait shown 5000 Alpha || fail "the exit left a window hidden"
echo "PASS"
