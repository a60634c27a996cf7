#!/usr/bin/env bash
# The minimised floating window under openbox, with trayer along the bottom: its box shows
# the icon and the name in the work area's bottom-left corner, above the panel, whose pixels
# it leaves alone, and a real click on it restores the window. The panel starts after Wine's
# session has begun, so Wine's own work area (read once) does not know it; the run command's
# companions make it known to Wine's shell, as on a desktop whose panel came later. A
# display, a window manager, a panel and a Wine prefix of its own.
set -euo pipefail
exe=$1
companions=$2
shots=$3
here=$(dirname "$0")
. "$here/own_display.sh"
. "$here/../desktop/companions.sh"
mkdir -p "$shots"

before_clean_up() { stop_desktop_companions; }
own_test_prefix 1024x768
fail() { echo "FAIL: $*"; /usr/bin/import -window root "$shots/minimised-box-failed.png" || true; exit 1; }

start_openbox "$work/openbox.log"
pids+=($!)
wineserver -p </dev/null >/dev/null 2>&1
wine cmd /c exit </dev/null >/dev/null 2>&1
trayer --edge bottom --widthtype percent --width 100 --height 30 --SetDockType true \
    --SetPartialStrut true --transparent false </dev/null >"$work/panel.log" 2>&1 &
pids+=($!)
work_area() { x_work_area 2>/dev/null || echo none; }   # left top right bottom
wait_until '[ "$(work_area)" = "0 0 1024 738" ]' 30 || fail "no panel along the bottom: work area '$(work_area)'"
start_desktop_companions "$companions"

mkdir "$work/run"
printf '[PREFS]\r\nALIGN=99\r\nONTOP=0\r\n' >"$work/run/VELMOR.INI"
(cd "$work/run" && exec wine "$exe" </dev/null >/dev/null 2>&1) &
pids+=($!)
wait_until '[ "$(shown "^Velmor$")" = 1 ]' || fail "the bar did not appear"
sleep 1
bar=$(xdotool search --onlyvisible --name '^Velmor$')
geometry() { xwininfo -id "$bar" | awk '/Absolute upper-left X/{x=$NF} /Absolute upper-left Y/{y=$NF}
    /Width/{w=$NF} /Height/{h=$NF} END{print w "x" h "+" x "+" y}'; }
floating=$(geometry)
case $floating in 151x218+*) ;; *) fail "the floating window is $floating" ;; esac
left=${floating#*+}; top=${left#*+}; left=${left%+*}

# Wine's own tray window, where it stands in for a missing tray, opens over the caption strip
tray=$(xdotool search --onlyvisible --name '^Wine System Tray$' 2>/dev/null || true)
[ -n "$tray" ] && xdotool windowmove "$tray" 600 0 && sleep 0.5
panel_pixels() { /usr/bin/import -window root -crop 1024x30+0+738 "$1"; }
panel_pixels "$work/panel-before.png"
# its minimize button, on the caption strip
xdotool mousemove $((left + 124)) $((top + 6)) click 1
wait_until '[ "$(geometry)" != "$floating" ]' || fail "the minimize button left the window at $(geometry)"
sleep 0.5
box=$(geometry)
/usr/bin/import -window root "$shots/minimised-box.png"
# wholly inside the work area, its bottom-left corner
[ "$box" = 160x24+0+714 ] || fail "the minimised box is $box, not in the corner of the work area $(work_area)"
panel_pixels "$work/panel-after.png"
changed=$(compare -metric AE "$work/panel-before.png" "$work/panel-after.png" null: 2>&1 || true)
[ "$changed" = 0 ] || fail "$changed pixels of the panel changed under the minimised box"
# the box is not blank: the caption colour, the icon's and the name's pixels on it
colours=$(convert "$shots/minimised-box.png" -crop 158x22+1+715 +repage -unique-colors txt:- | grep -c '^[0-9]')
[ "$colours" -ge 4 ] || fail "the minimised box shows $colours colours"

xdotool mousemove 80 726 click 1
wait_until '[ "$(geometry)" = "$floating" ]' || fail "a click on the box left the window at $(geometry)"
echo "1 passed, 0 failed"
