#!/usr/bin/env bash
# Ombrix killed while desktop 2 is shown leaves the windows of desktop 1 hidden and Ombrix.restore
# listing them; the next start shows them all, and, with the desktops not put back (the setting
# RestoreDesktops off), they form its desktop 1. A file written before the system started (made so
# with touch) is deleted unread: its handles may name other windows now.
# shellcheck source=tests/e2e/lib.sh
source "$(dirname "$0")/lib.sh"

restore=$(dirname "$OMBRIX_EXE")/Ombrix.restore
probe reg-set Settings RestoreDesktops=0 || fail "could not store the setting"
windows=(Alpha Beta "Beta dialog" "Untitled - Notepad")
testwin normal Alpha
testwin owned Beta
start_program notepad
probe wait shown 10000 "${windows[@]}" || fail "the test windows did not open"
ombrix_ready
[[ ! -e $restore ]] || fail "Ombrix.restore exists before the first switch"

probe keys win+2
probe wait hidden 5000 "${windows[@]}" || fail "Win+2 did not hide the windows"
probe restore-lists "$(winpath "$restore")" "${windows[@]}" || fail "Ombrix.restore does not list the hidden windows"

kill -9 "$ombrix"
wait "$ombrix" 2>/dev/null || true
probe wait-processes 0 5000 || fail "Ombrix outlived kill -9"
probe hold hidden 500 "${windows[@]}" || fail "a hidden window came back without Ombrix"

ombrix_ready
probe wait shown 5000 "${windows[@]}" || fail "the restart did not show the windows left hidden"
probe keys win+2
probe wait hidden 5000 "${windows[@]}" || fail "the recovered windows are not on desktop 1"

kill -9 "$ombrix"
wait "$ombrix" 2>/dev/null || true
probe wait-processes 0 5000 || fail "Ombrix outlived kill -9"
# Wine counts the system's start from the Linux boot.
booted=$(($(date +%s) - $(cut -d. -f1 /proc/uptime)))
touch -d "@$((booted - 3600))" "$restore"
ombrix_ready
probe hold hidden 1000 "${windows[@]}" || fail "the restart showed windows listed before the system started"
[[ ! -e $restore ]] || fail "Ombrix.restore from before the system started is still there"
echo "PASS"
