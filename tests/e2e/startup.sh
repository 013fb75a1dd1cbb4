#!/usr/bin/env bash
# What a start shows. The first start: the splash, which closes itself some 3.5 s later, a hidden
# main window, FirstUse recorded, and Help opens the English guide. In Italian: Help opens the
# Italian guide and a second start says in Italian that Ombrix runs. A language file that does not
# exist warns once at every start, then the program runs in English; without the help files Help
# says so; a second start ends after its message and the first runs on with the same main window.
# Without a usable OmbrixLib.dll (its hook refused, or none at all) one message says that hot-keys
# are not available; the main window still switches on messages and the tray menu opens.
# shellcheck source=tests/e2e/lib.sh
source "$(dirname "$0")/lib.sh"

# The probe starts the program itself, so that it sees the splash from its first moment.
probe flash @OmbrixForm:Ombrix 2500 10000 start "$(winpath "$OMBRIX_EXE")" ||
  fail "the splash did not show and close by itself"
main=$(probe main-window 10000) || fail "no hidden main window after the splash"
probe list | grep "$(grep -o ' pid=[0-9]* ' <<<"$main")" | grep -v OmbrixMainWND | grep visible=1 &&
  fail "another window of Ombrix is on screen after the splash"
probe reg Settings FirstUse 0 10000 || fail "FirstUse is not \"0\" after the first start"
choose_from_menu "Help..."
probe wait shown 20000 "Ombrix Help" || fail "the English guide did not open"
probe kill hh.exe Ombrix.exe

# A second start shows the boxes given ("TITLE|TEXT", each closed with OK) and ends; the first runs on.
second_start() {
  start_ombrix
  local second=$! box
  for box in "$@"; do
    probe msgbox "${box%%|*}" "${box#*|}" 20000 || fail "the second start did not show: $box"
  done
  wait_exit "$second" 15 || fail "the second instance did not end"
  kill -0 "$ombrix" 2>/dev/null || fail "the first instance ended"
}

probe reg-set Settings Language=italiano.lng
ombrix_ready
choose_from_menu "Guida..."
probe wait shown 20000 "Guida di Ombrix" || fail "the Italian guide did not open"
second_start "Attenzione!|L'applicazione è già in esecuzione"
probe kill hh.exe Ombrix.exe

warning='Attention!|The current language file is not compatible with this version of Ombrix.\nYou may have some problems or errors!'
probe reg-set Settings Language=missing.lng
copy_program "$PWD/bare-program" OmbrixLib.dll
OMBRIX_EXE=$PWD/bare-program/Ombrix.exe
start_ombrix
ombrix=$!
probe msgbox "${warning%%|*}" "${warning#*|}" 20000 || fail "no warning about the language file"
probe hold gone 2000 "Attention!" || fail "a second box followed the warning"
before=$(probe main-window 10000) || fail "no main window after the warning"
choose_from_menu "Help..."
probe msgbox "Attention!" "The help file $(winpath "$PWD/bare-program")\\OmbrixEng.chm is missing. Installing Ombrix again brings it back." 10000 ||
  fail "a missing help file gave no message"
probe hold gone 1000 "Ombrix Help" || fail "a help window opened without the file"
second_start "$warning" "Attention!|The application is already running"
probe processes 1 5000 || fail "not exactly one Ombrix after the second start"
after=$(probe main-window 5000) || fail "the first instance lost its main window"
[[ ${before%% pid=*} == "${after%% pid=*}" ]] || fail "the main window changed: $before / $after"
probe kill Ombrix.exe
clear_settings

# Starts the copy of Ombrix in folder $1 and expects the message about hot-keys, once.
start_without_hooks() {
  OMBRIX_EXE=$1/Ombrix.exe
  start_ombrix
  ombrix=$!
  probe msgbox "Attention!" "Hot-keys are not available: OmbrixLib.dll is missing or could not be loaded." \
    20000 || fail "no message about the hook library in $1"
  probe hold gone 2000 "Attention!" || fail "a second box followed in $1"
  probe main-window 5000 || fail "no main window after the message in $1"
}
testwin normal Alpha
probe wait shown 15000 Alpha || fail "the test window did not open"
copy_program "$PWD/hooks_refused"
cp "${REFUSING_HOOKLIB:?path of refusing_hooklib.dll}" "$PWD/hooks_refused/OmbrixLib.dll"
start_without_hooks "$PWD/hooks_refused"
crash_ombrix
copy_program "$PWD/no_hook_library"
start_without_hooks "$PWD/no_hook_library"
# The hot-key messages of desktops 2 and 1, as the hook library would send them.
probe post OmbrixMainWND 1027 50 -- wait hidden 5000 Alpha || fail "the main window did not switch to desktop 2"
probe post OmbrixMainWND 1027 49 -- wait shown 5000 Alpha || fail "the main window did not switch back to desktop 1"
tray 517
probe wait shown 3000 @#32768 || fail "the tray menu did not open"
probe keys esc -- wait gone 3000 @#32768 || fail "the tray menu did not close on Esc"
probe send OmbrixMainWND 0 || fail "the main window does not answer"
kill -0 "$ombrix" 2>/dev/null || fail "Ombrix ended"
echo "PASS"
