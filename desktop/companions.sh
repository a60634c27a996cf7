# shellcheck shell=bash
# The companions that scripts/velmor starts with the bar and ends with it, so that the bar
# is a good citizen of an X desktop under Wine: velmor-panels.exe makes the desktop's panels
# known to Wine's shell, strut.py reserves the docked bar's strip on the X screen, and
# stacking.py, told by velmor-ontop.exe, stacks the bar as "Always on top" says. Sourced
# (by scripts/velmor and the desktop test), not run.

DESKTOP_DIR=$(cd "${BASH_SOURCE[0]%/*}" && pwd)
companions_dir=
companions_wanted=  # a window manager keeps a work area: the companions run
alive_pid=          # holds the pipe whose closing ends the companions
panels_pid=
strut_pid=
stacking_pid=

# One look at the root window (one X client, for a fast start): sets x_area ("left top right
# bottom" of the current desktop's work area), x_desktop ("width height" of the desktop) and
# x_active (the active window), each empty where no window manager publishes it; fails
# where the display cannot be opened.
look_at_root_window() {
    local out line desktop=0 area="" i
    local -a v
    x_area='' x_desktop='' x_active=''
    out=$(xprop -root -notype _NET_CURRENT_DESKTOP _NET_WORKAREA _NET_DESKTOP_GEOMETRY \
        _NET_ACTIVE_WINDOW 2>/dev/null) || return 1
    while IFS= read -r line; do
        case $line in
            '_NET_CURRENT_DESKTOP = '*) desktop=${line#* = } ;;
            '_NET_WORKAREA = '*) area=${line#* = } ;;
            '_NET_DESKTOP_GEOMETRY = '*) x_desktop=${line#* = } x_desktop=${x_desktop/, / } ;;
            '_NET_ACTIVE_WINDOW: window id # 0x'*) x_active=$((${line##* })) ;;
        esac
    done <<<"$out"
    [ "$x_active" != 0 ] || x_active=''
    IFS=', ' read -r -a v <<<"$area"
    i=$((4 * desktop))
    [ ${#v[@]} -ge $((i + 4)) ] || i=0
    [ ${#v[@]} -ge 4 ] || return 0
    x_area="${v[i]} ${v[i+1]} $((v[i] + v[i+2])) $((v[i+1] + v[i+3]))"
}

# "left top right bottom" of the X work area of the current desktop; fails where no window
# manager publishes one.
x_work_area() {
    look_at_root_window && [ -n "$x_area" ] && echo "$x_area"
}

# start_desktop_companions DIR: DIR holds the Win32 companions, built with the program; the
# two steps below, one after the other (the run command starts the bar between them). The
# companions read one pipe and end when it closes: at stop_desktop_companions, or within a
# second of this shell's end, however it ends (tail --pid holds the pipe open, not this
# shell, whose other children would keep it open too). Nothing starts where there is no
# window manager (no panels, no work area to keep).
start_desktop_companions() {
    look_at_root_window
    start_desktop_panels "$1" && start_desktop_keepers "$1"
}

# start_desktop_panels DIR: the panels made known to Wine's shell, which keeps a bar clear only
# of the bars announced before it: so this returns once they are, before the bar starts. The
# panels are read once (look_at_root_window, just before), before the bar's own strut
# exists, so that strip never counts as a panel; where the work area is the whole desktop
# nothing reserves a strip, and nothing waits.
start_desktop_panels() {
    local desktop=$x_desktop
    local -a edges
    [ -n "$x_area" ] || return 0
    companions_wanted=1
    [ -n "$desktop" ] || desktop=$(xwininfo -root 2>/dev/null | awk '/^  Width:/ { w = $2 } /^  Height:/ { h = $2 } END { print w, h }')
    read -r -a edges <<<"$x_area"
    [ "${edges[0]}" -gt 0 ] || [ "${edges[1]}" -gt 0 ] || [ "${edges[2]} ${edges[3]}" != "$desktop" ] || return 0
    open_companions_pipe
    # there before it is polled: each companion's redirections wait for the pipe to open
    : >"$companions_dir/panels.out"
    # each in a session of its own, as the bar is: Ctrl+C in the terminal ends none of them
    setsid wine "$1/velmor-panels.exe" "${edges[@]}" <"$companions_dir/alive" >"$companions_dir/panels.out" 2>/dev/null &
    panels_pid=$!
    for _ in $(seq 500); do
        grep -q ready "$companions_dir/panels.out" && return 0
        kill -0 "$panels_pid" 2>/dev/null || break
        sleep 0.02
    done
    echo "the desktop's panels could not be made known to Wine's shell ($1/velmor-panels.exe)" >&2
    stop_desktop_companions
    return 1
}

# start_desktop_keepers DIR: the strip's and the stacking's keepers, which find the bar
# whenever it comes; after start_desktop_panels.
start_desktop_keepers() {
    [ -n "$companions_wanted" ] || return 0
    [ -n "$companions_dir" ] || open_companions_pipe
    setsid /usr/bin/python3 "$DESKTOP_DIR/strut.py" <"$companions_dir/alive" >/dev/null 2>"$companions_dir/strut.err" &
    strut_pid=$!
    setsid bash -c 'wine "$1" 2>/dev/null | /usr/bin/python3 "$2"' stacking "$1/velmor-ontop.exe" \
        "$DESKTOP_DIR/stacking.py" <"$companions_dir/alive" >/dev/null 2>"$companions_dir/stacking.err" &
    stacking_pid=$!
}

# the companions' folder and the pipe they read
open_companions_pipe() {
    companions_dir=$(mktemp -d)
    mkfifo "$companions_dir/alive"
    setsid tail -f /dev/null --pid=$$ >"$companions_dir/alive" 2>/dev/null &
    alive_pid=$!
}

stop_desktop_companions() {
    [ -n "$companions_dir" ] || return 0
    local pid
    kill "$alive_pid" 2>/dev/null || true
    wait "$alive_pid" 2>/dev/null || true
    # each has 5 s to end by itself, then 2 s after a TERM; a hung one is ended by force
    for pid in $panels_pid $strut_pid $stacking_pid; do
        for _ in $(seq 50); do kill -0 "$pid" 2>/dev/null || break; sleep 0.1; done
        kill "$pid" 2>/dev/null || true
        for _ in $(seq 20); do kill -0 "$pid" 2>/dev/null || break; sleep 0.1; done
        kill -KILL "$pid" 2>/dev/null || true
        wait "$pid" 2>/dev/null || true
    done
    rm -rf "$companions_dir"
    companions_dir='' companions_wanted='' alive_pid='' panels_pid='' strut_pid='' stacking_pid=''
}
