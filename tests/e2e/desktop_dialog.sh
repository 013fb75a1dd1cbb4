#!/usr/bin/env bash
# The desktop settings dialog on its real controls, on desktop 2: a name in several scripts,
# pasted too long, is kept to its first 20 characters and shown in the menu; hiding, a new
# password (stored as a verifier), and a wallpaper chosen in the system's file dialog, tiled, are
# saved and applied.
# The password then guards the desktop: it is asked on entering, a hot-key only brings the prompt
# forward, a wrong one is told and leaves the user where they were, the right one confirmed with
# Enter goes there and the indicator shows the name. It guards the dialog too; removing the
# wallpaper brings the user's own back.
# shellcheck source=tests/e2e/lib.sh
source "$(dirname "$0")/lib.sh"

images=$PWD/desktop-images
rm -rf "$images" && mkdir -p "$images"
for colour in blue red; do convert -size 16x16 "xc:$colour" "BMP3:$images/$colour.bmp"; done
store="$(win_folder LOCALAPPDATA)\\Ombrix"
is_wallpaper=(reg 'Control Panel\Desktop' Wallpaper)
blue=$(winpath "$images/blue.bmp")
probe wallpaper-set "$blue" || fail "could not set the user's wallpaper"
probe reg-set Settings FirstUse=0
testwin normal Alpha
probe wait shown 10000 Alpha || fail "the test window did not open"
ombrix_ready

dialog="Desktop Settings"
prompt="Password Request"
name="Рабочий стол 2 — 作業"
open() { open_from_menu "Settings..." "Desktop Settings..." "$dialog"; }
probe keys win+2 -- wait hidden 5000 Alpha || fail "Win+2 did not switch"
open
shows "$dialog" '"Old Password" shown disabled' || fail "the old password is asked on a desktop without one"
probe type "$dialog" "$name and more" 1
probe click "$dialog" ""  # the check box whose label stands beside it
probe type "$dialog" pw2 3
probe tab "$dialog" 1 || fail "could not click the Wallpaper tab"
shows "$dialog" '"Tiled" shown disabled' || fail "the styles are offered without a wallpaper"
probe click "$dialog" "Set Wallpaper" -- wait shown 10000 "Set Wallpaper..." || fail "no file dialog"
xdotool type --delay 30 "$(winpath "$images/red.bmp")"  # into its file name box, which has the focus
probe keys enter -- wait gone 5000 "Set Wallpaper..." || fail "the file dialog did not take the file"
shows "$dialog" '"Remove Wallpaper" shown enabled' || fail "the button does not offer to remove the wallpaper"
probe click "$dialog" Tiled -- keys enter -- wait gone 3000 "$dialog" || fail "Enter did not confirm the dialog"

probe reg Settings DeskName2 "$name" 3000 || fail "the name was not kept to its first 20 characters"
probe reg Settings DontShowApps2 1 1000 || fail "hiding was not saved"
kept=$(probe reg Settings DeskPass2 | tr -d '\r')
is_verifier "$kept" || fail "the new password is not stored as a verifier: $kept"
probe reg Settings WallpaperType2 1 1000 || fail "the style was not saved"
probe "${is_wallpaper[@]}" "$store\\2\\red.bmp" 5000 || fail "the wallpaper was not applied"
probe reg 'Control Panel\Desktop' TileWallpaper 1 0 || fail "not tiled"
choose_from_menu "Go To..."
probe menu 5000 | grep -qF "$name" || fail "the menu does not show the name"
probe keys esc esc

probe keys win+1 -- "${is_wallpaper[@]}" "$blue" 5000 || fail "desktop 1 does not show the user's own wallpaper"
probe keys win+2 -- wait shown 5000 "$prompt" || fail "Win+2 did not ask for desktop 2's password"
shows "$prompt" '"Input DESKTOP Password"' || fail "the prompt does not ask for the desktop's password"
probe keys win+3 -- hold shown 1000 Alpha "$prompt" || fail "a hot-key acted while the prompt was open"
probe type "$prompt" PW2 -- click "$prompt" OK -- msgbox "Attention!" "Wrong password!" 5000 || fail "a wrong password was not told"
probe wait gone 5000 "$prompt" || fail "the prompt stayed after a wrong password"
probe hold shown 1000 Alpha || fail "a wrong password let the switch go on"
# Win+2 through a probe that then waits for the indicator, while the password is typed.
indicator=$(mktemp)
probe flash "@OmbrixForm:Switch Desktop" 0 8000 keys win+2 >"$indicator" &
flash=$!
probe wait shown 5000 "$prompt" -- type "$prompt" pw2 -- keys enter || fail "the second Win+2 did not ask"
probe wait hidden 5000 Alpha || fail "the right password, confirmed with Enter, did not switch"
probe wait gone 3000 "$prompt" || fail "the prompt stayed after the switch"
wait "$flash" || true
grep -qF "$name" "$indicator" || fail "the indicator does not show the name: $(cat "$indicator")"
rm -f "$indicator"

open
probe tab "$dialog" 1 -- click "$dialog" "Remove Wallpaper" -- keys enter
probe msgbox "Attention!" "The old password is not correct: nothing was changed." 5000 ||
  fail "OK without the desktop's password was not refused"
probe tab "$dialog" 0 -- type "$dialog" pw2 2 -- keys enter
probe msgbox "Attention!" "Do you want to remove the password?" 5000 no || fail "no question before removing the password"
probe wait gone 3000 "$dialog" || fail "the dialog did not close"
probe "${is_wallpaper[@]}" "$blue" 5000 || fail "the user's own wallpaper did not come back"
probe reg Settings Wallpaper2 "" 1000 || fail "the wallpaper was not removed"
[[ $(probe reg Settings DeskPass2 | tr -d '\r') == "$kept" ]] || fail "the password kept was changed"
echo "PASS"
