#!/usr/bin/env bash
# The desktop settings dialog on its real controls, on desktop 2: a name in several scripts,
# pasted too long, is kept to its first 20 characters and shown in the menu; hiding, a new
# password, and a wallpaper chosen in the system's file dialog, tiled, are saved and applied;
# the password then guards the desktop and the dialog; removing the wallpaper brings the
# user's own back.
# shellcheck source=tests/e2e/lib.sh
source "$(dirname "$0")/lib.sh"

images=$PWD/desktop-images
rm -rf "$images" && mkdir -p "$images"
for colour in blue red; do convert -size 16x16 "xc:$colour" "BMP3:$images/$colour.bmp"; done
store=$(probe known-folder-local | tr -d '\r')'\Ombrix'
blue=$(winpath "$images/blue.bmp")
probe wallpaper-set "$blue" || fail "could not set the user's wallpaper"
probe reg-set Settings FirstUse=0 >/dev/null
testwin normal Alpha
probe wait shown 10000 Alpha >/dev/null || fail "the test window did not open"
ombrix_ready

dialog="Desktop Settings"
open() { open_from_menu "Settings..." "Desktop Settings..." "$dialog"; }
shows() { probe controls "$dialog" | tr -d '\r' | grep -qF -- "$1"; }

probe keys win+2
probe wait hidden 5000 Alpha >/dev/null || fail "Win+2 did not switch"
open
shows '"Old Password" shown disabled' || fail "the old password is asked on a desktop without one"
LC_ALL=C.UTF-8 probe type "$dialog" "Рабочий стол 2 — 作業 and more" 1 >/dev/null
probe click "$dialog" "" >/dev/null  # the check box whose label stands beside it
probe type "$dialog" pw2 3 >/dev/null
probe tab "$dialog" 1 >/dev/null || fail "could not click the Wallpaper tab"
shows '"Tiled" shown disabled' || fail "the styles are offered without a wallpaper"
probe click "$dialog" "Set Wallpaper" >/dev/null
probe file-dialog "Set Wallpaper..." "$(winpath "$images/red.bmp")" 10000 || fail "no file dialog"
shows '"Remove Wallpaper" shown enabled' || fail "the button does not offer to remove the wallpaper"
probe click "$dialog" Tiled >/dev/null
probe keys enter
probe wait gone 3000 "$dialog" >/dev/null || fail "Enter did not confirm the dialog"

LC_ALL=C.UTF-8 probe reg-wait Settings DeskName2 "Рабочий стол 2 — 作業" 3000 ||
  fail "the name was not kept to its first 20 characters"
probe reg-wait Settings DontShowApps2 1 1000 >/dev/null || fail "hiding was not saved"
probe reg-wait Settings WallpaperType2 1 1000 >/dev/null || fail "the style was not saved"
probe wallpaper-is "$store\\2\\red.bmp" 3000 || fail "the wallpaper was not applied"
[[ $(probe reg-value 'Control Panel\Desktop' TileWallpaper | tr -d '\r') == 1 ]] || fail "not tiled"
choose_from_menu "Go To..."
probe menu 5000 | tr -d '\r' | grep -qF "Рабочий стол 2 — 作業" || fail "the menu does not show the name"
probe keys esc esc

probe keys win+1
probe wallpaper-is "$blue" 5000 || fail "desktop 1 does not show the user's own wallpaper"
# Win+2 through a probe that then waits for the indicator, while the password is typed; the
# indicator of the switch to desktop 1 goes first.
probe wait hidden 3000 "Switch Desktop" >/dev/null || fail "the indicator stayed up"
indicator=$(mktemp)
LC_ALL=C.UTF-8 probe flash win+2 OmbrixForm "Switch Desktop" 0 8000 >"$indicator" &
flash=$!
probe wait shown 5000 "Password Request" >/dev/null || fail "the new password is not asked"
probe type "Password Request" pw2 >/dev/null
probe keys enter
probe wait hidden 5000 Alpha >/dev/null || fail "the right password did not switch"
wait "$flash" || true
grep -qF "Рабочий стол 2 — 作業" "$indicator" || fail "the indicator does not show the name: $(cat "$indicator")"
rm -f "$indicator"

open
probe tab "$dialog" 1 >/dev/null
probe click "$dialog" "Remove Wallpaper" >/dev/null
probe keys enter
probe msgbox "Attention!" "The old password is not correct: nothing was changed." 5000 ||
  fail "OK without the desktop's password was not refused"
probe tab "$dialog" 0 >/dev/null
probe type "$dialog" pw2 2 >/dev/null
probe keys enter
probe msgbox "Attention!" "Do you want to remove the password?" 5000 no || fail "no question before removing the password"
probe wait gone 3000 "$dialog" >/dev/null || fail "the dialog did not close"
probe wallpaper-is "$blue" 3000 || fail "the user's own wallpaper did not come back"
probe reg-wait Settings Wallpaper2 "" 1000 >/dev/null || fail "the wallpaper was not removed"
probe reg-value 'Software\Ombrix\Settings' DeskPass2 >/dev/null || fail "the password kept was removed"
echo "PASS"
