#!/usr/bin/env bash
# Win+2 and Win+1 pressed as keys: the windows on screen at start form desktop 1; they go on Win+2
# and come back on Win+1 with the window that was active before in front. Top-most and untitled
# windows are not managed and stay on screen.
# shellcheck source=tests/e2e/lib.sh
source "$(dirname "$0")/lib.sh"

managed=(Alpha Beta "Beta dialog" Zero Folder "Untitled - Notepad" WineMine)
testwin normal Alpha
testwin owned Beta
testwin zero Zero
testwin cabinet Folder
testwin topmost Top
testwin untitled
start_program notepad
start_program winemine
probe wait shown 15000 "${managed[@]}" Top @OmbrixTestUntitled || fail "the test windows did not open"

ombrix_ready
# Not the window opened last, so the window in front after Win+1 is the one the switch brought back.
probe activate "Untitled - Notepad" || fail "could not activate Notepad"
sleep 0.5

probe keys win+2
probe wait hidden 5000 "${managed[@]}" || fail "Win+2 did not hide the windows of desktop 1"
probe hold shown 500 Top @OmbrixTestUntitled || fail "a top-most or untitled window was hidden"

probe keys win+1
probe wait shown 5000 "${managed[@]}" || fail "Win+1 did not show the windows of desktop 1 again"
probe wait foreground 3000 "Untitled - Notepad" || fail "the window active before the switch is not active again"
probe hold shown 500 Top @OmbrixTestUntitled || fail "a top-most or untitled window was hidden"
echo "PASS"
