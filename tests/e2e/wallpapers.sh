#!/usr/bin/env bash
# Each desktop shows its own wallpaper and the one the system had at start comes back on desktops
# without one and when the session ends. A wallpaper the user sets through the system while a
# desktop shows its own image becomes the start-up one, and the desktop's own image comes back.
# shellcheck source=tests/e2e/lib.sh
source "$(dirname "$0")/lib.sh"

images=$PWD/wallpapers
rm -rf "$images" && mkdir -p "$images"
for colour in blue red green; do convert -size 16x16 "xc:$colour" "BMP3:$images/$colour.bmp"; done
blue=$(winpath "$images/blue.bmp") red=$(winpath "$images/red.bmp") green=$(winpath "$images/green.bmp")
store=$(probe known-folder-local | tr -d '\r')'\Ombrix'

probe wallpaper-set "$blue" || fail "could not set the start-up wallpaper"
probe reg-set Settings "Wallpaper2=$red" WallpaperType2=2 || fail "could not store desktop 2's wallpaper"
testwin normal Alpha
probe wait shown 10000 Alpha || fail "the test window did not open"
ombrix_ready

probe keys win+2
probe wallpaper-is "$red" 5000 || fail "desktop 2 does not show its own wallpaper"
probe keys win+3
probe wallpaper-is "$store\\0\\blue.bmp" 5000 || fail "desktop 3 does not show the start-up wallpaper"
probe keys win+2
probe wallpaper-is "$red" 5000 || fail "desktop 2 does not show its own wallpaper again"

probe wallpaper-set "$green" || fail "could not set a wallpaper as the user"
probe wallpaper-is "$red" 3000 || fail "desktop 2 did not get its own wallpaper back"
probe keys win+1
probe wallpaper-is "$store\\0\\green.bmp" 5000 || fail "the user's new wallpaper is not the start-up one"
probe keys win+2
probe wallpaper-is "$red" 5000 || fail "desktop 2 lost its wallpaper"

probe send-endsession 15000 || fail "the session end was refused or not answered"
wait_exit "$ombrix" 15 || fail "the Ombrix process did not end"
probe wallpaper-is "$store\\0\\green.bmp" 3000 || fail "the start-up wallpaper is not back after the end"
echo "PASS"
