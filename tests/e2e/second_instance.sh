#!/usr/bin/env bash
# The first start records that the program has been used. A second start tells the user that the
# program runs and ends; the first instance keeps running.
# shellcheck source=tests/e2e/lib.sh
source "$(dirname "$0")/lib.sh"

start_ombrix
first=$!
before=$(probe main-window 20000) || fail "no hidden main window: $before"
echo "$before"
probe reg-wait Settings FirstUse 0 10000 || fail "FirstUse is not \"0\" after the first start"

start_ombrix
second=$!
probe msgbox "Attention!" "The application is already running" 20000 ||
  fail "the second start did not show the box"
wait_exit "$second" 15 || fail "the second instance did not end after its box was closed"
probe wait-processes 1 5000 || fail "expected exactly one Ombrix process"

kill -0 "$first" 2>/dev/null || fail "the first instance ended"
after=$(probe main-window 5000) || fail "the first instance lost its main window: $after"
[[ ${before%% pid=*} == "${after%% pid=*}" ]] || fail "the main window changed: $before / $after"
echo "PASS"
