// Docking at a screen edge as an application bar, and dragging between the two forms.
#include "app/app.h"
#include "bar/bar.h"
#include "res/resource.h"

int selectedPlacement;

int ChooseEdge(int x, int y)
{
    RECT work;
    SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
    InflateRect(&work, 0, -GetSystemMetrics(SM_CYVSCROLL));
    POINT point = { x, y };
    if (PtInRect(&work, point))
        return PLACEMENT_FLOATING;
    // beside the work area (say over a side taskbar) only the height counts
    return y > GetSystemMetrics(SM_CYSCREEN) / 2 ? PLACEMENT_BOTTOM : PLACEMENT_TOP;
}

// Wine: its shell leaves the docked strip in the work area. Harmless on Windows, whose
// shell has taken it out already.
void GetFreeArea(RECT* area)
{
    SystemParametersInfoA(SPI_GETWORKAREA, 0, area, 0);
    if (placement == PLACEMENT_TOP && area->top < appBar.rc.bottom)
        area->top = appBar.rc.bottom;
    if (placement == PLACEMENT_BOTTOM && area->bottom > appBar.rc.top)
        area->bottom = appBar.rc.top;
}

// The whole screen is proposed: a shell that clips by intersection moves it clear of the
// taskbar only when there is something to clip.
void QueryBarPosition(UINT edge)
{
    appBar.rc.left = 0;
    appBar.rc.right = screenWidth;
    appBar.rc.top = 0;
    appBar.rc.bottom = GetSystemMetrics(SM_CYSCREEN);
    appBar.uEdge = edge;
    SHAppBarMessage(ABM_QUERYPOS, &appBar);
}

void DockBar(void)
{
    RECT window;
    GetWindowRect(barWindow, &window);
    int height = window.bottom - window.top;

    QueryBarPosition(ShellEdgeOfPlacement(placement));
    if (appBar.uEdge == ABE_TOP)
        appBar.rc.bottom = appBar.rc.top + height;
    else
        appBar.rc.top = appBar.rc.bottom - height;
    appBar.rc.left = 0;
    appBar.rc.right = screenWidth;
    SHAppBarMessage(ABM_SETPOS, &appBar);
    MoveWindow(barWindow, appBar.rc.left, appBar.rc.top, appBar.rc.right - appBar.rc.left,
               appBar.rc.bottom - appBar.rc.top, TRUE);
    PaintBarFrame(LAYOUT_DOCKED);
}

// The shell is told on a real edge with an empty strip, which every shell honours (one
// that ignores an unknown edge keeps the old strip reserved); the record then says floating.
void ReleaseBarSpace(void)
{
    if (appBar.uEdge != ABE_BOTTOM)
        appBar.uEdge = ABE_TOP;
    SetRectEmpty(&appBar.rc);
    SHAppBarMessage(ABM_SETPOS, &appBar);
    appBar.uEdge = ShellEdgeOfPlacement(PLACEMENT_FLOATING);
}

static void SetBarZOrder(HWND insertAfter)
{
    SetWindowPos(barWindow, insertAfter, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

static int fullScreenOpen;   // 1 while the shell reports a full-screen program

// The user's "Always on top" decides, whatever the taskbar's own setting; a full-screen
// program keeps the bar at the bottom while it is open.
static void ApplyBarZOrder(void)
{
    if (fullScreenOpen)
        SetBarZOrder(HWND_BOTTOM);
    else if (ontopPreference == 1)
        SetBarZOrder(HWND_TOPMOST);
    else if (ontopPreference == 0)
        SetBarZOrder(HWND_NOTOPMOST);
}

void OnAppBarNotify(WPARAM code, LPARAM lParam)
{
    switch (code) {
    case ABN_STATECHANGE:
        ApplyBarZOrder();
        break;
    case ABN_POSCHANGED:
        if (placement != PLACEMENT_FLOATING) {
            DockBar();
            DrawAllClockPanels();
        }
        break;
    case ABN_FULLSCREENAPP:
        fullScreenOpen = lParam != 0;
        ApplyBarZOrder();
        break;
    }
}

// Wine: its move loop takes only the position from the WM_MOVING rectangle, never its
// size, so the window is given the new size here as well. Harmless on Windows, which
// takes both.
static void ResizeForDrag(const RECT* dragRect)
{
    SetWindowPos(barWindow, NULL, 0, 0, dragRect->right - dragRect->left, dragRect->bottom - dragRect->top,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

// The docked bar leaves its edge: it becomes the floating window at the drag position,
// moved along under the cursor when the drag started further right than the window is wide.
static void FloatDockedBar(RECT* dragRect, POINT cursor)
{
    ReleaseBarSpace();
    InvalidateRect(barWindow, NULL, TRUE);
    SetWindowLongA(barWindow, GWL_EXSTYLE, WS_EX_TOOLWINDOW);
    SetWindowLongA(barWindow, GWL_STYLE, WS_POPUP | WS_VISIBLE | WS_CLIPCHILDREN | WS_THICKFRAME);
    PlaceClockPanels(LAYOUT_FLOATING, SWP_NOACTIVATE | SWP_NOZORDER);
    for (int i = 0; i < FILLER_COUNT; i++)
        if (fillerPanels[i])
            ShowWindow(fillerPanels[i], SW_HIDE);
    PaintBarFrame(LAYOUT_FLOATING);
    SendMessageA(cornerBitmap, STM_SETIMAGE, IMAGE_BITMAP, (LPARAM)globeFloatingBitmap);
    if (cursor.x - dragRect->left >= FLOATING_WIDTH)
        dragRect->left = cursor.x - FLOATING_WIDTH / 2;
    dragRect->right = dragRect->left + FLOATING_WIDTH;
    dragRect->bottom = dragRect->top + FLOATING_HEIGHT;
    ResizeForDrag(dragRect);
    floatedByDrag = 1;
    placement = PLACEMENT_FLOATING;
}

// The bar's place, and the ALIGN preference that follows it. A docked bar dragged off its
// edge keeps its ALIGN until the drag ends; a floating one docking takes its edge's at once.
static void SettlePlacement(int where)
{
    placement = where;
    alignPreference = AlignOfPlacement(where);
}

// The floating window reaches an edge: it becomes the full-width strip there.
static void DockFloatingBar(RECT* dragRect)
{
    // Not the start-up row (598, 743, 888, 1033): after a drag each filler panel but the
    // first overlaps the one before it by two pixels more, on purpose.
    static const int fillerLeft[FILLER_COUNT] = { 598, 741, 886, 1031 };
    ShowWindow(minimizeButton, SW_HIDE);
    ShowWindow(closeButton, SW_HIDE);
    InvalidateRect(barWindow, NULL, TRUE);
    PlaceClockPanels(LAYOUT_DOCKED, SWP_SHOWWINDOW | SWP_NOZORDER);
    for (int i = 0; i < FILLER_COUNT; i++)
        if (fillerPanels[i])
            SetWindowPos(fillerPanels[i], NULL, fillerLeft[i], 0, PANEL_WIDTH, PANEL_HEIGHT,
                         SWP_SHOWWINDOW | SWP_NOACTIVATE | SWP_NOZORDER);
    int screenHeight = GetSystemMetrics(SM_CYSCREEN);
    dragRect->left = 0;
    dragRect->right = screenWidth;
    dragRect->top = selectedPlacement == PLACEMENT_TOP ? 0 : screenHeight - DOCKED_HEIGHT_AFTER_DRAG;
    dragRect->bottom = dragRect->top + DOCKED_HEIGHT_AFTER_DRAG;
    ResizeForDrag(dragRect);
    SendMessageA(cornerBitmap, STM_SETIMAGE, IMAGE_BITMAP, (LPARAM)globeDockedBitmap);
    PaintBarFrame(LAYOUT_DOCKED);
    floatedByDrag = 0;
    SettlePlacement(selectedPlacement);
}

void OnBarMoving(RECT* dragRect)
{
    KillTimer(barWindow, CLOCK_TIMER_ID);   // the clocks stand still while dragging
    SetCapture(barWindow);
    POINT cursor;
    GetCursorPos(&cursor);
    selectedPlacement = ChooseEdge(cursor.x, cursor.y);

    if (selectedPlacement == PLACEMENT_FLOATING) {
        if (placement != PLACEMENT_FLOATING) {
            FloatDockedBar(dragRect, cursor);
        } else {
            PaintBarFrame(LAYOUT_FLOATING);
            if (floatedByDrag == 1) {
                dragRect->right = dragRect->left + FLOATING_WIDTH;
                dragRect->bottom = dragRect->top + FLOATING_HEIGHT;
            }
        }
    } else if (placement == PLACEMENT_FLOATING) {
        DockFloatingBar(dragRect);
    }
}

void OnBarSizing(RECT* sizeRect)
{
    if (placement != PLACEMENT_FLOATING)
        *sizeRect = appBar.rc;
}

void OnBarExitSizeMove(void)
{
    // until a drag has chosen one, the placement stands
    SettlePlacement(selectedPlacement != 0 ? selectedPlacement : placement);
    if (placement == PLACEMENT_FLOATING) {
        ShowWindow(minimizeButton, SW_SHOW);
        ShowWindow(closeButton, SW_SHOW);
        SetWindowPos(barWindow, NULL, 0, 0, FLOATING_WIDTH, FLOATING_HEIGHT,
                     SWP_NOMOVE | SWP_NOZORDER | SWP_SHOWWINDOW);
        PaintBarFrame(LAYOUT_FLOATING);
        SetTrayIcon(NIM_ADD);
        DrawAllClockPanels();
    } else {
        ShowWindow(minimizeButton, SW_HIDE);
        ShowWindow(closeButton, SW_HIDE);
        DockBar();   // which paints the docked frame
        RepaintClockPanels();
        SetTrayIcon(NIM_DELETE);
        // with "Show window contents while dragging" off the move loop puts the window at its
        // last outline after this message, off the strip: once the loop has returned, the
        // bar docks again as it does when the shell reports a change
        PostMessageA(barWindow, WM_APPBARNOTIFY, ABN_POSCHANGED, 0);
    }
    StartClockTimer();
}

// The floating window keeps its place where it still fits on the screen, else it moves
// just far enough to lie on it.
static void KeepFloatingBarOnScreen(void)
{
    RECT window;
    GetWindowRect(barWindow, &window);
    int left = window.left, top = window.top;
    int rightmost = screenWidth - (window.right - window.left);
    int lowest = GetSystemMetrics(SM_CYSCREEN) - (window.bottom - window.top);
    if (left > rightmost)
        left = rightmost;
    if (top > lowest)
        top = lowest;
    if (left < 0)
        left = 0;
    if (top < 0)
        top = 0;
    SetWindowPos(barWindow, NULL, left, top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

// The screen has a new size: the docked bar spans the new width with the filler panels it
// calls for, on a strip reserved anew; the floating window comes back onto the screen.
void FitBarToScreen(void)
{
    screenWidth = GetSystemMetrics(SM_CXSCREEN);
    BOOL docked = placement != PLACEMENT_FLOATING;
    FitFillerPanels(docked);
    if (docked) {
        DockBar();
        DrawAllClockPanels();
    } else if (!IsIconic(barWindow)) {
        KeepFloatingBarOnScreen();
    }
}

void ResetDockingState(void)
{
    selectedPlacement = 0;
    fullScreenOpen = 0;
}
