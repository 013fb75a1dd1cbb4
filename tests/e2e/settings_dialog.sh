#!/usr/bin/env bash
# The program settings dialog on its real controls: an unquoted autostart entry counts and is
# written back quoted; check boxes, tabs (mouse and Ctrl+Tab), combo boxes, Enter and Esc; the
# hot-keys follow at once; the program password guards OK; a language file or theme folder that
# vanished while the dialog is open and a settings key that cannot be written are told; a new
# language shows in the menus and the dialog at once; the translation tool is started, or said
# to be missing; an autostart entry that cannot be removed is told.
# shellcheck source=tests/e2e/lib.sh
source "$(dirname "$0")/lib.sh"

# A copy of the program in a folder with a blank in its name, with a theme and a third language.
program="$PWD/settings program"
rm -rf "$program" && mkdir -p "$program/themes/partial"
built=$(dirname "$OMBRIX_EXE")
cp "$OMBRIX_EXE" "$built/OmbrixLib.dll" "$built/english.lng" "$built/italiano.lng" "$program/"
cp "$program/italiano.lng" "$program/extra.lng"
cp "$built/themes/colours/1.ico" "$program/themes/partial/"
OMBRIX_EXE=$program/Ombrix.exe
exe=$(winpath "$OMBRIX_EXE")
run='Software\Microsoft\Windows\CurrentVersion\Run'
settings='Software\Ombrix\Settings'
probe reg-unlock "$run" >/dev/null
probe reg-put "$run" Ombrix "$exe" >/dev/null || fail "could not write an unquoted entry"
probe reg-set Settings FirstUse=0 >/dev/null
testwin normal Alpha
probe wait shown 10000 Alpha >/dev/null || fail "the test window did not open"
ombrix_ready

dialog="Ombrix Settings"
shows() { probe controls "$1" | tr -d '\r' | grep -qF -- "$2"; }

open_from_menu "Settings..." "Program Settings..." "$dialog"
probe checked "$dialog" "Autostart with Windows" on || fail "an unquoted entry does not count as autostart"
probe keys esc
probe wait gone 3000 "$dialog" >/dev/null || fail "Esc did not close the dialog"
[[ $(probe reg-value "$run" Ombrix | tr -d '\r') == "\"$exe\"" ]] ||
  fail "the entry was not written back quoted: $(probe reg-value "$run" Ombrix)"

open_from_menu "Settings..." "Program Settings..." "$dialog"
probe keys ctrl+tab
shows "$dialog" 'tab=1/3' || fail "Ctrl+Tab did not choose the Hot-Keys tab"
shows "$dialog" '"ALT+Numbers" shown' || fail "the Hot-Keys page is not shown"
probe click "$dialog" "ALT+Numbers" >/dev/null
probe tab "$dialog" 2 >/dev/null || fail "could not click the Password tab"
shows "$dialog" '"Old Password" shown disabled' || fail "the old password is asked without a password"
probe type "$dialog" s3cret 2 >/dev/null
probe keys enter
probe wait gone 3000 "$dialog" >/dev/null || fail "Enter did not confirm the dialog"
probe reg-wait Settings AltNumbers 1 3000 >/dev/null || fail "ALT+Numbers was not saved"
[[ $(probe reg-value "$settings" GlobalPass | tr -d '\r') =~ ^pbkdf2-sha256\$1\$200000\$[0-9a-f]{32}\$[0-9a-f]{64}$ ]] ||
  fail "the program password is not stored as a verifier"
probe keys alt+2
probe wait hidden 5000 Alpha >/dev/null || fail "Alt+2 does not switch after the dialog turned it on"
probe keys alt+1
probe wait shown 5000 Alpha >/dev/null || fail "Alt+1 did not come back"

# Cancel changes nothing; Ok with WIN+Numbers cleared (and the old password typed) stops Win+2.
open_from_menu "Settings..." "Program Settings..." "$dialog"
probe tab "$dialog" 1 >/dev/null
probe click "$dialog" "WIN+Numbers" >/dev/null
probe click "$dialog" Cancel >/dev/null
probe wait gone 3000 "$dialog" >/dev/null || fail "Cancel did not close the dialog"
probe keys win+2
probe wait hidden 5000 Alpha >/dev/null || fail "Win+2 stopped switching after Cancel"
probe keys win+1
probe wait shown 5000 Alpha >/dev/null || fail "Win+1 did not come back"
open_from_menu "Settings..." "Program Settings..." "$dialog"
probe tab "$dialog" 1 >/dev/null
probe click "$dialog" "WIN+Numbers" >/dev/null
probe tab "$dialog" 2 >/dev/null
probe type "$dialog" s3cret 1 >/dev/null
probe keys enter
probe msgbox "Attention!" "Do you want to remove the password?" 5000 no || fail "no question about the empty new password"
probe wait gone 3000 "$dialog" >/dev/null || fail "Ok did not close the dialog"
probe reg-wait Settings WinNumbers 0 3000 >/dev/null || fail "WIN+Numbers was not saved off"
probe keys win+2
probe hold shown 1500 Alpha >/dev/null || fail "Win+2 still switches after WIN+Numbers was cleared"
probe keys alt+2
probe wait hidden 5000 Alpha >/dev/null || fail "Alt+2 no longer switches"
probe keys alt+1
probe wait shown 5000 Alpha >/dev/null || fail "Alt+1 did not come back"

open_from_menu "Settings..." "Program Settings..." "$dialog"
probe combo "$dialog" 1 extra.lng >/dev/null || fail "extra.lng is not listed"
probe combo "$dialog" 2 partial >/dev/null || fail "the theme partial is not listed"
probe click "$dialog" Ok >/dev/null
probe msgbox "Attention!" "The old password is not correct: nothing was changed." 5000 ||
  fail "OK without the old password was not refused"
probe tab "$dialog" 2 >/dev/null
probe type "$dialog" s3cret 1 >/dev/null
rm "$program/extra.lng"
probe click "$dialog" Ok >/dev/null
probe msgbox "Attention!" "The language file extra.lng is no longer beside Ombrix. Choose another language." 5000 ||
  fail "a vanished language file was not told"
[[ $(probe combo "$dialog" 1 italiano.lng | tr -d '\r') == "no such combo box" ]] ||
  fail "the page of the language list is shown"
probe tab "$dialog" 0 >/dev/null
probe combo "$dialog" 1 italiano.lng >/dev/null || fail "italiano.lng is not listed"
rm -r "$program/themes/partial"
probe click "$dialog" Ok >/dev/null
probe msgbox "Attention!" "The theme partial is no longer in the themes folder. Choose another theme." 5000 ||
  fail "a vanished theme was not told"
keep="Do you want to remove the password?"  # the new password is left empty
probe reg-lock "$settings" >/dev/null
probe click "$dialog" Ok >/dev/null
probe msgbox "Attention!" "$keep" 5000 no || fail "no question about the empty new password"
probe msgbox "Attention!" "Ombrix could not save the settings in the registry, so nothing was changed." 5000 ||
  fail "a settings key that cannot be written was not told"
probe reg-unlock "$settings" >/dev/null
probe reg-wait Settings Language italiano.lng 300 >/dev/null && fail "the language was saved all the same"
probe keys enter
probe msgbox "Attention!" "$keep" 5000 no || fail "no question about the empty new password"
probe wait gone 3000 "$dialog" >/dev/null || fail "the dialog did not close"
probe reg-wait Settings Language italiano.lng 3000 >/dev/null || fail "the language was not saved"

# Italian at once: the menus and the dialog.
italian="Impostazioni di Ombrix"
open_from_menu "Impostazioni..." "Impostazioni del programma..." "$italian"
shows "$italian" '"Avvia con Windows" shown' || fail "the dialog is not in Italian"
tool=$(winpath "$program")'\Glossator.exe'
LC_ALL=C.UTF-8 probe click "$italian" "..." >/dev/null
LC_ALL=C.UTF-8 probe msgbox "Attenzione!" "Lo strumento di traduzione $tool non è installato accanto a Ombrix." 5000 ||
  fail "a missing translation tool was not told"
cp "$TESTWIN_EXE" "$program/Glossator.exe"
probe click "$italian" "..." >/dev/null
probe wait shown 10000 "Translating $(winpath "$program")\\english.lng" >/dev/null ||
  fail "the translation tool did not open the English file"
probe kill Glossator.exe >/dev/null

probe click "$italian" "Avvia con Windows" >/dev/null
probe tab "$italian" 2 >/dev/null
probe type "$italian" s3cret 1 >/dev/null
probe reg-lock "$run" >/dev/null
probe click "$italian" Ok >/dev/null
probe msgbox "Attenzione!" "Vuoi rimuovere la password?" 5000 no || fail "no question in Italian"
LC_ALL=C.UTF-8 probe msgbox "Attenzione!" "Ombrix non è riuscito a togliere la sua voce da HKEY_CURRENT_USER\\$run, quindi partirà ancora con Windows." 5000 ||
  fail "an autostart entry that cannot be removed was not told"
probe reg-unlock "$run" >/dev/null
echo "PASS"
