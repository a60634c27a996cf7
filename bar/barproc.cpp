// The bar window procedure: the clock tick, clicks, menu commands, drags, the shell's
// notifications and the shutdown.
#include "app/app.h"
#include "bar/bar.h"
#include "dialogs/dialogs.h"
#include "res/resource.h"
#include "settings/settings.h"
#include "zones/zones.h"

static LRESULT OnBarActivate(WPARAM wParam)
{
    if (wParam != 0)
        PaintBarFrame(LayoutOfPlacement(placement));
    return SHAppBarMessage(ABM_ACTIVATE, &appBar);
}

static void EraseBarBackground(HDC dc)
{
    if (IsIconic(barWindow))
        return;   // the box is all frame: WM_NCPAINT draws it
    PaintStoneTexture(dc, LayoutOfPlacement(placement));
    PaintBarFrame(LayoutOfPlacement(placement));
    if (placement == PLACEMENT_FLOATING)
        RepaintClockPanels();
}

// The whole surface drags the bar like a caption; the sizing borders do nothing.
static LRESULT MapBarHitTest(LPARAM lParam)
{
    if (IsIconic(barWindow))
        return HTCAPTION;
    LRESULT hit = DefWindowProcA(barWindow, WM_NCHITTEST, 0, lParam);
    if (hit == HTCLIENT)
        return HTCAPTION;
    if (hit >= HTLEFT && hit <= HTBOTTOMRIGHT) {
        SetCursor(arrowCursor);
        return HTNOWHERE;
    }
    return hit;
}

static void RecomputeClocks(void)
{
    FormatAllClockTimes();
    DrawAllClockPanels();
    RememberUtcMinute();
}

// Only a new UTC minute changes what the clocks show.
static void OnClockTick(void)
{
    ReadUtcTime();
    if (UtcMinuteChanged())
        RecomputeClocks();
}

// The system time was set (the Date/Time control panel broadcasts this): show it at once.
static void OnTimeChange(void)
{
    ReadUtcTime();
    RecomputeClocks();
}

// Windows ends the process soon after this without WM_DESTROY, so the preferences that
// the shutdown would write are written now.
static void OnEndSession(WPARAM ending)
{
    if (ending)
        SavePreferences();
}

// A right click anywhere on the bar: its surface answers as a caption and the panels let
// the mouse through to it, so WM_RBUTTONUP seldom arrives. The caption's release comes as
// WM_NCRBUTTONUP at its screen point, once the press is kept from the default handling,
// which would wait for the release itself and offer a system menu. A click on the globe
// or a button comes back from the child as WM_CONTEXTMENU at the click's screen point
// (-1, -1 from the keyboard).
static void OnBarContextMenu(LPARAM lParam)
{
    if (lParam == -1)
        ShowMenuAtCursor();
    else
        ShowBarMenu((short)LOWORD(lParam), (short)HIWORD(lParam));
}

// The caption's right button, the press kept from the default handling and the release
// opening the menu; FALSE for the sizing border, which the default handles.
static BOOL OnCaptionRightButton(UINT message, WPARAM hit, LPARAM lParam)
{
    if (hit != HTCAPTION)
        return FALSE;
    if (message == WM_NCRBUTTONUP)
        OnBarContextMenu(lParam);
    return TRUE;
}

// A hand-edited ONTOP other than 0 or 1 stays as it is, and so does the window.
static void ToggleAlwaysOnTop(void)
{
    if (ontopPreference == 1)
        ontopPreference = 0;
    else if (ontopPreference == 0)
        ontopPreference = 1;
    ApplyOntopPreference();
}

// The clocks are looked up again whether the dialog ended with OK or Cancel. The panels
// are repainted from their bitmaps first: an old name's italic letters reach past the box
// that is cleared for the new one.
static void RefreshAfterProperties(void)
{
    ReadUtcTime();
    for (int i = 0; i < CLOCK_COUNT; i++) {
        LookupZone(&clockZones[i]);
        FormatClockTime(clockTimes[i], &clockZones[i]);
        InvalidateRect(clockPanels[i], NULL, TRUE);
    }
    RepaintClockPanels();
}

// Wine on X: without a shell its box goes to the bottom-left corner of the work area Wine
// read when its session began, over a panel that came later; the shell's strips (the
// desktop's panels, registered by the run command) are known afresh, so the box goes above
// them too. Harmless on Windows, whose taskbar takes the minimised window.
static void MinimizeAboveTheBottomBars(void)
{
    RECT work;
    SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
    QueryBarPosition(ABE_BOTTOM);
    if (work.bottom > appBar.rc.bottom)
        work.bottom = appBar.rc.bottom;
    SetRectEmpty(&appBar.rc);   // the record says floating again
    appBar.uEdge = ShellEdgeOfPlacement(PLACEMENT_FLOATING);
    WINDOWPLACEMENT place = {};
    place.length = sizeof place;
    GetWindowPlacement(barWindow, &place);
    place.flags = WPF_SETMINPOSITION;
    place.showCmd = SW_MINIMIZE;
    place.ptMinPosition.x = work.left;
    place.ptMinPosition.y = work.bottom - GetSystemMetrics(SM_CYMINIMIZED);
    SetWindowPlacement(barWindow, &place);
}

// The minimised floating window gets a taskbar button while it is minimised.
static void MinimizeFloatingBar(void)
{
    ReleaseBarSpace();
    SendMessageA(minimizeButton, STM_SETIMAGE, IMAGE_BITMAP, (LPARAM)minimizeDownBitmap);
    ShowWindow(barWindow, SW_HIDE);
    SetWindowLongA(barWindow, GWL_EXSTYLE, WS_EX_APPWINDOW);
    SetWindowLongA(barWindow, GWL_STYLE, WS_POPUP | WS_CLIPCHILDREN | WS_SYSMENU | WS_THICKFRAME);
    SendMessageA(minimizeButton, STM_SETIMAGE, IMAGE_BITMAP, (LPARAM)minimizeUpBitmap);
    MinimizeAboveTheBottomBars();
}

static LRESULT RestoreFloatingBar(HWND window, WPARAM wParam, LPARAM lParam)
{
    LRESULT result = DefWindowProcA(window, WM_SYSCOMMAND, wParam, lParam);
    ShowWindow(barWindow, SW_HIDE);
    SetWindowLongA(barWindow, GWL_EXSTYLE, WS_EX_TOOLWINDOW);
    ShowWindow(barWindow, SW_SHOW);
    PaintBarFrame(LAYOUT_FLOATING);
    RepaintClockPanels();
    return result;
}

// The close button destroys the window, so the shutdown runs exactly once and no
// window outlives it.
static void CloseFloatingBar(void)
{
    SendMessageA(closeButton, STM_SETIMAGE, IMAGE_BITMAP, (LPARAM)closeDownBitmap);
    DestroyWindow(barWindow);
}

static void OnChildClick(HWND child)
{
    BOOL floating = placement == PLACEMENT_FLOATING;
    if (child == cornerBitmap) {
        if (floating) {
            RECT bar;
            GetWindowRect(barWindow, &bar);
            ShowBarMenu(bar.left, bar.top + CAPTION_STRIP_HEIGHT);   // just under the caption strip
        } else {
            ShowMenuAtCursor();
        }
    } else if (child == minimizeButton && floating) {
        MinimizeFloatingBar();
    } else if (child == closeButton && floating) {
        CloseFloatingBar();
    }
}

// Dispatched on the whole wParam: a static's double click has a non-zero high word.
static void OnBarCommand(WPARAM wParam, LPARAM lParam)
{
    switch (wParam) {
    case 0:
        OnChildClick((HWND)lParam);
        break;
    case CMD_ALWAYS_ON_TOP:
        ToggleAlwaysOnTop();
        break;
    case CMD_ABOUT:
        OpenAboutBox();
        break;
    case CMD_PROPERTIES:
        OpenPropertiesDialog();
        RefreshAfterProperties();
        break;
    case CMD_CLOSE:
        DestroyWindow(barWindow);
        break;
    }
}

static void DeleteBarBitmaps(void)
{
    HBITMAP* bitmaps[] = {
        &globeDockedBitmap, &globeFloatingBitmap, &minimizeUpBitmap, &minimizeDownBitmap,
        &closeUpBitmap, &closeDownBitmap, &panelBitmap, &fillerBitmap,
        &pinBitmaps[0], &pinBitmaps[1], &pinBitmaps[2], &pinBitmaps[3], &mapBitmap,
    };
    for (HBITMAP* bitmap : bitmaps) {
        DeleteObject(*bitmap);
        *bitmap = NULL;
    }
}

static void ShutDownBar(void)
{
    if (placement == PLACEMENT_FLOATING)
        SetTrayIcon(NIM_DELETE);
    SavePreferences();
    KillTimer(barWindow, CLOCK_TIMER_ID);
    SHAppBarMessage(ABM_REMOVE, &appBar);
    DeleteBarBitmaps();
    // both cursors came from LoadCursor, which hands out shared cursors that the
    // system owns: destroying them would pull the arrow from under other windows
    ShowWindow(barWindow, SW_HIDE);
    PostQuitMessage(0);
}

// The minimised box (Wine on X, and Windows without a shell; harmless under Explorer, which
// keeps the minimised window off the screen): drawn here, and a click on it brings
// the window back, as the tray icon's click does. The press is kept from the default
// handling, which would wait for the release itself in a move loop.
static LRESULT OnMinimizedBoxMessage(UINT message)
{
    switch (message) {
    case WM_NCPAINT:
        PaintMinimizedBox();
        return 0;
    case WM_NCACTIVATE:
        PaintMinimizedBox();
        return TRUE;
    case WM_NCLBUTTONUP:
        BringBackMinimizedBar();
        return 0;
    }
    return 0;
}

LRESULT CALLBACK BarWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_CREATE:
        return 1;
    case WM_DESTROY:
        ShutDownBar();
        return 0;
    case WM_ACTIVATE:
        return OnBarActivate(wParam);
    case WM_ERASEBKGND:
        EraseBarBackground((HDC)wParam);
        return 0;
    case WM_NCHITTEST:
        return MapBarHitTest(lParam);
    case WM_COMMAND:
        OnBarCommand(wParam, lParam);
        return 0;
    case WM_SYSCOMMAND:
        if (wParam == SC_RESTORE && HIWORD(lParam) == 0)
            return RestoreFloatingBar(window, wParam, lParam);
        break;
    case WM_TIMER:
        OnClockTick();
        return 0;
    case WM_TIMECHANGE:
        OnTimeChange();
        return 0;
    case WM_DISPLAYCHANGE:
        FitBarToScreen();
        return 0;
    case WM_ENDSESSION:
        OnEndSession(wParam);
        return 0;
    case WM_RBUTTONUP:
        ShowMenuAtCursor();
        return 0;
    case WM_CONTEXTMENU:
        OnBarContextMenu(lParam);
        return 0;
    case WM_NCPAINT:
    case WM_NCACTIVATE:
    case WM_NCLBUTTONDOWN:
    case WM_NCLBUTTONUP:
        if (IsIconic(window))
            return OnMinimizedBoxMessage(message);
        break;
    case WM_NCRBUTTONDOWN:
    case WM_NCRBUTTONUP:
        if (OnCaptionRightButton(message, wParam, lParam))
            return 0;
        break;
    case WM_SIZING:
        OnBarSizing((RECT*)lParam);
        return TRUE;
    case WM_MOVING:
        OnBarMoving((RECT*)lParam);
        return TRUE;
    case WM_EXITSIZEMOVE:
        OnBarExitSizeMove();
        return 0;
    case WM_APPBARNOTIFY:
        OnAppBarNotify(wParam, lParam);
        return 0;
    case WM_TRAYNOTIFY:
        HandleTrayNotify((UINT)wParam, (UINT)lParam);
        return 0;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}
