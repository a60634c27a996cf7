#!/usr/bin/env bash
# The run command in terminals on a desktop with a window manager, as a user starts it in a
# Wine prefix of their own ($WINEPREFIX) where another Wine program runs: two copies side by
# side; right after the start the keyboard is still the terminal's, so a Ctrl+C typed at
# once reaches it and closes that terminal's copy alone, as its Close command does
# (preferences written, nothing of it left running), while the other runs on; what is
# typed in a terminal while its copy runs reaches that terminal's shell, as no Wine process
# holds the terminal; nothing but the command's own lines is printed there; a copy whose
# bar hangs is ended by force at a second Ctrl+C, and one left running once its bar has gone
# is ended by force after a while, each with a line and a status other than 0.
#
#   run_command.sh RUNNER EXE [DESKTOP]   DESKTOP: openbox (the default) or one that
#                                         tests/desktops.sh starts
# A display, a desktop and a Wine prefix of its own, so that no other test sees them.
set -euo pipefail
runner=$1
exe=$2
desktop=${3:-openbox}
tests=$(cd "$(dirname "$0")" && pwd)
. "$(dirname "$0")/own_display.sh"

own_test_prefix 1024x768
# a prefix of the user's own: without the mark of the project's prefixes
rm -f "$WINEPREFIX/.velmor-ready"
copies=()
declare -A terminal_pid
# shellcheck disable=SC2154 # work: set by own_display.sh
fail() {
    echo "FAIL: $*"
    for copy in "${copies[@]}"; do
        echo "$copy's terminal said:"
        tr -d '\r' 2>/dev/null <"$work/$copy/terminal" || true
    done
    exit 1
}

if [ "$desktop" = openbox ]; then
    start_openbox "$work/openbox.log"
    pids+=($!)
else
    . "$tests/../desktop/companions.sh"
    . "$tests/desktops.sh"
    start_desktop "$desktop"
fi
# another Wine program in the prefix, running all along
wineserver -p </dev/null >/dev/null 2>&1
wine cmd /c exit </dev/null >/dev/null 2>&1

# start_copy NAME Y: a terminal at height Y, logging what it shows, that runs the command in
# folder NAME and, when it ends, writes its status there, then reads a line for 3 s (what
# was typed meanwhile)
start_copy() {
    local copy=$1    # by name: the conditions below are evaluated inside wait_until
    copies+=("$copy")
    mkdir "$work/$copy"
    xterm -title "terminal $copy" -geometry 80x10+100+"$2" -l -lf "$work/$copy/terminal" -e bash -c \
        'cd "$0" && tty >tty && VELMOR_COPY=$0 "$1" "$2"; echo $? >status; read -r -t 3 line; echo "$line" >typed' \
        "$work/$copy" "$runner" "$exe" </dev/null >/dev/null 2>&1 &
    pids+=($!)
    terminal_pid[$copy]=$!
    wait_until '[ "$(shown "^terminal $copy$")" = 1 ]' 30 || fail "terminal $copy did not appear"
    for _ in 1 2 3 4 5 6; do
        wait_until 'grep -q "Velmor is running" "$work/$copy/terminal" 2>/dev/null' && return 0
    done
    fail "copy $copy did not start"
}

# whether a copy's terminal has closed, its log complete
terminal_closed() { ! kill -0 "${terminal_pid[$1]}" 2>/dev/null; }

# the processes that a copy's command started, by the mark in their environment
processes_of() {
    local pid
    for pid in /proc/[0-9]*; do
        tr '\0' '\n' 2>/dev/null <"$pid/environ" | grep -qx "VELMOR_COPY=$work/$1" && echo "${pid#/proc/}"
    done
    return 0
}
velmor_of() {
    local pid
    for pid in $(processes_of "$1"); do
        [ "$(cat "/proc/$pid/comm" 2>/dev/null)" = velmor.exe ] && echo "$pid"
    done
    return 0
}
# what is left of a copy's command: its processes and what they are
left_of() {
    local pid
    for pid in $(processes_of "$1"); do echo "$pid $(tr '\0' ' ' 2>/dev/null <"/proc/$pid/cmdline")"; done
}
# the Wine processes of a copy that have its terminal open, and which of their files it is
wine_on_terminal() {
    local pid fd terminal
    terminal=$(cat "$work/$1/tty")
    for pid in $(processes_of "$1"); do
        case $(readlink "/proc/$pid/exe" 2>/dev/null) in *wine*) ;; *) continue ;; esac
        for fd in "/proc/$pid/fd/"*; do
            [ "$(readlink "$fd" 2>/dev/null)" = "$terminal" ] && echo "$pid $(tr '\0' ' ' 2>/dev/null <"/proc/$pid/cmdline") (fd ${fd##*/})"
        done
    done
    return 0
}
# noise_of COPY LINE: the lines that a copy's terminal showed besides the command's own, the
# Ctrl+Cs and LINE (what was typed there, or the command's last word)
noise_of() {
    tr -d '\r' <"$work/$1/terminal" | grep -v -x -F -e "Velmor is running; close it from its menu or press Ctrl+C" \
        -e "^C" -e "closing Velmor… (a second Ctrl+C ends it by force)" -e "$2" -e "" || true
}

start_copy one 300
start_copy two 500
# the line comes once the bar's X window exists; on a slow machine it is shown a moment later
wait_until '[ "$(shown "^Velmor$")" = 2 ]' || fail "not two bars but $(shown "^Velmor$")"
wait_until '[ "$(keyboard_window)" = "terminal two" ]' || fail "right after the start '$(keyboard_window)' has the keyboard"
for copy in one two; do
    [ -z "$(wine_on_terminal $copy)" ] || fail "Wine processes of copy $copy hold its terminal: $(wine_on_terminal $copy)"
done

xdotool key ctrl+c
wait_until '[ -s "$work/two/status" ]' || fail "Ctrl+C did not end the copy in its terminal"
[ "$(cat "$work/two/status")" = 0 ] || fail "the run command ended with status $(cat "$work/two/status")"
[ "$(tr -d '\r' <"$work/two/VELMOR.INI")" = "$(printf '[PREFS]\nALIGN=1\nONTOP=1')" ] ||
    fail "Ctrl+C did not close the bar as its Close command does: $(cat "$work/two/VELMOR.INI" 2>/dev/null)"
wait_until '[ -z "$(processes_of two)" ]' || fail "Ctrl+C left copy two's processes running: $(left_of two)"
sleep 1
[ ! -s "$work/one/status" ] && [ "$(shown "^Velmor$")" = 1 ] || fail "Ctrl+C closed the other copy too"

# what is typed in the first terminal while its copy runs reaches its shell once the copy
# has ended (Ctrl+C would drop it: the bar's Close ends this copy)
terminal=$(xdotool search --name '^terminal one$' | head -n1)
eval "$(xdotool getwindowgeometry --shell "$terminal")"
xdotool mousemove $((X + WIDTH / 2)) $((Y + HEIGHT / 2)) click 1
# xfwm4 may take the terminal for the active window already, though the keyboard went to
# the root as the other terminal closed, and leave it there: then it is set on the terminal
wait_until '[ "$(keyboard_window)" = "terminal one" ]' 2 || xdotool windowfocus "$terminal"
wait_until '[ "$(keyboard_window)" = "terminal one" ]' || fail "terminal one did not take the keyboard: '$(keyboard_window)' has it"
xdotool type --delay 50 "hello there"
xdotool key Return
sleep 1
"$tests/../desktop/close_bar.py" "$(velmor_of one)" || fail "copy one has no bar to close"
wait_until '[ -s "$work/one/typed" ]' 10 || fail "the first copy did not end at its bar's Close"
[ "$(cat "$work/one/status")" = 0 ] && [ -s "$work/one/VELMOR.INI" ] || fail "the first copy did not close"
[ "$(cat "$work/one/typed")" = "hello there" ] || fail "of 'hello there' typed in its terminal the shell read '$(cat "$work/one/typed")'"
wait_until '[ -z "$(processes_of one)" ]' || fail "copy one's processes still run: $(left_of one)"
for copy in one two; do
    wait_until "terminal_closed $copy" 10 || fail "terminal $copy stayed"
    [ -z "$(noise_of $copy "hello there")" ] || fail "terminal $copy showed more than the command's lines: $(noise_of $copy "hello there")"
done

# a bar that hangs: Ctrl+C asks it to close in vain, and a second Ctrl+C ends it by force
# ended_by_force COPY SAID: the copy's command has ended with a status other than 0, its
# terminal said SAID and nothing else of its own, and nothing of the copy runs
ended_by_force() {
    local copy=$1 said=$2
    [ "$(cat "$work/$copy/status")" != 0 ] || fail "copy $copy's command ended with status 0 when it was ended by force"
    wait_until "terminal_closed $copy" 10 || fail "terminal $copy stayed"
    grep -q -x -F "$said" <(tr -d '\r' <"$work/$copy/terminal") && [ -z "$(noise_of "$copy" "$said")" ] ||
        fail "copy $copy's command did not say alone: $said"
    wait_until "[ -z \"\$(processes_of $copy)\" ]" || fail "copy $copy's processes still run: $(left_of "$copy")"
}

start_copy three 300
velmor=$(velmor_of three)
kill -STOP "${velmor:?no velmor.exe of copy three}"
xdotool key ctrl+c
sleep 1
[ ! -s "$work/three/status" ] || fail "the command ended before its hung bar did"
xdotool key ctrl+c
wait_until '[ -s "$work/three/status" ]' || fail "a second Ctrl+C did not end the command"
ended_by_force three "velmor: velmor.exe was ended by force (a second Ctrl+C); its preferences were not saved"

# a program left running once its bar has gone is ended by force after a while
start_copy four 300
velmor=$(velmor_of four)
kill -STOP "${velmor:?no velmor.exe of copy four}"
xdotool windowkill "$(xdotool search --pid "$velmor" --name '^Velmor$' | head -n1)"
wait_until '[ -s "$work/four/status" ]' 20 || fail "the command did not end once its bar had gone: $(left_of four)"
ended_by_force four "velmor: velmor.exe was ended by force (it did not end 10 s after its bar had gone); its preferences were not saved"
echo "1 passed, 0 failed"
