#!/usr/bin/env bash
# The user's own wallpaper, with a style Ombrix has no code for (22), is left exactly as it was
# while no desktop has an image of its own. Once one has, the user's wallpaper comes back as it
# was, by its own path, on a desktop without one and at the end; a wallpaper the user sets
# through the system meanwhile becomes theirs, and the desktop gets its image back. Killed on
# that desktop and started again, Ombrix still puts the user's wallpaper back at the end.
# shellcheck source=tests/e2e/lib.sh
source "$(dirname "$0")/lib.sh"

images=$PWD/wallpapers
rm -rf "$images" && mkdir -p "$images"
for colour in blue red green; do convert -size 16x16 "xc:$colour" "BMP3:$images/$colour.bmp"; done
blue=$(winpath "$images/blue.bmp") green=$(winpath "$images/green.bmp")
store=$(probe known-folder-local | tr -d '\r')'\Ombrix'
# Desktop 2's image, kept in the store as the desktop dialog keeps it.
red="$store\\2\\red.bmp"
store_dir=$("$WINE" winepath -u "$store" | tr -d '\r')
mkdir -p "$store_dir/2" && cp "$images/red.bmp" "$store_dir/2/red.bmp"

desktop='Control Panel\Desktop'
# The three values the system's wallpaper is made of, one a line ("missing" for a missing one).
values() {
  local name
  for name in Wallpaper WallpaperStyle TileWallpaper; do
    { probe reg-value "$desktop" "$name" || true; } | tr -d '\r'
  done
}
# The user sets a wallpaper through the system, with the span style.
user_sets() {
  probe reg-put "$desktop" WallpaperStyle 22 >/dev/null || fail "could not set the wallpaper's style"
  probe wallpaper-set "$1" || fail "could not set the wallpaper as the user"
}
go() { probe request 1064 "$1" 0 1 >/dev/null || fail "Ombrix did not go to desktop $1"; }
user_sets "$blue"
probe reg-put "$desktop" TileWallpaper 0 >/dev/null
before=$(values)

# No desktop has an image: switches, a setting change and exit leave all three as they were.
ombrix_ready
go 2
user_sets "$blue"
go 1
probe request 1067 0 0 1 >/dev/null || fail "the exit request was refused"
wait_exit "$ombrix" 15 || fail "Ombrix did not end"
[[ $(values) == "$before" ]] || fail "without a desktop image the wallpaper changed: $(values)"

probe reg-set Settings "Wallpaper2=$red" WallpaperType2=2 >/dev/null || fail "could not store desktop 2's wallpaper"
ombrix_ready
go 2
probe wallpaper-is "$red" 5000 || fail "desktop 2 does not show its own wallpaper"
go 3
[[ $(values) == "$before" ]] || fail "desktop 3 does not show the user's own wallpaper as it was: $(values)"
go 2
user_sets "$green"
probe wallpaper-is "$red" 3000 || fail "desktop 2 did not get its own wallpaper back"
after=$(printf '%s\n' "$green" 22 0)

probe kill Ombrix.exe >/dev/null
ombrix_ready
go 2
probe send-endsession 15000 || fail "the session end was refused or not answered"
wait_exit "$ombrix" 15 || fail "Ombrix did not end with the session"
[[ $(values) == "$after" ]] || fail "after a crash and a restart the user's wallpaper is not back: $(values)"
echo "PASS"
