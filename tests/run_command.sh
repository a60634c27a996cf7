#!/usr/bin/env bash
# The run command in two terminals on a desktop with a window manager (openbox), as a user
# starts two copies: right after the start the keyboard is still the terminal's, so a
# Ctrl+C typed at once reaches it, and closes that terminal's copy alone, as its Close
# command does (preferences written), while the other copy runs on. A display, a window
# manager and a Wine prefix of its own, so that no other test sees them.
set -euo pipefail
runner=$1
exe=$2
. "$(dirname "$0")/own_display.sh"

own_test_prefix 1024x768
fail() {
    echo "FAIL: $*"
    for copy in one two; do echo "$copy's terminal said:"; cat "$work/$copy/log" 2>/dev/null; done
    exit 1
}

start_openbox "$work/openbox.log"
pids+=($!)
wineserver -p </dev/null >/dev/null 2>&1
wine cmd /c exit </dev/null >/dev/null 2>&1

# start_copy NAME Y: a terminal at height Y that runs the command in folder NAME and, when
# it ends, writes its status there
start_copy() {
    local copy=$1    # by name: the conditions below are evaluated inside wait_until
    mkdir "$work/$copy"
    xterm -title "terminal $copy" -geometry 80x10+100+"$2" -e bash -c \
        'cd "$0" && "$1" "$2" >log 2>&1; echo $? >status' "$work/$copy" "$runner" "$exe" \
        </dev/null >/dev/null 2>&1 &
    pids+=($!)
    wait_until '[ "$(shown "^terminal $copy$")" = 1 ]' 30 || fail "terminal $copy did not appear"
    for _ in 1 2 3 4 5 6; do
        wait_until 'grep -q "Velmor is running" "$work/$copy/log" 2>/dev/null' && return 0
    done
    fail "copy $copy did not start"
}

start_copy one 300
start_copy two 500
# the line comes once the bar's X window exists; on a slow machine it is shown a moment later
wait_until '[ "$(shown "^Velmor$")" = 2 ]' || fail "not two bars but $(shown "^Velmor$")"
wait_until '[ "$(keyboard_window)" = "terminal two" ]' || fail "right after the start '$(keyboard_window)' has the keyboard"

xdotool key ctrl+c
wait_until '[ -s "$work/two/status" ]' || fail "Ctrl+C did not end the copy in its terminal"
[ "$(cat "$work/two/status")" = 0 ] || fail "the run command ended with status $(cat "$work/two/status")"
[ "$(tr -d '\r' <"$work/two/VELMOR.INI")" = "$(printf '[PREFS]\nALIGN=1\nONTOP=1')" ] ||
    fail "Ctrl+C did not close the bar as its Close command does: $(cat "$work/two/VELMOR.INI" 2>/dev/null)"
sleep 1
[ ! -s "$work/one/status" ] && [ "$(shown "^Velmor$")" = 1 ] || fail "Ctrl+C closed the other copy too"

# the first terminal's Ctrl+C ends the first copy the same way
xdotool mousemove 400 340 click 1
wait_until '[ "$(keyboard_window)" = "terminal one" ]' || fail "terminal one did not take the keyboard"
xdotool key ctrl+c
wait_until '[ -s "$work/one/status" ]' || fail "Ctrl+C did not end the first copy"
[ "$(cat "$work/one/status")" = 0 ] && [ -s "$work/one/VELMOR.INI" ] || fail "the first copy did not close"
echo "1 passed, 0 failed"
