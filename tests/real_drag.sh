#!/usr/bin/env bash
# Drags the running bar with the real mouse on the test display: from the top edge into
# the desktop (it floats), then to the bottom edge (it docks there); then by its panels.
# Saves a screenshot after each step and checks the window's place through X and the
# settings file at exit.
set -euo pipefail
exe=$1
shots=$2
mkdir -p "$shots"
. "$(dirname "$0")/own_display.sh"
work=$(mktemp -d)
cd "$work"
trap 'wine taskkill /f /im velmor.exe >/dev/null 2>&1 || true; rm -rf "$work"' EXIT

fail() { echo "FAIL: $*"; exit 1; }

# prints "x y w h" of the program's mapped top-level X window
bar_geometry() {
    local id
    for id in $(xdotool search --onlyvisible --name '^Velmor$' 2>/dev/null); do
        eval "$(xdotool getwindowgeometry --shell "$id")"
        echo "$X $Y $WIDTH $HEIGHT"
        return 0
    done
    return 1
}

wait_for() {   # wait_for "predicate on $geo"
    local i
    for i in $(seq 60); do
        geo=$(bar_geometry || true)
        [ -n "$geo" ] && eval "$1" && return 0
        sleep 0.1
    done
    return 1
}


screen_h=$(xdpyinfo | awk '/dimensions:/ { split($2, d, "x"); print d[2] }')
screen_w=$(xdpyinfo | awk '/dimensions:/ { split($2, d, "x"); print d[1] }')

wine "$exe" </dev/null >/dev/null 2>&1 &
wait_for '[ "$geo" = "0 0 $screen_w 54" ]' || fail "docked bar at the top, got '$geo'"
sleep 0.5
/usr/bin/import -window root "$shots/drag-1-docked-top.png"

# the caption column below the globe is the bar's own surface
drag 8 36 400 400
wait_for 'set -- $geo; [ "$3" = 151 ] && [ "$4" = 218 ]' || fail "floating window 151 x 218, got '$geo'"
set -- $geo
[ "$2" -gt 100 ] || fail "floating window inside the desktop, got '$geo'"
/usr/bin/import -window root "$shots/drag-2-floating.png"

# the caption strip right of the title
drag $(( $1 + 90 )) $(( $2 + 6 )) 500 $(( screen_h - 2 ))
wait_for '[ "$geo" = "0 $(( screen_h - 55 )) $screen_w 55" ]' || fail "docked at the bottom, 55 high, got '$geo'"
sleep 0.3
/usr/bin/import -window root "$shots/drag-3-docked-bottom.png"

# the clock and filler panels drag the bar too; a click on one without a move changes nothing
xdotool mousemove 235 $(( screen_h - 30 )) click 1
sleep 0.5
geo=$(bar_geometry)
[ "$geo" = "0 $(( screen_h - 55 )) $screen_w 55" ] || fail "a click on clock panel 2 left the bar in place, got '$geo'"
drag 800 $(( screen_h - 30 )) 500 2
wait_for '[ "$geo" = "0 0 $screen_w 55" ]' || fail "dragged by a filler panel to the top, got '$geo'"
drag 380 25 400 400
wait_for 'set -- $geo; [ "$3" = 151 ] && [ "$4" = 218 ]' || fail "dragged by clock panel 3 into the desktop, got '$geo'"
set -- $geo
[ "$1" -le 400 ] && [ $(( $1 + 151 )) -gt 400 ] && [ "$2" -le 400 ] && [ $(( $2 + 218 )) -gt 400 ] ||
    fail "the floating window under the cursor at 400,400, got '$geo'"
/usr/bin/import -window root "$shots/drag-4-floating-by-a-panel.png"
drag $(( $1 + 70 )) $(( $2 + 16 + 49 + 25 )) 500 $(( screen_h - 2 ))
wait_for '[ "$geo" = "0 $(( screen_h - 55 )) $screen_w 55" ]' || fail "dragged by floating clock panel 2 to the bottom, got '$geo'"

wine taskkill /im velmor.exe >/dev/null 2>&1
for _ in $(seq 50); do grep -q ALIGN VELMOR.INI 2>/dev/null && break; sleep 0.1; done
grep -q '^ALIGN=3' VELMOR.INI || fail "ALIGN=3 written at exit: $(cat VELMOR.INI 2>/dev/null)"
echo "1 passed, 0 failed"
