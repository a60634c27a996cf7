#!/usr/bin/env bash
# Runs the tests named ...ForTheScreenWidth of the given test programs (the filler panels
# and the bar's surface, the dialogs' places) on screens 640, 800, 1024, 1025, 1280, 1600
# and 1920 pixels wide.
# Each screen is an Xvfb of its own, with a copy of the test Wine prefix and so a
# wineserver of its own: Wine reads the screen size once per wineserver. With VELMOR_REPEATS
# (the emulated PC, where each screen takes about a minute) only the narrowest and the
# widest: the others run the same code on other numbers, which the twin checks.
set -euo pipefail
test_exes=("$@")
. "$(dirname "$0")/own_display.sh"

own_test_prefix

failed=0
geometries=(640x480 800x600 1024x768 1025x768 1280x1024 1600x1200 1920x1080)
[ -n "${VELMOR_REPEATS:-}" ] && geometries=(640x480 1920x1080)
for geometry in "${geometries[@]}"; do
    width=${geometry%x*}
    start_own_display "$geometry"

    for test_exe in "${test_exes[@]}"; do
        if DISPLAY=$own_display WINEPREFIX="$work/prefix" VELMOR_EXPECT_WIDTH=$width \
            wine "$test_exe" --gtest_filter='*ForTheScreenWidth' </dev/null >"$work/out" 2>&1; then
            echo "screen $geometry, $(basename "$test_exe"): passed"
        else
            echo "screen $geometry, $(basename "$test_exe"): FAILED"
            cat "$work/out"
            failed=1
        fi
    done
    WINEPREFIX="$work/prefix" wineserver -k >/dev/null 2>&1 || true
    WINEPREFIX="$work/prefix" wineserver -w 2>/dev/null || true
    kill "$own_display_pid" 2>/dev/null; wait "$own_display_pid" 2>/dev/null || true
    own_display_pid=
done
exit $failed
