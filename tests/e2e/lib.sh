# shellcheck shell=bash
# Sourced by every end-to-end test: helpers around probe.exe and Ombrix's stored settings, then a
# clean Wine session with no Ombrix running and no Ombrix settings, stopped (with Xvfb, if one was
# started) on exit. "source lib.sh --helpers" defines only the helpers, which need $WINE and
# $PROBE_EXE: scripts/screenshots.sh and scripts/bench.sh use them so.

probe() { "$WINE" "$PROBE_EXE" "$@"; }

# A password's stored forms. scramble writes that of older versions, which Ombrix still accepts:
# each character's code plus k in hexadecimal and a letter, then the letter of code 64 + k (here
# k = 5). is_verifier tells the form Ombrix writes once a password is set or typed, from which the
# password cannot be read back.
scramble() {
  local text=$1 form="" i
  for ((i = 0; i < ${#text}; i++)); do printf -v form '%s%02XQ' "$form" $(($(printf %d "'${text:i:1}") + 5)); done
  printf '%sE' "$form"
}
is_verifier() { [[ $1 =~ ^pbkdf2-sha256\$1\$200000\$[0-9a-f]{32}\$[0-9a-f]{64}$ ]]; }

# The stored form of the application rules (Software\Ombrix\Rules): NumRules and ten values per
# rule. "rule NAME title|class MODE PATTERN ACTION [DESKTOP]" adds one, testing the window's title
# or class, to rule_values; store_rules writes them all; rules_stored checks that the store holds
# them, and only them.
declare -A rule_modes=([contains]=0 [starts-with]=2 [equals]=4)
declare -A rule_actions=([move]=0 [maximize]=1 [minimize]=2 [close]=3 [kill]=4 [visibility]=5 [ignore]=6)
rule_values=()
rule() {
  local i=$((${#rule_values[@]} / 10 + 1)) title=0 mode=${rule_modes[$3]} text="" class=""
  if [[ $2 == title ]]; then title=1 text=$4; else class=$4; fi
  rule_values+=("RuleName$i=$1" "CheckWinText$i=$title" "WinTextMode$i=$((title ? mode : 0))" "WinText$i=$text"
    "And$i=1" "CheckWinClass$i=$((1 - title))" "WinClassMode$i=$((title ? 0 : mode))" "WinClass$i=$class"
    "Action$i=${rule_actions[$5]}" "DestDesk$i=${6:-0}")
}
store_rules() { probe reg-set Rules "NumRules=$((${#rule_values[@]} / 10))" "${rule_values[@]}"; }
rules_stored() {
  local value checks=()
  for value in "NumRules=$((${#rule_values[@]} / 10))" "${rule_values[@]}"; do
    checks+=(-- reg Rules "${value%%=*}" "${value#*=}" 3000)
  done
  probe "${checks[@]:1}"
}

clear_settings() { "$WINE" reg delete 'HKCU\Software\Ombrix' /f >/dev/null 2>&1 || true; }

# A click (514) or right click (517) on the tray icon, as the icon reports it to the main window.
tray() { probe post OmbrixMainWND 0x8001 0 "$1"; }

[[ ${1:-} == --helpers ]] && return 0

set -euo pipefail
# Wine passes the arguments of probe.exe, which reads them as UTF-8, in the locale's encoding.
export LC_ALL=C.UTF-8
: "${OMBRIX_EXE:?path of Ombrix.exe}" "${PROBE_EXE:?path of probe.exe}" "${TESTWIN_EXE:?path of testwin.exe}"
[[ -f $OMBRIX_EXE ]] || { echo "FAIL: $OMBRIX_EXE was not built" >&2; exit 1; }
# shellcheck source=scripts/wine-env.sh
source "$(dirname "${BASH_SOURCE[0]}")/../../scripts/wine-env.sh"
test_name=$(basename "$0" .sh)
built=$(dirname "$OMBRIX_EXE")

fail() {
  echo "FAIL: $*" >&2
  probe list >&2 || true
  if command -v import >/dev/null; then
    import -display "$DISPLAY" -window root "$test_name-failure.png" 2>/dev/null &&
      echo "screen at failure: $PWD/$test_name-failure.png" >&2
  fi
  exit 1
}

# A scenario that leaves more than programs behind redefines this; it runs first at exit.
test_cleanup() { :; }
if [[ -n ${OMBRIX_WINE_SHARED:-} ]]; then
  # The caller keeps the Wine session for all tests: end only the programs a test starts.
  end_programs() { probe kill Ombrix.exe testwin.exe notepad.exe winemine.exe hh.exe Glossator.exe >/dev/null || true; }
  end_programs
  trap 'test_cleanup; end_programs; ombrix_wine_stop' EXIT
else
  ombrix_wine_reset
  trap 'test_cleanup; ombrix_wine_stop' EXIT
fi

# Programs start in the background; the Wine loader's process is the program's own, so $! is its pid.
start_ombrix() { "$WINE" "$OMBRIX_EXE" & }
testwin() { "$WINE" "$TESTWIN_EXE" "$@" & }
start_program() { "$WINE" "$1" & }

# Starts Ombrix and waits until it is ready for keys; $ombrix is its pid.
ombrix_ready() {
  start_ombrix
  ombrix=$!
  probe main-window 20000 || fail "no hidden main window"
}

# Ends Ombrix as a crash does.
crash_ombrix() {
  kill -9 "$ombrix"
  wait "$ombrix" 2>/dev/null || true
  probe processes 0 5000 || fail "Ombrix outlived kill -9"
}

# Waits up to $2 seconds for the Unix process $1 to end.
wait_exit() {
  local tenths=$(($2 * 10))
  while kill -0 "$1" 2>/dev/null && ((tenths-- > 0)); do sleep 0.1; done
  ! kill -0 "$1" 2>/dev/null
}

# Opens the tray menu as a right click does and chooses the items given in turn. A click that
# comes while a dialog is still closing only brings that forward, so one more click may be needed.
choose_from_menu() {
  tray 517
  probe wait shown 3000 @#32768 || tray 517
  local item
  for item; do
    probe menu 5000 "$item" || fail "no menu item $item"
    sleep 0.3
  done
}

# Chooses the menu items given and waits for the window named last.
open_from_menu() {
  choose_from_menu "${@:1:$#-1}"
  probe wait shown 5000 "${!#}" || fail "${!#} did not open"
}

# Whether window $1 has a control whose line in "probe controls" holds $2.
shows() { probe controls "$1" | tr -d '\r' | grep -qF -- "$2"; }
# The items of the $2-th list of window $1, one a line.
list_items() { probe controls "$1" | tr -d '\r' | grep -iE '^(ListBox|SysListView32) ' | sed -n "$2s/.* items=//p" | tr '|' '\n'; }

# A folder of Windows, such as LOCALAPPDATA.
win_folder() { "$WINE" cmd /c echo "%$1%" | tr -d '\r'; }
# The drive Z: of a prefix maps /, so any Unix path has a Windows name there.
winpath() {
  local path
  path=$(readlink -f "$1")
  printf 'Z:%s\n' "${path//\//\\}"
}

# A copy of Ombrix.exe in folder $1 (made anew) with the files $2... of the build beside it.
copy_program() {
  rm -rf "$1" && mkdir -p "$1"
  cp "$built/Ombrix.exe" "$1/"
  local file
  for file in "${@:2}"; do cp -r "$built/$file" "$1/$file"; done
}

# No settings and no crash-recovery file from an earlier run.
clear_settings
restore=$built/Ombrix.restore
rm -f "$restore" "$built/Ombrix.desktops"
