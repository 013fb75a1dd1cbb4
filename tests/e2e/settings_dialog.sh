#!/usr/bin/env bash
# The program settings dialog on its real controls: an unquoted autostart entry counts and is
# written back quoted; check boxes, tabs (mouse and Ctrl+Tab), combo boxes, Enter and Esc; the
# hot-keys follow at once; the program password guards OK; a language file or theme folder that
# vanished while the dialog is open and a settings key that cannot be written are told; a new
# language shows in the menus and the dialog at once; the translation tool is started, or said
# to be missing; an autostart entry that cannot be removed is told. The icon theme at start lacks
# 5.ico: Go To shows its icons for every desktop but 5, which keeps its built-in icon.
# shellcheck source=tests/e2e/lib.sh
source "$(dirname "$0")/lib.sh"

# A copy of the program in a folder with a blank in its name, with two themes and a third
# language. Every icon of "partial" is the red badge of "colours"; the built-in 5 is blue.
program="$PWD/settings program"
copy_program "$program" OmbrixLib.dll english.lng italiano.lng
cp "$program/italiano.lng" "$program/extra.lng"
mkdir -p "$program/themes/partial" "$program/themes/vanishing"
for n in 1 2 3 4 6 7 8 9; do cp "$built/themes/colours/1.ico" "$program/themes/partial/$n.ico"; done
cp "$built/themes/colours/1.ico" "$program/themes/vanishing/"
OMBRIX_EXE=$program/Ombrix.exe
exe=$(winpath "$OMBRIX_EXE")
run='Software\Microsoft\Windows\CurrentVersion\Run'
# No log-on entry naming this copy of the program is left for later Wine sessions.
test_cleanup() { probe reg-lock "$run" off || true; "$WINE" reg delete "HKCU\\$run" /v Ombrix /f >/dev/null 2>&1 || true; }
probe reg-lock "$run" off -- reg-set "$run" "Ombrix=$exe" || fail "could not write an unquoted entry"
probe reg-set Settings FirstUse=0 Theme=partial
testwin normal Alpha
probe wait shown 10000 Alpha || fail "the test window did not open"
ombrix_ready

choose_from_menu "Go To..."
goto=$(probe menu 5000 | tr -d '\r') || fail "no Go To menu"
probe keys esc esc
colour() { grep -E "^item text [a-z]+ [^ ]+ Desktop $1( \(|$)" <<<"$goto" | cut -d' ' -f4; }
for n in 1 2 3 4 5 6 7 8 9; do
  IFS=, read -r r g b <<<"$(colour "$n")"
  if ((n == 5)); then
    ((b > 120 && b > r + 60)) || fail "desktop 5 does not show its built-in icon (colour $r,$g,$b)"
  else
    ((r > 120 && r > b + 60)) || fail "desktop $n does not show the theme's icon (colour $r,$g,$b)"
  fi
done

dialog="Ombrix Settings"
open_from_menu "Settings..." "Program Settings..." "$dialog"
shows "$dialog" '"Autostart with Windows" shown enabled checked' || fail "an unquoted entry does not count as autostart"
probe keys esc -- wait gone 3000 "$dialog" || fail "Esc did not close the dialog"
[[ $(probe reg "$run" Ombrix | tr -d '\r') == "\"$exe\"" ]] ||
  fail "the entry was not written back quoted: $(probe reg "$run" Ombrix)"

open_from_menu "Settings..." "Program Settings..." "$dialog"
probe keys ctrl+tab
shows "$dialog" 'tab=1/3' || fail "Ctrl+Tab did not choose the Hot-Keys tab"
shows "$dialog" '"ALT+Numbers" shown' || fail "the Hot-Keys page is not shown"
probe click "$dialog" "ALT+Numbers" -- tab "$dialog" 2 || fail "could not click the Password tab"
shows "$dialog" '"Old Password" shown disabled' || fail "the old password is asked without a password"
probe type "$dialog" s3cret 2 -- keys enter -- wait gone 3000 "$dialog" || fail "Enter did not confirm the dialog"
probe reg Settings AltNumbers 1 3000 || fail "ALT+Numbers was not saved"
is_verifier "$(probe reg Settings GlobalPass | tr -d '\r')" || fail "the program password is not stored as a verifier"
# Win+2 or Alt+2, then Win+1 or Alt+1: whether desktop 2 is reached.
switches() {
  probe keys "$1+2" -- wait hidden 5000 Alpha || return 1
  probe keys "$1+1" -- wait shown 5000 Alpha || fail "$1+1 did not come back"
}
switches alt || fail "Alt+2 does not switch after the dialog turned it on"

# Cancel changes nothing; Ok with WIN+Numbers cleared (and the old password typed) stops Win+2.
open_from_menu "Settings..." "Program Settings..." "$dialog"
probe tab "$dialog" 1 -- click "$dialog" "WIN+Numbers" -- click "$dialog" Cancel -- wait gone 3000 "$dialog" ||
  fail "Cancel did not close the dialog"
switches win || fail "Win+2 stopped switching after Cancel"
open_from_menu "Settings..." "Program Settings..." "$dialog"
probe tab "$dialog" 1 -- click "$dialog" "WIN+Numbers" -- tab "$dialog" 2 -- type "$dialog" s3cret 1 -- keys enter
keep="Do you want to remove the password?"  # the new password is left empty
probe msgbox "Attention!" "$keep" 5000 no || fail "no question about the empty new password"
probe wait gone 3000 "$dialog" || fail "Ok did not close the dialog"
probe reg Settings WinNumbers 0 3000 || fail "WIN+Numbers was not saved off"
probe keys win+2 -- hold shown 1500 Alpha || fail "Win+2 still switches after WIN+Numbers was cleared"
switches alt || fail "Alt+2 no longer switches"

open_from_menu "Settings..." "Program Settings..." "$dialog"
probe combo "$dialog" 1 extra.lng || fail "extra.lng is not listed"
probe combo "$dialog" 2 vanishing || fail "the theme vanishing is not listed"
probe click "$dialog" Ok -- msgbox "Attention!" "The old password is not correct: nothing was changed." 5000 ||
  fail "OK without the old password was not refused"
probe tab "$dialog" 2 -- type "$dialog" s3cret 1
rm "$program/extra.lng"
probe click "$dialog" Ok -- msgbox "Attention!" "The language file extra.lng is no longer beside Ombrix. Choose another language." 5000 ||
  fail "a vanished language file was not told"
shows "$dialog" 'tab=2/3' || fail "the page of the language list is shown"
probe tab "$dialog" 0 -- combo "$dialog" 1 italiano.lng || fail "italiano.lng is not listed"
rm -r "$program/themes/vanishing"
probe click "$dialog" Ok -- msgbox "Attention!" "The theme vanishing is no longer in the themes folder. Choose another theme." 5000 ||
  fail "a vanished theme was not told"
probe reg-lock Settings on -- click "$dialog" Ok -- msgbox "Attention!" "$keep" 5000 no || fail "no question about the empty new password"
probe msgbox "Attention!" "Ombrix could not save the settings in the registry, so nothing was changed." 5000 ||
  fail "a settings key that cannot be written was not told"
probe reg-lock Settings off
probe reg Settings Language italiano.lng 300 && fail "the language was saved all the same"
probe keys enter -- msgbox "Attention!" "$keep" 5000 no || fail "no question about the empty new password"
probe wait gone 3000 "$dialog" || fail "the dialog did not close"
probe reg Settings Language italiano.lng 3000 || fail "the language was not saved"

# Italian at once: the menus and the dialog.
italian="Impostazioni di Ombrix"
open_from_menu "Impostazioni..." "Impostazioni del programma..." "$italian"
shows "$italian" '"Avvia con Windows" shown' || fail "the dialog is not in Italian"
probe click "$italian" "..." -- msgbox "Attenzione!" "Lo strumento di traduzione $(winpath "$program")\\Glossator.exe non è installato accanto a Ombrix." 5000 ||
  fail "a missing translation tool was not told"
cp "$TESTWIN_EXE" "$program/Glossator.exe"
probe click "$italian" "..." -- wait shown 10000 "Translating $(winpath "$program")\\english.lng" ||
  fail "the translation tool did not open the English file"
probe kill Glossator.exe

probe click "$italian" "Avvia con Windows" -- tab "$italian" 2 -- type "$italian" s3cret 1
probe reg-lock "$run" on -- click "$italian" Ok -- msgbox "Attenzione!" "Vuoi rimuovere la password?" 5000 no || fail "no question in Italian"
probe msgbox "Attenzione!" "Ombrix non è riuscito a togliere la sua voce da HKEY_CURRENT_USER\\$run, quindi partirà ancora con Windows." 5000 ||
  fail "an autostart entry that cannot be removed was not told"
probe reg-lock "$run" off
echo "PASS"
