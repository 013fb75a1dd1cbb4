# shellcheck shell=bash
# Sourced (bash): gets Wine ready to run this tree's Windows binaries.
#
# Exports WINEPREFIX (a private prefix, build/wineprefix unless OMBRIX_WINEPREFIX says otherwise),
# WINEDEBUG, WINEDLLOVERRIDES and DISPLAY, and sets WINE and WINESERVER to the 64-bit loader and server.
# Uses $DISPLAY when it answers, otherwise starts Xvfb on a free display. On exit ombrix_wine_stop ends
# the Xvfb it started and the prefix's wineserver with all its programs.

_ombrix_root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)

export WINEPREFIX=${OMBRIX_WINEPREFIX:-$_ombrix_root/build/wineprefix}
export WINEARCH=win64
export WINEDEBUG=-all
# No menu entries in the user's home, and no Mono or Gecko install prompts in a fresh prefix.
export WINEDLLOVERRIDES="winemenubuilder.exe=d;mscoree=d;mshtml=d"

# Debian's wrappers print a wine32 hint and force a non-persistent server; call the 64-bit binaries.
if [[ -x /usr/lib/wine/wine64 ]]; then
  WINE=/usr/lib/wine/wine64
  export WINELOADER=$WINE
else
  WINE=$(command -v wine64 || command -v wine)
fi
if [[ -x /usr/lib/wine/wineserver64 ]]; then
  WINESERVER=/usr/lib/wine/wineserver64
else
  WINESERVER=$(command -v wineserver)
fi
export WINESERVER

_ombrix_xvfb_pid=
_ombrix_wine_started=

_ombrix_display_works() {
  [[ -n ${1:-} ]] && xdpyinfo -display "$1" >/dev/null 2>&1
}

# Starts Xvfb on the first free display from :10, in a session of its own so that Ctrl+C does not end it
# before the Wine programs. Its lock file names its pid.
_ombrix_start_xvfb() {
  local n
  for n in $(seq 10 99); do
    [[ -e /tmp/.X$n-lock || -e /tmp/.X11-unix/X$n ]] && continue
    setsid Xvfb ":$n" -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
    for _ in $(seq 50); do
      if _ombrix_display_works ":$n"; then
        _ombrix_xvfb_pid=$(tr -dc 0-9 <"/tmp/.X$n-lock")
        export DISPLAY=:$n
        return 0
      fi
      sleep 0.1
    done
  done
  echo "wine-env: Xvfb did not start" >&2
  return 1
}

ombrix_wine_stop() {
  if [[ -n $_ombrix_wine_started ]]; then
    "$WINESERVER" -k >/dev/null 2>&1 || true
    "$WINESERVER" -w >/dev/null 2>&1 || true
    _ombrix_wine_started=
  fi
  if [[ -n $_ombrix_xvfb_pid ]]; then
    kill "$_ombrix_xvfb_pid" 2>/dev/null || true
    for _ in $(seq 50); do
      kill -0 "$_ombrix_xvfb_pid" 2>/dev/null || break
      sleep 0.1
    done
    _ombrix_xvfb_pid=
  fi
}

# Creates the prefix once. The marker file is written last, so a half-made prefix is made again.
_ombrix_make_prefix() {
  local marker=$WINEPREFIX/.ombrix-ready
  [[ -f $marker ]] && return 0
  mkdir -p "$(dirname "$WINEPREFIX")"
  (
    flock 8
    [[ -f $marker ]] && exit 0
    echo "wine-env: creating the Wine prefix $WINEPREFIX (once)" >&2
    rm -rf "$WINEPREFIX"
    "$WINE" wineboot -i >/dev/null 2>&1 || exit 1
    # Without a window manager Wine otherwise waits about 2 s for every window it hides.
    "$WINE" reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /t REG_SZ /d N /f >/dev/null 2>&1 || exit 1
    "$WINESERVER" -w
    touch "$marker"
  ) 8>"$WINEPREFIX.lock"
}

# Ends every program of the prefix (quick when none runs).
ombrix_wine_reset() {
  "$WINESERVER" -k >/dev/null 2>&1 || true
  "$WINESERVER" -w >/dev/null 2>&1 || true
}

# Keeps one wineserver (and Wine's own services) alive for this shell and every command it starts,
# which saves each of them the start of a new Wine session. The exit trap stops it.
ombrix_wine_share() {
  "$WINESERVER" -p
  # Wine's services start with the first program and keep its output open: start them from here, so
  # they hold no pipe of a later command (a test runner would wait for that pipe to close).
  "$WINE" cmd /c exit </dev/null >/dev/null 2>&1
  export OMBRIX_WINE_SHARED=1
  _ombrix_wine_started=1
}

# A shell started under ombrix_wine_share leaves the wineserver to its parent.
ombrix_wine_start() {
  if _ombrix_display_works "${DISPLAY:-}"; then
    echo "wine-env: using X display $DISPLAY" >&2
  else
    _ombrix_start_xvfb || return 1
    echo "wine-env: no usable X display; started Xvfb on $DISPLAY" >&2
  fi
  [[ -n ${OMBRIX_WINE_SHARED:-} ]] || _ombrix_wine_started=1
  _ombrix_make_prefix || { echo "wine-env: could not create $WINEPREFIX" >&2; return 1; }
}

trap ombrix_wine_stop EXIT
trap 'exit 130' INT
trap 'exit 143' TERM

ombrix_wine_start
