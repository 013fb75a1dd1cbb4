#!/usr/bin/env bash
# A language file that does not exist: one warning at start, then the program runs in English.
# shellcheck source=tests/e2e/lib.sh
source "$(dirname "$0")/lib.sh"

warning='The current language file is not compatible with this version of Ombrix.\nYou may have some problems or errors!'
probe reg-set Settings Language=missing.lng || fail "could not choose the language"
start_ombrix
ombrix=$!
probe msgbox "Attention!" "$warning" 20000 || fail "no warning about the language file"
probe no-msgbox "Attention!" 2000 || fail "a second box followed the warning"
probe main-window 10000 || fail "no main window after the warning"

# The second start reads the same setting, so it warns too before it tells that Ombrix runs.
start_ombrix
second=$!
probe msgbox "Attention!" "$warning" 20000 || fail "the second start did not warn"
probe msgbox "Attention!" "The application is already running" 20000 ||
  fail "the second start did not show the English message"
wait_exit "$second" 15 || fail "the second instance did not end"
kill -0 "$ombrix" 2>/dev/null || fail "the first instance ended"
echo "PASS"
