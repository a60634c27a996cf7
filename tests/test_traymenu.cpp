// The popup menu's places and commands, and the tray icon's clicks.
#include <gtest/gtest.h>
#include <vector>
#include "app/app.h"
#include "bar/bar.h"
#include "res/resource.h"
#include "barharness.h"
#include "dialogtest.h"
#include "testutil.h"

static RECT menuRect;
static bool menuSeen;
static HWND foregroundInMenu;   // the foreground window while the menu was open
static WPARAM menuKey;       // a mnemonic to choose, or 0 to close the menu without a choice

static void CALLBACK InspectMenu(HWND, UINT, UINT_PTR timer, DWORD)
{
    HWND menu = FindWindowA("#32768", NULL);
    if (!menu || !IsWindowVisible(menu))
        return;
    KillTimer(NULL, timer);
    GetWindowRect(menu, &menuRect);
    foregroundInMenu = GetForegroundWindow();
    menuSeen = true;
    if (menuKey)
        PostMessageA(menu, WM_CHAR, menuKey, 0);
    else
        PostMessageA(menu, WM_KEYDOWN, VK_ESCAPE, 0);
}

static WNDPROC barProcedure;
static std::vector<WPARAM> commands;
static int nullMessages;

static LRESULT CALLBACK RecordCommands(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_COMMAND && lParam == 0) {
        commands.push_back(wParam);
        return 0;
    }
    if (message == WM_NULL)
        nullMessages++;
    return CallWindowProcA(barProcedure, window, message, wParam, lParam);
}

// Runs an action that may open the menu; the menu is inspected and closed (or an item chosen).
template <class Action>
static bool WithMenu(WPARAM key, Action action)
{
    menuSeen = false;
    menuKey = key;
    commands.clear();
    nullMessages = 0;
    UINT_PTR timer = SetTimer(NULL, 0, 20, InspectMenu);
    action();
    PumpFor(150);
    KillTimer(NULL, timer);
    return menuSeen;
}

struct MenuFixture : ::testing::Test {
    ScratchDir dir;
    void Start(const char* ini)
    {
        StartBar(ini);
        barProcedure = (WNDPROC)SetWindowLongPtrA(barWindow, GWLP_WNDPROC, (LONG_PTR)RecordCommands);
    }
    void TearDown() override
    {
        SetWindowLongPtrA(barWindow, GWLP_WNDPROC, (LONG_PTR)barProcedure);
        CloseBar();
    }
};

// Another program's window in the foreground, so that bringing the bar forward shows.
static HWND WindowInFront(void)
{
    HWND other = CreateWindowExA(0, "STATIC", "other", WS_POPUP | WS_VISIBLE, 400, 400, 100, 100,
                                 NULL, NULL, NULL, NULL);
    SetForegroundWindow(other);
    PumpFor(30);
    return other;
}

static void ExpectMenuAt(int x, int y)
{
    EXPECT_EQ(x, menuRect.left);
    EXPECT_EQ(y, menuRect.top);
}

TEST_F(MenuFixture, CornerGlobeWhileFloatingOpensTheMenuUnderTheCaption)
{
    Start("[PREFS]\r\nALIGN=99\r\n");
    SetCursorPos(600, 500);
    RECT bar = WindowRect(barWindow);
    ASSERT_TRUE(WithMenu(0, [] { SendMessageA(barWindow, WM_COMMAND, 0, (LPARAM)cornerBitmap); }));
    ExpectMenuAt(bar.left, bar.top + 16);
    EXPECT_TRUE(commands.empty()) << "closing the menu without a choice sends nothing";
}

TEST_F(MenuFixture, CornerGlobeWhileDockedAndRightClickOpenAtTheCursor)
{
    Start("");
    SetCursorPos(300, 30);
    ASSERT_TRUE(WithMenu(0, [] { SendMessageA(barWindow, WM_COMMAND, 0, (LPARAM)cornerBitmap); }));
    ExpectMenuAt(300, 30);
    SetCursorPos(420, 20);
    ASSERT_TRUE(WithMenu(0, [] { SendMessageA(barWindow, WM_RBUTTONUP, 0, MAKELPARAM(5, 5)); }));
    ExpectMenuAt(420, 20);
    EXPECT_TRUE(commands.empty());
}

// The real mouse: a right click on the bar's surface or on a panel, which lets the mouse
// through to it, opens the menu where it was made. The point is in the bar's client
// coordinates; returns it on the screen.
static POINT RightClickAt(int x, int y)
{
    POINT point = { x, y };
    ClientToScreen(barWindow, &point);
    SetCursorPos(point.x, point.y);
    PumpFor(30);
    mouse_event(MOUSEEVENTF_RIGHTDOWN, 0, 0, 0, 0);
    mouse_event(MOUSEEVENTF_RIGHTUP, 0, 0, 0, 0);
    return point;
}

static void ExpectRightClickOpensMenu(int x, int y, const char* where)
{
    POINT point;
    ASSERT_TRUE(WithMenu(0, [&] { point = RightClickAt(x, y); })) << where;
    ExpectMenuAt(point.x, point.y);
    EXPECT_TRUE(commands.empty());
}

TEST_F(MenuFixture, ARightClickOnTheSurfaceOrAPanelOpensTheMenuThere)
{
    Start("");
    ExpectRightClickOpensMenu(8, 30, "docked, under the globe");
    ExpectRightClickOpensMenu(330, 20, "docked, clock panel 3");
    SetWindowLongPtrA(barWindow, GWLP_WNDPROC, (LONG_PTR)barProcedure);
    CloseBar();

    Start("[PREFS]\r\nALIGN=99\r\n");
    ExpectRightClickOpensMenu(60, 6, "floating, the caption strip");
    ExpectRightClickOpensMenu(70, 180, "floating, clock panel 4");
    // from the keyboard (Shift+F10) the point is -1, -1: the menu opens at the cursor
    SetCursorPos(500, 400);
    ASSERT_TRUE(WithMenu(0, [] { SendMessageA(barWindow, WM_CONTEXTMENU, (WPARAM)barWindow, -1); }));
    ExpectMenuAt(500, 400);
}

TEST_F(MenuFixture, EachChoiceReachesTheBarAsItsCommand)
{
    Start("");
    const struct { WPARAM key; WPARAM command; } items[] = {
        { 'c', CMD_CLOSE }, { 't', CMD_ALWAYS_ON_TOP }, { 'a', CMD_ABOUT }, { 'p', CMD_PROPERTIES },
    };
    for (auto& item : items) {
        SetCursorPos(200, 20);
        ASSERT_TRUE(WithMenu(item.key, [] { ShowBarMenu(200, 20); }));
        ASSERT_EQ(1u, commands.size()) << "key " << (char)item.key;
        EXPECT_EQ(item.command, commands[0]);
    }
}

TEST_F(MenuFixture, TrayRightClickOpensTheMenuAtTheCursor)
{
    Start("[PREFS]\r\nALIGN=99\r\n");
    HWND other = WindowInFront();
    SetCursorPos(700, 600);
    ASSERT_TRUE(WithMenu(0, [] { SendMessageA(barWindow, WM_TRAYNOTIFY, TRAY_ICON_ID, WM_RBUTTONUP); }));
    ExpectMenuAt(700, 600);
    // a menu whose owner is not in the foreground ignores the keyboard and stays open at
    // a click elsewhere; the message after it lets a dismissed menu close for good
    EXPECT_EQ(barWindow, foregroundInMenu);
    EXPECT_EQ(1, nullMessages);
    DestroyWindow(other);
}

TEST_F(MenuFixture, OtherTrayMessagesAndIconsDoNothing)
{
    Start("[PREFS]\r\nALIGN=99\r\n");
    HWND other = WindowInFront();
    RECT before = WindowRect(barWindow);
    const UINT quiet[] = { WM_MOUSEMOVE, WM_LBUTTONDOWN, WM_RBUTTONDOWN, WM_LBUTTONDBLCLK, WM_RBUTTONDBLCLK };
    for (UINT message : quiet)
        EXPECT_FALSE(WithMenu(0, [message] { SendMessageA(barWindow, WM_TRAYNOTIFY, TRAY_ICON_ID, message); }))
            << "message " << message;
    EXPECT_FALSE(WithMenu(0, [] { SendMessageA(barWindow, WM_TRAYNOTIFY, TRAY_ICON_ID + 1, WM_RBUTTONUP); }));
    SendMessageA(barWindow, WM_TRAYNOTIFY, TRAY_ICON_ID + 1, WM_LBUTTONUP);
    EXPECT_EQ(other, GetForegroundWindow());
    RECT after = WindowRect(barWindow);
    EXPECT_TRUE(EqualRect(&before, &after));
    DestroyWindow(other);
}

TEST_F(MenuFixture, TrayLeftClickBringsTheBarForwardAndRepaintsItInPlace)
{
    Start("[PREFS]\r\nALIGN=99\r\n");
    HWND other = WindowInFront();
    RECT before = WindowRect(barWindow);

    // scribble over the caption strip and a clock's white box
    HDC dc = GetDC(barWindow);
    RECT strip = { 70, 1, 110, 13 };
    HBRUSH red = CreateSolidBrush(RGB(255, 0, 0));
    FillRect(dc, &strip, red);
    ReleaseDC(barWindow, dc);
    HDC panelDc = GetDC(clockPanels[0]);
    RECT box = { 15, 8, 127, 35 };
    FillRect(panelDc, &box, red);
    ReleaseDC(clockPanels[0], panelDc);
    DeleteObject(red);

    SendMessageA(barWindow, WM_TRAYNOTIFY, TRAY_ICON_ID, WM_LBUTTONUP);
    PumpFor(50);
    EXPECT_EQ(barWindow, GetForegroundWindow());
    RECT after = WindowRect(barWindow);
    EXPECT_TRUE(EqualRect(&before, &after)) << "the bar does not move";
    dc = GetDC(barWindow);
    EXPECT_EQ(GetSysColor(COLOR_ACTIVECAPTION), GetPixel(dc, 105, 3));
    ReleaseDC(barWindow, dc);
    panelDc = GetDC(clockPanels[0]);
    EXPECT_EQ(RGB(255, 255, 255), GetPixel(panelDc, 16, 9));
    EXPECT_EQ(RGB(255, 255, 255), GetPixel(panelDc, 126, 34));
    ReleaseDC(clockPanels[0], panelDc);
    DestroyWindow(other);
}

TEST(TrayIcon, PresentExactlyWhileFloatingAndGoneAfterShutdown)
{
    ScratchDir dir;
    StartBar();
    EXPECT_FALSE(TrayIconExists(barWindow, TRAY_ICON_ID));
    CloseBar();
    HWND floating = StartBar("[PREFS]\r\nALIGN=99\r\n");
    EXPECT_TRUE(TrayIconExists(floating, TRAY_ICON_ID));
    EXPECT_FALSE(TrayIconExists(floating, TRAY_ICON_ID + 1));
    CloseBar();
    EXPECT_FALSE(TrayIconExists(floating, TRAY_ICON_ID));
}

// Opens the tray icon's menu, which chooses menuKey.
static void UseTrayMenu(WPARAM key)
{
    menuSeen = false;
    menuKey = key;
    UINT_PTR timer = SetTimer(NULL, 0, 20, InspectMenu);
    SendMessageA(barWindow, WM_TRAYNOTIFY, TRAY_ICON_ID, WM_RBUTTONUP);
    PumpUntil([] { return menuSeen; });
    KillTimer(NULL, timer);
}

// The tray icon's menu while a dialog is open: the dialog stays the foreground window and
// keeps its focused control, also after "Always on top" (which activates the bar), and
// Close ends the dialog as Cancel does, then the bar.
TEST(TrayIcon, WhileADialogIsOpenTheMenuLeavesItInFrontAndCloseEndsBoth)
{
    const char* captions[] = { "Properties for Velmor", "Velmor" };
    const int openers[] = { CMD_PROPERTIES, CMD_ABOUT };
    for (int d = 0; d < 2; d++) {
        SCOPED_TRACE(captions[d]);
        ScratchDir dir;
        StartBar("[PREFS]\r\nALIGN=99\r\n");
        HWND dialogSeen = NULL;
        int command = openers[d];
        bool closed = WhileDialogOpen(captions[d], [command] { SendBarCommand(command); }, [&](HWND dialog) {
            dialogSeen = dialog;
            HWND focus = GetFocus();
            ASSERT_TRUE(focus && IsChild(dialog, focus));
            for (int turn = 0; turn < 2; turn++) {   // off and on again
                UseTrayMenu('t');
                EXPECT_TRUE(menuSeen);
                EXPECT_TRUE(PumpUntil([&] { return GetForegroundWindow() == dialog && GetFocus() == focus; }))
                    << "after Always on top the keyboard is with " << GetForegroundWindow() << ", " << GetFocus();
            }
            UseTrayMenu('c');
        });
        EXPECT_TRUE(closed) << "Close ended the dialog";
        EXPECT_TRUE(menuSeen);
        EXPECT_EQ(dialogSeen, foregroundInMenu) << "the dialog stays in front";
        EXPECT_TRUE(PumpUntil([] { return !IsWindow(barWindow); })) << "then the bar closed";
        EXPECT_EQ("[PREFS]\r\nALIGN=99\r\nONTOP=1\r\n", ReadFileBytes("VELMOR.INI"));
        CloseBar();
    }
}
