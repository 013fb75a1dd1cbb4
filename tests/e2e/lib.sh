# shellcheck shell=bash
# Sourced by every end-to-end test: a clean Wine session with no Ombrix running and no Ombrix settings,
# and helpers around probe.exe. The session (and Xvfb, if one was started) is stopped on exit.
set -euo pipefail
: "${OMBRIX_EXE:?path of Ombrix.exe}" "${PROBE_EXE:?path of probe.exe}" "${TESTWIN_EXE:?path of testwin.exe}"
[[ -f $OMBRIX_EXE ]] || { echo "FAIL: $OMBRIX_EXE was not built" >&2; exit 1; }

# shellcheck source=scripts/wine-env.sh
source "$(dirname "${BASH_SOURCE[0]}")/../../scripts/wine-env.sh"

test_name=$(basename "$0" .sh)

probe() { "$WINE" "$PROBE_EXE" "$@"; }

# A test that leaves more than programs behind redefines this; it runs first at exit.
test_cleanup() { :; }

if [[ -n ${OMBRIX_WINE_SHARED:-} ]]; then
  # The caller keeps the Wine session for all tests: end only the programs a test starts.
  end_programs() { probe kill Ombrix.exe testwin.exe notepad.exe winemine.exe hh.exe >/dev/null || true; }
  end_programs
  trap 'test_cleanup; end_programs; ombrix_wine_stop' EXIT
else
  ombrix_wine_reset
  trap 'test_cleanup; ombrix_wine_stop' EXIT
fi

# Start programs in the background; the Wine loader's process is the program's own, so $! is its pid.
start_ombrix() { "$WINE" "$OMBRIX_EXE" & }
testwin() { "$WINE" "$TESTWIN_EXE" "$@" & }
start_program() { "$WINE" "$1" & }

# Starts Ombrix and waits until it is ready for keys; $ombrix is its pid.
ombrix_ready() {
  start_ombrix
  # shellcheck disable=SC2034 # read by the tests
  ombrix=$!
  probe main-window 20000 || fail "no hidden main window"
}

# The values of rule $1, which matches windows titled exactly $2 and does action $3 with value $4.
title_rule() {
  printf '%s\n' "RuleName$1=rule$1" "CheckWinText$1=1" "WinTextMode$1=4" "WinText$1=$2" "And$1=1" \
    "CheckWinClass$1=0" "WinClassMode$1=0" "WinClass$1=" "Action$1=$3" "DestDesk$1=${4:-0}"
}

# Opens the tray menu as a right click does, and chooses the items given in turn (a submenu, then
# one of its items).
choose_from_menu() {
  probe post ThunderRT6FormDC OmbrixMainWND 0x8001 0 517 >/dev/null
  local item
  for item in "$@"; do
    probe menu-choose "$item" 5000 >/dev/null || fail "no menu item $item"
    sleep 0.3
  done
}

# Opens a dialog from the tray menu: the items given, and waits for the window named last.
open_from_menu() {
  choose_from_menu "${@:1:$#-1}"
  probe wait shown 5000 "${!#}" >/dev/null || fail "${!#} did not open"
}

# The stored form of a password: each character's code plus k in hexadecimal and a letter, then
# the marker character of k (here k = 5).
scramble() {
  local text=$1 out="" i code
  for ((i = 0; i < ${#text}; i++)); do
    printf -v code '%d' "'${text:i:1}"
    printf -v code '%02X' $((code + 5))
    out+="${code}Q"
  done
  printf '%sE' "$out"
}

# The drive Z: of a prefix maps /, so any Unix path has a Windows name there.
winpath() {
  local path
  path=$(readlink -f "$1")
  printf 'Z:%s\n' "${path//\//\\}"
}

# Waits up to $2 seconds for the Unix process $1 to end.
wait_exit() {
  local pid=$1 tenths=$(($2 * 10))
  while kill -0 "$pid" 2>/dev/null && ((tenths-- > 0)); do sleep 0.1; done
  ! kill -0 "$pid" 2>/dev/null
}

fail() {
  echo "FAIL: $*" >&2
  probe list >&2 || true
  if command -v import >/dev/null; then
    import -display "$DISPLAY" -window root "$test_name-failure.png" 2>/dev/null &&
      echo "screen at failure: $PWD/$test_name-failure.png" >&2
  fi
  exit 1
}

# No settings and no crash-recovery file from an earlier run.
probe reg-clear >/dev/null
rm -f "$(dirname "$OMBRIX_EXE")/Ombrix.restore" "$(dirname "$OMBRIX_EXE")/Ombrix.desktops"
