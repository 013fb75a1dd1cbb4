#!/usr/bin/env bash
# The splash window shows at start and closes by itself some 3.5 s later; the program keeps running.
# shellcheck source=tests/e2e/lib.sh
source "$(dirname "$0")/lib.sh"

# The probe starts the program itself so that it sees the splash from its first moment.
probe splash "$(winpath "$OMBRIX_EXE")" 2500 10000 || fail "the splash did not show and close by itself"
probe main-window 10000 || fail "no hidden main window after the splash"
echo "PASS"
