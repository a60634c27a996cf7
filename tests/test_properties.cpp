// The Properties dialog opened through the bar: template, opening state, OK, Cancel, reopening.
#include <gtest/gtest.h>
#include <string.h>
#include <vector>
#include "app/app.h"
#include "bar/bar.h"
#include "dialogs/dialogs.h"
#include "res/resource.h"
#include "settings/settings.h"
#include "zones/zones.h"
#include "barharness.h"
#include "dialogtest.h"
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

static RECT ClientRectOf(HWND child)
{
    RECT rect;
    GetWindowRect(child, &rect);
    MapWindowPoints(NULL, GetParent(child), (POINT*)&rect, 2);
    return rect;
}

static std::string TextOf(HWND window)
{
    char text[256] = "";
    GetWindowTextA(window, text, sizeof text);
    return text;
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
            EXPECT_EQ(want.styleBits & want.typeMask, style & want.typeMask) << std::hex << style;
            // only the first pin button starts a group
            if (want.styleBits & BS_PUSHLIKE) {
                EXPECT_EQ(want.id == 1006, (style & WS_GROUP) != 0);
            }
            if (want.text) {
                EXPECT_EQ(want.text, TextOf(child));
            }

            RECT rect = ClientRectOf(child);
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
        RECT map = ClientRectOf(mapControl);
        EXPECT_EQ(125, map.left);
        EXPECT_EQ(75, map.top);
        EXPECT_EQ(360, map.right - map.left);
        EXPECT_EQ(188, map.bottom - map.top);
        DWORD style = GetWindowLongA(mapControl, GWL_STYLE);
        EXPECT_EQ((DWORD)(WS_CHILD | WS_VISIBLE | SS_NOTIFY | SS_BITMAP), style);
        EXPECT_EQ(0, GetWindowLongA(mapControl, GWL_EXSTYLE));
        EXPECT_EQ(mapBitmap, (HBITMAP)SendMessageA(mapControl, STM_GETIMAGE, IMAGE_BITMAP, 0));
        EXPECT_EQ((LONG)MapSubclassProc, GetWindowLongA(mapControl, GWL_WNDPROC));

        // stored positions are taken as they are, even off the map
        const POINT stored[4] = { { 10, 20 }, { 100, 50 }, { 355, 186 }, { -3, 400 } };
        for (int i = 0; i < 4; i++) {
            SCOPED_TRACE(i + 1);
            EXPECT_EQ(mapControl, GetParent(mapPins[i]));
            EXPECT_TRUE(IsWindowVisible(mapPins[i]) || i == 3);
            RECT pin = ClientRectOf(mapPins[i]);
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
