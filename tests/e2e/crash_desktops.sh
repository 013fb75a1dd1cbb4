#!/usr/bin/env bash
# After Ombrix is killed, the next start puts every window back on its own desktop and the user on
# the desktop they were on; a program started after the kill stays where it is, on screen.
# shellcheck source=tests/e2e/lib.sh
source "$(dirname "$0")/lib.sh"

testwin normal Alpha
testwin normal Beta
start_program notepad
probe wait shown 10000 Alpha Beta "Untitled - Notepad" || fail "the test windows did not open"
ombrix_ready

probe activate Beta || fail "could not activate Beta"
sleep 0.5
probe keys shift+win+2
probe wait hidden 5000 Beta || fail "Shift+Win+2 did not move Beta"
probe activate "Untitled - Notepad" || fail "could not activate Notepad"
sleep 0.5
probe keys shift+win+3
probe wait hidden 5000 "Untitled - Notepad" || fail "Shift+Win+3 did not move Notepad"
probe keys win+2
probe wait shown 5000 Beta || fail "Win+2 did not show Beta"
probe wait hidden 5000 Alpha || fail "Win+2 did not hide Alpha"

kill -9 "$ombrix"
wait "$ombrix" 2>/dev/null || true
probe wait-processes 0 5000 || fail "Ombrix outlived kill -9"
testwin normal Later
probe wait shown 10000 Later || fail "the window opened after the kill did not open"

ombrix_ready
probe wait hidden 5000 Alpha "Untitled - Notepad" || fail "the windows of desktops 1 and 3 are on screen"
probe hold shown 1000 Beta Later || fail "desktop 2's window or the later one is not on screen"

probe keys win+1
probe wait shown 5000 Alpha || fail "Win+1 did not show Alpha"
probe wait hidden 5000 Beta "Untitled - Notepad" Later || fail "Win+1 shows windows of other desktops"
probe keys win+3
probe wait shown 5000 "Untitled - Notepad" || fail "Win+3 did not show Notepad"
probe wait hidden 5000 Alpha Beta Later || fail "Win+3 shows windows of other desktops"
probe keys win+2
probe wait shown 5000 Beta Later || fail "Win+2 did not show Beta and the later window"
echo "PASS"
