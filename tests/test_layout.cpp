// The bar's children in both layouts, the bitmaps they show, and the filler panels.
#include <gtest/gtest.h>
#include <stdlib.h>
#include <vector>
#include "app/app.h"
#include "bar/bar.h"
#include "res/resource.h"
#include "barharness.h"
#include "testutil.h"

static BOOL CALLBACK CollectChild(HWND child, LPARAM param)
{
    ((std::vector<HWND>*)param)->push_back(child);
    return TRUE;
}

static std::vector<HWND> Children(HWND parent)
{
    std::vector<HWND> children;
    EnumChildWindows(parent, CollectChild, (LPARAM)&children);
    return children;
}

static SIZE BitmapSize(HBITMAP bitmap)
{
    BITMAP info = {};
    GetObjectA(bitmap, sizeof info, &info);
    return SIZE{ info.bmWidth, info.bmHeight };
}

static int ExpectedFillers(int width)
{
    return width > 1024 ? 4 : width > 800 ? 3 : width > 640 ? 2 : 1;
}

// A STATIC with SS_BITMAP takes the size of the picture it is given; the panels of the
// floating layout are placed again afterwards at their full 145 x 49.
static void ExpectChild(HWND child, int x, int y, int width, int height, HBITMAP picture, bool visible)
{
    ASSERT_TRUE(child != NULL);
    char name[32];
    GetClassNameA(child, name, sizeof name);
    EXPECT_STREQ("Static", name);
    EXPECT_EQ(0, GetDlgCtrlID(child));
    DWORD style = GetWindowLongA(child, GWL_STYLE);
    EXPECT_EQ((DWORD)(WS_CHILD | SS_BITMAP | SS_NOTIFY | (visible ? WS_VISIBLE : 0)),
              style & ~(DWORD)WS_CLIPSIBLINGS);
    EXPECT_EQ(0, GetWindowLongA(child, GWL_EXSTYLE));
    RECT rect = ChildRect(child);
    EXPECT_EQ(x, rect.left);
    EXPECT_EQ(y, rect.top);
    EXPECT_EQ(width, rect.right - rect.left);
    EXPECT_EQ(height, rect.bottom - rect.top);
    EXPECT_EQ(visible, IsWindowVisible(child) != FALSE);
    EXPECT_EQ((HANDLE)picture, (HANDLE)SendMessageA(child, STM_GETIMAGE, IMAGE_BITMAP, 0));
}

TEST(Layout, LoadsEveryBitmapOnce)
{
    ScratchDir dir;
    StartBar();
    struct { HBITMAP bitmap; int width, height; } bitmaps[] = {
        { globeDockedBitmap, 18, 16 }, { globeFloatingBitmap, 14, 16 },
        { minimizeUpBitmap, 11, 11 }, { minimizeDownBitmap, 11, 11 },
        { closeUpBitmap, 11, 11 }, { closeDownBitmap, 11, 11 },
        { panelBitmap, 145, 48 }, { fillerBitmap, 145, 48 },
        { pinBitmaps[0], 8, 8 }, { pinBitmaps[1], 8, 8 }, { pinBitmaps[2], 8, 8 }, { pinBitmaps[3], 8, 8 },
        { mapBitmap, 360, 188 },
    };
    for (size_t i = 0; i < sizeof bitmaps / sizeof bitmaps[0]; i++) {
        SCOPED_TRACE(i);
        ASSERT_EQ(OBJ_BITMAP, (int)GetObjectType(bitmaps[i].bitmap));
        SIZE size = BitmapSize(bitmaps[i].bitmap);
        EXPECT_EQ(bitmaps[i].width, size.cx);
        EXPECT_EQ(bitmaps[i].height, size.cy);
        for (size_t j = 0; j < i; j++)
            EXPECT_NE(bitmaps[j].bitmap, bitmaps[i].bitmap);
    }
    CloseBar();
}

TEST(Layout, DockedChildren)
{
    ScratchDir dir;
    HWND bar = StartBar("[PREFS]\r\nALIGN=1\r\n");
    int fillers = ExpectedFillers(GetSystemMetrics(SM_CXSCREEN));
    EXPECT_EQ((size_t)(3 + 4 + fillers), Children(bar).size());

    ExpectChild(cornerBitmap, 0, 0, 18, 16, globeDockedBitmap, true);
    ExpectChild(minimizeButton, 119, 2, 11, 11, minimizeUpBitmap, false);
    ExpectChild(closeButton, 132, 2, 11, 11, closeUpBitmap, false);
    for (int i = 0; i < 4; i++) {
        SCOPED_TRACE(i);
        ExpectChild(clockPanels[i], 18 + 145 * i, 0, 145, 48, panelBitmap, true);
    }
    for (int i = 0; i < FILLER_COUNT; i++) {
        SCOPED_TRACE(i);
        if (i < fillers)
            ExpectChild(fillerPanels[i], 598 + 145 * i, 0, 145, 48, fillerBitmap, true);
        else
            EXPECT_TRUE(fillerPanels[i] == NULL);
    }
    CloseBar();
}

TEST(Layout, FloatingChildren)
{
    ScratchDir dir;
    HWND bar = StartBar("[PREFS]\r\nALIGN=99\r\n");
    int fillers = ExpectedFillers(GetSystemMetrics(SM_CXSCREEN));
    EXPECT_EQ((size_t)(3 + 4 + fillers), Children(bar).size());

    ExpectChild(cornerBitmap, 0, 0, 14, 16, globeFloatingBitmap, true);
    ExpectChild(minimizeButton, 119, 2, 11, 11, minimizeUpBitmap, true);
    ExpectChild(closeButton, 132, 2, 11, 11, closeUpBitmap, true);
    for (int i = 0; i < 4; i++) {
        SCOPED_TRACE(i);
        ExpectChild(clockPanels[i], 0, 16 + 49 * i, 145, 49, panelBitmap, true);
    }
    for (int i = 0; i < fillers; i++) {
        SCOPED_TRACE(i);
        ExpectChild(fillerPanels[i], 598 + 145 * i, 0, 145, 48, fillerBitmap, false);
    }
    EXPECT_EQ(PLACEMENT_FLOATING, placement);
    EXPECT_EQ(0, floatedByDrag);
    EXPECT_TRUE(TrayIconExists(bar, TRAY_ICON_ID));
    EXPECT_EQ("", CheckRepaintedSurface(bar));
    CloseBar();
    EXPECT_FALSE(TrayIconExists(bar, TRAY_ICON_ID));
}

TEST(Layout, DockedBarHasNoTrayIcon)
{
    ScratchDir dir;
    HWND bar = StartBar("[PREFS]\r\nALIGN=3\r\n");
    EXPECT_FALSE(TrayIconExists(bar, TRAY_ICON_ID));
    EXPECT_EQ(PLACEMENT_BOTTOM, placement);
    CloseBar();
}

// scripts run this one on screens 640, 800, 1024, 1025, 1280, 1600 and 1920 pixels wide,
// naming the width in VELMOR_EXPECT_WIDTH; under ctest it checks the test display. Right of
// the last panel the bar paints the texture itself, up to the screen's edge.
TEST(Layout, FillerPanelsForTheScreenWidth)
{
    int width = GetSystemMetrics(SM_CXSCREEN);
    if (const char* expected = getenv("VELMOR_EXPECT_WIDTH")) {
        ASSERT_EQ(atoi(expected), width) << "the screen is not the one the script set up";
    }
    ScratchDir dir;
    HWND bar = StartBar();
    EXPECT_EQ(width, screenWidth);
    EXPECT_EQ(width, (int)(WindowRect(bar).right - WindowRect(bar).left));
    int fillers = ExpectedFillers(width);
    int created = 0;
    for (int i = 0; i < FILLER_COUNT; i++)
        if (fillerPanels[i])
            created++;
    EXPECT_EQ(fillers, created) << "screen width " << width;
    for (int i = 0; i < fillers; i++) {
        SCOPED_TRACE(i);
        ExpectChild(fillerPanels[i], 598 + 145 * i, 0, 145, 48, fillerBitmap, true);
    }
    // the last panel ends at 743, 888, 1033 or 1178, past the edge of a 640 screen
    RECT last = ChildRect(fillerPanels[fillers - 1]);
    EXPECT_EQ(598 + 145 * fillers, last.right);
    EXPECT_EQ("", CheckSurface(bar)) << "as started, screen width " << width;
    EXPECT_EQ("", CheckRepaintedSurface(bar)) << "screen width " << width;
    CloseBar();
}
