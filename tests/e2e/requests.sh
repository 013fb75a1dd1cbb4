#!/usr/bin/env bash
# Requests other programs send to the main window: go to a desktop, move the application of a
# window, ask for the current desktop, exit. Each is answered with its reply; while a menu is open
# they are refused, not kept. Exit shows every window, asks nothing and removes the crash-recovery
# file; with a program password set it is refused, and the user exits from the menu.
# shellcheck source=tests/e2e/lib.sh
source "$(dirname "$0")/lib.sh"

go_to=1064 move=1065 current=1066 quit=1067
done_=1 user_busy=-2 bad_desktop=-3 unknown=-4 other_desktop=-5 protected=-7
# request MESSAGE WPARAM LPARAM REPLY: Ombrix answers the request with that reply.
request() { probe send OmbrixMainWND "$@" >/dev/null; }

testwin owned Beta
testwin normal Alpha
probe wait shown 10000 Alpha Beta "Beta dialog" || fail "the test windows did not open"
ombrix_ready

request $current 0 0 1 || fail "the current desktop is not 1 at start"
request $go_to 3 0 $done_ || fail "going to desktop 3 was not done"
probe wait hidden 5000 Alpha Beta "Beta dialog" || fail "desktop 1's windows stayed on desktop 3"
request $current 0 0 3 || fail "the current desktop is not 3 after going there"
request $go_to 10 0 $bad_desktop || fail "desktop 10 was not refused"
request $go_to 1 0 $done_ || fail "going back to desktop 1 was not done"
probe wait shown 5000 Alpha Beta "Beta dialog" || fail "desktop 1's windows did not come back"

# The application of Beta's dialog is all of Beta's windows; Alpha stays.
request $move "win:Beta dialog" 4 $done_ || fail "moving Beta to desktop 4 was not done"
probe wait hidden 5000 Beta "Beta dialog" || fail "the move left Beta's windows on screen"
probe hold shown 1000 Alpha || fail "the move took Alpha too"
request $current 0 0 1 || fail "a move changed the current desktop"
request $move win:Beta 2 $other_desktop || fail "a window of another desktop was not refused"
request $move 0x1234 2 $unknown || fail "an unknown window was not refused"

tray 517
probe menu 5000 || fail "the tray menu did not open"
request $go_to 2 0 $user_busy || fail "going to a desktop while the menu is open was not refused"
request $quit 0 0 $user_busy || fail "exit while the menu is open was not refused"
probe keys esc
probe hold shown 1000 Alpha || fail "a refused request acted later"
request $current 0 0 1 || fail "a refused request changed the desktop"

[[ -e $restore ]] || fail "no Ombrix.restore while Beta is hidden"
request $quit 0 0 $done_ || fail "exit was not done"
wait_exit "$ombrix" 15 || fail "the Ombrix process did not end"
probe wait shown 3000 Alpha Beta "Beta dialog" || fail "exit left windows hidden"
[[ ! -e $restore ]] || fail "Ombrix.restore is left after exit"

probe reg-set Settings "GlobalPass=$(scramble admin)" || fail "could not store the program password"
ombrix_ready
request $go_to 2 0 $done_ || fail "going to desktop 2 was not done"
request $quit 0 0 $protected || fail "exit was not refused while the program password guards it"
probe hold gone 1000 "Password Request" || fail "the exit request asked for the password"
probe hold hidden 1000 Alpha || fail "the refused exit showed desktop 1's windows"
kill -0 "$ombrix" 2>/dev/null || fail "the refused exit ended Ombrix"
echo "PASS"
