#!/usr/bin/env bash
# Ending the session (log-off or shut-down) ends the program without asking.
# shellcheck source=tests/e2e/lib.sh
source "$(dirname "$0")/lib.sh"

start_ombrix
pid=$!
probe main-window 20000 || fail "no hidden main window"
probe send-endsession 15000 || fail "the session end was refused or not answered"
probe wait-gone ThunderRT6FormDC OmbrixMainWND 15000 || fail "the main window stayed after the session ended"
probe wait-processes 0 15000 || fail "Ombrix is still running after the session ended"
wait_exit "$pid" 5 || fail "the Ombrix process did not end"
echo "PASS"
