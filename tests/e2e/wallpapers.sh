#!/usr/bin/env bash
# Each desktop shows its own wallpaper, and the one the system had at start comes back on desktops
# without one. A wallpaper the user sets through the system while a desktop shows its own image
# becomes the start-up one, and the desktop's own image comes back. A close request from outside
# the program (not its own Exit) is refused. Ending the session (log-off or shut-down) ends the
# program without asking, shows the windows of every desktop, removes the crash-recovery file and
# puts the start-up wallpaper back.
# shellcheck source=tests/e2e/lib.sh
source "$(dirname "$0")/lib.sh"

images=$PWD/wallpapers
rm -rf "$images" && mkdir -p "$images"
for colour in blue red green; do convert -size 16x16 "xc:$colour" "BMP3:$images/$colour.bmp"; done
blue=$(winpath "$images/blue.bmp") red=$(winpath "$images/red.bmp") green=$(winpath "$images/green.bmp")
start_up="$(win_folder LOCALAPPDATA)\\Ombrix\\0"
is_wallpaper=(reg 'Control Panel\Desktop' Wallpaper)

probe wallpaper-set "$blue" || fail "could not set the start-up wallpaper"
probe reg-set Settings "Wallpaper2=$red" WallpaperType2=2 || fail "could not store desktop 2's wallpaper"
testwin normal Alpha
testwin normal Beta
probe wait shown 10000 Alpha Beta || fail "the test windows did not open"
ombrix_ready
probe post OmbrixMainWND 16 -- hold hidden 1500 OmbrixMainWND || fail "the main window closed on WM_CLOSE"
probe send OmbrixMainWND 0 || fail "the main window does not answer after WM_CLOSE"
probe activate Beta || fail "could not activate Beta"
sleep 0.5
probe keys shift+win+3 -- wait hidden 5000 Beta || fail "Shift+Win+3 did not move Beta"

probe keys win+2 -- "${is_wallpaper[@]}" "$red" 5000 || fail "desktop 2 does not show its own wallpaper"
probe wait hidden 5000 Alpha || fail "Win+2 did not hide Alpha"
[[ -e $restore ]] || fail "no Ombrix.restore while windows are hidden"
probe keys win+3 -- "${is_wallpaper[@]}" "$start_up\\blue.bmp" 5000 || fail "desktop 3 does not show the start-up wallpaper"
probe keys win+2 -- "${is_wallpaper[@]}" "$red" 5000 || fail "desktop 2 does not show its own wallpaper again"
probe wallpaper-set "$green" || fail "could not set a wallpaper as the user"
probe "${is_wallpaper[@]}" "$red" 5000 || fail "desktop 2 did not get its own wallpaper back"
probe keys win+1 -- "${is_wallpaper[@]}" "$start_up\\green.bmp" 5000 || fail "the user's new wallpaper is not the start-up one"
probe keys win+2 -- "${is_wallpaper[@]}" "$red" 5000 || fail "desktop 2 lost its wallpaper"

# The session-end pair of messages, as Windows sends them at log-off (ENDSESSION_LOGOFF); the
# window may be gone before it answers the second.
probe send OmbrixMainWND 0x11 0 0x80000000 1 || fail "the session end was refused or not answered"
probe send OmbrixMainWND 0x16 1 0x80000000 || true
probe wait gone 15000 OmbrixMainWND || fail "the main window stayed after the session ended"
probe processes 0 15000 || fail "Ombrix is still running after the session ended"
wait_exit "$ombrix" 5 || fail "the Ombrix process did not end"
probe wait shown 3000 Alpha Beta || fail "the session end left windows hidden"
[[ ! -e $restore ]] || fail "Ombrix.restore is left after the session ended"
probe "${is_wallpaper[@]}" "$start_up\\green.bmp" 5000 || fail "the start-up wallpaper is not back after the end"
echo "PASS"
