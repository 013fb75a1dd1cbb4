#!/usr/bin/env bash
# Ombrix killed while desktop 2 is shown leaves the windows of desktops 1 and 3 hidden, and
# Ombrix.restore (written first by a switch) listing them; they stay hidden without it. The next
# start puts every window back on its desktop and the user on theirs, and never shows a window of
# desktop 1 or of desktop 3, which has a password, not even for a moment; a program started after
# the kill stays on screen, on that desktop. Desktop 3's password, stored as older versions did, is
# stored as a verifier once typed. With the desktops not put back (the setting
# RestoreDesktops off) the next start shows every window left hidden, and they form its desktop 1.
# A file written before the system started (made so with touch) is deleted unread: its handles
# may name other windows now.
# shellcheck source=tests/e2e/lib.sh
source "$(dirname "$0")/lib.sh"

prompt="Password Request"
probe reg-set Settings "DeskPass3=$(scramble pw)" || fail "could not store desktop 3's password"
testwin owned Alpha
testwin normal Beta
start_program notepad
probe wait shown 10000 Alpha "Alpha dialog" Beta "Untitled - Notepad" || fail "the test windows did not open"
ombrix_ready
[[ ! -e $restore ]] || fail "Ombrix.restore exists before the first switch"
for move in Beta:2 "Untitled - Notepad:3"; do
  probe activate "${move%:*}" || fail "could not activate ${move%:*}"
  sleep 0.5
  probe keys "shift+win+${move##*:}" -- wait hidden 5000 "${move%:*}" || fail "Shift+Win+${move##*:} did not move ${move%:*}"
done
hidden=(Alpha "Alpha dialog" "Untitled - Notepad")
probe keys win+2 -- wait shown 5000 Beta || fail "Win+2 did not show Beta"
probe wait hidden 5000 "${hidden[@]}" || fail "Win+2 did not hide Alpha"
# Ombrix.restore holds 32-bit little-endian window handles.
for window in "${hidden[@]}"; do
  hwnd=$(probe wait hidden 0 "$window" | grep -o 'hwnd=0x[0-9a-f]*') || fail "no handle of $window"
  od -An -v -tx4 "$restore" | grep -qw "$(printf %08x "${hwnd#hwnd=}")" || fail "Ombrix.restore does not list $window"
done
crash_ombrix
probe hold hidden 500 "${hidden[@]}" || fail "a hidden window came back without Ombrix"
testwin normal Later
probe wait shown 10000 Later || fail "the window opened after the kill did not open"

probe watch 8000 "${hidden[@]}" &
watch=$!
ombrix_ready
wait "$watch" || fail "the restart showed a window of desktop 1 or 3"
probe hold shown 1000 Beta Later || fail "desktop 2's window or the later one is not on screen"
probe keys win+1 -- wait shown 5000 Alpha "Alpha dialog" || fail "Win+1 did not show Alpha"
probe wait hidden 5000 Beta "Untitled - Notepad" Later || fail "Win+1 shows windows of other desktops"
probe keys win+3 -- wait shown 5000 "$prompt" -- type "$prompt" pw -- click "$prompt" OK ||
  fail "Win+3 did not ask for desktop 3's password"
probe wait shown 5000 "Untitled - Notepad" || fail "Win+3 did not show Notepad"
is_verifier "$(probe reg Settings DeskPass3 | tr -d '\r')" || fail "the typed password is not stored as a verifier"
probe wait hidden 5000 Alpha Beta Later || fail "Win+3 shows windows of other desktops"
probe keys win+2 -- wait shown 5000 Beta Later || fail "Win+2 did not show Beta and the later window"

crash_ombrix
probe reg-set Settings RestoreDesktops=0
all=("${hidden[@]}" Beta Later)
ombrix_ready
probe wait shown 5000 "${all[@]}" || fail "the restart did not show the windows left hidden"
probe keys win+2 -- wait hidden 5000 "${all[@]}" || fail "the recovered windows are not on desktop 1"

crash_ombrix
# Wine counts the system's start from the Linux boot.
booted=$(($(date +%s) - $(cut -d. -f1 /proc/uptime)))
touch -d "@$((booted - 3600))" "$restore"
ombrix_ready
probe hold hidden 1000 "${all[@]}" || fail "the restart showed windows listed before the system started"
[[ ! -e $restore ]] || fail "Ombrix.restore from before the system started is still there"
echo "PASS"
