#!/usr/bin/env bash
# What a start shows. The first start: the splash, which closes itself some 3.5 s later, a hidden
# main window, FirstUse recorded, and Help opens the English guide. In Italian: Help opens the
# Italian guide and a second start says in Italian that Ombrix runs. Without a usable OmbrixLib.dll
# (its hook refused, or none at all) one message says that hot-keys are not available; the main
# window still switches on messages and the tray menu opens. A language file that does not exist
# warns once at every start, before that message, then the program runs in English; without the
# help files Help says so; a second start ends after its message and the first runs on with the
# same main window.
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
clear_settings

warning='Attention!|The current language file is not compatible with this version of Ombrix.\nYou may have some problems or errors!'
# Starts the copy of Ombrix in folder $1 and expects the boxes given, then the message about
# hot-keys, and no other box; $main is its main window.
start_without_hooks() {
  OMBRIX_EXE=$1/Ombrix.exe
  start_ombrix
  ombrix=$!
  local box
  for box in "${@:2}" "Attention!|Hot-keys are not available: OmbrixLib.dll is missing or could not be loaded."; do
    probe msgbox "${box%%|*}" "${box#*|}" 20000 || fail "no box in $1: $box"
  done
  probe hold gone 2000 "Attention!" || fail "a further box followed in $1"
  main=$(probe main-window 5000) || fail "no main window after the messages in $1"
}
testwin normal Alpha
probe wait shown 15000 Alpha || fail "the test window did not open"
copy_program "$PWD/hooks_refused"
cp "${REFUSING_HOOKLIB:?path of refusing_hooklib.dll}" "$PWD/hooks_refused/OmbrixLib.dll"
start_without_hooks "$PWD/hooks_refused"
crash_ombrix
# A copy without the hook library, the help files and the language file the setting names.
probe reg-set Settings Language=missing.lng
copy_program "$PWD/no_hook_library"
start_without_hooks "$PWD/no_hook_library" "$warning"
choose_from_menu "Help..."
probe msgbox "Attention!" "The help file $(winpath "$PWD/no_hook_library")\\OmbrixEng.chm is missing. Installing Ombrix again brings it back." 10000 ||
  fail "a missing help file gave no message"
probe hold gone 1000 "Ombrix Help" || fail "a help window opened without the file"
second_start "$warning" "Attention!|The application is already running"
probe processes 1 5000 || fail "not exactly one Ombrix after the second start"
after=$(probe main-window 5000) || fail "the first instance lost its main window"
[[ ${main%% pid=*} == "${after%% pid=*}" ]] || fail "the main window changed: $main / $after"
# The hot-key messages of desktops 2 and 1, as the hook library would send them.
probe post OmbrixMainWND 1027 50 -- wait hidden 5000 Alpha || fail "the main window did not switch to desktop 2"
probe post OmbrixMainWND 1027 49 -- wait shown 5000 Alpha || fail "the main window did not switch back to desktop 1"
tray 517
probe wait shown 3000 @#32768 || fail "the tray menu did not open"
probe keys esc -- wait gone 3000 @#32768 || fail "the tray menu did not close on Esc"
probe send OmbrixMainWND 0 || fail "the main window does not answer"
kill -0 "$ombrix" 2>/dev/null || fail "Ombrix ended"
echo "PASS"
