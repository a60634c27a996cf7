// The map control and its four pins inside the Properties dialog.
#include "dialogs/dialogs.h"
#include "app/app.h"
#include "bar/bar.h"
#include "settings/settings.h"

HWND mapControl;
HWND mapPins[CLOCK_COUNT];
WNDPROC previousMapProc;
int activePin;

// How often ChooseActivePin raised the cursor display count, so that teardown can undo it.
static int cursorShowCount;

// The bitmap keeps its pixels while the dialog scales with the system font (Large Fonts
// make it a quarter larger), so the map is centred in the frame the template's units give.
POINT MapPlace(HWND dialog)
{
    // place and size apart, as the dialog manager converts its controls
    RECT frame = { MAP_FRAME_LEFT, MAP_FRAME_TOP, MAP_FRAME_WIDTH, MAP_FRAME_HEIGHT };
    MapDialogRect(dialog, &frame);
    POINT place = { frame.left + (frame.right - MAP_WIDTH) / 2, frame.top + (frame.bottom - MAP_HEIGHT) / 2 };
    return place;
}

void CreateMapAndPins(HWND dialog)
{
    POINT place = MapPlace(dialog);
    mapControl = CreateBitmapStatic(dialog, place.x, place.y, MAP_WIDTH, MAP_HEIGHT, mapBitmap, TRUE);
    previousMapProc = (WNDPROC)SetWindowLongPtrA(mapControl, GWLP_WNDPROC, (LONG_PTR)MapSubclassProc);

    // pins stand where they were last stored, not where their clocks' zones are
    for (int i = 0; i < CLOCK_COUNT; i++) {
        POINT pin = LoadPinPlace(i);
        mapPins[i] = CreateBitmapStatic(mapControl, pin.x, pin.y, PIN_SIZE, PIN_SIZE, pinBitmaps[i], TRUE);
    }
}

// The cursor belongs to the whole static class, so every notifying static shows the hand.
void ChooseActivePin(int clock)
{
    SetClassLongPtrA(mapControl, GCLP_HCURSOR, (LONG_PTR)mapCursor);
    ShowCursor(TRUE);
    cursorShowCount++;
    activePin = clock;
}

// The pins overlap without clipping one another, so the screen pixels at a pin's old place
// may be another pin's: the moved pin paints itself afresh instead of taking them along.
void MovePin(int clock, int x, int y)
{
    HWND window = mapPins[clock];
    SetWindowPos(window, window, x, y, 0, 0, SWP_SHOWWINDOW | SWP_NOZORDER | SWP_NOSIZE | SWP_NOCOPYBITS);
}

POINT GetPinPosition(int clock)
{
    WINDOWPLACEMENT where = {};
    where.length = sizeof where;
    GetWindowPlacement(mapPins[clock], &where);
    POINT position = { where.rcNormalPosition.left, where.rcNormalPosition.top };
    return position;
}

void ReleaseMapAndPins(void)
{
    SetClassLongPtrA(mapControl, GCLP_HCURSOR, (LONG_PTR)arrowCursor);
    // each opening would otherwise leave the display count higher than it found it
    for (; cursorShowCount > 0; cursorShowCount--)
        ShowCursor(FALSE);
    SetWindowLongPtrA(mapControl, GWLP_WNDPROC, (LONG_PTR)previousMapProc);
    // the windows go with the dialog; the bitmaps stay for the whole run
    mapControl = NULL;
    for (int i = 0; i < CLOCK_COUNT; i++)
        mapPins[i] = NULL;
    previousMapProc = NULL;
}

static void OnMapRelease(int x, int y)
{
    if (activePin < 0 || activePin >= CLOCK_COUNT)
        return;
    // the release point becomes the pin's top-left corner, not its centre
    MovePin(activePin, x, y);
    HitTestMapZone(x, y, activePin);
}

LRESULT CALLBACK MapSubclassProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_LBUTTONUP:
        OnMapRelease(LOWORD(lParam), HIWORD(lParam));
        return 0;
    }
    return CallWindowProcA(previousMapProc, window, message, wParam, lParam);
}

void ResetMapState(void)
{
    mapControl = NULL;
    for (int i = 0; i < CLOCK_COUNT; i++)
        mapPins[i] = NULL;
    previousMapProc = NULL;
    activePin = 0;
    cursorShowCount = 0;
}
