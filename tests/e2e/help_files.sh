#!/usr/bin/env bash
# Help opens the guide of the language in Wine's help viewer, and says so when the file is missing.
# shellcheck source=tests/e2e/lib.sh
source "$(dirname "$0")/lib.sh"

ombrix_ready
choose_from_menu "Help..."
probe wait shown 20000 "Ombrix Help" || fail "the English guide did not open"
probe kill hh.exe Ombrix.exe >/dev/null

probe reg-set Settings Language=italiano.lng >/dev/null
ombrix_ready
choose_from_menu "Guida..."
probe wait shown 20000 "Guida di Ombrix" || fail "the Italian guide did not open"
probe kill hh.exe Ombrix.exe >/dev/null

# A copy of the program without the help files beside it (the probe reads "\n" in a text as a
# line break, so the folder's name must not start with an n).
probe reg-set Settings Language="English - Built In" >/dev/null
bare=$PWD/bare-program
rm -rf "$bare" && mkdir -p "$bare"
cp "$OMBRIX_EXE" "$(dirname "$OMBRIX_EXE")/OmbrixLib.dll" "$bare/"
OMBRIX_EXE=$bare/Ombrix.exe
ombrix_ready
choose_from_menu "Help..."
probe msgbox "Attention!" "The help file $(winpath "$bare")\\OmbrixEng.chm is missing. Installing Ombrix again brings it back." 10000 ||
  fail "a missing help file gave no message"
probe hold gone 1000 "Ombrix Help" || fail "a help window opened without the file"
echo "PASS"
