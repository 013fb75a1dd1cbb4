#!/usr/bin/env bash
# The user's own wallpaper, with a style Ombrix has no code for (22), is left exactly as it was
# while no desktop has an image of its own. Once one has, each desktop shows its own image and the
# user's wallpaper comes back as it was, by its own path, on a desktop without one; a wallpaper the
# user sets through the system meanwhile becomes theirs, and the desktop gets its image back. A
# close request from outside (not Exit) is refused. Killed and started again, Ombrix ignores a
# WM_ENDSESSION that no query announced, and still ends with the session without asking: every
# desktop's windows come back, the recovery file goes and the user's wallpaper is back as they
# last set it.
# shellcheck source=tests/e2e/lib.sh
source "$(dirname "$0")/lib.sh"

images=$PWD/wallpapers
rm -rf "$images" && mkdir -p "$images"
for colour in blue red green; do convert -size 16x16 "xc:$colour" "BMP3:$images/$colour.bmp"; done
blue=$(winpath "$images/blue.bmp") green=$(winpath "$images/green.bmp")
# Desktop 2's image, kept in the store as the desktop dialog keeps it.
store="$(win_folder LOCALAPPDATA)\\Ombrix"
red="$store\\2\\red.bmp"
store_dir=$("$WINE" winepath -u "$store" | tr -d '\r')
mkdir -p "$store_dir/2" && cp "$images/red.bmp" "$store_dir/2/red.bmp"

desktop='Control Panel\Desktop'
# The three values the system's wallpaper is made of, one a line ("missing" for a missing one).
values() {
  local name
  for name in Wallpaper WallpaperStyle TileWallpaper; do
    { probe reg "$desktop" "$name" || true; } | tr -d '\r'
  done
}
# The user sets a wallpaper through the system, with the span style.
user_sets() {
  probe reg-set "$desktop" WallpaperStyle=22 -- wallpaper-set "$1" || fail "could not set $1 as the user"
}
go() { probe send OmbrixMainWND 1064 "$1" 0 1 >/dev/null || fail "Ombrix did not go to desktop $1"; }
shows() { probe reg "$desktop" Wallpaper "$1" 5000 >/dev/null; }

user_sets "$blue"
probe reg-set "$desktop" TileWallpaper=0 || fail "could not set the tiling"
before=$(values)
testwin normal Alpha
testwin normal Beta
probe wait shown 10000 Alpha Beta || fail "the test windows did not open"

# No desktop has an image: switches, a setting change and the exit leave all three as they were.
ombrix_ready
probe post OmbrixMainWND 16 -- hold hidden 1500 OmbrixMainWND || fail "the main window closed on WM_CLOSE"
probe send OmbrixMainWND 0 || fail "the main window does not answer after WM_CLOSE"
probe activate Beta || fail "could not activate Beta"
sleep 0.5
probe keys shift+win+3 -- wait hidden 5000 Beta || fail "Shift+Win+3 did not move Beta"
go 2
user_sets "$blue"
go 1
probe send OmbrixMainWND 1067 0 0 1 || fail "the exit request was refused"
wait_exit "$ombrix" 15 || fail "Ombrix did not end"
[[ $(values) == "$before" ]] || fail "without a desktop image the wallpaper changed: $(values)"

probe reg-set Settings "Wallpaper2=$red" WallpaperType2=2 || fail "could not store desktop 2's wallpaper"
ombrix_ready
probe keys win+2 -- wait hidden 5000 Alpha Beta || fail "Win+2 did not hide desktop 1's windows"
shows "$red" || fail "desktop 2 does not show its own wallpaper"
[[ -e $restore ]] || fail "no Ombrix.restore while windows are hidden"
probe keys win+3
shows "$blue" || fail "desktop 3 does not show the user's own wallpaper"
[[ $(values) == "$before" ]] || fail "desktop 3 does not show the user's wallpaper as it was: $(values)"
probe keys win+2
shows "$red" || fail "desktop 2 does not show its own wallpaper again"
user_sets "$green"
probe reg "$desktop" Wallpaper "$red" 3000 || fail "desktop 2 did not get its own wallpaper back"
after=$(printf '%s\n' "$green" 22 0)

crash_ombrix
ombrix_ready
# Any program can send WM_ENDSESSION; without the query of the same session end it changes nothing.
probe send OmbrixMainWND 0x16 1 0x80000000 -- hold hidden 1500 Alpha Beta -- main-window 1000 ||
  fail "a WM_ENDSESSION without its query ended Ombrix"
# The session-end pair of messages, as Windows sends them at log-off (ENDSESSION_LOGOFF); the
# window may be gone before it answers the second.
probe send OmbrixMainWND 0x11 0 0x80000000 1 || fail "the session end was refused or not answered"
probe send OmbrixMainWND 0x16 1 0x80000000 || true
probe wait gone 15000 OmbrixMainWND || fail "the main window stayed after the session ended"
probe processes 0 15000 || fail "Ombrix is still running after the session ended"
wait_exit "$ombrix" 5 || fail "the Ombrix process did not end"
probe wait shown 3000 Alpha Beta || fail "the session end left windows hidden"
[[ ! -e $restore ]] || fail "Ombrix.restore is left after the session ended"
[[ $(values) == "$after" ]] || fail "after a crash and a restart the user's wallpaper is not back: $(values)"
echo "PASS"
