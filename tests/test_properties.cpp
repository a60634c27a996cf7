// The Properties dialog opened through the bar: template, opening state, OK, Cancel, reopening.
#include <gtest/gtest.h>
#include <string.h>
#include <string>
#include <vector>
#include "app/app.h"
#include "bar/bar.h"
#include "dialogs/dialogs.h"
#include "res/resource.h"
#include "settings/settings.h"
#include "zones/zones.h"
#include "barharness.h"
#include "dialogtest.h"
#include "pixels.h"
#include "testutil.h"

struct TemplateControl {
    int id;
    const char* className;
    int x, y, width, height;
    const char* text;
    DWORD styleBits;      // all of these must be set
    DWORD typeMask;       // the low style bits compared exactly under this mask
};

#define PIN BS_AUTORADIOBUTTON | BS_PUSHLIKE | BS_BITMAP
#define COMBO CBS_DROPDOWN | CBS_NOINTEGRALHEIGHT | WS_VSCROLL | WS_TABSTOP
static const TemplateControl propertiesControls[23] = {
    { 1006, "Button", 12, 177, 20, 11, "1", PIN | WS_GROUP, BS_TYPEMASK },
    { 1010, "ComboBox", 33, 176, 152, 90, NULL, COMBO, 0x000F },
    { 1013, "Button", 189, 178, 12, 8, "", BS_AUTOCHECKBOX | WS_TABSTOP, BS_TYPEMASK },
    { 1007, "Button", 210, 177, 20, 11, "2", PIN, BS_TYPEMASK },
    { 1001, "ComboBox", 231, 176, 152, 90, NULL, COMBO, 0x000F },
    { 1015, "Button", 387, 178, 12, 8, "", BS_AUTOCHECKBOX | WS_TABSTOP, BS_TYPEMASK },
    { 1008, "Button", 12, 198, 20, 11, "3", PIN, BS_TYPEMASK },
    { 1011, "ComboBox", 33, 197, 152, 90, NULL, COMBO, 0x000F },
    { 1014, "Button", 189, 199, 12, 8, "", BS_AUTOCHECKBOX | WS_TABSTOP, BS_TYPEMASK },
    { 1009, "Button", 210, 198, 20, 11, "4", PIN, BS_TYPEMASK },
    { 1002, "ComboBox", 231, 197, 152, 90, NULL, COMBO, 0x000F },
    { 1016, "Button", 387, 199, 12, 8, "", BS_AUTOCHECKBOX | WS_TABSTOP, BS_TYPEMASK },
    { 1012, "Button", 299, 221, 50, 14, "OK", BS_DEFPUSHBUTTON | WS_TABSTOP, BS_TYPEMASK },
    { 2, "Button", 353, 221, 50, 14, "Cancel", BS_PUSHBUTTON | WS_TABSTOP, BS_TYPEMASK },
    { 1004, "Button", 5, 0, 398, 217, "Time Zones...", BS_GROUPBOX, BS_TYPEMASK },
    { -1, "Static", 122, 16, 163, 25, NULL, SS_BITMAP, SS_TYPEMASK },
    { -1, "Static", 163, 7, 79, 8, "Clock/Pin assingments...", SS_LEFT | WS_GROUP, SS_TYPEMASK },
    { -1, "Static", 12, 165, 13, 8, "Pin:", SS_LEFT | WS_GROUP, SS_TYPEMASK },
    { -1, "Static", 33, 165, 37, 8, "Time Zone:", SS_LEFT | WS_GROUP, SS_TYPEMASK },
    { -1, "Static", 152, 165, 46, 8, "Activate DST:", SS_RIGHT | WS_GROUP, SS_TYPEMASK },
    { -1, "Static", 210, 165, 13, 8, "Pin:", SS_LEFT | WS_GROUP, SS_TYPEMASK },
    { -1, "Static", 231, 165, 37, 8, "Time Zone:", SS_LEFT | WS_GROUP, SS_TYPEMASK },
    { -1, "Static", 351, 165, 46, 8, "Activate DST:", SS_RIGHT | WS_GROUP, SS_TYPEMASK },
};

// The dialog's own children in z-order (template order), without the map control.
static std::vector<HWND> TemplateChildren(HWND dialog)
{
    std::vector<HWND> children;
    for (HWND child = GetWindow(dialog, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
        if (child != mapControl)
            children.push_back(child);
    return children;
}

// The drop-down list of a combo box (the platform moves the box's scroll bar style to it).
static HWND ComboList(HWND combo)
{
    typedef BOOL (WINAPI *GetInfo)(HWND, void*);
    struct { DWORD cbSize; RECT item, button; DWORD state; HWND combo, edit, list; } info = {};
    info.cbSize = sizeof info;
    GetInfo getInfo = (GetInfo)(void*)GetProcAddress(GetModuleHandleA("user32.dll"), "GetComboBoxInfo");
    if (!getInfo || !getInfo(combo, &info))
        return NULL;
    return info.list;
}

class Properties : public ::testing::Test {
protected:
    ScratchDir dir;
    void Start(const std::string& ini = "") { StartBar(ini); }
    void TearDown() override { CloseBar(); }
};

TEST_F(Properties, CaptionFontSizeAndStyle)
{
    Start();
    ASSERT_TRUE(WhilePropertiesOpen([](HWND dialog) {
        EXPECT_EQ("Properties for Velmor", TextOf(dialog));
        EXPECT_EQ(barWindow, GetWindow(dialog, GW_OWNER));
        DWORD style = GetWindowLongA(dialog, GWL_STYLE);
        DWORD wanted = WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME | DS_3DLOOK | DS_CENTER | DS_CENTERMOUSE;
        EXPECT_EQ(wanted, style & wanted) << std::hex << style;
        RECT client, expected = DialogUnitsToPixels(dialog, 0, 0, 408, 238);
        GetClientRect(dialog, &client);
        EXPECT_EQ(expected.right, client.right);
        EXPECT_EQ(expected.bottom, client.bottom);

        LOGFONTA font = {};
        GetObjectA((HFONT)SendMessageA(dialog, WM_GETFONT, 0, 0), sizeof font, &font);
        EXPECT_STREQ("MS Sans Serif", font.lfFaceName);
        HDC screen = GetDC(NULL);
        EXPECT_EQ(-MulDiv(8, GetDeviceCaps(screen, LOGPIXELSY), 72), font.lfHeight);
        ReleaseDC(NULL, screen);
        SendMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
    }));
}

// The dialog opens around the mouse, which was on the bar for its menu; it opens in the work
// area, clear of the bar, wherever the bar is. Scripts run this on wider screens too.
TEST(PropertiesPlace, InViewForTheScreenWidth)
{
    InEachBarForm([] {
        ASSERT_TRUE(WhilePropertiesOpen([](HWND dialog) {
            EXPECT_EQ("", DialogOutOfView(dialog));
            SendMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
        }));
    });
}

TEST_F(Properties, TwentyThreeControlsInTemplateOrder)
{
    Start();
    ASSERT_TRUE(WhilePropertiesOpen([](HWND dialog) {
        std::vector<HWND> children = TemplateChildren(dialog);
        ASSERT_EQ(23u, children.size());
        for (int i = 0; i < 23; i++) {
            const TemplateControl& want = propertiesControls[i];
            HWND child = children[i];
            SCOPED_TRACE(testing::Message() << "control " << i << " id " << want.id);
            EXPECT_EQ(want.id, (int)(short)GetDlgCtrlID(child));
            char className[64];
            GetClassNameA(child, className, sizeof className);
            EXPECT_EQ(0, lstrcmpiA(want.className, className)) << className;
            bool isCombo = lstrcmpiA(className, "ComboBox") == 0;
            bool isStatic = lstrcmpiA(className, "Static") == 0;
            DWORD style = GetWindowLongA(child, GWL_STYLE);
            EXPECT_EQ((DWORD)(WS_CHILD | WS_VISIBLE), style & (WS_CHILD | WS_VISIBLE | WS_POPUP));
            DWORD bits = want.styleBits & ~want.typeMask & ~(isCombo ? WS_VSCROLL : 0);
            EXPECT_EQ(bits, style & bits) << std::hex << style;
            // tab stops and groups where the template puts them; the platform makes the
            // checked radio button of a group its tab stop, pin button 1 at the opening
            DWORD tabAndGroup = want.styleBits & (WS_TABSTOP | WS_GROUP);
            if (want.id == IDC_PINBUTTON1)
                tabAndGroup |= WS_TABSTOP;
            EXPECT_EQ(tabAndGroup, style & (WS_TABSTOP | WS_GROUP)) << std::hex << style;
            EXPECT_EQ(want.styleBits & want.typeMask, style & want.typeMask) << std::hex << style;
            // only the first pin button starts a group
            if (want.text) {
                EXPECT_EQ(want.text, TextOf(child));
            }

            RECT rect = ChildRect(child);
            RECT units = DialogUnitsToPixels(dialog, want.x, want.y, want.width, want.height);
            EXPECT_EQ(units.left, rect.left);
            EXPECT_EQ(units.top, rect.top);
            if (isCombo) {
                // the template height is the dropped list's; its scroll bar went to the list
                EXPECT_EQ(units.right, rect.right);
                HWND list = ComboList(child);
                SendMessageA(child, CB_SHOWDROPDOWN, TRUE, 0);
                EXPECT_TRUE(IsWindowVisible(list));
                RECT dropped;
                GetWindowRect(list, &dropped);
                MapWindowPoints(NULL, dialog, (POINT*)&dropped, 2);   // the list is top-level
                SendMessageA(child, CB_SHOWDROPDOWN, FALSE, 0);
                // the platform trims a few pixels of frame off the list's height
                EXPECT_NEAR(units.bottom, dropped.bottom, 4);
                EXPECT_TRUE(GetWindowLongA(list, GWL_STYLE) & WS_VSCROLL);
            } else if (isStatic && (want.styleBits & SS_TYPEMASK) == SS_BITMAP) {
                // a bitmap static takes its picture's size: the banner, 244 x 41
                HBITMAP banner = (HBITMAP)SendMessageA(child, STM_GETIMAGE, IMAGE_BITMAP, 0);
                BITMAP info = {};
                ASSERT_TRUE(GetObjectA(banner, sizeof info, &info));
                EXPECT_EQ(244, info.bmWidth);
                EXPECT_EQ(41, info.bmHeight);
                EXPECT_EQ(244, rect.right - rect.left);
                EXPECT_EQ(41, rect.bottom - rect.top);
            } else {
                EXPECT_EQ(units.right, rect.right);
                EXPECT_EQ(units.bottom, rect.bottom);
            }
        }
        SendMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
    }));
}

TEST_F(Properties, MapAndPinsAtTheirPixelPlaces)
{
    Start("[PIN1]\r\nX=10\r\nY=20\r\n[PIN2]\r\nX=100\r\nY=50\r\n[PIN3]\r\nX=355\r\nY=186\r\n"
          "[PIN4]\r\nX=-3\r\nY=400\r\n");
    ASSERT_TRUE(WhilePropertiesOpen([](HWND dialog) {
        ASSERT_TRUE(IsWindow(mapControl));
        EXPECT_EQ(dialog, GetParent(mapControl));
        EXPECT_EQ(0, GetDlgCtrlID(mapControl));
        RECT map = ChildRect(mapControl);
        EXPECT_EQ(125, map.left);
        EXPECT_EQ(75, map.top);
        EXPECT_EQ(360, map.right - map.left);
        EXPECT_EQ(188, map.bottom - map.top);
        DWORD style = GetWindowLongA(mapControl, GWL_STYLE);
        EXPECT_EQ((DWORD)(WS_CHILD | WS_VISIBLE | SS_NOTIFY | SS_BITMAP), style);
        EXPECT_EQ(0, GetWindowLongA(mapControl, GWL_EXSTYLE));
        EXPECT_EQ(mapBitmap, (HBITMAP)SendMessageA(mapControl, STM_GETIMAGE, IMAGE_BITMAP, 0));
        EXPECT_EQ((LONG_PTR)MapSubclassProc, GetWindowLongPtrA(mapControl, GWLP_WNDPROC));

        // stored positions are taken as they are, even off the map
        const POINT stored[4] = { { 10, 20 }, { 100, 50 }, { 355, 186 }, { -3, 400 } };
        for (int i = 0; i < 4; i++) {
            SCOPED_TRACE(i + 1);
            EXPECT_EQ(mapControl, GetParent(mapPins[i]));
            EXPECT_TRUE(IsWindowVisible(mapPins[i]) || i == 3);
            RECT pin = ChildRect(mapPins[i]);
            EXPECT_EQ(stored[i].x, pin.left);
            EXPECT_EQ(stored[i].y, pin.top);
            EXPECT_EQ(8, pin.right - pin.left);
            EXPECT_EQ(8, pin.bottom - pin.top);
            EXPECT_EQ((DWORD)(WS_CHILD | WS_VISIBLE | SS_NOTIFY | SS_BITMAP), (DWORD)GetWindowLongA(mapPins[i], GWL_STYLE));
            EXPECT_EQ(pinBitmaps[i], (HBITMAP)SendMessageA(mapPins[i], STM_GETIMAGE, IMAGE_BITMAP, 0));
            EXPECT_EQ(pinBitmaps[i], (HBITMAP)SendDlgItemMessageA(dialog, pinButtonIds[i], BM_GETIMAGE, IMAGE_BITMAP, 0));
        }
        SendMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
    }));
}

static bool IsChecked(HWND dialog, int id)
{
    return SendDlgItemMessageA(dialog, id, BM_GETCHECK, 0, 0) == BST_CHECKED;
}

static bool IsEnabled(HWND dialog, int id)
{
    return IsWindowEnabled(GetDlgItem(dialog, id)) != FALSE;
}

static void PressKey(HWND dialog, UINT key)
{
    // the dialog's own loop sees the key as it would a typed one
    HWND focus = GetFocus();
    PostMessageA(focus ? focus : dialog, WM_KEYDOWN, key, 1);
    PostMessageA(focus ? focus : dialog, WM_KEYUP, key, 0xC0000001);
}

// Where the dialog cannot cover the bar, so what the bar shows afterwards is the bar's own drawing.
static void KeepDialogOffTheBar(void)
{
    SetCursorPos(GetSystemMetrics(SM_CXSCREEN) / 2, GetSystemMetrics(SM_CYSCREEN) - 10);
}

static const char storedChoices[] =
    "[ZONES]\r\nONE=16\r\nONEDST=1\r\nTWO=23\r\nTWODST=1\r\nTHREE=59\r\nTHREEDST=0\r\nFOUR=22\r\nFOURDST=0\r\n"
    "[PIN1]\r\nX=40\r\nY=60\r\n[PIN2]\r\nX=200\r\nY=100\r\n";

TEST_F(Properties, OpensWithTheClocksChoicesAndPinOneActive)
{
    Start(storedChoices);
    ASSERT_TRUE(WhilePropertiesOpen([](HWND dialog) {
        for (int clock = 1; clock <= 4; clock++) {
            HWND combo = GetDlgItem(dialog, zoneComboIds[clock - 1]);
            EXPECT_EQ(58, SendMessageA(combo, CB_GETCOUNT, 0, 0));
            char item[64];
            SendMessageA(combo, CB_GETLBTEXT, 0, (LPARAM)item);
            EXPECT_STREQ("(GMT-12:00) Eniwetok, Kwajalein", item);
            SendMessageA(combo, CB_GETLBTEXT, 57, (LPARAM)item);
            EXPECT_STREQ("(GMT+12:00) Wellington, Auchland", item);
        }
        EXPECT_EQ(15, ZoneSelection(dialog, 1));
        EXPECT_EQ(22, ZoneSelection(dialog, 2));
        EXPECT_EQ(CB_ERR, ZoneSelection(dialog, 3));   // 59 is no zone
        EXPECT_EQ(21, ZoneSelection(dialog, 4));

        // ticked from the switch, enabled from the zone: zone 23 has no daylight-saving time
        EXPECT_TRUE(IsChecked(dialog, IDC_DST1));
        EXPECT_TRUE(IsEnabled(dialog, IDC_DST1));
        EXPECT_TRUE(IsChecked(dialog, IDC_DST2));
        EXPECT_FALSE(IsEnabled(dialog, IDC_DST2));
        EXPECT_FALSE(IsChecked(dialog, IDC_DST3));
        EXPECT_FALSE(IsEnabled(dialog, IDC_DST3));     // clock 3 keeps its zero-filled record
        EXPECT_FALSE(IsChecked(dialog, IDC_DST4));
        EXPECT_TRUE(IsEnabled(dialog, IDC_DST4));

        // pins from the file only (zone 16's place is (202, 66)), missing ones at (0, 0)
        EXPECT_EQ(40, PinAt(1).x);
        EXPECT_EQ(60, PinAt(1).y);
        EXPECT_EQ(200, PinAt(2).x);
        EXPECT_EQ(100, PinAt(2).y);
        for (int clock = 3; clock <= 4; clock++) {
            EXPECT_EQ(0, PinAt(clock).x);
            EXPECT_EQ(0, PinAt(clock).y);
        }

        EXPECT_EQ(0, activePin);   // clock 1
        EXPECT_TRUE(IsChecked(dialog, IDC_PINBUTTON1));
        for (int clock = 2; clock <= 4; clock++)
            EXPECT_FALSE(IsChecked(dialog, pinButtonIds[clock - 1]));
        EXPECT_EQ((ULONG_PTR)mapCursor, GetClassLongPtrA(mapControl, GCLP_HCURSOR));
        EXPECT_EQ(dialog, propertiesDialog);
        HWND focus = GetFocus();
        HWND combo1 = GetDlgItem(dialog, IDC_ZONE1);
        char focusClass[64] = "";
        GetClassNameA(focus, focusClass, sizeof focusClass);
        EXPECT_TRUE(focus == combo1 || IsChild(combo1, focus))
            << focusClass << " " << GetDlgCtrlID(focus);
        SendMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
    }));
}

TEST_F(Properties, ClockWithoutAZoneShowsItsTickDisabled)
{
    // clock 3 without a zone: its record is the zero-filled start, so its box is disabled
    Start("[ZONES]\r\nTHREE=0\r\nTHREEDST=1\r\n");
    ASSERT_TRUE(WhilePropertiesOpen([](HWND dialog) {
        EXPECT_EQ(CB_ERR, ZoneSelection(dialog, 3));
        EXPECT_TRUE(IsChecked(dialog, IDC_DST3));
        EXPECT_FALSE(IsEnabled(dialog, IDC_DST3));
        SendMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
    }));
}

static const char newFileAfterOk[] =
    "[ZONES]\r\nONE=1\r\nONEDST=0\r\nTWO=2\r\nTWODST=0\r\nTHREE=3\r\nTHREEDST=0\r\nFOUR=4\r\nFOURDST=0\r\n"
    "[PIN1]\r\nX=0\r\nY=0\r\n[PIN2]\r\nX=0\r\nY=0\r\n[PIN3]\r\nX=0\r\nY=0\r\n[PIN4]\r\nX=0\r\nY=0\r\n";

TEST_F(Properties, OkOnANewFileWritesTheSixteenKeysInOrder)
{
    Start();
    ASSERT_FALSE(FileExists("VELMOR.INI"));
    ASSERT_TRUE(WhilePropertiesOpen([](HWND dialog) {
        SendMessageA(dialog, WM_COMMAND, IDC_PROPERTIES_OK, (LPARAM)GetDlgItem(dialog, IDC_PROPERTIES_OK));
    }));
    EXPECT_EQ(std::string(newFileAfterOk), ReadFileBytes("VELMOR.INI"));
    EXPECT_FALSE(IsWindow(mapControl));
}

TEST_F(Properties, OkWithoutChangesRewritesEveryKey)
{
    // leading zeros and a stray case are read as numbers and come back as plain decimals
    Start("[ZONES]\r\nONE=0016\r\nONEDST=1\r\nTWO=23\r\nTWODST=1\r\nTHREE=59\r\nTHREEDST=0\r\nFOUR=22\r\nFOURDST=0\r\n"
          "[PIN1]\r\nX=040\r\nY=60\r\n[PIN2]\r\nX=200\r\nY=100\r\n[PIN3]\r\nX=-3\r\nY=400\r\n[PIN4]\r\nX=7\r\nY=8\r\n");
    ASSERT_TRUE(WhilePropertiesOpen([](HWND dialog) { PressKey(dialog, VK_RETURN); }));
    // clock 3's list had no selection, so it stores zone 0
    EXPECT_EQ(std::string("[ZONES]\r\nONE=16\r\nONEDST=1\r\nTWO=23\r\nTWODST=1\r\nTHREE=0\r\nTHREEDST=0\r\nFOUR=22\r\nFOURDST=0\r\n"
                          "[PIN1]\r\nX=40\r\nY=60\r\n[PIN2]\r\nX=200\r\nY=100\r\n[PIN3]\r\nX=-3\r\nY=400\r\n[PIN4]\r\nX=7\r\nY=8\r\n"),
              ReadFileBytes("VELMOR.INI"));
}

TEST_F(Properties, OkStoresListsTicksAndPinsIntoTheClocksAndTheFile)
{
    SetFixedUtc(12, 0);
    Start(storedChoices);
    KeepDialogOffTheBar();
    ASSERT_TRUE(WhilePropertiesOpen([](HWND dialog) {
        PickZoneFromList(dialog, 2, 57);                   // Wellington: pin 2 to (72, 58)
        SendDlgItemMessageA(dialog, IDC_DST2, BM_SETCHECK, BST_CHECKED, 0);
        SendDlgItemMessageA(dialog, IDC_DST1, BM_SETCHECK, BST_UNCHECKED, 0);
        SendDlgItemMessageA(dialog, IDC_ZONE4, CB_SETCURSEL, 0, 0);   // zone 1, pin stays
        SendMessageA(mapControl, WM_LBUTTONUP, 0, MAKELPARAM(359, 187));  // pin 1 to the corner
        SendMessageA(dialog, WM_COMMAND, IDC_PROPERTIES_OK, 0);
    }));
    EXPECT_EQ(std::string("[ZONES]\r\nONE=16\r\nONEDST=0\r\nTWO=58\r\nTWODST=1\r\nTHREE=0\r\nTHREEDST=0\r\nFOUR=1\r\nFOURDST=0\r\n"
                          "[PIN1]\r\nX=359\r\nY=187\r\n[PIN2]\r\nX=72\r\nY=58\r\n[PIN3]\r\nX=0\r\nY=0\r\n[PIN4]\r\nX=0\r\nY=0\r\n"),
              ReadFileBytes("VELMOR.INI"));
    EXPECT_EQ(58u, clockZones[1].zoneIndex);
    EXPECT_EQ(1u, clockZones[1].dstInUse);
    EXPECT_STREQ("Wellington,Auchland", clockZones[1].name);
    EXPECT_STREQ("1:00 AM", clockTimes[1]);        // UTC+13 with daylight-saving time
    EXPECT_EQ(1u, clockZones[3].zoneIndex);
    EXPECT_STREQ("Eniwetok, Kwajalein", clockZones[3].name);
    EXPECT_STREQ("12:00 AM", clockTimes[3]);
    EXPECT_EQ(0u, clockZones[0].dstInUse);
    // zone 0 changes nothing in a record for the rest of the run
    EXPECT_EQ(0u, clockZones[2].zoneIndex);
    ClearFixedUtc();
}

static void ExpectNothingStored(const std::function<void(HWND)>& closeIt)
{
    std::string before = ReadFileBytes("VELMOR.INI");
    ZoneRecord zonesBefore[4];
    memcpy(zonesBefore, clockZones, sizeof zonesBefore);
    ASSERT_TRUE(WhilePropertiesOpen([&](HWND dialog) {
        PickZoneFromList(dialog, 1, 40);
        SendMessageA(dialog, WM_COMMAND, IDC_PINBUTTON3, 0);
        SendMessageA(mapControl, WM_LBUTTONUP, 0, MAKELPARAM(150, 90));
        SendDlgItemMessageA(dialog, IDC_DST4, BM_SETCHECK, BST_CHECKED, 0);
        closeIt(dialog);
    }));
    EXPECT_FALSE(IsWindow(mapControl));
    EXPECT_EQ(before, ReadFileBytes("VELMOR.INI"));
    EXPECT_EQ(0, memcmp(zonesBefore, clockZones, sizeof zonesBefore));

    // the next opening starts again from the stored pins
    ASSERT_TRUE(WhilePropertiesOpen([](HWND dialog) {
        EXPECT_EQ(40, PinAt(1).x);
        EXPECT_EQ(60, PinAt(1).y);
        EXPECT_EQ(0, PinAt(3).x);
        EXPECT_EQ(0, PinAt(3).y);
        EXPECT_EQ(15, ZoneSelection(dialog, 1));
        EXPECT_FALSE(IsChecked(dialog, IDC_DST4));
        SendMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
    }));
}

TEST_F(Properties, CancelButtonStoresNothing)
{
    Start(storedChoices);
    ExpectNothingStored([](HWND dialog) {
        SendMessageA(dialog, WM_COMMAND, IDCANCEL, (LPARAM)GetDlgItem(dialog, IDCANCEL));
    });
}

TEST_F(Properties, EscapeStoresNothing)
{
    Start(storedChoices);
    ExpectNothingStored([](HWND dialog) { PressKey(dialog, VK_ESCAPE); });
}

TEST_F(Properties, CloseBoxStoresNothing)
{
    Start(storedChoices);
    ExpectNothingStored([](HWND dialog) { SendMessageA(dialog, WM_SYSCOMMAND, SC_CLOSE, 0); });
}

TEST_F(Properties, CancelWithoutAFileLeavesNoFile)
{
    Start();
    ASSERT_TRUE(WhilePropertiesOpen([](HWND dialog) { PressKey(dialog, VK_ESCAPE); }));
    EXPECT_FALSE(FileExists("VELMOR.INI"));
}

// The white display box of a clock panel, at a spot the centred text leaves blank.
static COLORREF PanelCorner(int clock)
{
    return ScreenPixel(clockPanels[clock - 1], 16, 9);
}

static void BlackenPanels(void)
{
    for (int i = 0; i < 4; i++) {
        HDC dc = GetDC(clockPanels[i]);
        RECT all = { 0, 0, 145, 48 };
        FillRect(dc, &all, (HBRUSH)GetStockObject(BLACK_BRUSH));
        ReleaseDC(clockPanels[i], dc);
    }
}

static void ExpectRefreshAfterClosing(const std::function<void(HWND)>& closeIt)
{
    SetFixedUtc(8, 30);
    StartBar(storedChoices);
    KeepDialogOffTheBar();
    // stale state that only a lookup, a recomputation and a redraw put right
    strcpy(clockZones[0].name, "stale");
    strcpy(clockTimes[3], "x");
    BlackenPanels();
    for (int clock = 1; clock <= 4; clock++)
        ASSERT_EQ(RGB(0, 0, 0), PanelCorner(clock));
    // the bar's own tick would take note of minute 35 if the dialog took long to open
    KillTimer(barWindow, CLOCK_TIMER_ID);
    SetFixedUtc(8, 35);
    ASSERT_TRUE(WhilePropertiesOpen(closeIt));
    const char* names[4] = { "Newfoundland", "Monrovia,Casablanca", "", "Greenwich Mean Time" };
    const char* times[4] = { "6:05 AM", "8:35 AM", "8:35 AM", "8:35 AM" };
    for (int i = 0; i < 4; i++) {
        EXPECT_STREQ(names[i], clockZones[i].name) << "clock " << i + 1;
        EXPECT_STREQ(times[i], clockTimes[i]) << "clock " << i + 1;
    }
    EXPECT_EQ(30, lastMinute) << "the last minute is the tick's business";
    PumpFor(50);
    for (int clock = 1; clock <= 4; clock++)
        EXPECT_EQ(RGB(255, 255, 255), PanelCorner(clock)) << clock;
    ClearFixedUtc();
}

TEST_F(Properties, BarRefreshesTheClocksAfterCancel)
{
    ExpectRefreshAfterClosing([](HWND dialog) { SendMessageA(dialog, WM_COMMAND, IDCANCEL, 0); });
}

TEST_F(Properties, BarRefreshesTheClocksAfterOk)
{
    ExpectRefreshAfterClosing([](HWND dialog) { SendMessageA(dialog, WM_COMMAND, IDC_PROPERTIES_OK, 0); });
}

// A new zone's name goes onto a panel repainted from its bitmap: the italic letters of the
// old name reach past the box that is cleared for the text (the comma of "Bogota, Lima").
TEST_F(Properties, ANewZoneIsDrawnOnAFreshPanel)
{
    SetFixedUtc(9, 20);
    Start("[ZONES]\r\nONE=11\r\n");
    KeepDialogOffTheBar();
    ASSERT_TRUE(WhilePropertiesOpen([](HWND dialog) {
        PickZoneFromList(dialog, 1, 11);
        SendMessageA(dialog, WM_COMMAND, IDC_PROPERTIES_OK, 0);
    }));
    ASSERT_STREQ("Eastern", clockZones[0].name);
    PumpFor(50);
    Picture shown = Snapshot(clockPanels[0]);
    InvalidateRect(clockPanels[0], NULL, TRUE);
    UpdateWindow(clockPanels[0]);
    DrawClockPanel(clockPanels[0], clockZones[0].name, clockTimes[0]);
    EXPECT_TRUE(shown == Snapshot(clockPanels[0]));
    ClearFixedUtc();
}

TEST_F(Properties, ClocksTickWhileTheDialogIsOpen)
{
    SetFixedUtc(10, 15);
    Start();
    ASSERT_STREQ("10:15 PM", clockTimes[0]);
    ASSERT_TRUE(WhilePropertiesOpen([](HWND dialog) {
        SetFixedUtc(10, 16);
        EXPECT_TRUE(PumpUntil([] { return strcmp(clockTimes[0], "10:16 PM") == 0; }, 3000));
        SendMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
    }));
    ClearFixedUtc();
}

static int CountPropertiesDialogs(void)
{
    int count = 0;
    for (HWND window = FindWindowA("#32770", "Properties for Velmor"); window;
         window = FindWindowExA(NULL, window, "#32770", "Properties for Velmor"))
        count++;
    return count;
}

TEST_F(Properties, SecondPropertiesCommandIsRefusedWhileOpen)
{
    Start();
    ASSERT_TRUE(WhilePropertiesOpen([](HWND dialog) {
        HWND map = mapControl;
        HRGN firstRegion = zoneRegions[0];
        // the tray menu reaches the disabled bar; its command must not start a second dialog
        EXPECT_FALSE(IsWindowEnabled(barWindow));
        SendMessageA(barWindow, WM_COMMAND, CMD_PROPERTIES, 0);
        PumpFor(100);
        EXPECT_EQ(1, CountPropertiesDialogs());
        EXPECT_EQ(dialog, propertiesDialog);
        EXPECT_EQ(map, mapControl);
        EXPECT_EQ(firstRegion, zoneRegions[0]);
        EXPECT_EQ((LONG_PTR)MapSubclassProc, GetWindowLongPtrA(mapControl, GWLP_WNDPROC));
        // and the first dialog still works
        SendMessageA(dialog, WM_COMMAND, IDC_PINBUTTON2, 0);
        SendMessageA(mapControl, WM_LBUTTONUP, 0, MAKELPARAM(123, 45));
        EXPECT_EQ(123, PinAt(2).x);
        EXPECT_EQ(45, PinAt(2).y);
        SendMessageA(dialog, WM_COMMAND, IDC_PROPERTIES_OK, 0);
    }));
    std::string file = ReadFileBytes("VELMOR.INI");
    EXPECT_NE(std::string::npos, file.find("[PIN2]\r\nX=123\r\nY=45\r\n")) << file;
    // once closed, the command opens the dialog again
    EXPECT_TRUE(WhilePropertiesOpen([](HWND dialog) { SendMessageA(dialog, WM_COMMAND, IDCANCEL, 0); }));
}

static int CursorDisplayCount(void)
{
    ShowCursor(TRUE);
    return ShowCursor(FALSE);
}

static std::vector<UINT> ZoneGrid(void)
{
    std::vector<UINT> zones;
    for (int y = 0; y < MAP_HEIGHT; y += 7)
        for (int x = 0; x < MAP_WIDTH; x += 3)
            zones.push_back(FindMapZone(x, y));
    return zones;
}

TEST_F(Properties, BannerPictureGoesWithTheDialog)
{
    Start();
    HGDIOBJ banner = NULL;
    ASSERT_TRUE(WhilePropertiesOpen([&](HWND dialog) {
        for (HWND child = GetWindow(dialog, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
            if ((GetWindowLongA(child, GWL_STYLE) & SS_TYPEMASK) == SS_BITMAP && GetParent(child) == dialog
                && child != mapControl)
                banner = (HGDIOBJ)SendMessageA(child, STM_GETIMAGE, IMAGE_BITMAP, 0);
        SendMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
    }));
    ASSERT_TRUE(banner != NULL);
    BITMAP picture;
    EXPECT_EQ(0, GetObjectA(banner, sizeof picture, &picture)) << "the banner's bitmap still exists";
}

TEST_F(Properties, TwoHundredOpeningsLeaveNothingBehind)
{
    Start();
    WNDCLASSA staticClass;
    ASSERT_TRUE(GetClassInfoA(NULL, "STATIC", &staticClass));
    WNDPROC staticProc = staticClass.lpfnWndProc;
    int displayCount = CursorDisplayCount();
    std::vector<DWORD> mapBits = BitmapPixels(mapBitmap), pinBits = BitmapPixels(pinBitmaps[2]);
    std::vector<UINT> firstZones, lastZones;
    WhilePropertiesOpen([&](HWND dialog) {
        firstZones = ZoneGrid();
        SendMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
    });
    // 200 in all; a leak or a change that each opening leaves shows after the first few too
    int openings = RepeatCount(200);
    for (int i = 0; i < openings - 2; i++)
        ASSERT_TRUE(WhilePropertiesOpen([](HWND dialog) {
            SendMessageA(dialog, WM_COMMAND, IDC_PINBUTTON4, 0);
            SendMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
        })) << i;
    WhilePropertiesOpen([&](HWND dialog) {
        lastZones = ZoneGrid();
        SendMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
    });

    EXPECT_EQ(firstZones, lastZones);
    for (int i = 0; i < ZONE_REGION_COUNT; i++)
        EXPECT_EQ(NULL, zoneRegions[i]);
    EXPECT_EQ(NULL, mapControl);
    EXPECT_EQ(NULL, propertiesDialog);
    EXPECT_EQ(displayCount, CursorDisplayCount());
    ASSERT_TRUE(GetClassInfoA(NULL, "STATIC", &staticClass));
    EXPECT_EQ(staticProc, staticClass.lpfnWndProc);
    EXPECT_EQ(LoadCursorA(NULL, (LPCSTR)IDC_ARROW), staticClass.hCursor);
    EXPECT_EQ((ULONG_PTR)arrowCursor, GetClassLongPtrA(clockPanels[0], GCLP_HCURSOR));
    EXPECT_EQ(mapBits, BitmapPixels(mapBitmap));
    EXPECT_EQ(pinBits, BitmapPixels(pinBitmaps[2]));

    // GDI still hands out fonts and regions
    HRGN region = CreateRectRgn(0, 0, 10, 10);
    HFONT font = CreateFontA(-12, 0, 0, 0, FW_BOLD, 0, 0, 0, 0, 0, 0, 0, 0, "Arial");
    EXPECT_TRUE(region != NULL);
    EXPECT_TRUE(font != NULL);
    DeleteObject(region);
    DeleteObject(font);
}

// Hand-damaged zones and pins: no list shows a choice the file does not make, each pin stands
// where its numbers put it, a zone chosen brings its pin onto the map, and OK writes each
// clock's state as the dialog shows it.
TEST_F(Properties, HostileZonesAndPinsOpenAndStoreSaneValues)
{
    Start("[ZONES]\r\nONE=-5\r\nONEDST=7\r\nTWO=99999999999\r\nTWODST=-1\r\nTHREE=abc\r\nTHREEDST=1\r\n"
          "FOUR=59\r\nFOURDST=xyz\r\n[PIN1]\r\nX=-100\r\nY=-100\r\n[PIN2]\r\nX=100000\r\nY=5\r\n"
          "[PIN3]\r\nX=garbage\r\nY=3x\r\n[PIN4]\r\nX=-1\r\nY=187\r\n\x01\xff[[\r\n");
    KeepDialogOffTheBar();
    POINT pins[4];
    UINT clicked = 0;
    ASSERT_TRUE(WhilePropertiesOpen([&](HWND dialog) {
        const POINT stored[4] = { { -100, -100 }, { 100000, 5 }, { 0, 3 }, { -1, 187 } };
        for (int clock = 1; clock <= 4; clock++) {
            SCOPED_TRACE(testing::Message() << "clock " << clock);
            EXPECT_EQ(CB_ERR, ZoneSelection(dialog, clock));
            HWND box = GetDlgItem(dialog, dstBoxIds[clock - 1]);
            EXPECT_FALSE(IsWindowEnabled(box));
            EXPECT_EQ(clock == 3 ? BST_CHECKED : BST_UNCHECKED, SendMessageA(box, BM_GETCHECK, 0, 0));
            EXPECT_TRUE(IsWindowVisible(mapPins[clock - 1]));
            EXPECT_EQ(stored[clock - 1].x, PinAt(clock).x);
            EXPECT_EQ(stored[clock - 1].y, PinAt(clock).y);
        }
        // a zone from the list brings clock 1's pin onto the map, a map click clock 4's
        PickZoneFromList(dialog, 1, 21);
        EXPECT_EQ(zoneTable[21].mapX, PinAt(1).x);
        EXPECT_EQ(zoneTable[21].mapY, PinAt(1).y);
        SendMessageA(dialog, WM_COMMAND, IDC_PINBUTTON4, 0);
        ReleaseOnMap(200, 100);
        EXPECT_EQ(200, PinAt(4).x);
        clicked = FindMapZone(200, 100);
        EXPECT_NE(0u, clicked);
        EXPECT_EQ((int)clicked, ZoneSelection(dialog, 4) + 1);
        for (int clock = 1; clock <= 4; clock++)
            pins[clock - 1] = PinAt(clock);
        SendMessageA(dialog, WM_COMMAND, IDC_PROPERTIES_OK, 0);
    }));
    std::string expected = "[ZONES]\r\nONE=22\r\nONEDST=0\r\nTWO=0\r\nTWODST=0\r\nTHREE=0\r\nTHREEDST=1\r\n";
    expected += "FOUR=" + std::to_string(clicked) + "\r\nFOURDST=0\r\n";
    for (int clock = 1; clock <= 4; clock++)
        expected += "[PIN" + std::to_string(clock) + "]\r\nX=" + std::to_string(pins[clock - 1].x) + "\r\nY=" +
                    std::to_string(pins[clock - 1].y) + "\r\n";
    std::string file = ReadFileBytes("VELMOR.INI");
    EXPECT_NE(std::string::npos, file.find(expected)) << file;
    EXPECT_STREQ("Greenwich Mean Time", clockZones[0].name);
    EXPECT_STREQ("", clockZones[1].name);
    EXPECT_TRUE(IsWindowVisible(barWindow));
}
