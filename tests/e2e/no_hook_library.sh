#!/usr/bin/env bash
# Without a usable OmbrixLib.dll beside it (one whose keyboard hook cannot be installed, or none at
# all), Ombrix says once that hot-keys are not available and runs on: its main window switches on
# messages and its tray menu opens.
# shellcheck source=tests/e2e/lib.sh
source "$(dirname "$0")/lib.sh"

# Starts the copy of Ombrix in folder $1 and expects the message, once; $pid is its process.
start_without_hooks() {
  "$WINE" "$1/Ombrix.exe" &
  pid=$!
  probe msgbox "Attention!" "Hot-keys are not available: OmbrixLib.dll is missing or could not be loaded." \
    20000 || fail "no message about the hook library in $1"
  probe no-msgbox "Attention!" 2000 || fail "a second box followed in $1"
  probe main-window 5000 || fail "no main window after the message in $1"
}

refused=$PWD/hooks_refused
missing=$PWD/no_hook_library
rm -rf "$refused" "$missing"
mkdir -p "$refused" "$missing"
cp "$OMBRIX_EXE" "$refused/"
cp "$OMBRIX_EXE" "$missing/"
cp "${REFUSING_HOOKLIB:?path of refusing_hooklib.dll}" "$refused/OmbrixLib.dll"

start_without_hooks "$refused"
kill -9 "$pid"
probe wait-processes 0 5000 || fail "Ombrix outlived kill -9"

testwin normal Alpha
probe wait shown 10000 Alpha || fail "the test window did not open"
start_without_hooks "$missing"
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
