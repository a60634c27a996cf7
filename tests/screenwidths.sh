#!/usr/bin/env bash
# Runs the filler-panel layout test on screens 640, 800, 1024, 1025 and 1280 pixels wide.
# Each screen is an Xvfb of its own, with a copy of the test Wine prefix and so a
# wineserver of its own: Wine reads the screen size once per wineserver.
set -euo pipefail
test_exe=$1
: "${WINEPREFIX:?run under scripts/check}"
export WINEDEBUG=-all WINEARCH=win32

work=$(mktemp -d)
xvfb_pid=
cleanup() {
    WINEPREFIX=$work/prefix wineserver -k >/dev/null 2>&1 || true
    [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null && wait "$xvfb_pid" 2>/dev/null
    rm -rf "$work"
}
trap cleanup EXIT
# The system DLLs (half a gigabyte) are shared as hard links; everything that Wine
# might rewrite in place gets a copy of its own.
mkdir "$work/prefix"
cp -al "$WINEPREFIX"/. "$work/prefix"/
find "$work/prefix" -type f -not -path '*/windows/system32/*' -not -path '*/windows/winsxs/*' -print0 |
    while IFS= read -r -d '' f; do cp -p "$f" "$f.own" && mv -f "$f.own" "$f"; done

failed=0
for geometry in 640x480 800x600 1024x768 1025x768 1280x1024; do
    width=${geometry%x*}
    n=120
    while [ -e "/tmp/.X$n-lock" ] || [ -e "/tmp/.X11-unix/X$n" ]; do n=$((n + 1)); done
    Xvfb ":$n" -screen 0 "${geometry}x24" -nolisten tcp </dev/null >/dev/null 2>&1 &
    xvfb_pid=$!
    for _ in $(seq 50); do DISPLAY=":$n" xdpyinfo >/dev/null 2>&1 && break; sleep 0.1; done

    if DISPLAY=":$n" WINEPREFIX="$work/prefix" VELMOR_EXPECT_WIDTH=$width \
        wine "$test_exe" --gtest_filter=Layout.FillerPanelsForTheScreenWidth </dev/null >"$work/out" 2>&1; then
        echo "screen $geometry: passed"
    else
        echo "screen $geometry: FAILED"
        cat "$work/out"
        failed=1
    fi
    WINEPREFIX="$work/prefix" wineserver -k >/dev/null 2>&1 || true
    WINEPREFIX="$work/prefix" wineserver -w 2>/dev/null || true
    kill "$xvfb_pid" 2>/dev/null; wait "$xvfb_pid" 2>/dev/null || true
    xvfb_pid=
done
exit $failed
