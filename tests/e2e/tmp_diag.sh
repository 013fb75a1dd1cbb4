#!/usr/bin/env bash
# Rules act on programs started after Ombrix: "Move To Desk" 3 sends a window to desktop 3, and
# "Ignore App." leaves a window on screen whatever the desktop.
# shellcheck source=tests/e2e/lib.sh
source "$(dirname "$0")/lib.sh"

mapfile -t rules < <(title_rule 1 Mover 0 3; title_rule 2 Keeper 6)
probe reg-set Rules NumRules=2 "${rules[@]}" || fail "could not store the rules"
testwin normal Alpha
probe wait shown 10000 Alpha || fail "the test window did not open"
ombrix_ready
[[ -n ${SPY:-} ]] && "$WINE" /tmp/x/pt/spyload.exe >/dev/null &
sleep 0.5
trap 'probe kill spyload.exe >/dev/null; end_programs; ombrix_wine_stop' EXIT

testwin normal Keeper
testwin normal Mover
probe wait hidden 10000 Mover || fail "the window of the Move To Desk rule stayed on desktop 1"
probe hold shown 1000 Alpha Keeper || fail "a window that no rule moves left the screen"

echo "$(date +%s%N | cut -c1-13) keys win+3" >> /tmp/x/pt/spy.log
probe keys win+3
probe wait shown 5000 Mover || fail "the moved window is not on desktop 3"
probe wait hidden 5000 Alpha || fail "Win+3 did not hide desktop 1"
probe hold shown 500 Keeper || fail "the ignored window was hidden by Win+3"
echo "$(date +%s%N | cut -c1-13) keys win+1" >> /tmp/x/pt/spy.log
probe keys win+1
if ! probe wait shown 5000 Alpha; then probe list; probe send OmbrixMainWND 0 0 2000; "$WINE" winedbg --command "bt all" > /tmp/x/bt_diag.txt 2>&1; probe post ThunderRT6FormDC OmbrixMainWND 1027 49; probe wait shown 5000 Alpha; fail "Win+1 did not show desktop 1"; fi
probe wait hidden 5000 Mover || fail "Win+1 did not hide desktop 3"
probe hold shown 500 Keeper || fail "the ignored window was hidden by Win+1"
echo "PASS"
