// The clock panels as drawn: white boxes, black centred text, the empty and the over-long case.
#include <gtest/gtest.h>
#include <string.h>
#include <string>
#include "app/app.h"
#include "bar/bar.h"
#include "zones/zones.h"
#include "barharness.h"
#include "pixels.h"
#include "testutil.h"

static const RECT timeBox = { 15, 8, 127, 24 };
static const RECT nameBox = { 15, 24, 127, 35 };

static bool IsWhite(COLORREF c) { return c == RGB(255, 255, 255); }


// Width of a text in the panel's face, measured by the platform.
static int TextWidth(const char* text, int height, BYTE italic)
{
    LOGFONTA font = {};
    font.lfHeight = height;
    font.lfWeight = FW_BOLD;
    font.lfItalic = italic;
    strcpy(font.lfFaceName, "Arial");
    HDC dc = GetDC(NULL);
    HFONT created = CreateFontIndirectA(&font);
    HGDIOBJ previous = SelectObject(dc, created);
    SIZE size = {};
    GetTextExtentPoint32A(dc, text, strlen(text), &size);
    SelectObject(dc, previous);
    DeleteObject(created);
    ReleaseDC(NULL, dc);
    return size.cx;
}

// One line: only white and grey ink inside the box, a black core, centred on the box,
// at its top, as wide as the platform says the text is.
static void ExpectCentredLine(const Picture& picture, RECT box, const char* text, int height, BYTE italic)
{
    SCOPED_TRACE(text);
    ASSERT_LT(TextWidth(text, height, italic), 104) << "the test needs a text that fits its box";
    for (int y = box.top; y < box.bottom; y++)
        for (int x = box.left; x < box.right; x++)
            ASSERT_TRUE(IsGrey(picture.At(x, y))) << "colour inside the box at " << x << "," << y;
    for (int y = box.top; y < box.bottom; y++) {
        EXPECT_TRUE(IsWhite(picture.At(box.left, y))) << "left edge of the box, y " << y;
        EXPECT_TRUE(IsWhite(picture.At(box.right - 1, y))) << "right edge of the box, y " << y;
    }
    RECT ink = FindPixels(picture, box, IsDark);
    ASSERT_FALSE(IsRectEmpty(&ink)) << "no text in the box";
    EXPECT_TRUE(FindPixels(picture, box, [](COLORREF c) { return c == RGB(0, 0, 0); }).right > 0)
        << "the text is black";
    double centre = (ink.left + ink.right) / 2.0;
    EXPECT_NEAR((box.left + box.right) / 2.0, centre, 2.0);
    int width = TextWidth(text, height, italic);
    EXPECT_NEAR(width, ink.right - ink.left, 4);
    EXPECT_GE(ink.top, box.top);
    EXPECT_LE(ink.top, box.top + 6) << "the line hangs from the top of its box";
}

// Both forms; the names short enough for their box: the longer ones run onto the frame (see below).
TEST(ClockPanel, TimeAndNameAreBlackAndCentredInWhiteBoxes)
{
    struct { const char* ini; WORD hour, minute; const char* times[4]; } forms[] = {
        { "[ZONES]\r\nONE=34\r\nTWO=37\r\nTHREE=3\r\nFOUR=21\r\n", 9, 5,
          { "12:35 PM", "1:35 PM", "11:05 PM", "8:05 AM" } },
        { "[ZONES]\r\nONE=21\r\nTWO=53\r\nTHREE=50\r\nFOUR=4\r\n[PREFS]\r\nALIGN=99\r\n", 23, 59,
          { "10:59 PM", "9:59 AM", "9:29 AM", "2:59 PM" } },
    };
    for (auto& form : forms) {
        SCOPED_TRACE(form.ini);
        ScratchDir dir;
        SetFixedUtc(form.hour, form.minute);
        StartBar(form.ini);
        for (int i = 0; i < 4; i++) {
            SCOPED_TRACE(i);
            EXPECT_STREQ(form.times[i], clockTimes[i]);
            Picture picture = Snapshot(clockPanels[i]);
            ExpectCentredLine(picture, timeBox, clockTimes[i], 18, 0);
            ExpectCentredLine(picture, nameBox, clockZones[i].name, 12, 1);
        }
        CloseBar();
        ClearFixedUtc();
    }
}

TEST(ClockPanel, EmptyNameLeavesTheLowerBoxWhite)
{
    ScratchDir dir;
    SetFixedUtc(13, 7);
    StartBar("[ZONES]\r\nONE=59\r\nTWO=0\r\n");
    for (int i = 0; i < 2; i++) {
        SCOPED_TRACE(i);
        EXPECT_STREQ("", clockZones[i].name);
        EXPECT_STREQ("1:07 PM", clockTimes[i]);
        Picture picture = Snapshot(clockPanels[i]);
        EXPECT_EQ(112 * 11, CountPixels(picture, nameBox, RGB(255, 255, 255)));
        ExpectCentredLine(picture, timeBox, "1:07 PM", 18, 0);
    }
    CloseBar();
    ClearFixedUtc();
}

// Wider than its 112-pixel box, a text stays centred and runs onto the frame both sides.
TEST(ClockPanel, OverLongTextIsNotClipped)
{
    ScratchDir dir;
    StartBar();
    HWND panel = clockPanels[2];
    std::string name = "Wellington,Auchland";
    while (TextWidth(name.c_str(), 12, 1) < 124)
        name += "W";
    int width = TextWidth(name.c_str(), 12, 1);
    ASSERT_LT(width, 140) << "the test text must still fit the panel";

    DrawClockPanel(panel, "", "");
    Picture before = Snapshot(panel);
    DrawClockPanel(panel, name.c_str(), "");
    Picture after = Snapshot(panel);
    RECT changed = { 145, 49, 0, 0 };
    for (int y = nameBox.top; y < nameBox.bottom; y++)
        for (int x = 0; x < after.width; x++)
            if (after.At(x, y) != before.At(x, y)) {
                changed.left = x < changed.left ? x : changed.left;
                changed.right = x + 1 > changed.right ? x + 1 : changed.right;
            }
    EXPECT_LT(changed.left, nameBox.left) << "runs past the left side of the box";
    EXPECT_GT(changed.right, nameBox.right) << "runs past the right side of the box";
    EXPECT_NEAR(71 - width / 2.0, changed.left, 3.0);
    EXPECT_NEAR(71 + width / 2.0, changed.right, 3.0);
    CloseBar();
}

TEST(ClockPanel, DrawingTwiceGivesTheSamePicture)
{
    ScratchDir dir;
    StartBar();
    HWND panel = clockPanels[0];
    DrawClockPanel(panel, "Greenwich Mean Time", "12:00 AM");
    Picture first = Snapshot(panel);
    DrawClockPanel(panel, "Greenwich Mean Time", "12:00 AM");
    EXPECT_TRUE(first == Snapshot(panel));
    // a shorter text over a longer one leaves no trace of it
    DrawClockPanel(panel, "Hawaii", "1:00 AM");
    Picture shortText = Snapshot(panel);
    DrawClockPanel(panel, "Greenwich Mean Time", "12:00 AM");
    DrawClockPanel(panel, "Hawaii", "1:00 AM");
    EXPECT_TRUE(shortText == Snapshot(panel));
    CloseBar();
}
