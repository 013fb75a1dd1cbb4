#!/usr/bin/env bash
# The program runs with its hidden main window of the class and caption other programs look for.
# shellcheck source=tests/e2e/lib.sh
source "$(dirname "$0")/lib.sh"

start_ombrix
pid=$!
probe main-window 20000 || fail "no hidden main window of class ThunderRT6FormDC, caption OmbrixMainWND"
kill -0 "$pid" 2>/dev/null || fail "Ombrix ended on its own"
echo "PASS"
