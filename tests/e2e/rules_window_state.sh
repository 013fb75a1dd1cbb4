#!/usr/bin/env bash
# Rules on a program started after Ombrix: "Maximize", "Minimize", and "Visibility(2000/XP)" at
# level 5, which makes the window layered with alpha 178.
# shellcheck source=tests/e2e/lib.sh
source "$(dirname "$0")/lib.sh"

mapfile -t rules < <(title_rule 1 Bigger 1; title_rule 2 Smaller 2; title_rule 3 Faded 5 5)
probe reg-set Rules NumRules=3 "${rules[@]}" || fail "could not store the rules"
ombrix_ready

testwin normal Bigger
testwin normal Smaller
testwin normal Faded
testwin normal Plain
probe wait zoomed 10000 Bigger || fail "the Maximize rule did not maximize"
probe wait iconic 10000 Smaller || fail "the Minimize rule did not minimize"
probe alpha Faded 178 10000 || fail "the Visibility rule did not make the window layered with alpha 178"
probe wait shown 5000 Plain || fail "the window no rule matches did not open"
probe hold shown 500 Plain || fail "the window no rule matches left the screen"
probe alpha Plain 178 0 && fail "the Visibility rule acted on a window it does not match"
echo "PASS"
