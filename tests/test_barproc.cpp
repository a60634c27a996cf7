// The bar window procedure: hit tests, the clock tick, clicks, menu commands, minimize
// and restore, and the shutdown.
#include <gtest/gtest.h>
#include <string.h>
#include <string>
#include "app/app.h"
#include "bar/bar.h"
#include "res/resource.h"
#include "settings/settings.h"
#include "zones/zones.h"
#include "barharness.h"
#include "childbar.h"
#include "dialogtest.h"
#include "pixels.h"
#include "testutil.h"

static const RECT timeBox = { 15, 8, 127, 24 };
static const RECT nameBox = { 15, 24, 127, 35 };
static const COLORREF green = RGB(0, 255, 0);

static bool PanelIsGreen(int clock)
{
    Picture picture = Snapshot(clockPanels[clock]);
    RECT all = { 0, 0, picture.width, picture.height };
    return CountPixels(picture, all, green) == picture.width * picture.height;
}

static bool PanelShowsText(int clock)
{
    Picture picture = Snapshot(clockPanels[clock]);
    RECT ink = FindPixels(picture, timeBox, IsDark);
    return CountPixels(picture, timeBox, green) == 0 && !IsRectEmpty(&ink);
}

static void Click(HWND child)
{
    // a STATIC with SS_NOTIFY reports the button press to its parent as STN_CLICKED
    SendMessageA(child, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(3, 3));
    SendMessageA(child, WM_LBUTTONUP, 0, MAKELPARAM(3, 3));
}

// A real click with the mouse in the middle of a child, pressed and released by another
// thread while this one pumps: on the bar's surface the press starts the platform's move
// loop on this thread, which returns at the release.
static DWORD WINAPI PressAndRelease(LPVOID at)
{
    const POINT* point = (const POINT*)at;
    MouseDownAt(point->x, point->y);
    Sleep(150);
    MouseUpAt(point->x, point->y);
    return 0;
}

static void RealClick(HWND child)
{
    RECT rect = WindowRect(child);
    POINT point = { (rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2 };
    HANDLE thread = CreateThread(NULL, 0, PressAndRelease, &point, 0, NULL);
    PumpUntil([&] { return WaitForSingleObject(thread, 0) == WAIT_OBJECT_0; }, 5000);
    PumpFor(100);
    CloseHandle(thread);
}

static LRESULT HitTest(HWND bar, int x, int y)
{
    return SendMessageA(bar, WM_NCHITTEST, 0, MAKELPARAM(x, y));
}

TEST(BarProc, HitTestDragsByTheSurfaceAndNotByTheBorders)
{
    for (const char* ini : { "[PREFS]\r\nALIGN=99\r\n", "[PREFS]\r\nALIGN=1\r\n" }) {
        SCOPED_TRACE(ini);
        ScratchDir dir;
        HWND bar = StartBar(ini);
        RECT window = WindowRect(bar);
        POINT client = { 60, 30 };   // over a clock panel: the bar is asked all the same
        ClientToScreen(bar, &client);
        EXPECT_EQ(HTCAPTION, HitTest(bar, client.x, client.y));
        POINT strip = { 5, 20 };
        ClientToScreen(bar, &strip);
        EXPECT_EQ(HTCAPTION, HitTest(bar, strip.x, strip.y));

        int midX = (window.left + window.right) / 2, midY = (window.top + window.bottom) / 2;
        POINT borders[] = {
            { window.left, midY }, { window.right - 1, midY }, { midX, window.top },
            { midX, window.bottom - 1 }, { window.left, window.top }, { window.right - 1, window.bottom - 1 },
        };
        for (POINT p : borders) {
            SCOPED_TRACE(testing::Message() << p.x << "," << p.y);
            SetCursor(LoadCursorA(NULL, (LPCSTR)IDC_WAIT));
            EXPECT_EQ(HTNOWHERE, HitTest(bar, p.x, p.y));
            EXPECT_EQ(arrowCursor, GetCursor()) << "the sizing borders show the arrow";
        }
        // outside the window the platform's answer stands
        EXPECT_EQ(HTNOWHERE, HitTest(bar, window.right + 20, window.bottom + 20));
        CloseBar();
    }
}

TEST(BarProc, TicksWithinAMinuteRedrawNothingAnotherMinuteHourOrTimeRedrawsAllFour)
{
    ScratchDir dir;
    SetFixedUtc(10, 10);
    StartBar("[ZONES]\r\nONE=22\r\nTWO=40\r\nTHREE=16\r\nFOUR=58\r\nFOURDST=1\r\n");
    char before[4][TIME_TEXT_SIZE];
    memcpy(before, clockTimes, sizeof before);
    for (int i = 0; i < 4; i++)
        FillClient(clockPanels[i], green);

    for (int i = 0; i < 3; i++)
        SendMessageA(barWindow, WM_TIMER, CLOCK_TIMER_ID, 0);
    for (int i = 0; i < 4; i++) {
        EXPECT_TRUE(PanelIsGreen(i)) << "clock " << i + 1 << " redrawn within the minute";
        EXPECT_STREQ(before[i], clockTimes[i]);
    }

    // the clock set a whole hour on: the same minute, and still a new time at the next tick
    SetFixedUtc(11, 10);
    SendMessageA(barWindow, WM_TIMER, CLOCK_TIMER_ID, 0);
    EXPECT_STREQ("11:10 AM", clockTimes[0]);
    EXPECT_TRUE(PanelShowsText(0));
    // set through the Date/Time control panel: the broadcast shows it before any tick
    for (int i = 0; i < 4; i++)
        FillClient(clockPanels[i], green);
    SetFixedUtc(14, 10);
    SendMessageA(barWindow, WM_TIMECHANGE, 0, 0);
    EXPECT_STREQ("2:10 PM", clockTimes[0]);
    for (int i = 0; i < 4; i++)
        EXPECT_TRUE(PanelShowsText(i)) << "clock " << i + 1 << " after WM_TIMECHANGE";

    // a tick does not look the zones up again
    clockZones[0].zoneIndex = 23;
    SetFixedUtc(11, 11);
    SendMessageA(barWindow, WM_TIMER, CLOCK_TIMER_ID, 0);
    const char* expected[4] = { "11:11 AM", "4:41 PM", "7:41 AM", "12:11 AM" };
    for (int i = 0; i < 4; i++) {
        SCOPED_TRACE(i);
        EXPECT_STREQ(expected[i], clockTimes[i]);
        EXPECT_TRUE(PanelShowsText(i));
    }
    EXPECT_STREQ("Greenwich Mean Time", clockZones[0].name);
    EXPECT_EQ(11, lastMinute);
    CloseBar();
    ClearFixedUtc();
}

// The real timer, with the window procedure as its callback, does the same on its own.
TEST(BarProc, TheClockTimerTicksThroughTheWindowProcedure)
{
    ScratchDir dir;
    SetFixedUtc(8, 30);
    StartBar("[ZONES]\r\nONE=22\r\n");
    FillClient(clockPanels[0], green);
    PumpFor(1200);
    EXPECT_TRUE(PanelIsGreen(0)) << "two or more ticks in the same minute";
    SetFixedUtc(8, 31);
    EXPECT_TRUE(PumpUntil([] { return strcmp(clockTimes[0], "8:31 AM") == 0; }, 2000));
    EXPECT_TRUE(PanelShowsText(0));
    CloseBar();
    ClearFixedUtc();
}

static BOOL CALLBACK CountWindow(HWND, LPARAM count)
{
    ++*(int*)count;
    return TRUE;
}

static int CountThreadWindows(void)
{
    int count = 0;
    EnumThreadWindows(GetCurrentThreadId(), CountWindow, (LPARAM)&count);
    return count;
}

// What the bar looks like from outside, to show that a click changed nothing.
struct BarState {
    RECT rect;
    LONG style, exStyle;
    BOOL visible, iconic;
    int placement, align, ontop, windows;
    std::string times;
    bool operator==(const BarState& o) const
    {
        return EqualRect(&rect, &o.rect) && style == o.style && exStyle == o.exStyle && visible == o.visible &&
               iconic == o.iconic && placement == o.placement && align == o.align && ontop == o.ontop &&
               windows == o.windows && times == o.times;
    }
};

static BarState StateOfBar(void)
{
    BarState s;
    s.rect = WindowRect(barWindow);
    s.style = GetWindowLongA(barWindow, GWL_STYLE);
    s.exStyle = GetWindowLongA(barWindow, GWL_EXSTYLE);
    s.visible = IsWindowVisible(barWindow);
    s.iconic = IsIconic(barWindow);
    s.placement = placement;
    s.align = alignPreference;
    s.ontop = ontopPreference;
    s.windows = CountThreadWindows();
    s.times = std::string(clockTimes[0]) + clockTimes[1] + clockTimes[2] + clockTimes[3];
    return s;
}

// A real click on a panel is a drag without a move: the bar stays as it was, and so do its pictures.
TEST(BarProc, ClicksOnPanelsAndFillersDoNothing)
{
    SetFixedUtc(10, 0);
    for (const char* ini : { "[PREFS]\r\nALIGN=1\r\n", "[PREFS]\r\nALIGN=99\r\n" }) {
        SCOPED_TRACE(ini);
        ScratchDir dir;
        StartBar(ini);
        PumpFor(100);
        BarState before = StateOfBar();
        Picture bar = Snapshot(barWindow);
        for (int i = 0; i < 4; i++) {
            Picture panel = Snapshot(clockPanels[i]);
            RealClick(clockPanels[i]);
            EXPECT_TRUE(panel == Snapshot(clockPanels[i])) << "panel " << i + 1 << " changed";
        }
        int fillers = 0;
        for (HWND filler : fillerPanels)
            if (filler && IsWindowVisible(filler)) {
                RealClick(filler);
                fillers++;
            }
        EXPECT_EQ(strstr(ini, "99") != NULL, fillers == 0) << "fillers only while docked";
        EXPECT_TRUE(bar == Snapshot(barWindow)) << "the bar's picture changed";
        // a double click and unknown commands do nothing either
        SendMessageA(barWindow, WM_COMMAND, MAKEWPARAM(0, STN_DBLCLK), (LPARAM)cornerBitmap);
        for (WPARAM command : { 3, 4, 7, 1000 })
            SendMessageA(barWindow, WM_COMMAND, command, 0);
        PumpFor(100);
        EXPECT_TRUE(before == StateOfBar());
        EXPECT_EQ(ini, ReadFileBytes("VELMOR.INI")) << "nothing written";
        CloseBar();
    }
    ClearFixedUtc();
}

TEST(BarProc, MinimizeAndCloseButtonsDoNothingWhileDocked)
{
    ScratchDir dir;
    StartBar("[PREFS]\r\nALIGN=3\r\n");
    BarState before = StateOfBar();
    Click(minimizeButton);
    Click(closeButton);
    PumpFor(100);
    EXPECT_TRUE(before == StateOfBar());
    EXPECT_TRUE(IsWindow(barWindow));
    EXPECT_EQ("[PREFS]\r\nALIGN=3\r\n", ReadFileBytes("VELMOR.INI")) << "nothing written";
    MSG quit;
    EXPECT_FALSE(PeekMessageA(&quit, NULL, WM_QUIT, WM_QUIT, PM_NOREMOVE));
    CloseBar();
}

static LONG TaskbarBits(HWND window)
{
    return GetWindowLongA(window, GWL_EXSTYLE) & (WS_EX_APPWINDOW | WS_EX_TOOLWINDOW);
}

TEST(BarProc, MinimizeGivesATaskbarButtonAndRestoreTakesItAway)
{
    ScratchDir dir;
    SetFixedUtc(7, 45);
    HWND bar = StartBar("[PREFS]\r\nALIGN=99\r\n");
    RECT floating = WindowRect(bar);
    Click(minimizeButton);
    PumpFor(100);
    EXPECT_TRUE(IsIconic(bar));
    EXPECT_EQ(WS_EX_APPWINDOW, TaskbarBits(bar));
    EXPECT_EQ((LONG)(WS_POPUP | WS_CLIPCHILDREN | WS_SYSMENU | WS_THICKFRAME),
              GetWindowLongA(bar, GWL_STYLE) & (WS_POPUP | WS_CLIPCHILDREN | WS_SYSMENU | WS_THICKFRAME | WS_CAPTION));
    EXPECT_EQ((HANDLE)minimizeUpBitmap, (HANDLE)SendMessageA(minimizeButton, STM_GETIMAGE, IMAGE_BITMAP, 0));
    EXPECT_EQ(PLACEMENT_FLOATING, placement);

    // brought back by the restore command (the taskbar button), then, minimised again, by
    // a left click on the tray icon: desktops without that button show no way back else
    const struct { const char* by; UINT message; WPARAM wParam; LPARAM lParam; } restores[] = {
        { "SC_RESTORE", WM_SYSCOMMAND, SC_RESTORE, 0 },
        { "the tray icon", WM_TRAYNOTIFY, TRAY_ICON_ID, WM_LBUTTONUP },
    };
    for (auto& restore : restores) {
        if (!IsIconic(bar)) {
            Click(minimizeButton);
            PumpFor(100);
        }
        SendMessageA(bar, restore.message, restore.wParam, restore.lParam);
        PumpFor(100);
        EXPECT_FALSE(IsIconic(bar)) << restore.by;
        EXPECT_TRUE(IsWindowVisible(bar)) << restore.by;
        EXPECT_EQ(WS_EX_TOOLWINDOW, TaskbarBits(bar)) << restore.by;
        RECT restored = WindowRect(bar);
        EXPECT_TRUE(EqualRect(&floating, &restored)) << restore.by;
        // the caption strip and the clocks are drawn again
        Picture strip = Snapshot(bar);
        EXPECT_EQ(14 * 39, CountPixels(strip, RECT{ 80, 0, 119, 14 }, GetSysColor(COLOR_ACTIVECAPTION)))
            << restore.by;
        for (int i = 0; i < 4; i++)
            EXPECT_TRUE(PanelShowsText(i)) << restore.by << ", clock " << i;
        EXPECT_TRUE(TrayIconExists(bar, TRAY_ICON_ID)) << "the tray icon stays through minimize and restore";
    }
    CloseBar();
    ClearFixedUtc();
}

// Only SC_RESTORE with a zero high word in lParam runs the restore sequence.
TEST(BarProc, RestoreFromElsewhereKeepsTheTaskbarButton)
{
    ScratchDir dir;
    HWND bar = StartBar("[PREFS]\r\nALIGN=99\r\n");
    Click(minimizeButton);
    PumpFor(100);
    ASSERT_TRUE(IsIconic(bar));
    SendMessageA(bar, WM_SYSCOMMAND, SC_RESTORE, MAKELPARAM(10, 10));
    PumpFor(100);
    EXPECT_FALSE(IsIconic(bar));
    EXPECT_EQ(WS_EX_APPWINDOW, TaskbarBits(bar));
    CloseBar();
}

// Windows keeps no copy of a window's pixels: whatever uncovers the bar (a screen saver, a
// desktop switch, the about box closing) repaints the panels, and each must end with its clock.
TEST(BarProc, EveryRepaintOfAClockPanelEndsWithItsClock)
{
    const UINT repaint = RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW;
    for (const char* ini : { "", "[PREFS]\r\nALIGN=99\r\n" }) {
        SCOPED_TRACE(ini);
        ScratchDir dir;
        SetFixedUtc(9, 5);
        HWND bar = StartBar(ini);
        PumpFor(100);
        Picture faces[CLOCK_COUNT];
        for (int i = 0; i < CLOCK_COUNT; i++) {
            faces[i] = Snapshot(clockPanels[i]);
            ASSERT_TRUE(PanelShowsText(i));
        }
        RedrawWindow(bar, NULL, NULL, repaint);
        for (int i = 0; i < CLOCK_COUNT; i++)
            EXPECT_TRUE(faces[i] == Snapshot(clockPanels[i])) << "clock " << i + 1 << " after the whole bar";
        for (int i = 0; i < CLOCK_COUNT; i++) {
            RedrawWindow(clockPanels[i], NULL, NULL, repaint);
            EXPECT_TRUE(faces[i] == Snapshot(clockPanels[i])) << "clock " << i + 1 << " repainted alone";
        }
        if (placement == PLACEMENT_FLOATING) {
            RECT part = ChildRect(clockPanels[1]);
            InvalidateRect(bar, &part, TRUE);
            UpdateWindow(bar);
            EXPECT_TRUE(faces[1] == Snapshot(clockPanels[1])) << "clock 2 under a part of the window";
        }
        CloseBar();
        ClearFixedUtc();
    }
}

TEST(BarProc, AlwaysOnTopTogglesOneAndZero)
{
    ScratchDir dir;
    HWND bar = StartBar();
    ASSERT_EQ(1, ontopPreference);
    SendMessageA(bar, WM_COMMAND, CMD_ALWAYS_ON_TOP, 0);
    EXPECT_EQ(0, ontopPreference);
    EXPECT_FALSE(IsTopmost(bar));
    EXPECT_FALSE(OntopChecked());
    EXPECT_TRUE(IsWindowVisible(bar));
    SendMessageA(bar, WM_COMMAND, CMD_ALWAYS_ON_TOP, 0);
    EXPECT_EQ(1, ontopPreference);
    EXPECT_TRUE(IsTopmost(bar));
    EXPECT_TRUE(OntopChecked());
    EXPECT_FALSE(FileExists("VELMOR.INI")) << "written only at shutdown";
    SendMessageA(bar, WM_COMMAND, CMD_ALWAYS_ON_TOP, 0);
    CloseBar();
    EXPECT_EQ("[PREFS]\r\nALIGN=1\r\nONTOP=0\r\n", ReadFileBytes("VELMOR.INI"));
}

TEST(BarProc, AlwaysOnTopIgnoresTwo)
{
    ScratchDir dir;
    HWND bar = StartBar("[PREFS]\r\nONTOP=2\r\n");
    HWND above = GetWindow(bar, GW_HWNDPREV);
    SendMessageA(bar, WM_COMMAND, CMD_ALWAYS_ON_TOP, 0);
    EXPECT_EQ(2, ontopPreference);
    EXPECT_FALSE(IsTopmost(bar));
    EXPECT_FALSE(OntopChecked());
    EXPECT_EQ(above, GetWindow(bar, GW_HWNDPREV)) << "the z-order is left alone";
    CloseBar();
    EXPECT_EQ("[PREFS]\r\nONTOP=2\r\nALIGN=1\r\n", ReadFileBytes("VELMOR.INI"));
}

// The shutdown on its own (WM_DESTROY without destroying the window), docked and floating.
TEST(BarProc, ShutdownSavesFreesAndQuits)
{
    for (const char* ini : { "", "[PREFS]\r\nALIGN=99\r\nONTOP=0\r\n" }) {
        SCOPED_TRACE(ini);
        ScratchDir dir;
        HWND bar = StartBar(ini);
        bool floating = placement == PLACEMENT_FLOATING;
        EXPECT_EQ(floating, TrayIconExists(bar, TRAY_ICON_ID));
        HBITMAP bitmaps[] = { globeDockedBitmap, globeFloatingBitmap, minimizeUpBitmap, minimizeDownBitmap,
                              closeUpBitmap, closeDownBitmap, panelBitmap, fillerBitmap, pinBitmaps[0],
                              pinBitmaps[1], pinBitmaps[2], pinBitmaps[3], mapBitmap };
        for (HBITMAP b : bitmaps)
            ASSERT_EQ(OBJ_BITMAP, (int)GetObjectType(b));
        APPBARDATA again = appBar;
        EXPECT_FALSE(SHAppBarMessage(ABM_NEW, &again)) << "the bar is known to the shell";

        SendMessageA(bar, WM_DESTROY, 0, 0);

        EXPECT_EQ(floating ? "[PREFS]\r\nALIGN=99\r\nONTOP=0\r\n" : "[PREFS]\r\nALIGN=1\r\nONTOP=1\r\n",
                  ReadFileBytes("VELMOR.INI"));
        EXPECT_FALSE(TrayIconExists(bar, TRAY_ICON_ID));
        EXPECT_FALSE(KillTimer(bar, CLOCK_TIMER_ID)) << "the clock timer is gone";
        EXPECT_TRUE(SHAppBarMessage(ABM_NEW, &again)) << "the shell has forgotten the bar";
        SHAppBarMessage(ABM_REMOVE, &again);
        for (HBITMAP b : bitmaps)
            EXPECT_EQ(0u, GetObjectType(b)) << "bitmap still alive";
        EXPECT_FALSE(IsWindowVisible(bar));
        MSG quit;
        ASSERT_TRUE(PeekMessageA(&quit, NULL, WM_QUIT, WM_QUIT, PM_REMOVE));
        EXPECT_EQ(0u, quit.wParam);
        // the arrow is the system's shared cursor and must outlive the program's shutdown
        ICONINFO arrow;
        ASSERT_TRUE(GetIconInfo(LoadCursorA(NULL, (LPCSTR)IDC_ARROW), &arrow));
        DeleteObject(arrow.hbmMask);
        if (arrow.hbmColor)
            DeleteObject(arrow.hbmColor);
        EXPECT_EQ(arrowCursor, LoadCursorA(NULL, (LPCSTR)IDC_ARROW));
        CloseBar();
    }
}

// The close button destroys the bar, so its shutdown cannot run a second time.
TEST(BarProc, CloseButtonRunsTheShutdownOnce)
{
    ScratchDir dir;
    HWND bar = StartBar("[PREFS]\r\nALIGN=99\r\n");
    Click(closeButton);
    EXPECT_FALSE(IsWindow(bar));
    EXPECT_EQ("[PREFS]\r\nALIGN=99\r\nONTOP=1\r\n", ReadFileBytes("VELMOR.INI"));
    EXPECT_FALSE(TrayIconExists(bar, TRAY_ICON_ID));
    DeleteFileA("VELMOR.INI");
    CloseBar();
    PumpFor(200);
    EXPECT_FALSE(FileExists("VELMOR.INI")) << "the shutdown ran again";
}

// A timer on the test thread closes whatever dialog the bar opens, and notes its owner.
static HWND dialogOwner;
static BOOL ownerEnabled;
static BOOL CALLBACK CloseIfDialog(HWND window, LPARAM)
{
    char name[16];
    GetClassNameA(window, name, sizeof name);
    if (strcmp(name, "#32770") == 0 && IsWindowVisible(window)) {
        dialogOwner = GetWindow(window, GW_OWNER);
        ownerEnabled = IsWindowEnabled(dialogOwner);
        PostMessageA(window, WM_CLOSE, 0, 0);
    }
    return TRUE;
}

static void CALLBACK CloseOpenDialog(HWND, UINT, UINT_PTR, DWORD)
{
    EnumThreadWindows(GetCurrentThreadId(), CloseIfDialog, 0);
}

TEST(BarProc, AboutOpensAModalBoxOwnedByTheBar)
{
    ScratchDir dir;
    HWND bar = StartBar();
    dialogOwner = NULL;
    ownerEnabled = TRUE;
    UINT_PTR closer = SetTimer(NULL, 0, 150, CloseOpenDialog);
    SendMessageA(bar, WM_COMMAND, CMD_ABOUT, 0);
    KillTimer(NULL, closer);
    EXPECT_EQ(bar, dialogOwner);
    EXPECT_FALSE(ownerEnabled) << "the bar takes no input while the box is open";
    EXPECT_TRUE(IsWindowEnabled(bar));
    CloseBar();
}

// The real program, closed by its menu command or its close button: status 0 and the
// two preferences in the file, "ALIGN" first.
static void RunAndClose(const char* ini, bool byCloseButton, const char* expectedIni)
{
    ScratchDir dir;
    WriteFileBytes("VELMOR.INI", ini);
    PROCESS_INFORMATION process;
    ASSERT_TRUE(StartChildProgram(VelmorExePath(), dir.path, &process));
    HWND bar = WaitForChildBar(&process);
    ASSERT_TRUE(bar != NULL);
    PumpFor(300);
    if (byCloseButton) {
        POINT inside = { 132 + 3, 2 + 3 };
        HWND button = NULL;
        // the buttons come a moment after the window itself
        PumpUntil([&] {
            button = ChildWindowFromPoint(bar, inside);
            return button != NULL && button != bar;
        }, 15000);
        EXPECT_TRUE(button != NULL && button != bar) << "no close button";
        PostMessageA(button, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(3, 3));
        PostMessageA(button, WM_LBUTTONUP, 0, MAKELPARAM(3, 3));
    } else {
        PostMessageA(bar, WM_COMMAND, CMD_CLOSE, 0);
    }
    EXPECT_EQ(0u, FinishChildProgram(&process, 10000));
    EXPECT_EQ(expectedIni, ReadFileBytes("VELMOR.INI"));
}

TEST(BarProc, CloseCommandEndsTheProgramWithStatusZero)
{
    RunAndClose("", false, "[PREFS]\r\nALIGN=1\r\nONTOP=1\r\n");
    RunAndClose("[PREFS]\r\nALIGN=99\r\nONTOP=0\r\n", false, "[PREFS]\r\nALIGN=99\r\nONTOP=0\r\n");
}

// Windows ends the process soon after WM_ENDSESSION, and no WM_DESTROY comes: the
// preferences must be in the file by then. A session that goes on writes nothing.
TEST(BarProc, TheEndOfTheSessionKeepsThePreferences)
{
    ScratchDir dir;
    PROCESS_INFORMATION process;
    ASSERT_TRUE(StartChildProgram(VelmorExePath(), dir.path, &process));
    HWND bar = WaitForChildBar(&process);
    ASSERT_TRUE(bar != NULL);
    PumpFor(300);
    // a program just started on a slow machine can be busy for seconds, and Wine takes a
    // thread busy that long for a hung one: each message is waited for in full, and one
    // that gets no answer says so
    const UINT patience = 30000;
    DWORD_PTR answer = 0;
    EXPECT_NE(0, SendMessageTimeoutA(bar, WM_COMMAND, CMD_ALWAYS_ON_TOP, 0, SMTO_NORMAL,
                                     patience, &answer)) << "no answer to Always on top";
    EXPECT_NE(0, SendMessageTimeoutA(bar, WM_QUERYENDSESSION, 0, 0, SMTO_NORMAL, patience,
                                     &answer)) << "no answer to the end of the session";
    EXPECT_NE(0u, answer) << "the bar lets the session end";
    SendMessageTimeoutA(bar, WM_ENDSESSION, FALSE, 0, SMTO_NORMAL, patience, &answer);
    EXPECT_FALSE(FileExists("VELMOR.INI")) << "another program kept the session going";
    SendMessageTimeoutA(bar, WM_QUERYENDSESSION, 0, 0, SMTO_NORMAL, patience, &answer);
    EXPECT_NE(0, SendMessageTimeoutA(bar, WM_ENDSESSION, TRUE, 0, SMTO_NORMAL, patience,
                                     &answer)) << "the session's end was not answered";
    TerminateProcess(process.hProcess, 1);
    FinishChildProgram(&process, 5000);
    // On Windows the shell ends with the session; Wine's keeps the ended bar's strip until
    // its desktop closes, and the tests after this one would dock below it.
    APPBARDATA strip = {};
    strip.cbSize = sizeof strip;
    strip.hWnd = bar;
    SHAppBarMessage(ABM_REMOVE, &strip);
    EXPECT_EQ("[PREFS]\r\nALIGN=1\r\nONTOP=0\r\n", ReadFileBytes("VELMOR.INI"));
}

TEST(BarProc, CloseButtonEndsTheFloatingProgramWithStatusZero)
{
    RunAndClose("[PREFS]\r\nALIGN=99\r\n", true, "[PREFS]\r\nALIGN=99\r\nONTOP=1\r\n");
}
