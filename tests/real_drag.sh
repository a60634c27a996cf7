#!/usr/bin/env bash
# Drags the running bar with the real mouse on the test display: from the top edge into
# the desktop (it floats), then to the bottom edge (it docks there); then by its panels.
# Saves a screenshot after each step and checks the window's place through X and the
# settings file at exit.
#
# With a DESKTOP (one of tests/desktops.sh), on a 1280 x 800 display, a desktop and a Wine
# prefix of its own, as a user runs it: the run command in a terminal, the bar docked at
# the top, dragged off the dock and back again five times (once right after its menu was
# closed with Escape, once by way of the bottom edge); each time the floating window is
# where the mouse let it go, its caption drawn, its icon in the tray, and the drag has
# ended. Then a click in the terminal gives it the keyboard, and its Ctrl+C closes the bar.
set -euo pipefail
exe=$1
shots=$2
desktop=${3:-}
here=$(cd "$(dirname "$0")" && pwd)
mkdir -p "$shots"
. "$here/own_display.sh"
if [ -n "$desktop" ]; then
    . "$here/../desktop/companions.sh"
    . "$here/desktops.sh"
    own_test_prefix 1280x800
    fail() { echo "FAIL ($desktop): $*"; /usr/bin/import -window root "$shots/drag-$desktop-failed.png" || true; exit 1; }
else
    work=$(mktemp -d)
    trap 'wine taskkill /f /im velmor.exe >/dev/null 2>&1 || true; rm -rf "$work"' EXIT
    fail() { echo "FAIL: $*"; exit 1; }
fi
cd "$work"

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

wait_for() {   # wait_for "predicate on $geo" (which may set the positional parameters)
    local i predicate=$1
    for i in $(seq 60); do
        geo=$(bar_geometry || true)
        [ -n "$geo" ] && eval "$predicate" && return 0
        sleep 0.1
    done
    return 1
}

screen_h=$(xdpyinfo | awk '/dimensions:/ { split($2, d, "x"); print d[2] }')
screen_w=$(xdpyinfo | awk '/dimensions:/ { split($2, d, "x"); print d[1] }')

if [ -n "$desktop" ]; then
    start_desktop "$desktop"
    top=$desktop_area_top
    # the floating window's caption strip right of the globe: drawn, not left black
    caption_drawn() {
        set -- $geo
        /usr/bin/import -window root -crop "100x10+$(($1 + 20))+$(($2 + 4))" "$work/caption.png"
        [ "$(/usr/bin/convert "$work/caption.png" -format '%[fx:mean > 0.2]' info:)" = 1 ]
    }
    # float_at X Y: the bar dragged from its caption column (docked) and let go at X, Y
    float_at() {
        local x=$1 y=$2 x0 y0
        set -- $geo
        x0=$(($1 + 8)) y0=$(($2 + 36))
        drag "$x0" "$y0" "$x" "$y"
        wait_for 'set -- $geo; [ "$3" = 151 ] && [ "$1" -le $x ] && [ $(($1 + 151)) -gt $x ] && [ "$2" -le $y ] && [ $(($2 + 218)) -gt $y ]' ||
            fail "drag $n, from $x0,$y0 let go at $x,$y: the floating window is at '$geo'"
        wait_until caption_drawn || fail "drag $n: the floating window at '$geo' has no caption"
        if desktop_has_tray; then
            wait_until '[ "$(tray_icon)" != none ]' || fail "drag $n: no icon in the tray, the drag has not ended"
        fi
    }
    # dock_at Y: the floating window dragged by its caption strip to an edge
    dock_at() {
        local y=$1
        set -- $geo
        drag $(($1 + 90)) $(($2 + 6)) 500 "$y"
        if desktop_has_tray; then
            wait_until '[ "$(tray_icon)" = none ]' || fail "drag $n: the icon stays in the tray, the drag has not ended"
        fi
    }

    wineserver -p </dev/null >/dev/null 2>&1
    wine cmd /c exit </dev/null >/dev/null 2>&1
    xterm -title dragterm -geometry 60x12+880+480 -e bash -c '"$0" "$1" >log 2>&1; echo $? >status' \
        "$here/../scripts/run_velmor.sh" "$exe" </dev/null >/dev/null 2>&1 &
    pids+=($!)
    wait_until '[ "$(shown "^dragterm$")" = 1 ]' 30 || fail "the terminal did not appear"
    wait_until 'grep -q "Velmor is running" log 2>/dev/null' 30 || fail "the run command did not start the bar: $(cat log)"
    wait_for '[ "$geo" = "0 $top $screen_w 54" ]' || fail "the bar is not docked at the top: '$geo'"
    sleep 1

    for n in 1 2 3 4 5; do
        x=$((200 + 100 * n)) y=$((200 + 60 * n))
        if [ $n = 3 ]; then
            set -- $geo
            xdotool mousemove $(($1 + 8)) $(($2 + 36)) click 3
            wait_until '[ "$(keyboard_window)" = Velmor ]' || fail "the bar's menu did not take the keyboard"
            xdotool key Escape
            sleep 0.5
        fi
        float_at "$x" "$y"
        [ $n = 1 ] && /usr/bin/import -window root "$shots/drag-$desktop-floating.png"
        [ $n = 5 ] && break
        if [ $n = 3 ]; then
            dock_at $((screen_h - 2))
            wait_for '[ "$geo" = "0 $((desktop_area_bottom - 55)) $screen_w 55" ]' || fail "drag $n: not docked at the bottom: '$geo'"
        else
            dock_at 2
            wait_for '[ "$geo" = "0 $top $screen_w 55" ]' || fail "drag $n: not docked at the top: '$geo'"
        fi
    done

    # a click in the terminal gives it the keyboard: its Ctrl+C closes the bar, floating
    xdotool mousemove 1000 600 click 1
    wait_until '[ "$(keyboard_window)" = dragterm ]' || fail "the click in the terminal left the keyboard with '$(keyboard_window)'"
    xdotool key ctrl+c
    wait_until '[ -s status ]' 10 || fail "Ctrl+C in the terminal did not close the bar: $(cat log)"
    [ "$(cat status)" = 0 ] && grep -q '^ALIGN=99' VELMOR.INI || fail "the bar did not close as its Close does: $(cat log) $(cat VELMOR.INI)"
    echo "1 passed, 0 failed"
    exit 0
fi

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
user_click 235 $(( screen_h - 30 ))
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

wine taskkill /im velmor.exe >/dev/null 2>&1 || fail "wine taskkill found no velmor.exe to close"
for _ in $(seq 50); do grep -q ALIGN VELMOR.INI 2>/dev/null && break; sleep 0.1; done
grep -q '^ALIGN=3' VELMOR.INI || fail "ALIGN=3 written at exit: $(cat VELMOR.INI 2>/dev/null)"
echo "1 passed, 0 failed"
