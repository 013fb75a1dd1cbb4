#!/usr/bin/env bash
# A desktop with a password stays private. Moving an application onto it asks nothing; dragging one
# away in the organize dialog asks its password, and cancelled moves nothing. A WM_ENDSESSION that
# no WM_QUERYENDSESSION announced changes nothing. The password of an older version, once typed, is
# stored as a verifier, which the next entry is checked against. After Ombrix is killed, the restart
# never shows that desktop's window, looked at every 2 ms, and it is still on its desktop.
# shellcheck source=tests/e2e/lib.sh
source "$(dirname "$0")/lib.sh"

prompt="Password Request"
dialog="Organize Applications..."
probe reg-set Settings "DeskPass3=$(scramble pw)" >/dev/null || fail "could not store the password"
testwin normal Alpha
testwin normal Beta
probe wait shown 10000 Alpha Beta || fail "the test windows did not open"
ombrix_ready

probe activate Beta || fail "could not activate Beta"
sleep 0.5
probe keys shift+win+3
probe wait hidden 5000 Beta || fail "Shift+Win+3 did not move Beta"
probe hold gone 1000 "$prompt" || fail "moving onto a protected desktop asked its password"

# A drag with the real mouse from desktop 3's list onto desktop 1's, in steps past the threshold.
open_from_menu "Move To..." "$dialog"
read -r x y < <(probe item-point "$dialog" 3 Beta | tr -d '\r')
read -r tx ty < <(probe item-point "$dialog" 1 "*" | tr -d '\r')
[[ -n $x && -n $tx ]] || fail "no place to drag from or to"
xdotool mousemove "$x" "$y" sleep 0.3 mousedown 1 sleep 0.3
for i in 1 2 3 4 5 6 7 8; do xdotool mousemove $((x + (tx - x) * i / 8)) $((y + (ty - y) * i / 8)) sleep 0.1; done
xdotool sleep 0.3 mouseup 1
probe wait shown 5000 "$prompt" || fail "the drag off desktop 3 did not ask its password"
probe click "$prompt" Cancel
probe hold hidden 1000 Beta || fail "the cancelled drag showed Beta"
probe items "$dialog" 3 | tr -d '\r' | grep -qx Beta || fail "the cancelled drag moved Beta"
probe click "$dialog" Ok
probe wait gone 5000 "$dialog" || fail "Ok did not close the dialog"

probe send OmbrixMainWND 22 1 5000 || fail "the forged WM_ENDSESSION was not answered"
probe hold hidden 1500 Beta || fail "a forged WM_ENDSESSION showed the protected desktop"
probe main-window 1000 >/dev/null || fail "a forged WM_ENDSESSION ended Ombrix"

verifier='^pbkdf2-sha256\$1\$200000\$[0-9a-f]{32}\$[0-9a-f]{64}$'
for round in scrambled verifier; do
  probe keys win+3
  probe wait shown 5000 "$prompt" || fail "Win+3 did not ask ($round)"
  probe type "$prompt" pw
  probe click "$prompt" OK
  probe wait shown 5000 Beta || fail "the right password ($round) did not switch"
  [[ $(probe reg-value 'Software\Ombrix\Settings' DeskPass3 | tr -d '\r') =~ $verifier ]] ||
    fail "the typed password is not stored as a verifier"
  probe keys win+1
  probe wait shown 5000 Alpha || fail "Win+1 did not switch"
done

kill -9 "$ombrix"
wait "$ombrix" 2>/dev/null || true
probe wait-processes 0 5000 >/dev/null || fail "Ombrix outlived kill -9"
probe watch-hidden 8000 Beta &
watcher=$!
sleep 0.5
ombrix_ready
wait "$watcher" || fail "the restart showed the protected desktop's window"
probe hold shown 500 Alpha || fail "the restart did not keep desktop 1 on screen"
probe keys win+3
probe wait shown 5000 "$prompt" || fail "Win+3 did not ask after the restart"
probe type "$prompt" pw
probe click "$prompt" OK
probe wait shown 5000 Beta || fail "Beta is not on desktop 3 after the restart"
echo "PASS"
