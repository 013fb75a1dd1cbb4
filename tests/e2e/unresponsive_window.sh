#!/usr/bin/env bash
# The active window's program stops reading its messages: just before a switch, too recently for the
# system to call it hung, and then for good (hung). Win+2 and Win+1 switch in good time either way.
# shellcheck source=tests/e2e/lib.sh
source "$(dirname "$0")/lib.sh"

testwin normal Alpha
testwin normal Stuck
probe wait shown 10000 Alpha Stuck || fail "the test windows did not open"
ombrix_ready
probe activate Stuck || fail "could not activate Stuck"
probe post '*' Stuck 0x8001 >/dev/null || fail "could not stop Stuck"

# Seconds after Stuck stopped: 1 (unresponsive), then 5.5 (a window counts as hung after 5 s).
for when in 1 4.5; do
  sleep "$when"
  probe keys win+2
  probe wait hidden 3000 Alpha || fail "Win+2 did not hide the other window ($when s)"
  probe wait shown 3000 "Switch Desktop" || fail "the switch to desktop 2 did not finish: Stuck held it up ($when s)"
  probe keys win+1
  probe wait shown 3000 Alpha || fail "Win+1 did not show the other window ($when s)"
done
echo "PASS"
