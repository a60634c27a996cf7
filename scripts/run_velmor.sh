#!/usr/bin/env bash
# Runs a built velmor.exe under Wine, as scripts/velmor does once it has built:
#
#   scripts/run_velmor.sh EXE                     on $DISPLAY; Ctrl+C closes it, as its menu does
#   scripts/run_velmor.sh EXE --screenshot FILE   save FILE once the bar has drawn, then close it
#
# In a Wine prefix of its own, or in $WINEPREFIX when set, where only velmor.exe's own
# settings are added. On a desktop with a window manager the companions in desktop/ run
# beside the bar and end with it. With no $DISPLAY it runs on a private Xvfb and takes
# the screenshot.
# A failure ends with a line that says what failed and a status other than 0.
set -euo pipefail
exe=${1:?which velmor.exe to run}
shift
. "${0%/*}/common.sh"
. "$VELMOR_ROOT/desktop/companions.sh"

screenshot=
while [ $# -gt 0 ]; do
    case $1 in
        --screenshot) screenshot=${2:?--screenshot needs a file name}; shift 2 ;;
        --screenshot=*) screenshot=${1#*=}; shift ;;
        *) echo "unknown argument: $1" >&2; exit 2 ;;
    esac
done
fail() { echo "velmor: $*" >&2; exit 1; }

if [ -n "${WINEPREFIX:-}" ]; then
    prepare_wine_prefix user || fail "the Wine prefix $WINEPREFIX could not be prepared"
else
    prepare_wine_prefix velmor || fail "the Wine prefix could not be prepared"
fi

if [ -z "${DISPLAY:-}" ]; then
    screenshot=${screenshot:-velmor-screenshot.png}
    trap stop_wine_and_display EXIT
    start_private_display 1024x768x24 || fail "no private X display could be started"
else
    look_at_root_window || fail "the X display $DISPLAY cannot be opened"
    trap stop_desktop_companions EXIT
    start_desktop_panels "${exe%/*}" || exit 1
fi

# The terminal that started us keeps the keyboard: the bar takes it when it appears, as a
# program just started does on Windows, and it is given back once the bar has taken it.
keyboard=${x_active:-}
[ -n "$keyboard" ] || keyboard=$(xdotool getwindowfocus 2>/dev/null || true)
# the X windows of this copy's bar, shown or not
bar_exists() { xdotool search --pid "$velmor_pid" --name '^Velmor$' >/dev/null 2>&1; }
# until the bar is on the screen (its window is made a while before it is shown)
wait_for_bar() {
    for _ in $(seq 100); do
        xdotool search --onlyvisible --pid "$velmor_pid" --name '^Velmor$' >/dev/null 2>&1 && return 0
        kill -0 "$velmor_pid" 2>/dev/null || return 1
        sleep 0.1
    done
    return 1
}

# once the bar has taken the keyboard (on a slow machine a while after it is shown)
give_keyboard_back() {
    local focus
    for _ in $(seq 100); do
        focus=$(xdotool getwindowfocus 2>/dev/null || true)
        if [ -n "$focus" ] && [ "$(xdotool getwindowpid "$focus" 2>/dev/null)" = "$velmor_pid" ]; then
            xdotool windowfocus "$keyboard" 2>/dev/null || true
            return 0
        fi
        sleep 0.1
    done
}

if [ -z "$screenshot" ]; then
    # Ctrl+C here would end the program at once, without its shutdown, and lose its
    # preferences: it runs in a session of its own, and Ctrl+C asks this copy's bar alone to
    # close, as its Close command does (a second Ctrl+C ends it by force).
    closing=
    forced=
    close_velmor() {
        echo
        if [ -z "$closing" ]; then
            echo "closing Velmor… (a second Ctrl+C ends it by force)"
            closing=1
            "$VELMOR_ROOT/desktop/close_bar.py" "$velmor_pid" 2>/dev/null || end_by_force "it had no bar to close yet"
        else
            end_by_force "a second Ctrl+C"
        fi
    }
    end_by_force() {
        forced=$1
        kill -KILL "$velmor_pid" 2>/dev/null || true
        wait "$velmor_pid" 2>/dev/null || true    # so bash says no "Killed" of it
    }
    # Wine on X: a program started with a terminal on any of its standard streams gets a
    # console of its own there (conhost.exe --unix), which can outlive it with Wine's
    # services and read what is typed: this one gets none
    setsid wine "$exe" </dev/null >/dev/null 2>&1 &
    velmor_pid=$!
    # what VELMOR.INI was before the run: the program writes it only as it closes (and Wine
    # leaves it untouched when nothing in it changes)
    ini_before=$(stat -c %y VELMOR.INI 2>/dev/null || true)
    trap close_velmor INT TERM
    # what runs from here on is ended by Ctrl+C too, with a status that must not end us
    shown=
    wait_for_bar && shown=1
    # the keepers once the bar is there: started beside it, they would slow its start
    start_desktop_keepers "${exe%/*}"
    if [ -n "$shown" ]; then
        sleep 1 || true
        [ -z "$keyboard" ] || give_keyboard_back || true
    fi
    echo "Velmor is running; close it from its menu or press Ctrl+C"
    # Once the bar has gone the program ends within a second; one that still runs then
    # waits on something that may never answer, and is ended by force after a while.
    gone=0
    while kill -0 "$velmor_pid" 2>/dev/null; do
        if [ -z "$shown" ] || bar_exists; then gone=0; else gone=$((gone + 1)); fi
        [ $gone -lt 10 ] || end_by_force "it did not end 10 s after its bar had gone"
        sleep 1 || true
    done
    status=0
    wait "$velmor_pid" || status=$?
    if [ -n "$forced" ]; then
        if [ -f VELMOR.INI ] && [ "$(stat -c %y VELMOR.INI)" != "$ini_before" ]; then
            fail "velmor.exe was ended by force ($forced), after it had saved its preferences"
        fi
        fail "velmor.exe was ended by force ($forced); its preferences were not saved"
    fi
    [ "$status" = 0 ] || fail "velmor.exe ended with status $status"
    exit 0
fi

case $screenshot in /*) ;; *) screenshot=$PWD/$screenshot ;; esac
start_wine_services
wine "$exe" </dev/null >/dev/null 2>&1 &
velmor_pid=$!
wait_for_bar || fail "velmor.exe ended before its bar appeared"
start_desktop_keepers "${exe%/*}"
sleep 1.5
/usr/bin/import -window root "$screenshot"
echo "$screenshot"

# The bar's close command, which saves its preferences and ends the program.
"$VELMOR_ROOT/desktop/close_bar.py" "$velmor_pid" || true
for _ in $(seq 50); do
    kill -0 "$velmor_pid" 2>/dev/null || break
    sleep 0.1
done
kill "$velmor_pid" 2>/dev/null || true
wait "$velmor_pid" 2>/dev/null || true
