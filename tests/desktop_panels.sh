#!/usr/bin/env bash
# The bar beside a desktop's own panel, with the companions scripts/velmor runs: on icewm
# (its taskbar) or openbox with trayer, each along the bottom. Docked at the bottom the bar
# stands above the panel and leaves its pixels alone; a maximised xterm stops short of the
# docked bar, at the bottom and, after real drags, at the top, and takes the whole work
# area while the bar floats. A display, a window manager and a Wine prefix of its own.
set -euo pipefail
wm=$1
exe=$2
panels_exe=$3
shots=$4
here=$(dirname "$0")
. "$here/own_display.sh"
. "$here/../desktop/companions.sh"
mkdir -p "$shots"

before_clean_up() { stop_desktop_companions; }
own_test_prefix 1024x768
fail() { echo "FAIL ($wm): $*"; /usr/bin/import -window root "$shots/desktop-$wm-failed.png" || true; exit 1; }

screen_h=768

work_area() { x_work_area 2>/dev/null || echo none; }   # left top right bottom
nth() {   # nth N COMMAND: the Nth word COMMAND prints
    local n=$1 words
    shift
    read -r -a words <<<"$("$@")"
    echo "${words[n - 1]:-none}"
}
bar_rect() {   # left top right bottom of the bar's X window
    local id
    id=$(xdotool search --onlyvisible --name '^Velmor$' 2>/dev/null | head -1)
    [ -n "$id" ] || { echo none; return; }
    eval "$(xdotool getwindowgeometry --shell "$id")"
    echo "$X $Y $((X + WIDTH)) $((Y + HEIGHT))"
}
titled_rect() {   # left top right bottom of the xterm with its title bar, not its borders
    # (icewm lays a maximised window's borders beyond the work area, under the panel)
    local id x y w h l r t b
    id=$(xdotool search --onlyvisible --name '^maxterm$' | head -1)
    x=$(xwininfo -id "$id" | awk '/Absolute upper-left X/ { print $NF }')
    y=$(xwininfo -id "$id" | awk '/Absolute upper-left Y/ { print $NF }')
    w=$(xwininfo -id "$id" | awk '/Width:/ { print $NF }')
    h=$(xwininfo -id "$id" | awk '/Height:/ { print $NF }')
    read -r l r t b < <(xprop -id "$id" -notype _NET_FRAME_EXTENTS | awk -F' = ' '{ gsub(",", ""); print $2 }')
    [ -n "$b" ] || { echo none; return; }
    echo "$x $((y - t + b)) $((x + w)) $((y + h))"
}

# the panel along the bottom, with nothing on it that changes by itself
case $wm in
    icewm)
        mkdir "$work/icewm"
        printf '%s\n' TaskBarShowClock=0 TaskBarShowCPUStatus=0 TaskBarShowNetStatus=0 \
            TaskBarShowMEMStatus=0 TaskBarShowApm=0 >"$work/icewm/preferences"
        ICEWM_PRIVCFG=$work/icewm icewm </dev/null >"$work/wm.log" 2>&1 &
        pids+=($!) ;;
    openbox)
        openbox --sm-disable </dev/null >"$work/wm.log" 2>&1 &
        pids+=($!)
        wait_until 'xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q "window id"' ||
            fail "openbox did not start: $(cat "$work/wm.log")"
        trayer --edge bottom --widthtype percent --width 100 --height 30 --SetDockType true \
            --SetPartialStrut true --transparent false </dev/null >"$work/panel.log" 2>&1 &
        pids+=($!) ;;
esac
wait_until '[ "$(nth 4 work_area)" != none ] && [ "$(nth 4 work_area)" -lt $screen_h ]' ||
    fail "no panel along the bottom: work area '$(work_area)', $(cat "$work/wm.log")"
sleep 1
read -r _ area_top _ panel_top <<<"$(work_area)"
panel_pixels() { /usr/bin/import -window root -crop "1024x$((screen_h - panel_top))+0+$panel_top" "$1"; }

# maximised by a double click on its title bar, as a user would
xterm -title maxterm -geometry 60x15+100+100 -e sleep 600 </dev/null >/dev/null 2>&1 &
pids+=($!)
wait_until '[ "$(xdotool search --onlyvisible --name "^maxterm$" | wc -l)" = 1 ] && [ "$(nth 2 titled_rect)" != none ]' ||
    fail "the xterm did not appear"
maximise() { xdotool mousemove 300 $(( $(nth 2 titled_rect) + 8 )) click --repeat 2 --delay 80 1; }
maximise
wait_until '[ "$(nth 4 titled_rect)" -gt $((panel_top - 30)) ]' || fail "the xterm is not maximised: '$(titled_rect)'"
sleep 0.5
panel_pixels "$work/panel-before.png"

wineserver -p </dev/null >/dev/null 2>&1
wine cmd /c exit </dev/null >/dev/null 2>&1
start_desktop_companions "$panels_exe"
mkdir "$work/run"
printf '[PREFS]\r\nALIGN=3\r\n' >"$work/run/VELMOR.INI"
(cd "$work/run" && exec wine "$exe" </dev/null >/dev/null 2>&1) &
wait_until '[ "$(bar_rect)" != none ]' || fail "the bar did not appear"
sleep 1

# docked at the bottom: above the panel, its strip kept out of the work area
read -r _ bar_top _ bar_bottom <<<"$(bar_rect)"
[ "$bar_bottom" = "$panel_top" ] || fail "the bar $(bar_rect) does not stand on the panel at $panel_top"
/usr/bin/import -window root "$shots/desktop-$wm-docked-bottom.png"
panel_pixels "$work/panel-after.png"
changed=$(compare -metric AE "$work/panel-before.png" "$work/panel-after.png" null: 2>&1 || true)
[ "$changed" = 0 ] || fail "$changed pixels of the panel changed under the docked bar"
wait_until '[ "$(nth 4 work_area)" = $bar_top ]' || fail "work area $(work_area) with the bar docked at $bar_top"
wait_until '[ "$(nth 4 titled_rect)" -le $bar_top ] && [ "$(nth 4 titled_rect)" -gt $((bar_top - 30)) ]' ||
    fail "the maximised xterm $(titled_rect) does not stop short of the bar at $bar_top"

# floating: the whole work area again
drag 8 $((bar_top + 36)) 400 300
wait_until '[ "$(nth 1 bar_rect)" != none ] && [ $(($(nth 3 bar_rect) - $(nth 1 bar_rect))) = 151 ]' || fail "the bar did not float: $(bar_rect)"
wait_until '[ "$(nth 4 work_area)" = $panel_top ]' || fail "work area $(work_area) with the bar floating"
if [ "$wm" = icewm ]; then
    # icewm shrinks a maximised window when the work area shrinks but never grows it again:
    # the user maximises it anew (a double click restores it, the next maximises it)
    maximise
    wait_until '[ "$(nth 4 titled_rect)" -lt $((bar_top - 100)) ]' || fail "the xterm $(titled_rect) was not restored"
    maximise
fi
wait_until '[ "$(nth 4 titled_rect)" -gt $((bar_top + 30)) ]' ||
    fail "the maximised xterm $(titled_rect) did not take the freed strip"
/usr/bin/import -window root "$shots/desktop-$wm-floating.png"

# docked at the top
read -r left top _ _ <<<"$(bar_rect)"
drag $((left + 90)) $((top + 6)) 500 2
wait_until '[ "$(bar_rect)" = "0 $area_top 1024 $((area_top + 55))" ]' || fail "the bar did not dock at the top: $(bar_rect)"
wait_until '[ "$(nth 2 work_area)" = $((area_top + 55)) ]' || fail "work area $(work_area) with the bar docked at the top"
wait_until '[ "$(nth 2 titled_rect)" -ge $((area_top + 55)) ] && [ "$(nth 4 titled_rect)" -gt $((panel_top - 30)) ]' ||
    fail "the maximised xterm $(titled_rect) does not stop short of the bar at the top"
/usr/bin/import -window root "$shots/desktop-$wm-docked-top.png"

# closed: nothing reserved any more
wine taskkill /im velmor.exe >/dev/null 2>&1
wait_until '[ "$(bar_rect)" = none ]' || fail "the bar did not close"
wait_until '[ "$(work_area)" = "0 $area_top 1024 $panel_top" ]' || fail "work area $(work_area) after the bar closed"
echo "1 passed, 0 failed"
