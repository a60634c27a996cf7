// The caption strip in both layouts, read back as pixels; GDI use over many draws.
#include <gtest/gtest.h>
#include <string.h>
#include <vector>
#include "app/app.h"
#include "bar/bar.h"
#include "zones/zones.h"
#include "barharness.h"
#include "pixels.h"
#include "testutil.h"

static const COLORREF green = RGB(0, 255, 0);
static const COLORREF white = RGB(255, 255, 255);
static const COLORREF black = RGB(0, 0, 0);

static COLORREF Caption(void) { return GetSysColor(COLOR_ACTIVECAPTION); }

static int ClientHeight(HWND window)
{
    RECT client;
    GetClientRect(window, &client);
    return client.bottom;
}

static int ClientWidth(HWND window)
{
    RECT client;
    GetClientRect(window, &client);
    return client.right;
}

// The docked column: 14 caption, 2 black, 2 white, from y 16 to the client bottom.
static void ExpectDockedColumn(HWND bar)
{
    Picture picture = Snapshot(bar);
    int height = ClientHeight(bar);
    ASSERT_GT(height, 16);
    int rows = height - 16;
    EXPECT_EQ(14 * rows, CountPixels(picture, RECT{ 0, 16, 14, height }, Caption())) << "no text, one colour";
    EXPECT_EQ(2 * rows, CountPixels(picture, RECT{ 14, 16, 16, height }, black));
    EXPECT_EQ(2 * rows, CountPixels(picture, RECT{ 16, 16, 18, height }, white));
}

// The floating row: caption from x 14, "Velmor" in the caption-text colour, then one
// black and one white line. The corner bitmap and the two buttons are children.
static void ExpectFloatingRow(HWND bar, COLORREF caption, COLORREF text)
{
    Picture picture = Snapshot(bar);
    int width = ClientWidth(bar);
    EXPECT_EQ(14 * (119 - 80), CountPixels(picture, RECT{ 80, 0, 119, 14 }, caption));
    EXPECT_EQ(14 * (width - 143), CountPixels(picture, RECT{ 143, 0, width, 14 }, caption));
    EXPECT_EQ(width - 14, CountPixels(picture, RECT{ 14, 14, width, 15 }, black));
    EXPECT_EQ(width - 14, CountPixels(picture, RECT{ 14, 15, width, 16 }, white));
    RECT title = { 14, 0, 80, 14 };
    EXPECT_GT(CountPixels(picture, title, text), 40) << "the title is drawn";
    EXPECT_GT(CountPixels(picture, title, caption), 200) << "on an opaque caption background";
    EXPECT_EQ(0, CountPixels(picture, RECT{ 14, 0, 18, 14 }, text)) << "the title starts at x 18";
}

TEST(BarFrame, DockedColumnAtTheTopAndAtTheBottom)
{
    for (const char* ini : { "[PREFS]\r\nALIGN=1\r\n", "[PREFS]\r\nALIGN=3\r\n" }) {
        SCOPED_TRACE(ini);
        ScratchDir dir;
        HWND bar = StartBar(ini);
        ExpectDockedColumn(bar);
        FillClient(bar, green);
        PaintBarFrame(LAYOUT_DOCKED);
        ExpectDockedColumn(bar);
        CloseBar();
    }
}

TEST(BarFrame, FloatingRowWithTheTitle)
{
    ScratchDir dir;
    HWND bar = StartBar("[PREFS]\r\nALIGN=99\r\n");
    ExpectFloatingRow(bar, Caption(), GetSysColor(COLOR_CAPTIONTEXT));
    FillClient(bar, green);
    PaintBarFrame(LAYOUT_FLOATING);
    ExpectFloatingRow(bar, Caption(), GetSysColor(COLOR_CAPTIONTEXT));
    CloseBar();
}

TEST(BarFrame, OtherModesDrawNothing)
{
    for (const char* ini : { "[PREFS]\r\nALIGN=1\r\n", "[PREFS]\r\nALIGN=99\r\n" }) {
        SCOPED_TRACE(ini);
        ScratchDir dir;
        HWND bar = StartBar(ini);
        FillClient(bar, green);
        Picture green1 = Snapshot(bar);
        for (int mode : { 0, 3, -1, 99 })
            PaintBarFrame(mode);
        EXPECT_TRUE(green1 == Snapshot(bar));
        PaintBarFrame(placement == PLACEMENT_FLOATING ? LAYOUT_FLOATING : LAYOUT_DOCKED);
        EXPECT_FALSE(green1 == Snapshot(bar)) << "the layout's own mode does draw";
        CloseBar();
    }
}

// The floating window has no docked rectangle (its bottom is 0): the column is empty.
TEST(BarFrame, DockedModeOnTheFloatingWindowDrawsNothing)
{
    ScratchDir dir;
    HWND bar = StartBar("[PREFS]\r\nALIGN=99\r\n");
    EXPECT_EQ(0, appBar.rc.bottom);
    FillClient(bar, green);
    Picture before = Snapshot(bar);
    PaintBarFrame(LAYOUT_DOCKED);
    EXPECT_TRUE(before == Snapshot(bar));
    CloseBar();
}

// No colour is kept between calls.
TEST(BarFrame, FollowsChangedSystemColours)
{
    ScratchDir dir;
    HWND bar = StartBar("[PREFS]\r\nALIGN=99\r\n");
    int elements[2] = { COLOR_ACTIVECAPTION, COLOR_CAPTIONTEXT };
    COLORREF saved[2] = { GetSysColor(elements[0]), GetSysColor(elements[1]) };
    COLORREF changed[2] = { RGB(200, 16, 16), RGB(16, 200, 16) };
    SetSysColors(2, elements, changed);
    PaintBarFrame(LAYOUT_FLOATING);
    Picture picture = Snapshot(bar);
    SetSysColors(2, elements, saved);
    ExpectFloatingRow(bar, saved[0], saved[1]);   // the colours came back with a repaint
    PaintBarFrame(LAYOUT_FLOATING);
    EXPECT_EQ(14 * 39, CountPixels(picture, RECT{ 80, 0, 119, 14 }, changed[0]));
    EXPECT_GT(CountPixels(picture, RECT{ 14, 0, 80, 14 }, changed[1]), 40);
    CloseBar();
}

// Activation repaints the strip; deactivation leaves it alone.
TEST(BarFrame, PaintedOnActivationOnly)
{
    ScratchDir dir;
    HWND bar = StartBar("[PREFS]\r\nALIGN=99\r\n");
    FillClient(bar, green);
    Picture before = Snapshot(bar);
    SendMessageA(bar, WM_ACTIVATE, WA_INACTIVE, 0);
    EXPECT_TRUE(before == Snapshot(bar));
    SendMessageA(bar, WM_ACTIVATE, WA_ACTIVE, 0);
    ExpectFloatingRow(bar, Caption(), GetSysColor(COLOR_CAPTIONTEXT));
    CloseBar();
}

// Erasing the floating window redraws the strip and the clocks; the docked bar only
// its column.
TEST(BarFrame, EraseBackground)
{
    for (const char* ini : { "[PREFS]\r\nALIGN=99\r\n", "[PREFS]\r\nALIGN=1\r\n" }) {
        SCOPED_TRACE(ini);
        ScratchDir dir;
        HWND bar = StartBar(ini);
        Picture panel = Snapshot(clockPanels[0]);
        FillClient(bar, green);
        FillClient(clockPanels[0], green);
        InvalidateRect(clockPanels[0], NULL, TRUE);
        Picture greenPanel = Snapshot(clockPanels[0]);
        HDC dc = GetDC(bar);
        EXPECT_EQ(0, SendMessageA(bar, WM_ERASEBKGND, (WPARAM)dc, 0));
        ReleaseDC(bar, dc);
        if (placement == PLACEMENT_FLOATING) {
            ExpectFloatingRow(bar, Caption(), GetSysColor(COLOR_CAPTIONTEXT));
            EXPECT_TRUE(panel == Snapshot(clockPanels[0])) << "the clock is drawn again";
        } else {
            ExpectDockedColumn(bar);
            EXPECT_TRUE(greenPanel == Snapshot(clockPanels[0])) << "the docked bar leaves its panels alone";
        }
        CloseBar();
    }
}

// Wine's GDI handle table holds 65,536 objects, more than a leak of 20,000 rounds would
// fill by itself; so the check keeps 50,000 fonts alive at once, which fits only when
// the draws have given back what they took.
static bool CanStillCreateFontsAndContexts(void)
{
    LOGFONTA font = {};
    font.lfHeight = 18;
    strcpy(font.lfFaceName, "Arial");
    std::vector<HFONT> fonts;
    bool ok = true;
    for (int i = 0; i < 50000 && ok; i++) {
        HFONT created = CreateFontIndirectA(&font);
        ok = created != NULL;
        if (created)
            fonts.push_back(created);
    }
    HDC memory = CreateCompatibleDC(NULL);
    HDC screen = GetDC(NULL);
    ok = ok && memory && screen;
    if (screen)
        ReleaseDC(NULL, screen);
    if (memory)
        DeleteDC(memory);
    for (HFONT created : fonts)
        DeleteObject(created);
    return ok;
}

// Every draw creates and frees its own fonts and device context: after 20,000 rounds
// nothing has run out and the pictures are the same.
TEST(Drawing, NoGdiLeakOver20000Draws)
{
    ScratchDir dir;
    SetFixedUtc(10, 0);   // a new minute during the run would change the clocks' text
    HWND bar = StartBar("[PREFS]\r\nALIGN=99\r\n");
    Picture panel = Snapshot(clockPanels[0]);
    Picture frame = Snapshot(bar);
    for (int i = 0; i < 20000; i++) {
        DrawClockPanel(clockPanels[0], clockZones[0].name, clockTimes[0]);
        PaintBarFrame(LAYOUT_FLOATING);
        if (i % 1000 == 0)
            PumpFor(0);
    }
    EXPECT_TRUE(CanStillCreateFontsAndContexts());
    EXPECT_TRUE(panel == Snapshot(clockPanels[0]));
    EXPECT_TRUE(frame == Snapshot(bar));
    CloseBar();
}
