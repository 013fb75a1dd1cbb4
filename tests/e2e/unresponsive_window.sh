#!/usr/bin/env bash
# A program stops reading its messages just before a switch, too recently for the system to call it
# hung; Win+2 and Win+1 still switch in good time.
# shellcheck source=tests/e2e/lib.sh
source "$(dirname "$0")/lib.sh"

testwin normal Alpha
testwin normal Stuck
probe wait shown 10000 Alpha Stuck || fail "the test windows did not open"
ombrix_ready
probe activate Alpha || fail "could not activate Alpha"
probe post '*' Stuck 0x8001 >/dev/null || fail "could not stop Stuck"
sleep 1

probe keys win+2
probe wait hidden 3000 Alpha || fail "Win+2 did not hide the other window"
probe wait shown 3000 "Switch Desktop" || fail "the switch to desktop 2 did not finish: an unresponsive window held it up"
probe keys win+1
probe wait shown 3000 Alpha || fail "Win+1 did not show the other window"
echo "PASS"
