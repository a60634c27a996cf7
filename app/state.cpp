// The application state and its start-up values.
#include "app/app.h"
#include "bar/bar.h"
#include "dialogs/dialogs.h"
#include "res/resource.h"
#include "settings/settings.h"
#include "zones/zones.h"

HINSTANCE appInstance;
int screenWidth;
UINT timerInterval;
HCURSOR arrowCursor;
HCURSOR mapCursor;
int alignPreference;
int ontopPreference;
int placement;
int floatedByDrag;
APPBARDATA appBar;
HMENU barMenu;
HWND barWindow;

void LoadStartupState(void)
{
    floatedByDrag = 0;
    screenWidth = GetSystemMetrics(SM_CXSCREEN);
    timerInterval = 500;
    arrowCursor = LoadCursorA(NULL, (LPCSTR)IDC_ARROW);
    mapCursor = LoadCursorA(appInstance, MAKEINTRESOURCEA(IDC_MAPHAND));
    alignPreference = 1;
    ontopPreference = 1;
    for (int i = 0; i < CLOCK_COUNT; i++)
        for (int c = 0; c < TIME_TEXT_SIZE; c++)
            clockTimes[i][c] = 0;

    LoadClockChoices();
    ReadUtcTime();
    for (int i = 0; i < CLOCK_COUNT; i++)
        LookupZone(&clockZones[i]);
    FormatAllClockTimes();
    RememberUtcMinute();
}

void ResetProgramState(void)
{
    appInstance = NULL;
    screenWidth = 0;
    timerInterval = 0;
    arrowCursor = mapCursor = NULL;
    alignPreference = ontopPreference = placement = floatedByDrag = 0;
    ZeroMemory(&appBar, sizeof appBar);
    barMenu = NULL;
    barWindow = NULL;
    ResetBarLayoutState();
    ResetDockingState();
    ResetTrayMenuState();
    ResetClockState();
    ResetDialogState();
    ResetMapState();
    ResetZoneListState();
}
