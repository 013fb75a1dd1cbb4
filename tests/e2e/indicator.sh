#!/usr/bin/env bash
# A switch shows the desktop indicator of Ombrix, which closes itself about a second later.
# shellcheck source=tests/e2e/lib.sh
source "$(dirname "$0")/lib.sh"

ombrix_ready
probe flash win+2 OmbrixForm "Switch Desktop" 700 2000 ||
  fail "no indicator of Ombrix that closes itself about 1 s after Win+2"
probe flash win+1 OmbrixForm "Switch Desktop" 700 2000 ||
  fail "no indicator of Ombrix that closes itself about 1 s after Win+1"
echo "PASS"
