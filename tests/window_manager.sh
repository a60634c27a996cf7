#!/usr/bin/env bash
# The program on a desktop with a window manager (openbox) and a terminal that the user
# goes back to between times: every opening of the menu, the about box and the Properties
# dialog takes the keyboard, so real keys through X choose and close them, and none reaches
# the terminal. Then the floating bar's tray icon (in Wine's own tray window): its menu while
# a dialog is open takes the keyboard, and once it closes, by Escape, a click elsewhere or
# any command, the dialog's focused control takes the keys again. A display, a window
# manager and a Wine prefix of its own, so that no other test sees them.
set -euo pipefail
exe=$1
shots=$2
. "$(dirname "$0")/own_display.sh"
mkdir -p "$shots"

own_test_prefix 1024x768
fail() {   # with a picture of the screen as it was
    echo "FAIL: $*"
    [ -n "${own_display:-}" ] && DISPLAY=$own_display /usr/bin/import -window root "$shots/window-manager-failed.png" 2>/dev/null
    exit 1
}


start_openbox "$work/openbox.log"
pids+=($!)
# the terminal passes every key straight to a file, so a stray key shows there
xterm -title terminal -geometry 80x20+100+400 -e sh -c 'stty raw -echo; exec cat >"$0"' "$work/typed" \
    </dev/null >"$work/xterm.log" 2>&1 &
pids+=($!)
wait_until '[ "$(shown "^terminal$")" = 1 ]' 30 ||
    fail "the terminal did not appear: $(cat "$work/xterm.log"; xwininfo -root -tree | grep -i -E 'term|xterm')"

wineserver -p </dev/null >/dev/null 2>&1
wine cmd /c exit </dev/null >/dev/null 2>&1
mkdir "$work/run"
(cd "$work/run" && exec wine "$exe" </dev/null >/dev/null 2>&1) &
wait_until '[ "$(shown "^Velmor$")" = 1 ]' || fail "the bar did not appear"
sleep 0.5

# the user types in the terminal, then opens the menu at the globe and picks with keys
open_with_menu_key() {   # open_with_menu_key round key
    xdotool mousemove 400 550 click 1
    wait_until '[ "$(keyboard_window)" = terminal ]' || fail "round $1: the terminal did not take the keyboard"
    # two clicks on the globe within the double-click time make a double click, which
    # opens nothing
    sleep 0.6
    xdotool mousemove 8 8 click 1
    wait_until '[ "$(keyboard_window)" = Velmor ]' ||
        fail "round $1: the menu did not take the keyboard, '$(keyboard_window)' has it"
    xdotool key "$2"
}

for round in 1 2 3; do
    open_with_menu_key $round a
    wait_until '[ "$(shown "^Velmor$")" = 2 ]' || fail "round $round: the about box did not open"
    xdotool key Return
    wait_until '[ "$(shown "^Velmor$")" = 1 ]' ||
        fail "round $round: Enter did not close the about box, '$(keyboard_window)' has the keyboard"

    open_with_menu_key $round p
    wait_until '[ "$(shown "^Properties for Velmor$")" = 1 ]' || fail "round $round: the Properties dialog did not open"
    # Escape cancels it twice; Enter, for OK, writes the settings the third time
    key=Escape
    if [ $round = 3 ]; then
        key=Return
        # Alt+Down opens clock 1's list as F4 does, and the keyboard stays in it: Hawaii
        xdotool key alt+Down
        sleep 0.5
        /usr/bin/import -window root "$shots/window-manager-properties.png"
        xdotool key Down Down Return
        sleep 0.3
        [ "$(keyboard_window)" = "Properties for Velmor" ] || fail "after Alt+Down '$(keyboard_window)' has the keyboard"
    fi
    xdotool key Tab Tab $key
    wait_until '[ "$(shown "^Properties for Velmor$")" = 0 ]' ||
        fail "round $round: $key did not close the Properties dialog, '$(keyboard_window)' has the keyboard"
done

grep -q '^\[ZONES\]' "$work/run/VELMOR.INI" 2>/dev/null || fail "Enter in the Properties dialog wrote no settings"
grep -q '^ONE=3' "$work/run/VELMOR.INI" || fail "the zone chosen after Alt+Down was not stored: $(grep ONE= "$work/run/VELMOR.INI")"

# The floating bar, its tray icon in Wine's tray window; its menu is opened at a panel.
open_with_menu_key 4 c
wait_until '[ "$(shown "^Velmor$")" = 0 ]' || fail "Close did not end the docked bar"
mkdir "$work/tray"
printf '[PREFS]\r\nALIGN=99\r\n' >"$work/tray/VELMOR.INI"
(cd "$work/tray" && exec wine "$exe" </dev/null >/dev/null 2>&1) &
wait_until '[ "$(shown "^Velmor$")" = 1 ] && [ "$(shown "^Wine System Tray$")" = 1 ]' ||
    fail "the floating bar or its tray icon did not appear"
sleep 0.5
eval "$(xdotool search --onlyvisible --name '^Wine System Tray$' getwindowgeometry --shell)"
trayX=$((X + 12)) trayY=$((Y + HEIGHT - 13))   # the first icon, below the tray's caption
bar=$(xdotool search --onlyvisible --name '^Velmor$')
# open_at_panel key caption count: a dialog through the bar's own menu, until count windows
# have the caption and one of them, not the bar, has the keyboard
open_at_panel() {
    xdotool mousemove 110 150 click 3
    wait_until '[ "$(keyboard_window)" = Velmor ]' || fail "the bar's menu did not take the keyboard"
    xdotool key "$1"
    wait_until "[ \"\$(shown '^$2\$')\" = $3 ] && [ \"\$(keyboard_window)\" = '$2' ] &&
                [ \"\$(xdotool getwindowfocus)\" != $bar ]" || fail "'$2' did not open with the keyboard"
}
menu_shown() {   # how many of the program's windows without a title are shown: its menus
    local window count=0
    for window in $(xdotool search --onlyvisible --classname '^velmor\.exe$' 2>/dev/null); do
        [ -z "$(xdotool getwindowname "$window" 2>/dev/null)" ] && count=$((count + 1))
    done
    echo $count
}
# tray_menu step caption: opens the icon's menu, which must take the keyboard for the dialog
tray_menu() {
    xdotool mousemove $trayX $trayY click 3
    wait_until '[ "$(menu_shown)" = 1 ]' || fail "$1: the tray menu did not open"
    wait_until "[ \"\$(keyboard_window)\" = '$2' ] && [ \"\$(xdotool getwindowfocus)\" != $bar ]" ||
        fail "$1: the tray menu did not take the keyboard, '$(keyboard_window)' has it"
}
# after_menu step caption: the menu closed and the dialog has the keyboard again
after_menu() {
    wait_until '[ "$(menu_shown)" = 0 ]' || fail "$1: the tray menu stayed open"
    wait_until "[ \"\$(keyboard_window)\" = '$2' ] && [ \"\$(xdotool getwindowfocus)\" != $bar ]" ||
        fail "$1: the dialog did not get the keyboard back, '$(keyboard_window)' has it"
}
# closes the menu by the step's way: Escape, a click on the bare desktop, or a command's key
close_menu() {   # close_menu step
    case $1 in
        escape) xdotool key Escape ;;
        click) xdotool mousemove 800 250 click 1 ;;
        *) xdotool key "$1" ;;
    esac
}

# Properties: each way of closing the menu, then Down in clock 1's list picks the next
# zone; OK stores how many of the Downs arrived.
open_at_panel p 'Properties for Velmor' 1
for step in escape click t a p; do
    tray_menu "Properties, $step" 'Properties for Velmor'
    close_menu $step
    if [ $step = a ]; then
        wait_until '[ "$(shown "^Velmor$")" = 2 ] && [ "$(keyboard_window)" = Velmor ] &&
                    [ "$(xdotool getwindowfocus)" != $bar ]' || fail "About from the tray menu opened no about box"
        xdotool key Return
        wait_until '[ "$(shown "^Velmor$")" = 1 ]' || fail "Enter did not close the about box over Properties"
    fi
    after_menu "Properties, $step" 'Properties for Velmor'
    xdotool key Down
done
[ "$(shown "^Properties for Velmor$")" = 1 ] || fail "a second Properties dialog opened"
xdotool key Return
wait_until '[ "$(shown "^Properties for Velmor$")" = 0 ]' || fail "Enter did not close the Properties dialog"
tr -d '\r' <"$work/tray/VELMOR.INI" | grep -qx 'ONE=6' ||
    fail "not all five Downs reached clock 1's list: $(grep '^ONE=' "$work/tray/VELMOR.INI")"

# the about box: the same ways, then Enter on its OK button must close it
for step in escape click t a p; do
    open_at_panel a Velmor 2
    about=$(xdotool getwindowfocus)
    tray_menu "about box, $step" Velmor
    close_menu $step
    case $step in
        a) wait_until '[ "$(shown "^Velmor$")" = 3 ] && [ "$(keyboard_window)" = Velmor ] &&
                       [ "$(xdotool getwindowfocus)" != $bar ] && [ "$(xdotool getwindowfocus)" != $about ]' ||
               fail "About from the tray menu opened no second about box with the keyboard"
           xdotool key Return ;;
        p) wait_until '[ "$(keyboard_window)" = "Properties for Velmor" ]' ||
               fail "Properties from the tray menu did not open with the keyboard"
           xdotool key Escape ;;
    esac
    after_menu "about box, $step" Velmor
    [ "$(xdotool getwindowfocus)" = "$about" ] || fail "about box, $step: not the about box has the keyboard"
    xdotool key Return
    wait_until '[ "$(shown "^Velmor$")" = 1 ]' || fail "about box, $step: Enter did not close it"
done

# Close from the tray menu ends the dialog and the bar
open_at_panel p 'Properties for Velmor' 1
tray_menu "Properties, close" 'Properties for Velmor'
xdotool key c
wait_until '[ "$(shown "^Velmor$")" = 0 ] && [ "$(shown "^Properties for Velmor$")" = 0 ]' ||
    fail "Close from the tray menu did not end the dialog and the bar"
[ ! -s "$work/typed" ] || fail "keys reached the terminal: $(od -c "$work/typed" | head -3)"
echo "1 passed, 0 failed"
