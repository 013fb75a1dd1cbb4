#!/usr/bin/env bash
# A window that its program shows again while its desktop is hidden is hidden again at once, a shell
# folder window as well; on its own desktop the same show stands.
# shellcheck source=tests/e2e/lib.sh
source "$(dirname "$0")/lib.sh"

hide=0x8002 show=0x8003
testwin normal Alpha
testwin cabinet Folder
probe wait shown 10000 Alpha Folder || fail "the test windows did not open"
ombrix_ready

for window in Alpha Folder; do probe post '*' "$window" "$hide" >/dev/null; done
probe wait hidden 3000 Alpha Folder || fail "the programs did not hide their windows"
for window in Alpha Folder; do probe post '*' "$window" "$show" >/dev/null; done
probe wait shown 3000 Alpha Folder || fail "the programs did not show their windows"
probe hold shown 1000 Alpha Folder || fail "a window shown again on the current desktop was hidden"

probe keys win+2
probe wait hidden 5000 Alpha Folder || fail "Win+2 did not hide the windows"
for window in Alpha Folder; do probe post '*' "$window" "$show" >/dev/null; done
probe wait hidden 3000 Alpha Folder || fail "a window shown while its desktop is hidden stayed on screen"
probe hold hidden 1500 Alpha Folder || fail "a window shown while its desktop is hidden came back"

probe keys win+1
probe wait shown 5000 Alpha Folder || fail "Win+1 did not show the windows again"
echo "PASS"
