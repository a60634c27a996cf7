// Docking as an application bar and dragging between the docked bar and the floating window,
// driven by the real messages with real cursor positions.
#include <gtest/gtest.h>
#include <stdlib.h>
#include "app/app.h"
#include "bar/bar.h"
#include "res/resource.h"
#include "barharness.h"
#include "testutil.h"

static int ScreenW() { return GetSystemMetrics(SM_CXSCREEN); }
static int ScreenH() { return GetSystemMetrics(SM_CYSCREEN); }

static void ExpectRect(const RECT& r, int left, int top, int right, int bottom, const char* what)
{
    EXPECT_EQ(left, r.left) << what;
    EXPECT_EQ(top, r.top) << what;
    EXPECT_EQ(right, r.right) << what;
    EXPECT_EQ(bottom, r.bottom) << what;
}

// One WM_MOVING step with the cursor at (x, y); returns the rectangle as the handler left it.
// With "Show window contents while dragging" on, the default of Wine, the window itself
// moves; with it off, the default of Windows 95 and NT 4.0, the move loop moves an outline
// and keeps what the handler made of it: pass that outline.
static RECT MoveStep(int x, int y, RECT* outline = NULL)
{
    SetCursorPos(x, y);
    RECT proposed = outline ? *outline : WindowRect(barWindow);
    OffsetRect(&proposed, 10, 10);
    SendMessageA(barWindow, WM_MOVING, WMSZ_TOP, (LPARAM)&proposed);
    if (outline)
        *outline = proposed;
    return proposed;
}

// An outline drag starts as the window's own rectangle.
static RECT BeginOutlineMove(void)
{
    SendMessageA(barWindow, WM_ENTERSIZEMOVE, 0, 0);
    return WindowRect(barWindow);
}

// The end of the move loop. An outline drag's loop moves the window to the outline only
// after WM_EXITSIZEMOVE, and then returns to the message loop.
static void EndMove(const RECT* outline = NULL)
{
    SendMessageA(barWindow, WM_EXITSIZEMOVE, 0, 0);
    if (outline)
        SetWindowPos(barWindow, NULL, outline->left, outline->top, outline->right - outline->left,
                     outline->bottom - outline->top, SWP_NOZORDER | SWP_NOACTIVATE);
    PumpFor(30);
}

static bool TimerRunning(void)
{
    // a timer that is gone can't be killed; one that was killed here is started again
    if (!KillTimer(barWindow, CLOCK_TIMER_ID))
        return false;
    StartClockTimer();
    return true;
}

static HBITMAP CornerPicture(void)
{
    return (HBITMAP)SendMessageA(cornerBitmap, STM_GETIMAGE, IMAGE_BITMAP, 0);
}

struct WorkArea {
    RECT saved;
    WorkArea() { SystemParametersInfoA(SPI_GETWORKAREA, 0, &saved, 0); }
    ~WorkArea() { SystemParametersInfoA(SPI_SETWORKAREA, 0, &saved, 0); }
    void Set(int l, int t, int r, int b)
    {
        RECT area = { l, t, r, b };
        SystemParametersInfoA(SPI_SETWORKAREA, 0, &area, 0);
    }
};

TEST(ChooseEdge, FloatingInsideTheShrunkWorkAreaAnEdgeOutside)
{
    RECT work;
    SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
    int margin = GetSystemMetrics(SM_CYVSCROLL);
    ASSERT_GT(margin, 0);
    int midX = (work.left + work.right) / 2;
    EXPECT_EQ(-2, ChooseEdge(midX, (work.top + work.bottom) / 2));
    EXPECT_EQ(-2, ChooseEdge(work.left, work.top + margin));            // top-left inclusive
    EXPECT_EQ(-2, ChooseEdge(work.right - 1, work.bottom - margin - 1));
    EXPECT_EQ(1, ChooseEdge(midX, work.top + margin - 1));               // inside, but in the margin
    EXPECT_EQ(3, ChooseEdge(midX, work.bottom - margin));                // bottom exclusive
    EXPECT_EQ(1, ChooseEdge(midX, -40));
    EXPECT_EQ(3, ChooseEdge(midX, ScreenH() + 40));
}

TEST(ChooseEdge, BesideTheWorkAreaOnlyTheHeightCounts)
{
    ASSERT_EQ(768, ScreenH()) << "the test display is 1024 x 768";
    WorkArea area;
    area.Set(100, 0, 1024, 768);   // as with a taskbar down the left edge
    EXPECT_EQ(-2, ChooseEdge(500, 384));
    EXPECT_EQ(1, ChooseEdge(50, 384));
    EXPECT_EQ(3, ChooseEdge(50, 385));
    EXPECT_EQ(1, ChooseEdge(50, 20));
    EXPECT_EQ(3, ChooseEdge(50, 700));
    EXPECT_EQ(1, ChooseEdge(1024, 0));
}

TEST(DockBar, StartedAtTheTopTheStripIs54High)
{
    ScratchDir dir;
    StartBar();
    ExpectRect(WindowRect(barWindow), 0, 0, ScreenW(), 54, "window");
    EXPECT_EQ((UINT)ABE_TOP, appBar.uEdge);
    ExpectRect(appBar.rc, 0, 0, ScreenW(), 54, "appbar");
    // the record of the program's width: the shell of Windows 95 and NT 4.0 takes the
    // 32-bit one, 36 bytes; the 64-bit twin's is 48
    EXPECT_EQ(sizeof(void*) == 4 ? 36u : 48u, appBar.cbSize);
    EXPECT_EQ(barWindow, appBar.hWnd);
    EXPECT_EQ(1124u, appBar.uCallbackMessage);
    CloseBar();
}

TEST(DockBar, StartedAtTheBottomAndWithAnUnknownEdge)
{
    ScratchDir dir;
    StartBar("[PREFS]\r\nALIGN=3\r\n");
    ExpectRect(WindowRect(barWindow), 0, ScreenH() - 54, ScreenW(), ScreenH(), "bottom");
    EXPECT_EQ((UINT)ABE_BOTTOM, appBar.uEdge);
    ExpectRect(appBar.rc, 0, ScreenH() - 54, ScreenW(), ScreenH(), "appbar");
    EXPECT_EQ(3, placement);
    CloseBar();
}

TEST(DockBar, ReleaseBarSpaceClearsTheRecordAndSizingYieldsTheStrip)
{
    ScratchDir dir;
    StartBar();
    RECT proposed = { 5, 6, 300, 400 };
    EXPECT_EQ(TRUE, SendMessageA(barWindow, WM_SIZING, WMSZ_BOTTOMRIGHT, (LPARAM)&proposed));
    ExpectRect(proposed, 0, 0, ScreenW(), 54, "sizing while docked");

    ReleaseBarSpace();
    EXPECT_EQ((UINT)-2, appBar.uEdge);
    ExpectRect(appBar.rc, 0, 0, 0, 0, "released");
    CloseBar();

    StartBar("[PREFS]\r\nALIGN=99\r\n");
    RECT floating = { 35, 35, 300, 400 };
    EXPECT_EQ(TRUE, SendMessageA(barWindow, WM_SIZING, WMSZ_BOTTOMRIGHT, (LPARAM)&floating));
    ExpectRect(floating, 35, 35, 300, 400, "sizing while floating");
    CloseBar();
}

TEST(Drag, DockedBarDraggedIntoTheDesktopFloatsAndGetsItsButtonsAtTheEnd)
{
    ScratchDir dir;
    StartBar();
    ASSERT_TRUE(clockPanels[0] != NULL) << "the bar's children exist";
    RECT rect = MoveStep(100, 400);   // over what becomes the floating window

    EXPECT_EQ(-2, placement);
    EXPECT_EQ(1, floatedByDrag);
    EXPECT_EQ(151, rect.right - rect.left);
    EXPECT_EQ(218, rect.bottom - rect.top);
    EXPECT_EQ(WindowRect(barWindow).left + 10, rect.left);   // keeps the proposed corner
    for (int i = 0; i < 4; i++)
        ExpectRect(ChildRect(clockPanels[i]), 0, 16 + 49 * i, 145, 65 + 49 * i, "panel");
    for (int i = 0; i < FILLER_COUNT; i++)
        if (fillerPanels[i]) {
            EXPECT_FALSE(IsWindowVisible(fillerPanels[i]));
        }
    EXPECT_EQ(globeFloatingBitmap, CornerPicture());
    EXPECT_EQ((UINT)-2, appBar.uEdge);
    EXPECT_EQ(WS_EX_TOOLWINDOW, GetWindowLongA(barWindow, GWL_EXSTYLE) & ~(WS_EX_TOPMOST | WS_EX_WINDOWEDGE));
    EXPECT_EQ(0, GetWindowLongA(barWindow, GWL_STYLE) & WS_SYSMENU);
    // the buttons, the tray icon and the clocks wait for the end of the drag
    EXPECT_FALSE(IsWindowVisible(minimizeButton));
    EXPECT_FALSE(IsWindowVisible(closeButton));
    EXPECT_FALSE(TrayIconExists(barWindow, TRAY_ICON_ID));
    EXPECT_FALSE(TimerRunning());
    EXPECT_EQ(1, alignPreference);

    MoveWindow(barWindow, rect.left, rect.top, 300, 300, TRUE);
    EndMove();
    EXPECT_EQ(99, alignPreference);
    RECT window = WindowRect(barWindow);
    EXPECT_EQ(151, window.right - window.left);
    EXPECT_EQ(218, window.bottom - window.top);
    EXPECT_TRUE(IsWindowVisible(minimizeButton));
    EXPECT_TRUE(IsWindowVisible(closeButton));
    EXPECT_TRUE(TrayIconExists(barWindow, TRAY_ICON_ID));
    EXPECT_TRUE(TimerRunning());
    CloseBar();
    EXPECT_FALSE(TrayIconExists(barWindow, TRAY_ICON_ID));
}

TEST(Drag, FloatingWindowDraggedToAnEdgeDocksThere55High)
{
    ScratchDir dir;
    StartBar("[PREFS]\r\nALIGN=99\r\n");
    ASSERT_EQ(-2, placement);
    EXPECT_TRUE(TrayIconExists(barWindow, TRAY_ICON_ID));

    RECT rect = MoveStep(500, 2);
    ExpectRect(rect, 0, 0, ScreenW(), 55, "drag rectangle at the top");
    EXPECT_EQ(1, placement);
    EXPECT_EQ(1, alignPreference);
    EXPECT_EQ(0, floatedByDrag);
    for (int i = 0; i < 4; i++)
        ExpectRect(ChildRect(clockPanels[i]), 18 + 145 * i, 0, 163 + 145 * i, 49, "panel");
    const int fillerLeft[] = { 598, 741, 886, 1031 };
    for (int i = 0; i < FILLER_COUNT; i++)
        if (fillerPanels[i]) {
            EXPECT_TRUE(IsWindowVisible(fillerPanels[i]));
            EXPECT_EQ(fillerLeft[i], ChildRect(fillerPanels[i]).left);
        }
    EXPECT_FALSE(IsWindowVisible(minimizeButton));
    EXPECT_FALSE(IsWindowVisible(closeButton));
    EXPECT_EQ(globeDockedBitmap, CornerPicture());
    EXPECT_TRUE(TrayIconExists(barWindow, TRAY_ICON_ID));   // goes at the end of the drag

    MoveWindow(barWindow, rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top, TRUE);
    EndMove();
    ExpectRect(WindowRect(barWindow), 0, 0, ScreenW(), 55, "docked after the drag");
    ExpectRect(appBar.rc, 0, 0, ScreenW(), 55, "strip");
    EXPECT_EQ((UINT)ABE_TOP, appBar.uEdge);
    EXPECT_FALSE(TrayIconExists(barWindow, TRAY_ICON_ID));
    EXPECT_TRUE(TimerRunning());
    CloseBar();
    EXPECT_EQ("[PREFS]\r\nALIGN=1\r\nONTOP=1\r\n", ReadFileBytes("VELMOR.INI"));
}

TEST(Drag, FloatingWindowDraggedToTheBottomDocksAtTheBottom)
{
    ScratchDir dir;
    StartBar("[PREFS]\r\nALIGN=99\r\n");
    RECT rect = MoveStep(500, ScreenH() - 2);
    ExpectRect(rect, 0, ScreenH() - 55, ScreenW(), ScreenH(), "drag rectangle at the bottom");
    MoveWindow(barWindow, rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top, TRUE);
    EndMove();
    ExpectRect(WindowRect(barWindow), 0, ScreenH() - 55, ScreenW(), ScreenH(), "docked");
    EXPECT_EQ(3, alignPreference);
    EXPECT_EQ((UINT)ABE_BOTTOM, appBar.uEdge);
    CloseBar();
}

TEST(Drag, DockedBarDraggedOverTheOtherBandDocksAtTheOtherEdge)
{
    ScratchDir dir;
    StartBar();
    RECT rect = MoveStep(500, ScreenH() - 3);   // never inside the work area
    EXPECT_EQ(1, placement);                    // follows the drag as it is until the end
    EXPECT_EQ(3, selectedPlacement);
    MoveWindow(barWindow, rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top, TRUE);
    EndMove();
    EXPECT_EQ(3, placement);
    EXPECT_EQ(3, alignPreference);
    ExpectRect(WindowRect(barWindow), 0, ScreenH() - 54, ScreenW(), ScreenH(), "bottom");
    EXPECT_FALSE(TrayIconExists(barWindow, TRAY_ICON_ID));
    CloseBar();
}

TEST(Drag, MoveLoopWithoutMovingDocksAtTheSameEdge)
{
    ScratchDir dir;
    StartBar("[PREFS]\r\nALIGN=3\r\n");
    MoveWindow(barWindow, 0, 300, ScreenW(), 54, TRUE);
    EndMove();
    EXPECT_EQ(3, placement);
    ExpectRect(WindowRect(barWindow), 0, ScreenH() - 54, ScreenW(), ScreenH(), "same edge");
    CloseBar();

    StartBar("[PREFS]\r\nALIGN=99\r\n");
    RECT before = WindowRect(barWindow);
    EndMove();
    EXPECT_EQ(-2, placement);
    EXPECT_EQ(99, alignPreference);
    ExpectRect(WindowRect(barWindow), before.left, before.top, before.right, before.bottom, "still floating");
    CloseBar();
}

TEST(Drag, StartedFloatingTheRectangleIsLeftAsProposed)
{
    ScratchDir dir;
    StartBar("[PREFS]\r\nALIGN=99\r\n");
    SetCursorPos(500, 400);
    RECT proposed = { 400, 300, 700, 700 };
    SendMessageA(barWindow, WM_MOVING, WMSZ_TOP, (LPARAM)&proposed);
    ExpectRect(proposed, 400, 300, 700, 700, "floatedByDrag 0");
    EXPECT_EQ(-2, placement);
    CloseBar();
}

TEST(Drag, SeveralMovesWhileFloatingLeaveExactlyOneTrayIcon)
{
    ScratchDir dir;
    StartBar();
    for (int i = 0; i < 4; i++) {
        MoveStep(300 + 40 * i, 300);
        EndMove();
    }
    EXPECT_EQ(-2, placement);
    // exactly one: a single delete leaves none
    EXPECT_TRUE(TrayIconExists(barWindow, TRAY_ICON_ID));
    SetTrayIcon(NIM_DELETE);
    EXPECT_FALSE(TrayIconExists(barWindow, TRAY_ICON_ID));
    SetTrayIcon(NIM_ADD);
    CloseBar();
    EXPECT_FALSE(TrayIconExists(barWindow, TRAY_ICON_ID));
}

// Another application bar, such as a taskbar, docked at an edge with the given thickness;
// gone again at the end of its scope.
struct OtherBar {
    APPBARDATA data;
    OtherBar(UINT edge, int thickness)
    {
        ZeroMemory(&data, sizeof data);
        data.cbSize = sizeof data;
        data.hWnd = CreateWindowExA(WS_EX_TOOLWINDOW, "STATIC", "other bar", WS_POPUP | WS_VISIBLE,
                                    0, 0, ScreenW(), thickness, NULL, NULL, NULL, NULL);
        data.uCallbackMessage = WM_USER + 1;
        SHAppBarMessage(ABM_NEW, &data);
        data.uEdge = edge;
        SetRect(&data.rc, 0, 0, ScreenW(), ScreenH());
        SHAppBarMessage(ABM_QUERYPOS, &data);
        if (edge == ABE_TOP)
            data.rc.bottom = data.rc.top + thickness;
        else
            data.rc.top = data.rc.bottom - thickness;
        SHAppBarMessage(ABM_SETPOS, &data);
        MoveWindow(data.hWnd, data.rc.left, data.rc.top, ScreenW(), thickness, TRUE);
    }
    ~OtherBar()
    {
        SHAppBarMessage(ABM_REMOVE, &data);
        DestroyWindow(data.hWnd);
    }
};

// Another application bar at the top edge, docked below ours: once ours floats, the shell
// offers it the very top again.
TEST(DockBar, FloatingTheUpperOfTwoBarsFreesItsStrip)
{
    ScratchDir dir;
    StartBar();
    {
        OtherBar other(ABE_TOP, 30);
        EXPECT_EQ(54, other.data.rc.top) << "below our strip";

        ReleaseBarSpace();
        SetRect(&other.data.rc, 0, 0, ScreenW(), 30);
        SHAppBarMessage(ABM_QUERYPOS, &other.data);
        EXPECT_EQ(0, other.data.rc.top) << "our strip freed";
        EXPECT_EQ((UINT)-2, appBar.uEdge);
    }
    CloseBar();
}

// With "Show window contents while dragging" off, the move loop puts the window at the last
// outline after WM_EXITSIZEMOVE: a bar docked by the drag still ends on the strip the shell
// gave it, clear of the other bars, and the floating window at its drop point; each paints
// all of itself again when it is uncovered.
TEST(Drag, OutlineDragsEndOnTheStripOrAtTheDropPoint)
{
    ScratchDir dir;
    OtherBar menuBar(ABE_TOP, 30), taskbar(ABE_BOTTOM, 28);   // there before ours, so it keeps clear
    StartBar("[PREFS]\r\nALIGN=99\r\n");

    RECT outline = BeginOutlineMove();
    MoveStep(300, 300, &outline);
    MoveStep(500, 2, &outline);
    EndMove(&outline);
    EXPECT_EQ(1, placement);
    ExpectRect(appBar.rc, 0, 30, ScreenW(), 85, "strip below the other bar");
    ExpectRect(WindowRect(barWindow), 0, 30, ScreenW(), 85, "docked at the top");
    EXPECT_EQ("", CheckRepaintedSurface(barWindow)) << "docked at the top";

    outline = BeginOutlineMove();
    MoveStep(500, 300, &outline);
    MoveStep(500, ScreenH() - 2, &outline);
    EndMove(&outline);
    EXPECT_EQ(3, placement);
    ExpectRect(appBar.rc, 0, ScreenH() - 28 - 55, ScreenW(), ScreenH() - 28, "strip above the taskbar");
    ExpectRect(WindowRect(barWindow), 0, ScreenH() - 28 - 55, ScreenW(), ScreenH() - 28, "docked at the bottom");
    EXPECT_EQ("", CheckRepaintedSurface(barWindow)) << "docked at the bottom";

    outline = BeginOutlineMove();
    RECT drop = MoveStep(400, 400, &outline);
    EndMove(&outline);
    EXPECT_EQ(-2, placement);
    ExpectRect(WindowRect(barWindow), drop.left, drop.top, drop.left + 151, drop.top + 218, "floating at the drop point");
    EXPECT_EQ("", CheckRepaintedSurface(barWindow)) << "floating";
    EXPECT_TRUE(TrayIconExists(barWindow, TRAY_ICON_ID));
    CloseBar();
}

// The import slot through which the program (linked into this test) calls the shell.
#ifdef _WIN64
extern "C" decltype(&SHAppBarMessage) __imp_SHAppBarMessage;
#define shellAppBarSlot __imp_SHAppBarMessage
#else
extern "C" decltype(&SHAppBarMessage) shellAppBarSlot __asm__("__imp__SHAppBarMessage@8");
#endif
static decltype(&SHAppBarMessage) wineAppBarMessage;
static const int taskbarHeight = 28;

// A shell as Windows 95's keeps a taskbar along the bottom edge: it answers ABM_QUERYPOS
// with the part of the proposed rectangle that the taskbar leaves (Wine's moves only the
// side of the bar's edge, and only clear of other bars).
static UINT_PTR WINAPI IntersectingShell(DWORD message, PAPPBARDATA data)
{
    UINT_PTR result = wineAppBarMessage(message, data);
    if (message == ABM_QUERYPOS) {
        RECT free = { 0, 0, ScreenW(), ScreenH() - taskbarHeight };
        IntersectRect(&data->rc, &data->rc, &free);
    }
    return result;
}

static void UseShell(decltype(&SHAppBarMessage) shell)
{
    DWORD protection;
    VirtualProtect((void*)&shellAppBarSlot, sizeof shellAppBarSlot, PAGE_READWRITE, &protection);
    shellAppBarSlot = shell;
    VirtualProtect((void*)&shellAppBarSlot, sizeof shellAppBarSlot, protection, &protection);
}

// The bar proposes the whole screen, so such a shell has the taskbar to take away: docked
// at the bottom at start-up and again by a drag, it stands right above the taskbar.
TEST(DockBar, AtTheBottomOfAShellThatIntersectsItStandsAboveTheTaskbar)
{
    ScratchDir dir;
    wineAppBarMessage = shellAppBarSlot;
    UseShell(IntersectingShell);
    StartBar("[PREFS]\r\nALIGN=3\r\n");
    int bottom = ScreenH() - taskbarHeight;
    ExpectRect(WindowRect(barWindow), 0, bottom - 54, ScreenW(), bottom, "started docked");
    MoveStep(ScreenW() / 2, ScreenH() / 2);
    EndMove();
    MoveStep(ScreenW() / 2, ScreenH() - 2);
    EndMove();
    ExpectRect(WindowRect(barWindow), 0, bottom - 55, ScreenW(), bottom, "docked by a drag");
    CloseBar();
    UseShell(wineAppBarMessage);
}

TEST(AppBarNotify, PositionChangeRedocksOnlyWhileDocked)
{
    ScratchDir dir;
    StartBar();
    MoveWindow(barWindow, 0, 200, ScreenW(), 54, TRUE);
    EXPECT_EQ(0, SendMessageA(barWindow, WM_APPBARNOTIFY, ABN_POSCHANGED, 0));
    ExpectRect(WindowRect(barWindow), 0, 0, ScreenW(), 54, "re-docked");
    CloseBar();

    StartBar("[PREFS]\r\nALIGN=99\r\n");
    RECT before = WindowRect(barWindow);
    SendMessageA(barWindow, WM_APPBARNOTIFY, ABN_POSCHANGED, 0);
    ExpectRect(WindowRect(barWindow), before.left, before.top, before.right, before.bottom, "floating");
    CloseBar();
}

static bool Topmost(void)
{
    return (GetWindowLongA(barWindow, GWL_EXSTYLE) & WS_EX_TOPMOST) != 0;
}

static bool OntopTicked(void)
{
    return (GetMenuState(barMenu, CMD_ALWAYS_ON_TOP, MF_BYCOMMAND) & MF_CHECKED) != 0;
}

// The user's "Always on top" holds whatever the taskbar's own state; only a full-screen
// program sends the bar to the bottom, while it is open.
TEST(AppBarNotify, TheZOrderFollowsAlwaysOnTopExceptUnderAFullScreenProgram)
{
    for (int ontop : { 0, 1 }) {
        SCOPED_TRACE(ontop);
        ScratchDir dir;
        StartBar(ontop ? "" : "[PREFS]\r\nONTOP=0\r\n");
        ASSERT_EQ(ontop == 1, Topmost());
        SendMessageA(barWindow, WM_APPBARNOTIFY, ABN_STATECHANGE, 0);
        EXPECT_EQ(ontop == 1, Topmost()) << "after the taskbar's state changed";
        SendMessageA(barWindow, WM_APPBARNOTIFY, ABN_FULLSCREENAPP, 1);
        EXPECT_FALSE(Topmost()) << "a full-screen program opening sends the bar to the bottom";
        SendMessageA(barWindow, WM_APPBARNOTIFY, ABN_STATECHANGE, 0);
        EXPECT_FALSE(Topmost()) << "still under the full-screen program";
        SendMessageA(barWindow, WM_APPBARNOTIFY, ABN_FULLSCREENAPP, 0);
        EXPECT_EQ(ontop == 1, Topmost()) << "the full-screen program closed";
        EXPECT_EQ(ontop == 1, OntopTicked());
        EXPECT_EQ(ontop, ontopPreference);
        // closed under a full-screen program: the next start must not inherit it
        SendMessageA(barWindow, WM_APPBARNOTIFY, ABN_FULLSCREENAPP, 1);
        CloseBar();
    }
}

TEST(AppBarNotify, OtherCodesLeaveTheBarAlone)
{
    ScratchDir dir;
    StartBar();

    RECT before = WindowRect(barWindow);
    bool topBefore = Topmost();
    SendMessageA(barWindow, WM_APPBARNOTIFY, ABN_WINDOWARRANGE, 0);
    SendMessageA(barWindow, WM_APPBARNOTIFY, 77, 0);
    EXPECT_EQ(topBefore, Topmost());
    ExpectRect(WindowRect(barWindow), before.left, before.top, before.right, before.bottom, "other codes");
    CloseBar();
}

// The screen's size changed as the Display control panel does it. Only a Wine virtual
// desktop can change its size, so tests/displaychange.sh runs these in one (naming it in
// VELMOR_VIRTUAL_DESKTOP); elsewhere they are skipped. The size is put back at the end.
struct DisplaySize {
    ~DisplaySize() { ChangeDisplaySettingsA(NULL, 0); }
    bool Set(int width, int height)
    {
        DEVMODEA mode;
        ZeroMemory(&mode, sizeof mode);
        mode.dmSize = sizeof mode;
        mode.dmPelsWidth = width;
        mode.dmPelsHeight = height;
        mode.dmFields = DM_PELSWIDTH | DM_PELSHEIGHT;
        if (ChangeDisplaySettingsA(&mode, 0) != DISP_CHANGE_SUCCESSFUL)
            return false;
        PumpFor(100);
        return ScreenW() == width && ScreenH() == height;
    }
};

static bool InVirtualDesktop(void)
{
    return getenv("VELMOR_VIRTUAL_DESKTOP") != NULL;
}

TEST(DisplayChange, TheDockedBarSpansTheNewWidthWithItsFillerPanels)
{
    if (!InVirtualDesktop())
        GTEST_SKIP() << "needs a Wine virtual desktop (tests/displaychange.sh)";
    ScratchDir dir;
    StartBar("[PREFS]\r\nALIGN=3\r\n");
    DisplaySize display;
    const struct { int width, height, fillers; } sizes[] = {
        { 800, 600, 2 }, { 1024, 768, 3 }, { 640, 480, 1 }, { 1280, 1024, 4 }, { 1920, 1200, 4 },
        { 1024, 768, 3 },
    };
    for (const auto& size : sizes) {
        SCOPED_TRACE(testing::Message() << size.width << "x" << size.height);
        ASSERT_TRUE(display.Set(size.width, size.height));
        EXPECT_EQ(size.width, screenWidth);
        ExpectRect(WindowRect(barWindow), 0, size.height - 54, size.width, size.height, "bar");
        ExpectRect(appBar.rc, 0, size.height - 54, size.width, size.height, "strip");
        for (int i = 0; i < FILLER_COUNT; i++) {
            SCOPED_TRACE(i);
            ASSERT_EQ(i < size.fillers, fillerPanels[i] != NULL);
            if (fillerPanels[i]) {
                EXPECT_TRUE(IsWindowVisible(fillerPanels[i]));
                ExpectRect(ChildRect(fillerPanels[i]), 598 + 145 * i, 0, 743 + 145 * i, 48, "filler");
            }
        }
        EXPECT_EQ("", CheckSurface(barWindow)) << "as the change left it";
        EXPECT_EQ("", CheckRepaintedSurface(barWindow));
    }
    // on the wide screen, an outline drag floats the bar and docks it again at the top
    ASSERT_TRUE(display.Set(1920, 1200));
    RECT outline = BeginOutlineMove();
    MoveStep(500, 500, &outline);
    EndMove(&outline);
    ASSERT_EQ(-2, placement);
    outline = BeginOutlineMove();
    MoveStep(500, 500, &outline);
    MoveStep(900, 2, &outline);
    EndMove(&outline);
    ExpectRect(WindowRect(barWindow), 0, 0, 1920, 55, "docked by the drag");
    EXPECT_EQ("", CheckSurface(barWindow)) << "as the drag left it";
    EXPECT_EQ("", CheckRepaintedSurface(barWindow)) << "docked by the drag";
    CloseBar();
}

TEST(DisplayChange, AFloatingWindowOffTheNewScreenComesBackOntoIt)
{
    if (!InVirtualDesktop())
        GTEST_SKIP() << "needs a Wine virtual desktop (tests/displaychange.sh)";
    ScratchDir dir;
    StartBar("[PREFS]\r\nALIGN=99\r\n");
    DisplaySize display;
    SetWindowPos(barWindow, NULL, 860, 540, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    ASSERT_TRUE(display.Set(800, 600));
    ExpectRect(WindowRect(barWindow), 800 - 151, 600 - 218, 800, 600, "in the corner of 800 x 600");
    for (int i = 0; i < FILLER_COUNT; i++)
        if (fillerPanels[i]) {
            EXPECT_FALSE(IsWindowVisible(fillerPanels[i]));
        }
    // a window that fits stays where it is
    ASSERT_TRUE(display.Set(1024, 768));
    ExpectRect(WindowRect(barWindow), 800 - 151, 600 - 218, 800, 600, "kept on 1024 x 768");
    EXPECT_EQ(-2, placement);
    CloseBar();
}
