#!/usr/bin/env bash
# The installer and the uninstaller, run silently as a deployment tool runs them. For the current
# user: the files, the Start-menu shortcut, the quoted log-on entry and the Add/Remove Programs
# entry; the installed Ombrix switches desktops; installing again while it runs ends it through
# its exit request (its hidden windows come back) and starts it again; the uninstaller ends it
# the same way and leaves nothing of Ombrix but the settings, and puts the user's own wallpaper
# back when the system's names an image of Ombrix's store. For every user: Program Files and
# the machine's keys, no log-on entry when declined, and the settings removed when asked, but
# not the store's image the wallpaper names when the user's own is gone. Over an
# older version in a folder named with spaces and letters outside ASCII. A running Ombrix
# guarded by a program password stops a silent installation. Then once through the pages, as a
# user clicks them.
# shellcheck source=tests/e2e/lib.sh
source "$(dirname "$0")/lib.sh"
: "${OMBRIX_INSTALLER:?path of the installer}" "${OMBRIX_VERSION:?four-part version}"
[[ -f $OMBRIX_INSTALLER ]] || fail "no installer at $OMBRIX_INSTALLER (bash scripts/package.sh)"
[[ $OMBRIX_INSTALLER -nt $OMBRIX_EXE ]] || fail "the installer is older than Ombrix.exe (bash scripts/package.sh)"

uninstall_key='Software\Microsoft\Windows\CurrentVersion\Uninstall\Ombrix'
run_key='Software\Microsoft\Windows\CurrentVersion\Run'
local_appdata=$(win_folder LOCALAPPDATA)
user_dir="$local_appdata\\Programs\\Ombrix"
odd_dir="$local_appdata\\Programs\\Ombrix è qui 作業"  # a folder for an older version
user_link="$(win_folder APPDATA)\\Microsoft\\Windows\\Start Menu\\Programs\\Ombrix.lnk"
machine_dir="$(win_folder ProgramFiles)\\Ombrix"
machine_link="$(win_folder ProgramData)\\Microsoft\\Windows\\Start Menu\\Programs\\Ombrix.lnk"
shared_dir='C:\OmbrixForAll'  # outside Program Files; /D= takes no quotes
unix() { "$WINE" winepath -u "$1" 2>/dev/null | tr -d '\r'; }
# The data of a registry value, nothing when it is missing.
reg_value() {
  "$WINE" reg query "$1" /v "$2" 2>/dev/null | tr -d '\r' | sed -nE 's/^ +[^ ]+ +REG_[A-Z_]+ +//p'
}
key_exists() { "$WINE" reg query "$1" >/dev/null 2>&1; }

# A log-on entry left behind would start Ombrix in every later Wine session of the tests.
test_cleanup() {
  probe kill "$(basename "$OMBRIX_INSTALLER")" Uninstall.exe Un.exe >/dev/null 2>&1 || true
  local root
  for root in HKCU HKLM; do
    "$WINE" reg delete "$root\\$run_key" /v Ombrix /f >/dev/null 2>&1 || true
    "$WINE" reg delete "$root\\$uninstall_key" /f >/dev/null 2>&1 || true
  done
  rm -rf "$(unix "$user_dir")" "$(unix "$machine_dir")" "$(unix "$shared_dir")" "$(unix "$user_link")" \
    "$(unix "$machine_link")" "$(unix "$odd_dir")"
}
test_cleanup

# The user's own wallpaper, with a style Ombrix has no code for.
desktop='HKCU\Control Panel\Desktop'
store="$local_appdata\\Ombrix"
convert -size 16x16 xc:blue "BMP3:$PWD/own.bmp" && convert -size 16x16 xc:red "BMP3:$PWD/red.bmp"
own=$(winpath "$PWD/own.bmp")
probe wallpaper-set "$own" || fail "could not set the user's wallpaper"
"$WINE" reg add "$desktop" /v WallpaperStyle /d 22 /f >/dev/null
# An image in the store's folder $1 left as the system's wallpaper, as an abnormal end leaves it.
leave_in_store() {
  mkdir -p "$(unix "$store")/$1" && cp "$PWD/red.bmp" "$(unix "$store")/$1/red.bmp"
  "$WINE" reg add "$desktop" /v Wallpaper /d "$store\\$1\\red.bmp" /f >/dev/null
  "$WINE" reg add "$desktop" /v WallpaperStyle /d 2 /f >/dev/null
}

# Runs the command line "$1" (a quoted program and switches) with more switches $2 and waits
# until the uninstaller it starts has finished: it copies itself elsewhere, and that copy removes
# the folder $3 and then the rest.
uninstall() {
  local program=${1#\"}
  local switches=${program#*\"}
  program=${program%%\"*}
  # shellcheck disable=SC2086 # the switches are words
  "$WINE" "$program" $switches $2 || fail "the uninstaller could not be started"
  local tenths=300
  while [[ -e $(unix "$3") ]] && ((tenths-- > 0)); do sleep 0.1; done
  probe processes 0 30000 Un.exe || fail "the uninstaller did not finish"
}

# Installed for the current user, with the defaults.
"$WINE" "$OMBRIX_INSTALLER" /S || fail "the silent installation failed: exit code $?"
for file in Ombrix.exe OmbrixLib.dll english.lng italiano.lng OmbrixEng.chm OmbrixIta.chm readme.txt \
  themes/default/9.ico themes/colours/1.ico Uninstall.exe; do
  [[ -f $(unix "$user_dir")/$file ]] || fail "$file was not installed in $user_dir"
done
[[ -f $(unix "$user_link") ]] || fail "no Start-menu shortcut"
[[ $(reg_value "HKCU\\$run_key" Ombrix) == "\"$user_dir\\Ombrix.exe\"" ]] ||
  fail "the log-on entry is not the quoted path: $(reg_value "HKCU\\$run_key" Ombrix)"
arp="HKCU\\$uninstall_key"
[[ $(reg_value "$arp" DisplayName) == Ombrix && $(reg_value "$arp" DisplayVersion) == "$OMBRIX_VERSION" &&
  $(reg_value "$arp" Publisher) != "" && $(reg_value "$arp" InstallLocation) == "$user_dir" &&
  $(reg_value "$arp" DisplayIcon) == "$user_dir\\Ombrix.exe,0" &&
  $(reg_value "$arp" UninstallString) == "\"$user_dir\\Uninstall.exe\"" &&
  $(reg_value "$arp" QuietUninstallString) == "\"$user_dir\\Uninstall.exe\" /S" &&
  $(reg_value "$arp" NoModify) == 0x1 && $(reg_value "$arp" NoRepair) == 0x1 &&
  $(reg_value "$arp" EstimatedSize) != "" ]] || {
  "$WINE" reg query "$arp" >&2
  fail "the Add/Remove Programs entry is incomplete"
}

testwin normal Alpha
testwin normal Beta
probe wait shown 10000 Alpha Beta || fail "the test windows did not open"
"$WINE" "$user_dir\\Ombrix.exe" &
first=$!
probe main-window 20000 || fail "the installed Ombrix did not start"
probe keys win+2 -- wait hidden 5000 Alpha Beta || fail "the installed Ombrix did not switch with Win+2"
probe keys win+1 -- wait shown 5000 Alpha Beta || fail "the installed Ombrix did not come back with Win+1"
probe send OmbrixMainWND 1065 win:Beta 3 1 -- wait hidden 5000 Beta || fail "Beta was not moved to desktop 3"

# Installed again over the running program, which is ended first and then started again.
"$WINE" "$OMBRIX_INSTALLER" /S || fail "installing over the running Ombrix failed: exit code $?"
wait_exit "$first" 15 || fail "the running Ombrix was not ended"
probe wait shown 3000 Beta || fail "ending Ombrix for the update left Beta hidden"
probe main-window 20000 || fail "the updated Ombrix was not started again"
probe processes 1 5000 || fail "not exactly one Ombrix after the update"
[[ $(reg_value "HKCU\\$run_key" Ombrix) != "" ]] || fail "the update dropped the log-on entry"

probe keys win+2 -- wait hidden 5000 Alpha Beta || fail "the updated Ombrix did not switch"
leave_in_store 2
uninstall "$(reg_value "$arp" QuietUninstallString)" "" "$user_dir"
[[ $(reg_value "$desktop" Wallpaper) == "$own" && $(reg_value "$desktop" WallpaperStyle) == 22 ]] ||
  fail "the user's own wallpaper is not back: $(reg_value "$desktop" Wallpaper) $(reg_value "$desktop" WallpaperStyle)"
probe processes 0 5000 || fail "the uninstaller left Ombrix running"
probe wait shown 3000 Alpha Beta || fail "the uninstaller left windows hidden"
[[ ! -e $(unix "$user_dir") ]] || fail "files are left: $(ls -R "$(unix "$user_dir")")"
[[ ! -e $(unix "$user_link") ]] || fail "the Start-menu shortcut is left"
[[ -z $(reg_value "HKCU\\$run_key" Ombrix) ]] || fail "the log-on entry is left"
key_exists "$arp" && fail "the Add/Remove Programs entry is left"
key_exists 'HKCU\Software\Ombrix\Settings' || fail "a silent uninstall removed the settings"
find "$(unix "$local_appdata")" -name 'Ombrix.restore' -o -name 'Ombrix.desktops' | grep -q . &&
  fail "a crash-recovery file is left"

# Installed for every user: the log-on entry is the user's own, the one Ombrix's setting shows;
# installed again without it; removed with the settings by its uninstaller started directly.
"$WINE" "$OMBRIX_INSTALLER" /S /ALLUSERS || fail "the installation for every user failed: exit code $?"
[[ -f $(unix "$machine_dir")/Ombrix.exe ]] || fail "Ombrix.exe is not in $machine_dir"
[[ -f $(unix "$machine_link") ]] || fail "no Start-menu shortcut for every user"
arp="HKLM\\$uninstall_key"
[[ $(reg_value "$arp" UninstallString) == "\"$machine_dir\\Uninstall.exe\" /ALLUSERS" ]] ||
  fail "the machine's Add/Remove Programs entry is wrong: $(reg_value "$arp" UninstallString)"
[[ $(reg_value "HKCU\\$run_key" Ombrix) == "\"$machine_dir\\Ombrix.exe\"" && -z $(reg_value "HKLM\\$run_key" Ombrix) ]] ||
  fail "the log-on entry is not the user's own: $(reg_value "HKCU\\$run_key" Ombrix) $(reg_value "HKLM\\$run_key" Ombrix)"
"$WINE" "$OMBRIX_INSTALLER" /S /ALLUSERS /NOAUTOSTART || fail "installing again for every user failed: exit code $?"
[[ -z $(reg_value "HKLM\\$run_key" Ombrix)$(reg_value "HKCU\\$run_key" Ombrix) ]] ||
  fail "a log-on entry is left though declined"
# Started from its folder without /ALLUSERS, as a user may: it knows the kind all the same. The
# user's image is gone, so the store's image the wallpaper names stays, and nothing else.
rm "$PWD/own.bmp"
leave_in_store 0
uninstall "\"$machine_dir\\Uninstall.exe\" /S" /REMOVESETTINGS "$machine_dir"
[[ $(reg_value "$desktop" Wallpaper) == "$store\\0\\red.bmp" && -f $(unix "$store")/0/red.bmp &&
  ! -e $(unix "$store")/2 ]] || fail "the uninstaller did not keep just the wallpaper's image: $(ls -R "$(unix "$store")")"
[[ ! -e $(unix "$machine_dir") && ! -e $(unix "$machine_link") ]] || fail "files of the installation for every user are left"
key_exists "$arp" && fail "the machine's Add/Remove Programs entry is left"
key_exists 'HKCU\Software\Ombrix' && fail "the settings are left though /REMOVESETTINGS was given"

# For every user only into Program Files: in a folder elsewhere any user could replace the program.
status=0
"$WINE" "$OMBRIX_INSTALLER" /S /ALLUSERS "/D=$shared_dir" || status=$?
((status == 3)) || fail "installing for every user outside Program Files ended with exit code $status, not 3"
[[ ! -e $(unix "$shared_dir") ]] || fail "files were installed for every user outside Program Files"

# Over an older version in a folder whose name has spaces and letters outside ASCII: the old
# files are replaced, the entries name the new version, the old unquoted log-on entry is written
# quoted, and it runs there.
mkdir -p "$(unix "$odd_dir")"
echo "an older Ombrix.exe" >"$(unix "$odd_dir")/Ombrix.exe"
"$WINE" reg add "HKCU\\$uninstall_key" /v DisplayVersion /d 1.0.0.0 /f >/dev/null
"$WINE" reg add "HKCU\\$uninstall_key" /v InstallLocation /d "$odd_dir" /f >/dev/null
# Older versions wrote the log-on entry without quotes.
"$WINE" reg add "HKCU\\$run_key" /v Ombrix /d "$odd_dir\\Ombrix.exe" /f >/dev/null
"$WINE" "$OMBRIX_INSTALLER" /S "/D=$odd_dir" || fail "installing over the older version failed: exit code $?"
cmp -s "$(unix "$odd_dir")/Ombrix.exe" "$OMBRIX_EXE" || fail "the older Ombrix.exe was not replaced"
arp="HKCU\\$uninstall_key"
[[ $(reg_value "$arp" DisplayVersion) == "$OMBRIX_VERSION" ]] ||
  fail "the entry still names version $(reg_value "$arp" DisplayVersion)"
# reg.exe prints in the console's code page; probe.exe in UTF-8.
entry=$(probe reg "$run_key" Ombrix | tr -d '\r')
[[ $entry == "\"$odd_dir\\Ombrix.exe\"" ]] || fail "the log-on entry is not the quoted path: $entry"
"$WINE" "$odd_dir\\Ombrix.exe" &
probe main-window 20000 || fail "Ombrix did not start from $odd_dir"
probe keys win+2 -- wait hidden 5000 Alpha Beta || fail "Ombrix in $odd_dir did not switch"
uninstall "$(probe reg "$uninstall_key" QuietUninstallString | tr -d '\r')" "" "$odd_dir"
probe wait shown 3000 Alpha Beta || fail "the uninstaller left windows hidden"
[[ ! -e $(unix "$odd_dir") ]] || fail "files are left in $odd_dir"
key_exists "$arp" && fail "the Add/Remove Programs entry is left"

# A running Ombrix guarded by a program password is not ended: the silent installation stops
# with exit code 2 and changes nothing.
probe reg-set Settings "GlobalPass=$(scramble admin)" || fail "could not store the program password"
ombrix_ready
status=0
"$WINE" "$OMBRIX_INSTALLER" /S || status=$?
((status == 2)) || fail "the installation over a guarded Ombrix ended with exit code $status, not 2"
kill -0 "$ombrix" 2>/dev/null || fail "the installer ended an Ombrix guarded by its password"
[[ ! -e $(unix "$user_dir") ]] || fail "files were installed though Ombrix could not be ended"
probe kill Ombrix.exe
clear_settings

# As a user clicks through it: Ombrix started from the last page, and the uninstaller asks
# before it removes the settings.
click() { probe click @#32770 "$1" || fail "no button $1 in the installer's window"; }
"$WINE" "$OMBRIX_INSTALLER" &
setup=$!
probe wait shown 10000 @#32770 || fail "the installer's window did not open"
click "&Next >"  # only for me
click "&Next >"  # the folder
click "&Install"
click "&Finish"  # "Start Ombrix now" is checked
wait_exit "$setup" 10 || fail "the installer did not end after Finish"
probe main-window 20000 || fail "Ombrix was not started from the installer's last page"
"$WINE" "$user_dir\\Uninstall.exe" &
probe wait shown 10000 @#32770 || fail "the uninstaller's window did not open"
click "&Uninstall"
probe msgbox "Ombrix Uninstall" "Also remove your Ombrix settings (desktop names, passwords, wallpapers, rules and hot-keys)?\n\nChoose No to keep them for a later installation." 20000 yes ||
  fail "the uninstaller did not ask about the settings"
click "&Close"
probe processes 0 10000 Un.exe || fail "the uninstaller did not end"
probe processes 0 5000 || fail "the uninstaller left Ombrix running"
[[ ! -e $(unix "$user_dir") ]] || fail "files are left after the interactive uninstall"
key_exists 'HKCU\Software\Ombrix' && fail "the settings are left though the user chose to remove them"
echo "PASS"
