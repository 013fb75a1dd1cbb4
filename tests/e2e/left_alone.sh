#!/usr/bin/env bash
# What Ombrix must leave alone. A Kill rule matching a window of the shell (a program that owns a
# window of the taskbar's class) ends nothing; a Visibility rule does not wait on a window whose
# program does not answer; a window that vetoes its own hiding stays on screen, is recorded on the
# desktop the user is on, and holds up none of the switch's other windows.
# shellcheck source=tests/e2e/lib.sh
source "$(dirname "$0")/lib.sh"

# The rule on the unanswering window comes before the one on the window opened last.
rule kill title equals Downloads kill
rule frozen title equals Frozen visibility 5
rule faded title equals Faded visibility 5
store_rules || fail "could not store the rules"
testwin shell Downloads
shell=$!
testwin hung Frozen
testwin stubborn Stubborn
testwin normal Alpha
probe wait shown 10000 Downloads Frozen Stubborn Alpha || fail "the test windows did not open"
ombrix_ready

testwin normal Faded
probe wait alpha=178 10000 Faded || fail "the rules stopped at the unanswering window"
kill -0 "$shell" 2>/dev/null || fail "the Kill rule ended the shell"
probe wait shown 1000 Downloads || fail "the shell's window went"

probe keys win+2 -- wait hidden 5000 Alpha Downloads || fail "Win+2 did not hide the other windows"
probe hold shown 1000 Stubborn || fail "the window that vetoes its hiding left the screen"
# The switch writes the desktop record after it has shown the windows.
recorded_on() {
  local record=$built/Ombrix.desktops
  for _ in $(seq 30); do
    grep -qE "^$1 -?[0-9]+ [0-9]+ OmbrixTestStubborn" "$record" 2>/dev/null && return 0
    sleep 0.1
  done
  fail "the window that stayed is not recorded on desktop $1: $(cat "$record")"
}
recorded_on 2
probe keys win+1 -- wait shown 5000 Alpha Downloads || fail "Win+1 did not bring the windows back"
recorded_on 1
echo "PASS"
