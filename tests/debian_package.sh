#!/usr/bin/env bash
# The Debian package checked as Debian checks its own: lintian, the menu entry, the
# AppStream metainfo and the man page; then installed on this machine and run by a new
# user on a display of its own with a window manager: the bar shows, its settings land in
# that user's ~/.config/velmor, the menu entry's Exec line starts it, a second new user runs it
# beside the first with a prefix and settings of their own, --autostart on then off leaves
# nothing behind, and purging removes every file the package brought. The
# install needs root (or sudo): without, that half is skipped and says so.
#   tests/debian_package.sh DEB
set -euo pipefail
deb=$(realpath "${1:?which .deb to check}")
here=$(cd "$(dirname "$0")" && pwd)
. "$here/../scripts/common.sh"
work=$(mktemp -d)
chmod 755 "$work"
# own_display.sh's display and window manager (no Wine runs as root here)
export WINEPREFIX=$work/unused
. "$here/own_display.sh"
unset WINEPREFIX
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }
ok() { echo "ok: $*"; }

# --- the package as a file
contents=$work/contents
dpkg-deb -x "$deb" "$contents"
if lintian --fail-on error,warning "$deb" >"$work/lintian" 2>&1; then
    ok "lintian: no error, no warning"
else
    fail "lintian: $(grep -v 'root privileges' "$work/lintian")"
fi
# each override with its reason on the line above
overrides=$contents/usr/share/lintian/overrides/velmor
[ ! -e "$overrides" ] || awk 'NF && !/^#/ && prev !~ /^#/ { print; bad = 1 } { prev = $0 } END { exit bad }' \
    "$overrides" >"$work/bare" ||
    fail "lintian overrides without a reason: $(cat "$work/bare")"
desktop_entry=$contents/usr/share/applications/velmor.desktop
# quiet_ok WHAT COMMAND...: ok when COMMAND succeeds and says nothing
quiet_ok() {
    local what=$1 out
    shift
    if out=$("$@" 2>&1) && [ -z "$out" ]; then ok "$what"; else fail "$what: $out"; fi
}
quiet_ok desktop-file-validate desktop-file-validate "$desktop_entry"
if out=$(appstreamcli validate --no-net "$contents"/usr/share/metainfo/*.metainfo.xml 2>&1); then
    ok "appstreamcli validate --no-net"
else
    fail "appstreamcli validate --no-net: $out"
fi
quiet_ok "man --warnings" sh -c 'LC_ALL=C.UTF-8 MANWIDTH=80 man --warnings -E UTF-8 -l "$1" >/dev/null' man \
    "$contents/usr/share/man/man1/velmor.1.gz"
# the programs of each width, each with its Win32 companions
for width in "win32:Intel 80386" "win64:x86-64"; do
    for exe in velmor velmor-panels velmor-ontop; do
        file -b "$contents/usr/lib/velmor/${width%%:*}/$exe.exe" | grep -q "(GUI) ${width#*:}" ||
            fail "no ${width#*:} $exe.exe in /usr/lib/velmor/${width%%:*}"
    done
done
for size in 16 32 48; do
    [ "$(identify -format %wx%h "$contents/usr/share/icons/hicolor/${size}x$size/apps/velmor.png" 2>&1)" = "${size}x$size" ] ||
        fail "no ${size}x$size icon"
done

# --- installed on this machine, run by a new user
if [ "$(id -u)" != 0 ] && ! sudo -n true 2>/dev/null; then
    echo "skipped: installing the package needs root or sudo"
    rm -rf "$work"
    [ $failures = 0 ]
    exit
fi
if dpkg-query -W -f='${Status}' velmor 2>/dev/null | grep -q "ok installed"; then
    echo "skipped: a velmor package is already installed here, and the check would replace it"
    rm -rf "$work"
    [ $failures = 0 ]
    exit
fi
# two new users; the second runs beside the first
user=velmor-check$$
home=/home/$user
user2=${user}b
home2=/home/$user2
declare -A run_pid    # by run's name: the process that becomes the user's command
before_clean_up() {
    local pid name
    for pid in "${run_pid[@]}"; do kill -KILL "$pid" 2>/dev/null || true; done
    for name in "$user" "$user2"; do
        id "$name" >/dev/null 2>&1 || continue
        # every process of the users this check made, such as a run it gave up on
        # shellcheck disable=SC2046
        as_root kill -KILL $(pgrep -u "$name") 2>/dev/null || true
        as_root userdel -r "$name" 2>/dev/null || true
    done
    if dpkg-query -W -f='${Status}' velmor 2>/dev/null | grep -q "ok installed"; then
        as_root env DEBIAN_FRONTEND=noninteractive apt-get purge -y -qq -o DPkg::Lock::Timeout=600 velmor >/dev/null 2>&1 || true
    fi
}
trap clean_up_own_test EXIT
start_own_display 1024x768
# shellcheck disable=SC2154 # set by start_own_display
export DISPLAY=$own_display
start_openbox "$work/openbox.log"
pids+=($!)

# as_user COMMAND...: in the new user's own environment ($user, $home), in the root folder,
# on our display
as_user() {
    as_root runuser -u "$user" -- env -i HOME="$home" USER="$user" LOGNAME="$user" \
        PATH=/usr/local/bin:/usr/bin:/bin LANG=C.UTF-8 DISPLAY="$DISPLAY" sh -c 'cd / && exec "$@"' velmor "$@"
}
seconds_since() { awk -v a="$EPOCHREALTIME" -v b="$1" 'BEGIN { printf "%.1f", a - b }'; }
bars() { shown '^Velmor$' || true; }    # xdotool fails where it finds none
# start_bar NAME COMMAND...: the user's COMMAND in the background, with Ctrl+C's signal not
# ignored, as in a terminal; its log's first line is the process that becomes COMMAND.
# Returns once one more bar shows; sets took, the seconds until then.
start_bar() {
    local name=$1 started=$EPOCHREALTIME log=$work/$1.log before
    shift
    before=$(bars)
    as_user sh -c 'echo $$ && exec env --default-signal=INT "$@"' velmor "$@" >"$log" 2>&1 &
    run_pid[$name]=$!
    took=
    wait_until '[ "$(bars)" -gt "$before" ] || ! kill -0 "${run_pid[$name]}" 2>/dev/null' 180 || true
    [ "$(bars)" -gt "$before" ] || { fail "no bar after $*: $(cat "$log")"; return 1; }
    took=$(seconds_since "$started")
}
# close_bar NAME: Ctrl+C's signal to the run command, which closes the bar as its Close
# command does
close_bar() {
    local before
    before=$(bars)
    kill -INT "$(head -n1 "$work/$1.log")" 2>/dev/null || true
    wait_until '[ "$(bars)" -lt "$before" ]' 30 || fail "the bar did not close on Ctrl+C's signal"
    wait "${run_pid[$1]}" || fail "velmor ended with status $?: $(cat "$work/$1.log")"
    unset "run_pid[$1]"
}
wineserver_ends() { ! pgrep -u "$user" '^wineserver' >/dev/null; }

# the package's own files and folders that are not on this machine before it is installed
dpkg-deb -c "$deb" | awk '{ sub(/^\./, "", $6); sub(/\/$/, "", $6); print $6 }' |
    while read -r path; do [ -e "$path" ] || echo "$path"; done >"$work/brought"
install_started=$EPOCHREALTIME
# as the README says: apt install ./velmor_….deb
(cd "$(dirname "$deb")" && as_root env DEBIAN_FRONTEND=noninteractive apt install -y -q -o DPkg::Lock::Timeout=600 \
    "./$(basename "$deb")") >"$work/apt.log" 2>&1 ||
    { fail "apt-get install: $(cat "$work/apt.log")"; exit 1; }
as_root useradd -m "$user"
[ "$(as_user velmor --version)" = "velmor $(sed -n 's/.*VELMOR_VERSION  *"\(.*\)".*/\1/p' "$here/../res/version.h")" ] ||
    fail "velmor --version said $(as_user velmor --version)"
# what cannot work says so in one line, with status 1: no display here, and below, no
# 64-bit Wine on a machine that runs 64-bit code only
fails_in_one_line() {
    local what=$1 out status=0
    shift
    out=$("$@" 2>&1) || status=$?
    if [ $status = 1 ] && [ "$(wc -l <<<"$out")" = 1 ]; then ok "$what: $out"; else fail "$what: status $status, said: $out"; fi
}
fails_in_one_line "no display" as_root runuser -u "$user" -- env -i HOME="$home" PATH=/usr/bin:/bin velmor

start_bar first velmor && ok "the new user's velmor shows the bar"
first_start=$took
install_to_bar=$(seconds_since "$install_started")
/usr/bin/import -window root "$work/bar.png"
close_bar first
if grep -q '^\[PREFS\]' "$home/.config/velmor/VELMOR.INI" 2>/dev/null &&
    [ "$(stat -c %U "$home/.config/velmor/VELMOR.INI")" = "$user" ]; then
    ok "its settings in the user's ~/.config/velmor/VELMOR.INI"
else
    fail "no VELMOR.INI of the user's in ~/.config/velmor: $(ls -la "$home/.config/velmor" 2>&1)"
fi
grep -q 'preparing the Wine prefix' "$work/first.log" || fail "the first start did not say it prepares the prefix"

# the menu entry's Exec line, with its field codes left out, as a menu would run it
exec_line=$(sed -n 's/^Exec=//p' /usr/share/applications/velmor.desktop | sed 's/ *%[a-zA-Z]//g')
wait_until wineserver_ends 30 || echo "the user's wineserver still runs: the next start is not from cold"
# shellcheck disable=SC2086 # split into words as a menu does
start_bar menu $exec_line && ok "the menu entry's Exec line ($exec_line) starts it"
later_start=$took
close_bar menu
# the prefix of the width that runs here
if [ -d "$home/.local/share/velmor/wineprefix" ]; then
    prefix=wineprefix exe=/usr/lib/velmor/win32/velmor.exe
else
    prefix=twin/wineprefix exe=/usr/lib/velmor/win64/velmor.exe
fi

# a second user beside the first, both bars at once, each with their own prefix and
# settings: the first's bar docked at the bottom, as its VELMOR.INI says, the second's at
# the top, where a new user's starts
printf '[PREFS]\r\nALIGN=3\r\n' >"$home/.config/velmor/VELMOR.INI"
as_root useradd -m "$user2"
start_bar one velmor
user=$user2 home=$home2 start_bar two velmor
# "USER Y" of each bar shown: whose process shows it, and where
placed=$(for bar in $(xdotool search --onlyvisible --name '^Velmor$'); do
    echo "$(stat -c %U "/proc/$(xdotool getwindowpid "$bar")") $(xdotool getwindowgeometry "$bar" | awk -F'[ ,]' '/Position/ { print $5 }')"
done | sort)
if [ "$placed" = "$(printf '%s 714\n%s 0' "$user" "$user2" | sort)" ]; then
    ok "two users at once, each bar where that user's settings put it"
else
    fail "two users at once: the bars' users and heights are $(tr '\n' ' ' <<<"$placed")"
fi
close_bar two
close_bar one
for account in "$user:$home:3" "$user2:$home2:1"; do
    IFS=: read -r name folder align <<<"$account"
    [ "$(stat -c %U "$folder/.local/share/velmor/$prefix" "$folder/.config/velmor/VELMOR.INI" 2>&1 | sort -u)" = "$name" ] &&
        grep -q "^ALIGN=$align" "$folder/.config/velmor/VELMOR.INI" ||
        fail "$name's prefix and settings are not their own in their home: $(ls -ld "$folder/.local/share/velmor"/* "$folder/.config/velmor"/* 2>&1)"
done

# Wine alone, the floor for a later start: the same program, prefix and display
wait_until wineserver_ends 30 || echo "the user's wineserver still runs: the next start is not from cold"
start_bar wine env WINEPREFIX="$home/.local/share/velmor/$prefix" WINEDEBUG=-all wine "$exe"
wine_alone=$took
kill "$(head -n1 "$work/wine.log")"
wait "${run_pid[wine]}" || true
unset "run_pid[wine]"
wait_until '[ "$(bars)" = 0 ]' 10 || true

# start at login on request, and nothing left once it is off again
(cd "$home" && find . | sort) >"$work/home.before"
as_user velmor --autostart on >/dev/null
if grep -qx "Exec=$exec_line" "$home/.config/autostart/velmor.desktop" 2>/dev/null; then
    ok "--autostart on adds ~/.config/autostart/velmor.desktop"
else
    fail "--autostart on added no entry that starts velmor"
fi
as_user velmor --autostart off >/dev/null
(cd "$home" && find . | sort) >"$work/home.after"
if diff "$work/home.before" "$work/home.after" >"$work/home.diff"; then
    ok "--autostart off leaves nothing behind"
else
    fail "--autostart on then off left: $(cat "$work/home.diff")"
fi

# on a machine that runs 64-bit code only (as I386_USER_CODE=no makes this one seem), the
# 64-bit build, where 64-bit Wine is installed
if [ ! -e /usr/lib/wine/wine64 ]; then
    fails_in_one_line "no Wine for a 64-bit-only machine" as_user env I386_USER_CODE=no velmor
elif start_bar twin env I386_USER_CODE=no velmor; then
    shown=$(tr '\0' ' ' <"/proc/$(xdotool search --onlyvisible --name '^Velmor$' getwindowpid | head -n1)/cmdline")
    if [[ $shown == *win64?velmor.exe* ]]; then ok "a 64-bit-only machine runs the 64-bit build"; else fail "a 64-bit-only machine runs $shown"; fi
    close_bar twin
fi

# purged, nothing of what the package brought is left
as_root env DEBIAN_FRONTEND=noninteractive apt-get purge -y -qq -o DPkg::Lock::Timeout=600 velmor >"$work/apt.log" 2>&1 ||
    fail "apt-get purge: $(cat "$work/apt.log")"
left=$(while read -r path; do [ -e "$path" ] && echo "$path"; done <"$work/brought" || true)
if [ -z "$left" ]; then ok "apt purge removes every file the package brought"; else fail "left after apt purge: $left"; fi

echo "package: $(stat -c %s "$deb") bytes, $(dpkg-deb -f "$deb" Installed-Size) kB installed"
echo "lintian: $(grep -vc 'root privileges' "$work/lintian" || true) lines"
echo "from apt install to the new user's bar: $install_to_bar s (the first start: $first_start s)"
echo "a later start from the menu: $later_start s; wine velmor.exe alone: $wine_alone s"
[ $failures = 0 ]
