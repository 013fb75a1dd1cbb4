#!/usr/bin/env bash
# Rules on programs started after Ombrix: "Close" closes a window and does not wait for good on one
# that does not answer; "Kill" ends the process (matched by the window class).
# shellcheck source=tests/e2e/lib.sh
source "$(dirname "$0")/lib.sh"

# The unanswering window's rule comes first, so every pass tries it before the other window.
mapfile -t rules < <(title_rule 1 Frozen 3; title_rule 2 Closer 3
  printf '%s\n' RuleName3=rule3 CheckWinText3=0 WinTextMode3=0 WinText3= And3=1 CheckWinClass3=1 \
    WinClassMode3=4 WinClass3=Notepad Action3=4 DestDesk3=0)
probe reg-set Rules NumRules=3 "${rules[@]}" || fail "could not store the rules"
ombrix_ready

# A window that never answers: the rule's close request must not hold Ombrix up.
testwin hung Frozen
probe wait shown 10000 Frozen || fail "the unanswering window did not open"
sleep 1
testwin normal Closer
closer=$!
wait_exit "$closer" 15 || fail "the Close rule did not close a window opened after an unanswering one"
probe wait gone 1000 Closer || fail "the closed window is still there"
probe send OmbrixMainWND 0 0 5000 || fail "Ombrix does not answer"

start_program notepad
notepad=$!
wait_exit "$notepad" 15 || fail "the Kill rule did not end Notepad"
kill -0 "$ombrix" 2>/dev/null || fail "Ombrix ended"
echo "PASS"
