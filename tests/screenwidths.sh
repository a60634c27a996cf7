#!/usr/bin/env bash
# Runs the filler-panel layout test on screens 640, 800, 1024, 1025 and 1280 pixels wide.
# Each screen is an Xvfb of its own, with a copy of the test Wine prefix and so a
# wineserver of its own: Wine reads the screen size once per wineserver.
set -euo pipefail
test_exe=$1
. "$(dirname "$0")/own_display.sh"

own_test_prefix

failed=0
for geometry in 640x480 800x600 1024x768 1025x768 1280x1024; do
    width=${geometry%x*}
    start_own_display "$geometry"

    if DISPLAY=$own_display WINEPREFIX="$work/prefix" VELMOR_EXPECT_WIDTH=$width \
        wine "$test_exe" --gtest_filter=Layout.FillerPanelsForTheScreenWidth </dev/null >"$work/out" 2>&1; then
        echo "screen $geometry: passed"
    else
        echo "screen $geometry: FAILED"
        cat "$work/out"
        failed=1
    fi
    WINEPREFIX="$work/prefix" wineserver -k >/dev/null 2>&1 || true
    WINEPREFIX="$work/prefix" wineserver -w 2>/dev/null || true
    kill "$own_display_pid" 2>/dev/null; wait "$own_display_pid" 2>/dev/null || true
    own_display_pid=
done
exit $failed
