#!/usr/bin/env bash
# Without OmbrixLib.dll beside it, Ombrix says once that hot-keys are not available and runs on: its
# main window switches on messages and its tray menu opens.
# shellcheck source=tests/e2e/lib.sh
source "$(dirname "$0")/lib.sh"

alone=$PWD/no_hook_library
rm -rf "$alone"
mkdir -p "$alone"
cp "$OMBRIX_EXE" "$alone/"
testwin normal Alpha
probe wait shown 10000 Alpha || fail "the test window did not open"

"$WINE" "$alone/Ombrix.exe" &
pid=$!
probe msgbox "Attention!" "Hot-keys are not available: OmbrixLib.dll is missing or could not be loaded." 20000 ||
  fail "no message about the missing library"
probe no-msgbox "Attention!" 2000 || fail "a second box followed"
probe main-window 5000 || fail "no main window after the message"

probe post ThunderRT6FormDC OmbrixMainWND 1027 50 >/dev/null
probe wait hidden 5000 Alpha || fail "the main window did not switch to desktop 2"
probe post ThunderRT6FormDC OmbrixMainWND 1027 49 >/dev/null
probe wait shown 5000 Alpha || fail "the main window did not switch back to desktop 1"
# The tray icon reports a right click as WM_APP + 1 with WM_RBUTTONUP.
probe post ThunderRT6FormDC OmbrixMainWND 0x8001 0 517 >/dev/null
probe wait shown 3000 '@#32768' || fail "the tray menu did not open"
probe keys esc
probe wait gone 3000 '@#32768' || fail "the tray menu did not close on Esc"
probe send OmbrixMainWND 0 0 3000 || fail "the main window does not answer"
kill -0 "$pid" 2>/dev/null || fail "Ombrix ended"
echo "PASS"
