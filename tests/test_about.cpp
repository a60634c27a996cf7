// The about box opened through the bar: template, and the ways it closes (and does not).
#include <gtest/gtest.h>
#include <stdio.h>
#include <string.h>
#include <string>
#include <vector>
#include "app/app.h"
#include "res/resource.h"
#include "zones/zones.h"
#include "barharness.h"
#include "dialogtest.h"
#include "testutil.h"

class About : public ::testing::Test {
protected:
    ScratchDir dir;
    void SetUp() override { StartBar(); }
    void TearDown() override { CloseBar(); }
};

static void ExpectAt(HWND dialog, HWND child, int x, int y, int width, int height)
{
    RECT want = DialogUnitsToPixels(dialog, x, y, width, height);
    RECT rect = ChildRect(child);
    EXPECT_EQ(want.left, rect.left);
    EXPECT_EQ(want.top, rect.top);
    EXPECT_EQ(want.right, rect.right);
    EXPECT_EQ(want.bottom, rect.bottom);
}

TEST_F(About, CaptionFontIconTextsAndRules)
{
    ASSERT_TRUE(WhileAboutOpen([](HWND dialog) {
        EXPECT_EQ("Velmor", TextOf(dialog));
        EXPECT_EQ(barWindow, GetWindow(dialog, GW_OWNER));
        DWORD style = GetWindowLongA(dialog, GWL_STYLE);
        DWORD wanted = WS_POPUP | WS_VISIBLE | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME | DS_3DLOOK;
        EXPECT_EQ(wanted, style & wanted);
        LOGFONTA font = {};
        GetObjectA((HFONT)SendMessageA(dialog, WM_GETFONT, 0, 0), sizeof font, &font);
        EXPECT_STREQ("MS Sans Serif", font.lfFaceName);
        HDC screen = GetDC(NULL);
        EXPECT_EQ(-MulDiv(10, GetDeviceCaps(screen, LOGPIXELSY), 72), font.lfHeight);
        ReleaseDC(NULL, screen);
        EXPECT_FALSE(font.lfItalic);
        EXPECT_TRUE(font.lfWeight == FW_NORMAL || font.lfWeight == 0);

        RECT client, width = DialogUnitsToPixels(dialog, 0, 0, 193, 51);
        GetClientRect(dialog, &client);
        EXPECT_EQ(width.right, client.right);
        EXPECT_GE(client.bottom, width.bottom);     // holds the lowest rule

        std::vector<HWND> children;
        for (HWND child = GetWindow(dialog, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
            children.push_back(child);
        ASSERT_EQ(6u, children.size());

        HWND ok = children[0];
        EXPECT_EQ(IDOK, GetDlgCtrlID(ok));
        EXPECT_EQ("OK", TextOf(ok));
        EXPECT_EQ((DWORD)(BS_DEFPUSHBUTTON | WS_TABSTOP), GetWindowLongA(ok, GWL_STYLE) & (BS_TYPEMASK | WS_TABSTOP));
        ExpectAt(dialog, ok, 151, 3, 39, 12);
        EXPECT_EQ(ok, GetFocus());

        HWND icon = children[1];
        EXPECT_EQ((DWORD)SS_ICON, GetWindowLongA(icon, GWL_STYLE) & SS_TYPEMASK);
        HICON shown = (HICON)SendMessageA(icon, STM_GETICON, 0, 0);
        ICONINFO info = {};
        ASSERT_TRUE(GetIconInfo(shown, &info));
        BITMAP picture = {};
        GetObjectA(info.hbmColor, sizeof picture, &picture);
        EXPECT_EQ(32, picture.bmWidth);
        EXPECT_EQ(32, picture.bmHeight);
        DeleteObject(info.hbmColor);
        DeleteObject(info.hbmMask);
        RECT iconRect = ChildRect(icon);
        RECT iconPlace = DialogUnitsToPixels(dialog, 5, 2, 18, 20);
        EXPECT_EQ(iconPlace.left, iconRect.left);
        EXPECT_EQ(iconPlace.top, iconRect.top);

        const char* texts[2] = {
            "Velmor v1.1a",
            "Remember, Velmor does not have to account for daylight savings time; it will "
            "automatically be set when needed.",
        };
        const int places[2][4] = { { 23, 3, 123, 17 }, { 15, 24, 159, 26 } };
        for (int i = 0; i < 2; i++) {
            HWND label = children[2 + i];
            EXPECT_EQ(texts[i], TextOf(label));
            EXPECT_EQ((DWORD)(SS_LEFT | WS_GROUP), GetWindowLongA(label, GWL_STYLE) & (SS_TYPEMASK | WS_GROUP));
            ExpectAt(dialog, label, places[i][0], places[i][1], places[i][2], places[i][3]);
        }
        RedrawWindow(dialog, NULL, NULL, RDW_UPDATENOW | RDW_ALLCHILDREN);
        const int rules[2] = { 22, 50 };
        for (int i = 0; i < 2; i++) {
            HWND rule = children[4 + i];
            EXPECT_EQ((DWORD)SS_BLACKRECT, GetWindowLongA(rule, GWL_STYLE) & SS_TYPEMASK);
            ExpectAt(dialog, rule, 9, rules[i], 173, 1);
            RECT rect = ChildRect(rule);
            // drawn in the frame colour across the box (Wine takes the darkest 3-D shade)
            // the screen shows the box a moment after it is painted
            COLORREF drawn = 0;
            PumpUntil([&] {
                drawn = ScreenPixel(dialog, (rect.left + rect.right) / 2, rect.top);
                return drawn == GetSysColor(COLOR_WINDOWFRAME) || drawn == GetSysColor(COLOR_3DDKSHADOW);
            }, 2000);
            EXPECT_TRUE(drawn == GetSysColor(COLOR_WINDOWFRAME) || drawn == GetSysColor(COLOR_3DDKSHADOW)) << std::hex << drawn;
            EXPECT_EQ(GetSysColor(COLOR_3DFACE), ScreenPixel(dialog, (rect.left + rect.right) / 2, rect.top - 2));
        }
        SendMessageA(dialog, WM_COMMAND, IDOK, 0);
    }));
}

static bool IsAboutOpen(void)
{
    return FindWindowA("#32770", "Velmor") != NULL;
}

TEST_F(About, OkButtonClosesIt)
{
    ASSERT_TRUE(WhileAboutOpen([](HWND dialog) {
        RECT ok;
        GetWindowRect(GetDlgItem(dialog, IDOK), &ok);
        MouseDownAt(ok.left + 4, ok.top + 4);
        MouseUpAt(ok.left + 4, ok.top + 4);
    }));
    EXPECT_FALSE(IsAboutOpen());
}

TEST_F(About, EnterClosesIt)
{
    ASSERT_TRUE(WhileAboutOpen([](HWND dialog) {
        // posted, so that the dialog's own loop reads the key
        PostMessageA(GetFocus(), WM_KEYDOWN, VK_RETURN, 1);
        PostMessageA(GetFocus(), WM_KEYUP, VK_RETURN, 0xC0000001);
        (void)dialog;
    }));
    EXPECT_FALSE(IsAboutOpen());
}

TEST_F(About, CloseBoxClosesIt)
{
    ASSERT_TRUE(WhileAboutOpen([](HWND dialog) { SendMessageA(dialog, WM_SYSCOMMAND, SC_CLOSE, 0); }));
    EXPECT_FALSE(IsAboutOpen());
}

static int checks;

static void CALLBACK CheckStillOpen(HWND box, UINT, UINT_PTR timer, DWORD)
{
    KillTimer(box, timer);
    checks++;
    EXPECT_TRUE(IsWindowVisible(box));
    SendMessageA(box, WM_COMMAND, IDOK, 0);
}

TEST_F(About, EscapeAndOtherCommandsLeaveItOpen)
{
    // Escape, posted so that the dialog's own loop reads it, then a check a little later
    checks = 0;
    ASSERT_TRUE(WhileAboutOpen([](HWND dialog) {
        PostMessageA(GetFocus(), WM_KEYDOWN, VK_ESCAPE, 1);
        PostMessageA(GetFocus(), WM_KEYUP, VK_ESCAPE, 0xC0000001);
        SendMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
        SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(IDOK, 1), 0);   // not IDOK as a whole
        SetTimer(dialog, 1, 300, CheckStillOpen);
    }));
    EXPECT_EQ(1, checks);
    EXPECT_FALSE(IsAboutOpen());
}

TEST_F(About, ClocksTickAndNothingIsWritten)
{
    ASSERT_TRUE(WhileAboutOpen([](HWND dialog) {
        WORD minute = (lastMinute + 1) % 60;
        SetFixedUtc(6, minute);
        char expected[TIME_TEXT_SIZE];
        snprintf(expected, sizeof expected, "6:%02d PM", minute);   // clock 1 is UTC-12
        EXPECT_TRUE(PumpUntil([&] { return strcmp(clockTimes[0], expected) == 0; }, 3000));
        SendMessageA(dialog, WM_COMMAND, IDOK, 0);
    }));
    EXPECT_FALSE(FileExists("VELMOR.INI"));
    ClearFixedUtc();
}

// The template places the box at the bar's top-left corner, on the docked bar; it opens in
// the work area, clear of the bar, wherever the bar is. Scripts run this on wider screens too.
TEST(AboutPlace, InViewForTheScreenWidth)
{
    InEachBarForm([] {
        ASSERT_TRUE(WhileAboutOpen([](HWND dialog) {
            EXPECT_EQ("", DialogOutOfView(dialog));
            SendMessageA(dialog, WM_COMMAND, IDOK, 0);
        }));
    });
}
