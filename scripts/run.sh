#!/usr/bin/env bash
# Installs what is missing, builds the Windows tree and runs Ombrix under Wine: on the current X display
# when it answers, otherwise on a virtual one (Xvfb). Arguments go to Ombrix. Ctrl+C stops it and Wine.
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/install-deps.sh
bash scripts/build.sh win64
# shellcheck source=scripts/wine-env.sh
source scripts/wine-env.sh

if [[ -n $_ombrix_xvfb_pid ]]; then
  echo "run: Ombrix runs on the virtual display $DISPLAY, which shows nothing;" \
       "a screenshot: DISPLAY=$DISPLAY import -window root shot.png"
else
  echo "run: Ombrix runs on the X display $DISPLAY"
fi
# Waiting in the background lets Ctrl+C reach the exit trap, which ends Wine (Wine ignores it itself).
"$WINE" build/win64/Ombrix.exe "$@" &
wait $!
