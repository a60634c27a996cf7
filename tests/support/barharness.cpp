// Starting and closing the real bar window inside a test program.
#include "barharness.h"
#include <string.h>
#include "app/app.h"
#include "bar/bar.h"
#include "dialogs/dialogs.h"
#include "res/resource.h"
#include "settings/settings.h"
#include "zones/zones.h"
#include "testutil.h"

void ResetProgramState(void)
{
    appInstance = NULL;
    screenWidth = 0;
    timerInterval = 0;
    arrowCursor = mapCursor = NULL;
    alignPreference = ontopPreference = placement = floatedByDrag = 0;
    memset(&appBar, 0, sizeof appBar);
    barMenu = NULL;
    barWindow = NULL;
    selectedPlacement = 0;
    cornerBitmap = minimizeButton = closeButton = NULL;
    memset(clockPanels, 0, sizeof clockPanels);
    memset(fillerPanels, 0, sizeof fillerPanels);
    globeDockedBitmap = globeFloatingBitmap = NULL;
    minimizeUpBitmap = minimizeDownBitmap = closeUpBitmap = closeDownBitmap = NULL;
    panelBitmap = fillerBitmap = mapBitmap = NULL;
    memset(pinBitmaps, 0, sizeof pinBitmaps);
    memset(clockZones, 0, sizeof clockZones);
    memset(clockTimes, 0, sizeof clockTimes);
    memset(&utcTime, 0, sizeof utcTime);
    lastMinute = 0;
    openDialog = propertiesDialog = mapControl = NULL;
    memset(mapPins, 0, sizeof mapPins);
    previousMapProc = NULL;
    activePin = 0;
    memset(zoneRegions, 0, sizeof zoneRegions);
}

HWND StartBar(const std::string& iniText)
{
    ResetProgramState();
    if (!iniText.empty())
        WriteFileBytes("VELMOR.INI", iniText);
    appInstance = GetModuleHandleA(NULL);
    LoadStartupState();
    LoadPreferences();
    OpenBarWindow();
    PumpFor(50);
    return barWindow;
}

void CloseBar(void)
{
    if (IsWindow(barWindow))
        DestroyWindow(barWindow);
    MSG msg;
    while (PeekMessageA(&msg, NULL, 0, 0, PM_REMOVE))
        DispatchMessageA(&msg);
}

bool IsTopmost(HWND window)
{
    return (GetWindowLongA(window, GWL_EXSTYLE) & WS_EX_TOPMOST) != 0;
}

bool OntopChecked(void)
{
    return (GetMenuState(barMenu, CMD_ALWAYS_ON_TOP, MF_BYCOMMAND) & MF_CHECKED) != 0;
}

bool TrayIconExists(HWND owner, UINT id)
{
    // the shell only modifies an icon that is there
    NOTIFYICONDATAA icon;
    ZeroMemory(&icon, sizeof icon);
    icon.cbSize = NOTIFYICONDATAA_V1_SIZE;
    icon.hWnd = owner;
    icon.uID = id;
    icon.uFlags = NIF_TIP;
    lstrcpynA(icon.szTip, "Velmor", 64);
    return Shell_NotifyIconA(NIM_MODIFY, &icon) != FALSE;
}

RECT WindowRect(HWND window)
{
    RECT rect;
    GetWindowRect(window, &rect);
    return rect;
}

RECT ChildRect(HWND child)
{
    RECT rect;
    GetWindowRect(child, &rect);
    MapWindowPoints(NULL, GetParent(child), (POINT*)&rect, 2);
    return rect;
}
