#!/usr/bin/env bash
# Runs the display-change tests in a Wine virtual desktop of 1024 x 768, which (unlike a
# desktop on a plain X screen) changes its size when a program asks, as Windows does. A copy
# of the test prefix and an Xvfb of its own hold it, so the test display is left as it was.
set -euo pipefail
test_exe=$1
. "$(dirname "$0")/own_display.sh"

own_test_prefix
# the largest size the tests ask for must fit on the X screen
start_own_display 1920x1200

# a desktop named other than "shell" has no taskbar, so the strips reach the screen's edges;
# explorer's exit status is not the test program's, so its report decides
DISPLAY=$own_display WINEPREFIX="$work/prefix" VELMOR_VIRTUAL_DESKTOP=velmor \
    wine explorer /desktop=velmor,1024x768 "$test_exe" --gtest_filter='DisplayChange.*' \
    </dev/null >"$work/out" 2>&1 || true
cat "$work/out"
grep -q '^\[  PASSED  \] 2 tests' "$work/out" && ! grep -q '^\[  FAILED  \]' "$work/out"
