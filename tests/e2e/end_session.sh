#!/usr/bin/env bash
# A close request from outside the program (not its own Exit command) is refused. Ending the session
# (log-off or shut-down) ends the program without asking, shows the windows of every desktop and
# removes the crash-recovery file.
# shellcheck source=tests/e2e/lib.sh
source "$(dirname "$0")/lib.sh"

restore=$(dirname "$OMBRIX_EXE")/Ombrix.restore
testwin normal Alpha
testwin normal Beta
probe wait shown 10000 Alpha Beta || fail "the test windows did not open"
ombrix_ready
probe post ThunderRT6FormDC OmbrixMainWND 16 || fail "could not post WM_CLOSE"
probe hold hidden 1500 OmbrixMainWND || fail "the main window closed on WM_CLOSE"
probe send OmbrixMainWND 0 0 5000 || fail "the main window does not answer after WM_CLOSE"
probe activate Beta || fail "could not activate Beta"
sleep 0.5
probe keys shift+win+3
probe wait hidden 5000 Beta || fail "Shift+Win+3 did not move Beta"
probe keys win+2
probe wait hidden 5000 Alpha || fail "Win+2 did not hide Alpha"
[[ -e $restore ]] || fail "no Ombrix.restore while windows are hidden"

probe send-endsession 15000 || fail "the session end was refused or not answered"
probe wait gone 15000 OmbrixMainWND || fail "the main window stayed after the session ended"
probe wait-processes 0 15000 || fail "Ombrix is still running after the session ended"
wait_exit "$ombrix" 5 || fail "the Ombrix process did not end"
probe wait shown 3000 Alpha Beta || fail "the session end left windows hidden"
[[ ! -e $restore ]] || fail "Ombrix.restore is left after the session ended"
echo "PASS"
