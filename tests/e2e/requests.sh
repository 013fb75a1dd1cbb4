#!/usr/bin/env bash
# Ombrix.exe with a command drives the running Ombrix through its requests and ends with the exit
# code of the reply: go to a desktop, step, move the application in front or of a given window,
# ask for the current desktop, exit. Refusals: no Ombrix, a menu open, a desktop password not
# given, exit guarded by the program password. The user guide's subscriber hears of every switch.
# shellcheck source=tests/e2e/lib.sh
source "$(dirname "$0")/lib.sh"
: "${SUBSCRIBER_EXE:?path of subscriber.exe}"

out=$(mktemp) err=$(mktemp) news=$(mktemp)
test_cleanup() {
  [[ -n ${listener:-} ]] && kill "$listener" 2>/dev/null
  rm -f "$out" "$err" "$news"
}
# cli CODE ARGS...: Ombrix.exe ARGS ends with exit code CODE.
cli() {
  local expected=$1 code=0
  shift
  "$WINE" "$OMBRIX_EXE" "$@" >"$out" 2>"$err" || code=$?
  ((code == expected)) || fail "Ombrix.exe $* ended with $code, not $expected: $(cat "$out" "$err")"
  # The desktop (1 to 9), done (0), or why not; a bad argument (10) adds the usage.
  if ((expected == 0)); then
    [[ ! -s $err ]]
  elif ((expected > 10)); then
    [[ ! -s $out && $(wc -l <"$err") == 1 ]]
  fi || fail "Ombrix.exe $* printed: $(cat "$out" "$err")"
}
# Waits for a switch that a key or the menu started: sent requests go before posted keys.
wait_current() {
  local code
  for _ in $(seq 20); do
    code=0
    "$WINE" "$OMBRIX_EXE" --current >/dev/null 2>&1 || code=$?
    ((code == $1)) && return 0
    sleep 0.2
  done
  fail "the current desktop is $code, not $1"
}
printed() { [[ $(tr -d '\r' <"$out") == "$1" ]] || fail "Ombrix.exe printed $(cat "$out"), not $1"; }

cli 11 --go 3
cli 10 --go 10
grep -q "^Usage: Ombrix.exe" "$err" || fail "a bad argument did not give the usage"

probe reg-set Settings "DeskPass5=$(scramble pw)" >/dev/null || fail "could not store the password"
testwin owned Beta
testwin normal Alpha
probe wait shown 10000 Alpha Beta "Beta dialog" >/dev/null || fail "the test windows did not open"
ombrix_ready
"$WINE" "$SUBSCRIBER_EXE" >"$news" &
listener=$!
for _ in $(seq 50); do grep -q listening "$news" && break; sleep 0.1; done
grep -q listening "$news" || fail "the subscriber did not subscribe"

cli 1 --current
printed 1
cli 0 --go 2
printed 2
probe wait hidden 5000 Alpha Beta >/dev/null || fail "--go 2 left desktop 1's windows on screen"
probe keys win+3
wait_current 3
choose_from_menu "Go To..." "Desktop 4"
wait_current 4
sleep 0.5
[[ $(grep -c desktop "$news") == 3 && $(grep desktop "$news" | tr -d '\r' | paste -sd/) == \
  "desktop 2, was 1/desktop 3, was 2/desktop 4, was 3" ]] || fail "the subscriber heard: $(cat "$news")"
cli 0 --go prev
printed 3
cli 0 --go next
printed 4
cli 0 --go 1
probe wait shown 5000 Alpha Beta >/dev/null || fail "--go 1 did not bring desktop 1 back"

probe activate Alpha >/dev/null || fail "could not activate Alpha"
cli 0 --move 6
probe wait hidden 5000 Alpha >/dev/null || fail "--move 6 left the application in front on screen"
probe hold shown 1000 Beta >/dev/null || fail "--move 6 took Beta too"
dialog=$(probe list | tr -d '\r' | sed -n 's/.*hwnd=\(0x[0-9a-f]*\) .*title="Beta dialog".*/\1/p')
cli 0 --move 7 --window "$dialog"
probe wait hidden 5000 Beta "Beta dialog" >/dev/null || fail "--move 7 --window left Beta on screen"
cli 18 --move 2 --window "$dialog"

"$WINE" "$OMBRIX_EXE" --go 5 >"$out" 2>"$err" &
asking=$!
probe wait shown 5000 "Password Request" >/dev/null || fail "--go 5 did not ask for the password"
probe click "Password Request" Cancel >/dev/null
wait "$asking" && code=0 || code=$?
((code == 15)) || fail "a cancelled password ended --go 5 with $code: $(cat "$err")"
cli 1 --current

tray 517 || fail "could not click the tray icon"
probe menu 5000 >/dev/null || fail "the tray menu did not open"
cli 14 --go 2
probe keys esc
cli 1 --current

[[ -e $restore ]] || fail "no Ombrix.restore while windows are hidden"
cli 0 --exit
wait_exit "$ombrix" 5 || fail "Ombrix had not ended when --exit did"
probe wait shown 3000 Alpha Beta "Beta dialog" >/dev/null || fail "--exit left windows hidden"
[[ ! -e $restore ]] || fail "Ombrix.restore is left after --exit"

probe reg-set Settings "GlobalPass=$(scramble admin)" >/dev/null || fail "could not store the program password"
ombrix_ready
cli 0 --go 2
cli 16 --exit
probe hold gone 1000 "Password Request" >/dev/null || fail "the exit request asked for the password"
probe hold hidden 1000 Alpha >/dev/null || fail "the refused exit showed desktop 1's windows"
kill -0 "$ombrix" 2>/dev/null || fail "the refused exit ended Ombrix"
echo "PASS"
