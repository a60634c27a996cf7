#!/usr/bin/env bash
# The program on a desktop with a window manager (openbox) and a terminal that the user
# goes back to between times: every opening of the menu, the about box and the Properties
# dialog takes the keyboard, so real keys through X choose and close them, and none reaches
# the terminal. A display, a window manager and a Wine prefix of its own, so that no other
# test sees them.
set -euo pipefail
exe=$1
shots=$2
: "${WINEPREFIX:?run under scripts/check}"
export WINEDEBUG=-all
. "$(dirname "$0")/own_display.sh"
mkdir -p "$shots"

# beside the test prefix: its copy is made of hard links, which cannot cross file systems
work=$(mktemp -d "$(dirname "$WINEPREFIX")/test-XXXXXX")
own_display_pid=
pids=()
cleanup() {
    wine taskkill /f /im velmor.exe >/dev/null 2>&1 || true
    wineserver -k >/dev/null 2>&1 || true
    for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null || true; done
    [ -n "$own_display_pid" ] && kill "$own_display_pid" 2>/dev/null && wait "$own_display_pid" 2>/dev/null
    rm -rf "$work"
}
trap cleanup EXIT
fail() { echo "FAIL: $*"; exit 1; }

copy_test_prefix "$work/prefix"
export WINEPREFIX=$work/prefix
start_own_display 1024x768
export DISPLAY=$own_display

start_openbox "$work/openbox.log"
pids+=($!)
# the terminal passes every key straight to a file, so a stray key shows there
xterm -title terminal -geometry 80x20+100+400 -e sh -c 'stty raw -echo; exec cat >"$0"' "$work/typed" \
    </dev/null >/dev/null 2>&1 &
pids+=($!)
wait_until '[ "$(shown "^terminal$")" = 1 ]' || fail "the terminal did not appear"

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
[ ! -s "$work/typed" ] || fail "keys reached the terminal: $(od -c "$work/typed" | head -3)"
echo "1 passed, 0 failed"
