#!/usr/bin/env bash
# A close request from outside the program (not its own Exit command) is refused.
# shellcheck source=tests/e2e/lib.sh
source "$(dirname "$0")/lib.sh"

start_ombrix
pid=$!
probe main-window 20000 || fail "no hidden main window"
probe post ThunderRT6FormDC OmbrixMainWND 16 || fail "could not post WM_CLOSE"
probe hold hidden 1500 OmbrixMainWND || fail "the main window closed on WM_CLOSE"
probe send OmbrixMainWND 0 0 5000 || fail "the main window does not answer"
kill -0 "$pid" 2>/dev/null || fail "Ombrix ended on WM_CLOSE"
echo "PASS"
