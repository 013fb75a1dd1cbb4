#!/usr/bin/env bash
# Switches by hot-key. The windows on screen at start form desktop 1: they go on Win+2 and come
# back on Win+1 with the window that was active before in front; top-most and untitled windows
# are not managed and stay. Each switch shows Ombrix's indicator, which closes itself about a
# second later. A window its program shows again stands on its own desktop and is hidden again at
# once on a hidden one, a shell folder as well. Shift+Win+3 sends the active application with
# all its windows to desktop 3. When the active window's program stops reading its messages
# (just before the switch, and for good), Win+2 and Win+1 still switch in good time.
# shellcheck source=tests/e2e/lib.sh
source "$(dirname "$0")/lib.sh"

managed=(Alpha Beta "Beta dialog" Zero Folder Stuck "Untitled - Notepad" WineMine)
testwin normal Alpha
testwin owned Beta
testwin zero Zero
testwin cabinet Folder
testwin normal Stuck
testwin topmost Top
testwin untitled
start_program notepad
start_program winemine
probe wait shown 15000 "${managed[@]}" Top @OmbrixTestUntitled || fail "the test windows did not open"
ombrix_ready
# Not the window opened last, so the window in front after Win+1 is the one the switch brought back.
probe activate "Untitled - Notepad" || fail "could not activate Notepad"
sleep 0.5

indicator="@OmbrixForm:Switch Desktop"
probe flash "$indicator" 700 2000 keys win+2 || fail "no indicator that closes itself about 1 s after Win+2"
probe wait hidden 5000 "${managed[@]}" || fail "Win+2 did not hide the windows of desktop 1"
probe hold shown 500 Top @OmbrixTestUntitled || fail "a top-most or untitled window was hidden"
probe flash "$indicator" 700 2000 keys win+1 || fail "no indicator that closes itself about 1 s after Win+1"
probe wait shown 5000 "${managed[@]}" || fail "Win+1 did not show the windows of desktop 1 again"
probe wait foreground 3000 "Untitled - Notepad" || fail "the window active before the switch is not active again"
probe hold shown 500 Top @OmbrixTestUntitled || fail "a top-most or untitled window was hidden"

probe activate Beta || fail "could not activate Beta"
sleep 0.5
probe keys shift+win+3 -- wait hidden 5000 Beta "Beta dialog" || fail "Shift+Win+3 did not take the active application away"
probe hold shown 1000 Alpha || fail "another application left the screen"
probe keys win+3 -- wait shown 5000 Beta "Beta dialog" || fail "the moved application is not on desktop 3"
probe wait hidden 5000 Alpha || fail "desktop 1's application is still on screen on desktop 3"
probe keys win+1 -- wait shown 5000 Alpha || fail "Win+1 did not show desktop 1"

# The programs hide and show their own windows (testwin's commands 0x8002 and 0x8003).
hide=(post Alpha 0x8002 -- post Folder 0x8002) show=(post Alpha 0x8003 -- post Folder 0x8003)
probe "${hide[@]}" -- wait hidden 3000 Alpha Folder || fail "the programs did not hide their windows"
probe "${show[@]}" -- wait shown 3000 Alpha Folder || fail "the programs did not show their windows"
probe hold shown 1000 Alpha Folder || fail "a window shown again on the current desktop was hidden"
probe keys win+2 -- wait hidden 5000 Alpha Folder || fail "Win+2 did not hide the windows"
# Under Wine the hook library sees a switch's hiding only when it looks, 150 and 600 ms after the
# hot-key, and looks at hidden windows every two seconds: a show before its look goes unseen.
sleep 1
probe "${show[@]}"
probe wait hidden 5000 Alpha Folder || fail "a window shown while its desktop is hidden stayed on screen"
probe hold hidden 1500 Alpha Folder || fail "a window shown while its desktop is hidden came back"
probe keys win+1 -- wait shown 5000 Alpha Folder || fail "Win+1 did not show the windows again"

probe activate Stuck -- post Stuck 0x8001 || fail "could not activate and stop Stuck"
# Seconds after Stuck stopped: 1 (unresponsive), then 5.5 (a window counts as hung after 5 s).
for when in 1 4.5; do
  sleep "$when"
  probe keys win+2 -- wait hidden 3000 Alpha || fail "Win+2 did not hide the other window ($when s)"
  probe wait shown 3000 "$indicator" || fail "the switch to desktop 2 did not finish: Stuck held it up ($when s)"
  probe keys win+1 -- wait shown 3000 Alpha || fail "Win+1 did not show the other window ($when s)"
done
echo "PASS"
