#!/usr/bin/env bash
# Runs the map-place test with Large Fonts, 120 dpi, as the Display control panel of
# Windows 95 and NT 4.0 sets them. A copy of the test prefix with that setting and an Xvfb
# and a wineserver of its own, so the test prefix is left as it was.
set -euo pipefail
test_exe=$1
. "$(dirname "$0")/own_display.sh"

own_test_prefix
start_own_display 1024x768

# the user's desktop settings and the hardware profile's fonts, where Windows 95 keeps it;
# the test checks that the dpi took
export DISPLAY=$own_display WINEPREFIX=$work/prefix
wine reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d 120 /f >/dev/null
wine reg add 'HKLM\System\CurrentControlSet\Hardware Profiles\Current\Software\Fonts' \
    /v LogPixels /t REG_DWORD /d 120 /f >/dev/null
wineserver -w

VELMOR_EXPECT_DPI=120 wine "$test_exe" \
    --gtest_filter=MapPins.TheMapStandsInItsFrameAndAClickThereFindsTheSameZoneAtAnyDpi </dev/null
