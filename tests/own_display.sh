# For the test scripts that need a display or a Wine prefix of their own. Sourced, not run.

# A copy of the test prefix ($WINEPREFIX) in $1, so that a wineserver of its own runs there
# (Wine reads the screen once per wineserver). The system DLLs, half a gigabyte, are shared
# as hard links; everything that Wine might rewrite in place gets a copy of its own.
copy_test_prefix() {
    mkdir "$1"
    cp -al "$WINEPREFIX"/. "$1"/
    find "$1" -type f -not -path '*/windows/system32/*' -not -path '*/windows/winsxs/*' -print0 |
        while IFS= read -r -d '' f; do cp -p "$f" "$f.own" && mv -f "$f.own" "$f"; done
}

# Starts an Xvfb with the given geometry (say 1024x768) on a free display; sets own_display
# and own_display_pid.
start_own_display() {
    local n=120
    while [ -e "/tmp/.X$n-lock" ] || [ -e "/tmp/.X11-unix/X$n" ]; do n=$((n + 1)); done
    Xvfb ":$n" -screen 0 "${1}x24" -nolisten tcp </dev/null >/dev/null 2>&1 &
    own_display_pid=$!
    own_display=":$n"
    for _ in $(seq 50); do
        DISPLAY=$own_display xdpyinfo >/dev/null 2>&1 && return 0
        sleep 0.1
    done
    echo "Xvfb did not start on $own_display" >&2
    return 1
}
