// The map control and its pins: map clicks, real mouse input, closing lists, pictures.
#include <gtest/gtest.h>
#include <stdlib.h>
#include "app/app.h"
#include "bar/bar.h"
#include "dialogs/dialogs.h"
#include "res/resource.h"
#include "zones/zones.h"
#include "barharness.h"
#include "dialogtest.h"
#include "testutil.h"

static const char fourPins[] =
    "[ZONES]\r\nONE=5\r\nONEDST=1\r\nTWO=8\r\nTHREE=22\r\nTHREEDST=1\r\nFOUR=59\r\n"
    "[PIN1]\r\nX=20\r\nY=30\r\n[PIN2]\r\nX=60\r\nY=30\r\n[PIN3]\r\nX=100\r\nY=30\r\n[PIN4]\r\nX=140\r\nY=30\r\n";

class MapPins : public ::testing::Test {
protected:
    ScratchDir dir;
    void SetUp() override { StartBar(fourPins); }
    void TearDown() override { CloseBar(); }
};

static POINT Pin(int x, int y)
{
    POINT point = { x, y };
    return point;
}

static void ExpectPins(const POINT (&want)[4])
{
    for (int clock = 1; clock <= 4; clock++) {
        EXPECT_EQ(want[clock - 1].x, PinAt(clock).x) << "pin " << clock;
        EXPECT_EQ(want[clock - 1].y, PinAt(clock).y) << "pin " << clock;
    }
}

static POINT MapToScreen(int x, int y)
{
    POINT point = { x, y };
    ClientToScreen(mapControl, &point);
    return point;
}

TEST_F(MapPins, ReleaseMovesOnlyTheActivePinsCorner)
{
    ASSERT_TRUE(WhilePropertiesOpen([](HWND dialog) {
        ReleaseOnMap(300, 150);
        ExpectPins({ Pin(300, 150), Pin(60, 30), Pin(100, 30), Pin(140, 30) });
        SendMessageA(dialog, WM_COMMAND, IDC_PINBUTTON3, (LPARAM)GetDlgItem(dialog, IDC_PINBUTTON3));
        EXPECT_EQ(2, activePin);   // clock 3
        ReleaseOnMap(100, 50);
        ExpectPins({ Pin(300, 150), Pin(60, 30), Pin(100, 50), Pin(140, 30) });
        // the map's edge: only one column or row of the pin still shows
        SendMessageA(dialog, WM_COMMAND, IDC_PINBUTTON4, 0);
        ReleaseOnMap(359, 187);
        ExpectPins({ Pin(300, 150), Pin(60, 30), Pin(100, 50), Pin(359, 187) });
        EXPECT_TRUE(IsWindowVisible(mapPins[3]));
        SendMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
    }));
}

TEST_F(MapPins, PinButtonsFormOneRadioGroupAndKeepTheMapCursor)
{
    ASSERT_TRUE(WhilePropertiesOpen([](HWND dialog) {
        // a real click on pin button 2 releases pin button 1
        RECT button;
        GetWindowRect(GetDlgItem(dialog, IDC_PINBUTTON2), &button);
        MouseDownAt(button.left + 5, button.top + 5);
        MouseUpAt(button.left + 5, button.top + 5);
        EXPECT_EQ(1, activePin);   // clock 2
        EXPECT_EQ(BST_CHECKED, SendDlgItemMessageA(dialog, IDC_PINBUTTON2, BM_GETCHECK, 0, 0));
        EXPECT_EQ(BST_UNCHECKED, SendDlgItemMessageA(dialog, IDC_PINBUTTON1, BM_GETCHECK, 0, 0));
        // the hand belongs to the whole static class: the bar's panels show it too
        EXPECT_EQ((ULONG_PTR)mapCursor, GetClassLongPtrA(mapControl, GCLP_HCURSOR));
        EXPECT_EQ((ULONG_PTR)mapCursor, GetClassLongPtrA(clockPanels[0], GCLP_HCURSOR));
        SendMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
    }));
    EXPECT_EQ((ULONG_PTR)arrowCursor, GetClassLongPtrA(clockPanels[0], GCLP_HCURSOR));
}

TEST_F(MapPins, RealMouseClickDropsThePin)
{
    ASSERT_TRUE(WhilePropertiesOpen([](HWND dialog) {
        POINT at = MapToScreen(250, 120);
        MouseDownAt(at.x, at.y);
        MouseUpAt(at.x, at.y);
        ExpectPins({ Pin(250, 120), Pin(60, 30), Pin(100, 30), Pin(140, 30) });
        SendMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
    }));
}

// tests/largefonts.sh runs this one with Large Fonts too (120 dpi, named in
// VELMOR_EXPECT_DPI): the dialog grows with its font, the map's bitmap keeps its pixels.
// Under ctest it checks the test display's 96 dpi, where the map stands at (125, 75).
TEST_F(MapPins, TheMapStandsInItsFrameAndAClickThereFindsTheSameZoneAtAnyDpi)
{
    HDC screen = GetDC(NULL);
    int dpi = GetDeviceCaps(screen, LOGPIXELSY);
    ReleaseDC(NULL, screen);
    if (const char* expected = getenv("VELMOR_EXPECT_DPI")) {
        ASSERT_EQ(atoi(expected), dpi) << "not the dpi the script set up";
    }
    ASSERT_TRUE(WhilePropertiesOpen([dpi](HWND dialog) {
        RECT frame = DialogUnitsToPixels(dialog, MAP_FRAME_LEFT, MAP_FRAME_TOP, MAP_FRAME_WIDTH, MAP_FRAME_HEIGHT);
        RECT map = ChildRect(mapControl);
        SCOPED_TRACE(testing::Message() << dpi << " dpi, frame " << frame.left << "," << frame.top << " "
                                        << frame.right << "," << frame.bottom);
        EXPECT_GE(map.left, frame.left);
        EXPECT_GE(map.top, frame.top);
        EXPECT_LE(map.right, frame.right);
        EXPECT_LE(map.bottom, frame.bottom);
        if (dpi == 96) {
            EXPECT_EQ(125, map.left);
            EXPECT_EQ(75, map.top);
        }
        // clear of the banner above and the column headings below
        RECT banner = DialogUnitsToPixels(dialog, 122, 16, 163, 25);
        RECT headings = DialogUnitsToPixels(dialog, 12, 165, 13, 8);
        EXPECT_LE(banner.top + 41, map.top);    // the banner's bitmap keeps its 41 pixels
        EXPECT_LE(map.bottom, headings.top);

        // a real click at the frame's centre is the map's centre pixel, and its zone
        POINT centre = { (frame.left + frame.right) / 2, (frame.top + frame.bottom) / 2 };
        ClientToScreen(dialog, &centre);
        MouseDownAt(centre.x, centre.y);
        MouseUpAt(centre.x, centre.y);
        EXPECT_NEAR(MAP_WIDTH / 2, PinAt(1).x, 1);
        EXPECT_NEAR(MAP_HEIGHT / 2, PinAt(1).y, 1);
        UINT zone = FindMapZone(MAP_WIDTH / 2, MAP_HEIGHT / 2);
        ASSERT_NE(0u, zone);
        EXPECT_EQ((int)zone - 1, ZoneSelection(dialog, 1));
        SendMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
    }));
}

TEST_F(MapPins, ReleaseOverAPinMovesNothing)
{
    ASSERT_TRUE(WhilePropertiesOpen([](HWND dialog) {
        int before = ZoneSelection(dialog, 1);
        POINT at = MapToScreen(63, 33);   // inside pin 2's square
        MouseDownAt(at.x, at.y);
        MouseUpAt(at.x, at.y);
        ExpectPins({ Pin(20, 30), Pin(60, 30), Pin(100, 30), Pin(140, 30) });
        EXPECT_EQ(before, ZoneSelection(dialog, 1));
        SendMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
    }));
}

TEST_F(MapPins, PressOnTheMapReleasedElsewhereMovesNothing)
{
    ASSERT_TRUE(WhilePropertiesOpen([](HWND dialog) {
        POINT from = MapToScreen(200, 100);
        RECT group;
        GetWindowRect(GetDlgItem(dialog, IDC_DST2), &group);
        MouseDownAt(from.x, from.y);
        MouseUpAt(group.right + 20, group.bottom + 30);   // on the dialog below the rows
        ExpectPins({ Pin(20, 30), Pin(60, 30), Pin(100, 30), Pin(140, 30) });
        SendMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
    }));
}

TEST_F(MapPins, RightButtonMovesNothing)
{
    ASSERT_TRUE(WhilePropertiesOpen([](HWND dialog) {
        POINT at = MapToScreen(200, 100);
        MouseDownAt(at.x, at.y, true);
        MouseUpAt(at.x, at.y, true);
        ExpectPins({ Pin(20, 30), Pin(60, 30), Pin(100, 30), Pin(140, 30) });
        SendMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
    }));
}

TEST_F(MapPins, ClosingAListMovesItsPinToTheZoneAndSetsTheBoxEnabling)
{
    ASSERT_TRUE(WhilePropertiesOpen([](HWND dialog) {
        SendMessageA(dialog, WM_COMMAND, IDC_PINBUTTON4, 0);
        // zone 1 has no daylight-saving time: the box is disabled but keeps its tick
        PickZoneFromList(dialog, 1, 0);
        ExpectPins({ Pin(72, 46), Pin(60, 30), Pin(100, 30), Pin(140, 30) });
        EXPECT_FALSE(IsWindowEnabled(GetDlgItem(dialog, IDC_DST1)));
        EXPECT_EQ(BST_CHECKED, SendDlgItemMessageA(dialog, IDC_DST1, BM_GETCHECK, 0, 0));
        // zone 4 has it: enabled again
        PickZoneFromList(dialog, 1, 3);
        ExpectPins({ Pin(106, 43), Pin(60, 30), Pin(100, 30), Pin(140, 30) });
        EXPECT_TRUE(IsWindowEnabled(GetDlgItem(dialog, IDC_DST1)));
        // a list closed without a new choice still sends its pin home
        SendMessageA(dialog, WM_COMMAND, IDC_PINBUTTON3, 0);
        ReleaseOnMap(10, 10);
        ExpectPins({ Pin(106, 43), Pin(60, 30), Pin(10, 10), Pin(140, 30) });
        PickZoneFromList(dialog, 3, 21);
        ExpectPins({ Pin(106, 43), Pin(60, 30), Pin(250, 57), Pin(140, 30) });
        EXPECT_EQ(2, activePin);   // clock 3
        SendMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
    }));
}

TEST_F(MapPins, ArrowKeysWithTheListClosedMoveNoPin)
{
    ASSERT_TRUE(WhilePropertiesOpen([](HWND dialog) {
        HWND combo = GetDlgItem(dialog, IDC_ZONE2);
        SetFocus(combo);
        PumpFor(20);
        HWND focus = GetFocus();
        BOOL enabled = IsWindowEnabled(GetDlgItem(dialog, IDC_DST2));
        for (int i = 0; i < 3; i++) {
            PostMessageA(focus, WM_KEYDOWN, VK_DOWN, 1);
            PostMessageA(focus, WM_KEYUP, VK_DOWN, 0xC0000001);
        }
        PumpFor(60);
        EXPECT_EQ(7 + 3, ZoneSelection(dialog, 2));   // zone 8 to zone 11
        ExpectPins({ Pin(20, 30), Pin(60, 30), Pin(100, 30), Pin(140, 30) });
        EXPECT_EQ(enabled, IsWindowEnabled(GetDlgItem(dialog, IDC_DST2)));
        SendMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
    }));
}

TEST_F(MapPins, ListWithoutASelectionMovesNothing)
{
    ASSERT_TRUE(WhilePropertiesOpen([](HWND dialog) {
        ASSERT_EQ(CB_ERR, ZoneSelection(dialog, 4));
        BOOL enabled = IsWindowEnabled(GetDlgItem(dialog, IDC_DST4));
        HWND combo = GetDlgItem(dialog, IDC_ZONE4);
        SendMessageA(combo, CB_SHOWDROPDOWN, TRUE, 0);
        SendMessageA(combo, CB_SHOWDROPDOWN, FALSE, 0);
        // the notification itself, as the list sends it on closing
        SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(IDC_ZONE4, CBN_CLOSEUP), (LPARAM)combo);
        ExpectPins({ Pin(20, 30), Pin(60, 30), Pin(100, 30), Pin(140, 30) });
        EXPECT_EQ(enabled, IsWindowEnabled(GetDlgItem(dialog, IDC_DST4)));
        EXPECT_EQ(CB_ERR, ZoneSelection(dialog, 4));
        SendMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
    }));
}

TEST_F(MapPins, CloseUpFromOtherControlsDoesNothing)
{
    ASSERT_TRUE(WhilePropertiesOpen([](HWND dialog) {
        SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(IDC_DST1, CBN_CLOSEUP), 0);
        SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(IDC_PINBUTTON1, CBN_CLOSEUP), 0);
        ExpectPins({ Pin(20, 30), Pin(60, 30), Pin(100, 30), Pin(140, 30) });
        EXPECT_TRUE(IsWindow(dialog));
        SendMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
    }));
}

// The drawn pins: their colour around a white dot, drawn over the map where they stand.
TEST_F(MapPins, PinsShowTheirColoursOnTheMap)
{
    ASSERT_TRUE(WhilePropertiesOpen([](HWND dialog) {
        SendMessageA(dialog, WM_COMMAND, IDC_PINBUTTON2, 0);
        ReleaseOnMap(200, 100);                   // pin 2 leaves its place...
        PumpFor(100);
        const COLORREF colours[4] = { RGB(255, 0, 0), RGB(255, 255, 0), RGB(0, 255, 255), RGB(255, 0, 255) };
        const POINT places[4] = { { 20, 30 }, { 200, 100 }, { 100, 30 }, { 140, 30 } };
        for (int i = 0; i < 4; i++) {
            EXPECT_EQ(colours[i], ScreenPixel(mapControl, places[i].x, places[i].y)) << i + 1;
            EXPECT_EQ(colours[i], ScreenPixel(mapControl, places[i].x + 7, places[i].y + 7)) << i + 1;
            EXPECT_EQ(RGB(255, 255, 255), ScreenPixel(mapControl, places[i].x + 3, places[i].y + 4)) << i + 1;
        }
        // ...and the map shows again where it stood
        EXPECT_NE(colours[1], ScreenPixel(mapControl, 60, 30));
        EXPECT_NE(colours[1], ScreenPixel(mapControl, 64, 34));
        SendMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
    }));
}

// With no settings file the four pins lie on one another in the map's corner. A pin that
// leaves the pile, by a map click or by its list, shows its own colour in its new place,
// not the pixels of the pin that was drawn over it.
TEST(PiledPins, AMovedPinShowsItsOwnColour)
{
    ScratchDir dir;
    StartBar();
    ASSERT_TRUE(WhilePropertiesOpen([](HWND dialog) {
        ExpectPins({ Pin(0, 0), Pin(0, 0), Pin(0, 0), Pin(0, 0) });
        ReleaseOnMap(200, 100);
        SendMessageA(dialog, WM_COMMAND, IDC_PINBUTTON2, 0);
        ReleaseOnMap(100, 120);
        PickZoneFromList(dialog, 3, 21);   // zone 22's place
        PumpFor(100);
        const COLORREF colours[3] = { RGB(255, 0, 0), RGB(255, 255, 0), RGB(0, 255, 255) };
        const POINT places[3] = { { 200, 100 }, { 100, 120 }, { 250, 57 } };
        for (int i = 0; i < 3; i++) {
            EXPECT_EQ(colours[i], ScreenPixel(mapControl, places[i].x, places[i].y)) << i + 1;
            EXPECT_EQ(colours[i], ScreenPixel(mapControl, places[i].x + 7, places[i].y + 7)) << i + 1;
            EXPECT_EQ(RGB(255, 255, 255), ScreenPixel(mapControl, places[i].x + 4, places[i].y + 3)) << i + 1;
        }
        SendMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
    }));
    CloseBar();
}
