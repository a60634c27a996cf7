// The bar's child windows and bitmaps: built once, then moved and shown by the docking code.
#include "app/app.h"
#include "bar/bar.h"
#include "res/resource.h"
#include "zones/zones.h"

HWND cornerBitmap, minimizeButton, closeButton;
HWND clockPanels[CLOCK_COUNT];
HWND fillerPanels[FILLER_COUNT];
HBITMAP globeDockedBitmap, globeFloatingBitmap;
HBITMAP minimizeUpBitmap, minimizeDownBitmap;
HBITMAP closeUpBitmap, closeDownBitmap;
HBITMAP panelBitmap, fillerBitmap;
HBITMAP pinBitmaps[CLOCK_COUNT];
HBITMAP mapBitmap;

// A filler panel is made only where the screen is wider than the threshold (and the
// one before it was made).
static const int fillerThresholds[FILLER_COUNT] = { 0, 640, 800, 1024 };

static HBITMAP LoadBarBitmap(int id)
{
    return LoadBitmapA(appInstance, MAKEINTRESOURCEA(id));
}

static void LoadBarBitmaps(void)
{
    globeDockedBitmap = LoadBarBitmap(IDB_GLOBE_DOCKED);
    globeFloatingBitmap = LoadBarBitmap(IDB_GLOBE_FLOATING);
    minimizeUpBitmap = LoadBarBitmap(IDB_MINIMIZE_UP);
    minimizeDownBitmap = LoadBarBitmap(IDB_MINIMIZE_DOWN);
    closeUpBitmap = LoadBarBitmap(IDB_CLOSE_UP);
    closeDownBitmap = LoadBarBitmap(IDB_CLOSE_DOWN);
    panelBitmap = LoadBarBitmap(IDB_PANEL);
    fillerBitmap = LoadBarBitmap(IDB_FILLER);
    pinBitmaps[0] = LoadBarBitmap(IDB_PIN1);
    pinBitmaps[1] = LoadBarBitmap(IDB_PIN2);
    pinBitmaps[2] = LoadBarBitmap(IDB_PIN3);
    pinBitmaps[3] = LoadBarBitmap(IDB_PIN4);
    mapBitmap = LoadBarBitmap(IDB_MAP);
}

static WNDPROC staticProc;   // the STATIC class's own procedure, behind the panels'

// The clock and filler panels let the mouse through to the bar, whose surface answers as a
// caption: a drag that starts on them moves the bar. The globe and the buttons keep their clicks.
// Windows keeps no copy of a window's pixels: whenever a clock panel paints its bitmap
// (uncovered by another window, a screen saver, a desktop switch) its clock goes back on.
static LRESULT CALLBACK PanelProc(HWND panel, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_NCHITTEST)
        return HTTRANSPARENT;
    LRESULT result = CallWindowProcA(staticProc, panel, message, wParam, lParam);
    if (message == WM_PAINT)
        DrawClockOfPanel(panel);
    return result;
}

static HWND CreatePanel(int x, int y, HBITMAP picture, BOOL visible)
{
    HWND panel = CreateBitmapStatic(barWindow, x, y, PANEL_WIDTH, PANEL_HEIGHT, picture, visible);
    staticProc = (WNDPROC)SetWindowLongPtrA(panel, GWLP_WNDPROC, (LONG_PTR)PanelProc);
    return panel;
}

POINT ClockPanelPlace(int clock, int mode)
{
    POINT place = { CAPTION_COLUMN_WIDTH + PANEL_WIDTH * clock, 0 };
    if (mode == LAYOUT_FLOATING) {
        place.x = 0;
        place.y = CAPTION_STRIP_HEIGHT + PANEL_HEIGHT * clock;
    }
    return place;
}

void PlaceClockPanels(int mode, UINT flags)
{
    for (int i = 0; i < CLOCK_COUNT; i++) {
        POINT place = ClockPanelPlace(i, mode);
        SetWindowPos(clockPanels[i], NULL, place.x, place.y, PANEL_WIDTH, PANEL_HEIGHT, flags);
    }
}

// A new filler panel continues the row after the one before it, wherever that one stands:
// at start-up 598, 743, 888, 1033 (a drag back to an edge puts them elsewhere, on purpose).
static int NextFillerLeft(int i)
{
    if (i == 0)
        return CAPTION_COLUMN_WIDTH + PANEL_WIDTH * CLOCK_COUNT;   // after the clocks
    WINDOWPLACEMENT before = {};
    before.length = sizeof before;
    GetWindowPlacement(fillerPanels[i - 1], &before);
    return before.rcNormalPosition.left + PANEL_WIDTH;
}

void FitFillerPanels(BOOL visible)
{
    for (int i = 0; i < FILLER_COUNT; i++) {
        BOOL wanted = screenWidth > fillerThresholds[i] && (i == 0 || fillerPanels[i - 1]);
        if (wanted && !fillerPanels[i]) {
            fillerPanels[i] = CreatePanel(NextFillerLeft(i), 0, fillerBitmap, visible);
        } else if (!wanted && fillerPanels[i]) {
            DestroyWindow(fillerPanels[i]);
            fillerPanels[i] = NULL;
        }
    }
}

void LayOutBar(int mode)
{
    BOOL floating = mode == LAYOUT_FLOATING;
    LoadBarBitmaps();

    cornerBitmap = CreateBitmapStatic(barWindow, 0, 0, CAPTION_COLUMN_WIDTH, CAPTION_STRIP_HEIGHT,
                                      floating ? globeFloatingBitmap : globeDockedBitmap, TRUE);
    minimizeButton = CreateBitmapStatic(barWindow, 119, 2, 11, 11, minimizeUpBitmap, floating);
    closeButton = CreateBitmapStatic(barWindow, 132, 2, 11, 11, closeUpBitmap, floating);

    for (int i = 0; i < CLOCK_COUNT; i++) {
        POINT place = ClockPanelPlace(i, mode);
        clockPanels[i] = CreatePanel(place.x, place.y, panelBitmap, TRUE);
    }
    if (!floating) {
        FitFillerPanels(TRUE);
    } else {
        SetTrayIcon(NIM_ADD);
        FitFillerPanels(FALSE);
        PlaceClockPanels(LAYOUT_FLOATING, SWP_NOACTIVATE | SWP_NOZORDER);
        floatedByDrag = 0;
        placement = PLACEMENT_FLOATING;
    }

    RepaintClockPanels();
    PaintBarFrame(mode);
    // the first erase came before the bitmaps: the texture right of the panels is due
    InvalidateRect(barWindow, NULL, TRUE);
}

void DrawClockOfPanel(HWND panel)
{
    for (int i = 0; i < CLOCK_COUNT; i++)
        if (panel == clockPanels[i])
            DrawClockPanel(panel, clockZones[i].name, clockTimes[i]);
}

// The panels paint their bitmaps first, so the text drawn next stays on top.
void RepaintClockPanels(void)
{
    for (int i = 0; i < CLOCK_COUNT; i++)
        UpdateWindow(clockPanels[i]);
    DrawAllClockPanels();
}

void DrawAllClockPanels(void)
{
    for (int i = 0; i < CLOCK_COUNT; i++) {
        // before LayOutBar there are no panels, and GetDC(NULL) would draw on the screen
        if (clockPanels[i])
            DrawClockPanel(clockPanels[i], clockZones[i].name, clockTimes[i]);
    }
}

void ResetBarLayoutState(void)
{
    cornerBitmap = minimizeButton = closeButton = NULL;
    for (int i = 0; i < CLOCK_COUNT; i++) {
        clockPanels[i] = NULL;
        pinBitmaps[i] = NULL;
    }
    for (int i = 0; i < FILLER_COUNT; i++)
        fillerPanels[i] = NULL;
    globeDockedBitmap = globeFloatingBitmap = minimizeUpBitmap = minimizeDownBitmap = NULL;
    closeUpBitmap = closeDownBitmap = panelBitmap = fillerBitmap = mapBitmap = NULL;
    staticProc = NULL;
}
