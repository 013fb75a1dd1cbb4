#!/usr/bin/env bash
# With the Italian language chosen, a second start says so in Italian.
# shellcheck source=tests/e2e/lib.sh
source "$(dirname "$0")/lib.sh"

probe reg-set Settings Language=italiano.lng || fail "could not choose the language"
ombrix_ready
start_ombrix
second=$!
# The probe reads its arguments as UTF-8.
LC_ALL=C.UTF-8 probe msgbox "Attenzione!" "L'applicazione è già in esecuzione" 20000 ||
  fail "the second start did not show the Italian message"
wait_exit "$second" 15 || fail "the second instance did not end"
kill -0 "$ombrix" 2>/dev/null || fail "the first instance ended"
echo "PASS"
