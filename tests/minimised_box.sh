#!/usr/bin/env bash
# The minimised floating window under openbox, with no tray to bring it back: its box at the
# bottom left shows the icon and the name, and a real click on it restores the window. A
# display, a window manager and a Wine prefix of its own.
set -euo pipefail
exe=$1
shots=$2
. "$(dirname "$0")/own_display.sh"
mkdir -p "$shots"

own_test_prefix 1024x768
fail() { echo "FAIL: $*"; exit 1; }

start_openbox "$work/openbox.log"
pids+=($!)

mkdir "$work/run"
printf '[PREFS]\r\nALIGN=99\r\nONTOP=0\r\n' >"$work/run/VELMOR.INI"
wineserver -p </dev/null >/dev/null 2>&1
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

# Wine's own tray window, which stands in for a missing tray, opens over the caption strip
tray=$(xdotool search --onlyvisible --name '^Wine System Tray$' 2>/dev/null || true)
[ -n "$tray" ] && xdotool windowmove "$tray" 600 0 && sleep 0.5
# its minimize button, on the caption strip
xdotool mousemove $((left + 124)) $((top + 6)) click 1
wait_until '[ "$(geometry)" = 160x24+0+744 ]' || fail "the minimised box is $(geometry)"
sleep 0.5
/usr/bin/import -window root "$shots/minimised-box.png"
# the box is not blank: the caption colour, the icon's and the name's pixels on it
colours=$(convert "$shots/minimised-box.png" -crop 158x22+1+745 +repage -unique-colors txt:- | grep -c '^[0-9]')
[ "$colours" -ge 4 ] || fail "the minimised box shows $colours colours"

xdotool mousemove 80 756 click 1
wait_until '[ "$(geometry)" = "$floating" ]' || fail "a click on the box left the window at $(geometry)"
echo "1 passed, 0 failed"
