#!/usr/bin/env bash
# About opens from the tray menu, shows the version of the built exe, refuses the frame's close
# request, keeps tray clicks to bringing it forward, and closes with its Ok button.
# shellcheck source=tests/e2e/lib.sh
source "$(dirname "$0")/lib.sh"
: "${OMBRIX_VERSION_LINE:?the version line the build gives}"

testwin normal Other
probe wait shown 15000 Other || fail "the test window did not open"
ombrix_ready
open_from_menu "About..." "About Ombrix"
texts=$(probe texts "About Ombrix" | tr -d '\r') || fail "cannot read About"
echo "$texts"
grep -qx "$OMBRIX_VERSION_LINE" <<<"$texts" || fail "About does not show \"$OMBRIX_VERSION_LINE\""
grep -qx "Ombrix" <<<"$texts" || fail "About does not name the program"

probe post OmbrixForm "About Ombrix" 16 >/dev/null
probe hold shown 1000 "About Ombrix" || fail "About closed on WM_CLOSE"
probe activate Other || fail "could not activate another window"
probe post ThunderRT6FormDC OmbrixMainWND 0x8001 0 514 >/dev/null
probe wait foreground 3000 "About Ombrix" || fail "a tray click did not bring About forward"
if probe menu 1000 >/dev/null; then fail "a tray click opened a menu while About was open"; fi

probe click "About Ombrix" Ok || fail "no Ok button"
probe wait gone 5000 "About Ombrix" || fail "Ok did not close About"
probe post ThunderRT6FormDC OmbrixMainWND 0x8001 0 517 >/dev/null
probe menu 5000 >/dev/null || fail "the menu does not open after About closed"
probe keys esc
echo "PASS"
