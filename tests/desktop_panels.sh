#!/usr/bin/env bash
# The bar beside a desktop's own panels, with the companions scripts/velmor runs, on the
# desktop named (one of tests/desktops.sh's). Docked at the bottom the bar stands above the
# bottom panel and leaves its pixels alone; its menu, opened after a click on another
# window, stands over it, all of it on screen; a maximised xterm stops short of the docked
# bar, at the bottom and, after real drags, at the top (below a top panel where there is
# one), and takes the whole work area while the bar floats; "Always on top" off, a window
# raised over the floating bar covers it; minimised, the floating bar comes back by its
# icon in the desktop's tray, which holds one icon of the bar while it floats and none while
# it is docked, however often it has floated. A display, a desktop and a Wine prefix of
# its own.
set -euo pipefail
wm=$1
exe=$2
companions=$3
shots=$4
here=$(dirname "$0")
. "$here/own_display.sh"
. "$here/../desktop/companions.sh"
. "$here/desktops.sh"
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
    local id x y w h t b
    id=$(xdotool search --onlyvisible --name '^maxterm$' | head -1)
    x=$(xwininfo -id "$id" | awk '/Absolute upper-left X/ { print $NF }')
    y=$(xwininfo -id "$id" | awk '/Absolute upper-left Y/ { print $NF }')
    w=$(xwininfo -id "$id" | awk '/Width:/ { print $NF }')
    h=$(xwininfo -id "$id" | awk '/Height:/ { print $NF }')
    read -r _ _ t b < <(xprop -id "$id" -notype _NET_FRAME_EXTENTS | awk -F' = ' '{ gsub(",", ""); print $2 }')
    [ -n "$b" ] || { echo none; return; }
    echo "$x $((y - t + b)) $((x + w)) $((y + h))"
}

start_desktop "$wm"
area_top=$desktop_area_top panel_top=$desktop_area_bottom
panel_pixels() { /usr/bin/import -window root -crop "1024x$((screen_h - panel_top))+0+$panel_top" "$1"; }

root_id=$(xwininfo -root | awk '/Window id/ { print $4 }')
top_level() {   # the child of the root that holds X window $1
    local id parent
    id=$(printf '0x%x' "$1")
    while parent=$(xwininfo -children -id "$id" | awk '/Parent window id/ { print $4 }') &&
          [ -n "$parent" ] && [ "$parent" != "$root_id" ]; do id=$parent; done
    echo "$id"
}
over() {   # over A B: X window A is stacked over B
    local a b
    a=$(top_level "$1") b=$(top_level "$2")
    [ "$(xwininfo -root -children | awk -v a="$a" -v b="$b" '$1 == a || $1 == b { print $1; exit }')" = "$a" ]
}

# maximised by a double click on its title bar, as a user would; on fluxbox, which shades a
# window at that, by its own key for it
xterm -title maxterm -geometry 60x15+100+100 -e sleep 600 </dev/null >/dev/null 2>&1 &
pids+=($!)
wait_until '[ "$(xdotool search --onlyvisible --name "^maxterm$" | wc -l)" = 1 ] && [ "$(nth 2 titled_rect)" != none ]' 30 ||
    fail "the xterm did not appear"
maximise() {
    xdotool mousemove 300 $(( $(nth 2 titled_rect) + 8 ))
    if [ "$wm" = fluxbox ]; then xdotool click 1 key alt+F10; else xdotool click --repeat 2 --delay 80 1; fi
}
maximise
wait_until '[ "$(nth 4 titled_rect)" -gt $((panel_top - 30)) ]' || fail "the xterm is not maximised: '$(titled_rect)'"
sleep 0.5
panel_pixels "$work/panel-before.png"

wineserver -p </dev/null >/dev/null 2>&1
wine cmd /c exit </dev/null >/dev/null 2>&1
start_desktop_companions "$companions"
mkdir "$work/run"
printf '[PREFS]\r\nALIGN=3\r\n' >"$work/run/VELMOR.INI"
(cd "$work/run" && exec wine "$exe" </dev/null >/dev/null 2>&1) &
wait_until '[ "$(bar_rect)" != none ]' || fail "the bar did not appear"
sleep 1

# docked at the bottom: above the panel, its strip kept out of the work area
read -r _ bar_top _ bar_bottom <<<"$(bar_rect)"
[ "$bar_bottom" = "$panel_top" ] || fail "the bar $(bar_rect) does not stand on the panel at $panel_top"
/usr/bin/import -window root "$shots/desktop-$wm-docked-bottom.png"
# the xterm active again, as it was: the panels' task lists show which window is
xdotool mousemove 300 $((area_top + 100)) click 1
wait_until '[ "$(keyboard_window)" = maxterm ]' || fail "a click on the xterm left the keyboard with '$(keyboard_window)'"
sleep 0.5
panel_pixels "$work/panel-after.png"
changed=$(compare -metric AE "$work/panel-before.png" "$work/panel-after.png" null: 2>&1 || true)
[ "$changed" = 0 ] || fail "$changed pixels of the panel changed under the docked bar"
wait_until '[ "$(nth 4 work_area)" = $bar_top ]' || fail "work area $(work_area) with the bar docked at $bar_top"
wait_until '[ "$(nth 4 titled_rect)" -le $bar_top ] && [ "$(nth 4 titled_rect)" -gt $((bar_top - 30)) ]' ||
    fail "the maximised xterm $(titled_rect) does not stop short of the bar at $bar_top"
# the bar's menu, opened by a right click once the bar itself was clicked and once another
# window (the xterm) was: over the bar both times, and all of it on screen alike
bar_id=$(xdotool search --onlyvisible --name '^Velmor$' | head -1)
menu_id() { xdotool search --onlyvisible --classname '^velmor\.exe$' 2>/dev/null | grep -vx "$bar_id" | head -1 || true; }
open_menu() {   # open_menu NAME: the menu opened, checked, its pixels in $work/NAME.png, closed
    local id
    xdotool mousemove 500 $((bar_top + 30)) click 3
    wait_until '[ -n "$(menu_id)" ]' || fail "the bar's menu did not open ($1)"
    # the bar is raised (if it is) once its process has become the active one
    sleep 1
    id=$(menu_id)
    eval "$(xdotool getwindowgeometry --shell "$id")"
    /usr/bin/import -window root "$shots/desktop-$wm-menu-$1.png"
    [ "$X" -ge 0 ] && [ "$Y" -ge 0 ] && [ $((X + WIDTH)) -le 1024 ] && [ $((Y + HEIGHT)) -le $screen_h ] ||
        fail "the bar's menu (${WIDTH}x$HEIGHT+$X+$Y) is not all on the screen ($1)"
    over "$id" "$bar_id" || fail "the bar's menu (${WIDTH}x$HEIGHT+$X+$Y) is stacked under the bar ($1)"
    /usr/bin/import -window root -crop "${WIDTH}x$HEIGHT+$X+$Y" "$work/$1.png"
    # closed by a click beside it, on the bar's filler, which changes nothing (the keys are
    # another test's)
    user_click 900 $((bar_top + 30))
    wait_until '[ -z "$(menu_id)" ]' || fail "the bar's menu did not close ($1)"
}
user_click 500 $((bar_top + 30))
sleep 1
open_menu after-bar-clicked
xdotool mousemove 300 $((area_top + 100)) click 1
wait_until '[ "$(keyboard_window)" = maxterm ]' || fail "a click on the xterm left the keyboard with '$(keyboard_window)'"
sleep 1
open_menu after-xterm-clicked
changed=$(compare -metric AE "$work/after-bar-clicked.png" "$work/after-xterm-clicked.png" null: 2>&1 || true)
[ "$changed" = 0 ] || fail "$changed pixels of the bar's menu opened after a click on the xterm differ from its pixels opened after a click on the bar"

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

# "Always on top" on the floating bar: on, an xterm raised by a click on it stays under the
# bar; off (from the bar's menu), the raised xterm covers the bar and has the keyboard, and
# a click on the bar brings it back over the xterm
read -r left top _ _ <<<"$(bar_rect)"
bar_id=$(xdotool search --onlyvisible --name '^Velmor$' | head -1)
xterm -title overterm -geometry 30x12 -e sleep 600 </dev/null >/dev/null 2>&1 &
overterm_pid=$!
pids+=("$overterm_pid")
wait_until '[ "$(shown "^overterm$")" = 1 ]' 30 || fail "the second xterm did not appear"
overterm=$(xdotool search --onlyvisible --name '^overterm$' | head -1)
xdotool windowmove "$overterm" $((left + 60)) $((top + 100))
# xfwm4 may map a new window under the maximised one, the active window it knows: brought
# forward as from the task list, so that the click below falls on it
maxterm=$(xdotool search --onlyvisible --name '^maxterm$' | head -1)
over "$overterm" "$maxterm" || xdotool windowactivate "$overterm"
wait_until 'over "$overterm" "$maxterm"' || fail "the second xterm stays under the maximised one"
sleep 0.5
under_bar() { /usr/bin/import -window root -crop "40x40+$((left + 100))+$((top + 150))" "$work/under-bar.png"; }
shows_overterm() { under_bar; [ "$(/usr/bin/convert "$work/under-bar.png" -format %k info:)" = 1 ]; }
xdotool mousemove $((left + 200)) $((top + 160)) click 1   # on the xterm, beside the bar
sleep 1
over "$bar_id" "$overterm" && ! shows_overterm || fail "with Always on top on, the raised xterm covers the bar"
xdotool mousemove $((left + 75)) $((top + 40)) click 3
wait_until '[ "$(keyboard_window)" = Velmor ]' || fail "the bar's menu did not take the keyboard"
xdotool key t
sleep 1
xdotool mousemove $((left + 200)) $((top + 160)) click 1
if desktop_paints_unmanaged_on_top; then
    # shown over the xterm all the same, so kept over it, where its clicks go to it
    sleep 1
    over "$bar_id" "$overterm" && ! shows_overterm || fail "with Always on top off, the bar shown over the xterm is under it"
else
    wait_until 'over "$overterm" "$bar_id"' || fail "with Always on top off, the raised xterm stays under the bar"
    shows_overterm || fail "with Always on top off, the raised xterm does not show over the bar"
fi
wait_until '[ "$(keyboard_window)" = overterm ]' || fail "the click on the xterm left the keyboard with '$(keyboard_window)'"
/usr/bin/import -window root "$shots/desktop-$wm-covered.png"
user_click $((left + 75)) $((top + 40))
wait_until 'over "$bar_id" "$overterm"' || fail "a click on the bar did not bring it back over the xterm"
kill "$overterm_pid"
wait_until '[ "$(shown "^overterm$")" = 0 ]' || fail "the second xterm did not close"

# minimised, the floating window comes back by a click on its icon in the desktop's tray
# (where the desktop has one), in front of the maximised xterm
# minimised, with "Always on top" off: its box stands in the work area over the maximised
# xterm, and the window comes back by the tray icon where the tray shows it, else by the box
floating_rect=$(bar_rect)
! desktop_tray_shows_icons || wait_until '[ "$(tray_icon)" != none ]' || fail "no tray icon in the desktop's tray"
user_click $((left + 124)) $((top + 6))
wait_until '[ "$(bar_rect)" != "$floating_rect" ]' || fail "the minimize button left the window at $(bar_rect)"
read -r box_left box_top box_right box_bottom <<<"$(bar_rect)"
[ "$box_top" -ge "$area_top" ] && [ "$box_bottom" -le "$panel_top" ] ||
    fail "the minimised box $(bar_rect) is outside the work area $area_top..$panel_top"
wait_until 'over "$bar_id" "$maxterm"' || fail "the minimised box is under the maximised xterm"
if desktop_tray_shows_icons; then
    read -r icon_x icon_y <<<"$(tray_icon)"
    user_click "$icon_x" "$icon_y"
else
    user_click $(((box_left + box_right) / 2)) $(((box_top + box_bottom) / 2))
fi
wait_until '[ "$(bar_rect)" = "$floating_rect" ]' || fail "the minimised window came back at $(bar_rect), not $floating_rect"
wait_until 'over "$bar_id" "$maxterm"' || fail "the restored bar stays under the maximised xterm"

# docked at the top
read -r left top _ _ <<<"$(bar_rect)"
drag $((left + 90)) $((top + 6)) 500 2
wait_until '[ "$(bar_rect)" = "0 $area_top 1024 $((area_top + 55))" ]' || fail "the bar did not dock at the top: $(bar_rect)"
wait_until '[ "$(nth 2 work_area)" = $((area_top + 55)) ]' || fail "work area $(work_area) with the bar docked at the top"
wait_until '[ "$(nth 2 titled_rect)" -ge $((area_top + 55)) ] && [ "$(nth 4 titled_rect)" -gt $((panel_top - 30)) ]' ||
    fail "the maximised xterm $(titled_rect) does not stop short of the bar at the top"
/usr/bin/import -window root "$shots/desktop-$wm-docked-top.png"

# floated and docked again, twice: Wine's tray holds no icon of the bar while it is docked
# and one while it floats, however often it has floated ("Always on top" on again, so that
# the floating bar comes up over the maximised xterm)
xdotool mousemove 300 $((area_top + 30)) click 3
wait_until '[ "$(keyboard_window)" = Velmor ]' || fail "the docked bar's menu did not take the keyboard"
xdotool key t
sleep 1
for float in 2 3; do
    wait_until '[ "$(tray_icons)" = 0 ]' || fail "$(tray_icons) tray icons with the bar docked after float $((float - 1))"
    drag 8 $((area_top + 36)) 400 300
    wait_until '[ "$(nth 1 bar_rect)" != none ] && [ $(($(nth 3 bar_rect) - $(nth 1 bar_rect))) = 151 ]' ||
        fail "the bar did not float a time $float: $(bar_rect)"
    wait_until '[ "$(tray_icons)" -ge 1 ]' || fail "no tray icon with the bar floating a time $float"
    sleep 1
    [ "$(tray_icons)" = 1 ] || fail "$(tray_icons) tray icons with the bar floating a time $float"
    read -r left top _ _ <<<"$(bar_rect)"
    drag $((left + 90)) $((top + 6)) 500 2
    wait_until '[ "$(bar_rect)" = "0 $area_top 1024 $((area_top + 55))" ]' || fail "the bar did not dock at the top again: $(bar_rect)"
done

# closed: nothing reserved any more
wine taskkill /im velmor.exe >/dev/null 2>&1 || fail "wine taskkill found no velmor.exe to close"
wait_until '[ "$(bar_rect)" = none ]' || fail "the bar did not close"
wait_until '[ "$(work_area)" = "0 $area_top 1024 $panel_top" ]' || fail "work area $(work_area) after the bar closed"
echo "1 passed, 0 failed"
