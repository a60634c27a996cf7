# shellcheck shell=bash
# For the test scripts that need a display or a Wine prefix of their own. Sourced, not run.

: "${WINEPREFIX:?run under scripts/check}"
# shellcheck source=../scripts/common.sh
. "$(dirname "${BASH_SOURCE[0]}")/../scripts/common.sh"    # start_xvfb
# Wine takes the width (win32 or win64) from the prefix itself, and so from its copies.
unset WINEARCH
# a command that ends the script by set -e says so, rather than the test failing unexplained
set -E
trap '[ "$BASH_SUBSHELL" != 0 ] || echo "FAIL: \"$BASH_COMMAND\" ended with status $? (line $LINENO of ${0##*/})" >&2' ERR

# A copy of the test prefix ($WINEPREFIX) in $1, on the prefix's own file system, so that a wineserver of its own runs there
# (Wine reads the screen once per wineserver). The system DLLs, half a gigabyte, are shared
# as hard links; everything that Wine might rewrite in place gets a copy of its own.
copy_test_prefix() {
    mkdir "$1"
    cp -al "$WINEPREFIX"/. "$1"/
    find "$1" -type f -not -path '*/windows/system32/*' -not -path '*/windows/winsxs/*' -print0 |
        while IFS= read -r -d '' f; do cp -p "$f" "$f.own" && mv -f "$f.own" "$f"; done
}

# own_test_prefix [GEOMETRY]: a folder of the script's own ($work) beside the test prefix,
# where the prefix's copy can be made of hard links (they cannot cross file systems), and
# that copy in $work/prefix; with a GEOMETRY, that copy is the prefix in use and an Xvfb of
# that size the display. When the script ends, before_clean_up (where the script has one),
# the processes in $pids, that prefix's wineserver, the display of its own and the folder go.
work=
pids=()
own_display=
own_display_pid=
own_test_prefix() {
    work=$(mktemp -d "$(dirname "$WINEPREFIX")/test-XXXXXX")
    trap clean_up_own_test EXIT
    copy_test_prefix "$work/prefix"
    [ -n "${1:-}" ] || return 0
    export WINEPREFIX=$work/prefix
    start_own_display "$1"
    export DISPLAY=$own_display
}
clean_up_own_test() {
    local pid
    if declare -F before_clean_up >/dev/null; then before_clean_up; fi
    for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null || true; done
    WINEPREFIX=$work/prefix wineserver -k >/dev/null 2>&1 || true
    [ -n "$own_display_pid" ] && kill "$own_display_pid" 2>/dev/null && wait "$own_display_pid" 2>/dev/null
    rm -rf "$work"
}

# start_own_display GEOMETRY: an Xvfb of that size (say 1024x768); sets own_display and
# own_display_pid
start_own_display() {
    start_xvfb "${1}x24" || return 1
    own_display=$XVFB_DISPLAY own_display_pid=$XVFB_PID
}

# wait_until "condition" [SECONDS]: for up to 5 s, or the SECONDS given to a new program's
# first window (an xterm starts in seconds on a slow machine)
wait_until() {
    local i
    for i in $(seq $((${2:-5} * 10))); do
        eval "$1" && return 0
        sleep 0.1
    done
    return 1
}
keyboard_window() { xdotool getwindowfocus getwindowname 2>/dev/null || echo none; }
shown() { xdotool search --onlyvisible --name "$1" 2>/dev/null | wc -l; }

# start_openbox LOG: the window manager on $DISPLAY, in the background ($! is its pid);
# returns once it manages windows. It runs its --startup command when it has finished
# starting: on a slow machine a window mapped before then (the first xterm) can stay
# unmapped for good, though the screen already says which manager it has.
start_openbox() {
    local started=$1.started
    rm -f "$started"
    openbox --sm-disable --startup "touch '$started'" </dev/null >"$1" 2>&1 &
    wait_until '[ -e "$started" ]' 60 ||
        fail "openbox did not start on $DISPLAY (xdpyinfo: $(xdpyinfo >/dev/null 2>&1 && echo answers || echo silent)): $(cat "$1")"
}

# user_click X Y: a left click as a hand gives it, the button held a tenth of a second. On
# the bar, whose whole surface is a caption, a press starts a drag; Wine on X hands that to
# the window manager, which would go on dragging after a release that came before it (as
# xdotool's click gives it) until the next click.
user_click() {
    xdotool mousemove "$1" "$2" mousedown 1
    sleep 0.1
    xdotool mouseup 1
}

# drag x0 y0 x1 y1: the real mouse, pressed, moved in steps and released, as a user drags
drag() {
    xdotool mousemove "$1" "$2"
    sleep 0.2
    xdotool mousedown 1
    local i steps=12
    for i in $(seq $steps); do
        xdotool mousemove $(( $1 + ($3 - $1) * i / steps )) $(( $2 + ($4 - $2) * i / steps ))
        sleep 0.05
    done
    sleep 0.2
    xdotool mouseup 1
    sleep 0.5
}
