#!/usr/bin/env bash
# The first start for a user records that the program has been used.
# shellcheck source=tests/e2e/lib.sh
source "$(dirname "$0")/lib.sh"

if probe reg-get Settings FirstUse; then fail "FirstUse is set before the first start"; fi
start_ombrix
probe main-window 20000 || fail "no hidden main window"
probe reg-wait Settings FirstUse 0 10000 || fail "FirstUse is not \"0\" after the first start"
echo "PASS"
