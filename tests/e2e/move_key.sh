#!/usr/bin/env bash
# Shift+Win+3 sends the active application with all its windows to desktop 3; the others stay.
# shellcheck source=tests/e2e/lib.sh
source "$(dirname "$0")/lib.sh"

testwin owned Beta
testwin normal Alpha
probe wait shown 10000 Alpha Beta "Beta dialog" || fail "the test windows did not open"
ombrix_ready
probe activate Beta || fail "could not activate Beta"
sleep 0.5

probe keys shift+win+3
probe wait hidden 5000 Beta "Beta dialog" || fail "Shift+Win+3 did not take the active application away"
probe hold shown 1000 Alpha || fail "another application left the screen"

probe keys win+3
probe wait shown 5000 Beta "Beta dialog" || fail "the moved application is not on desktop 3"
probe wait hidden 5000 Alpha || fail "desktop 1's application is still on screen on desktop 3"
echo "PASS"
