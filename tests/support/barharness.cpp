// Starting and closing the real bar window inside a test program.
#include "barharness.h"
#include <stdio.h>
#include <string.h>
#include <vector>
#include "app/app.h"
#include "bar/bar.h"
#include "dialogs/dialogs.h"
#include "res/resource.h"
#include "settings/settings.h"
#include "zones/zones.h"
#include "pixels.h"
#include "testutil.h"

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
    // the shell only modifies an icon that is there, even to change nothing
    NOTIFYICONDATAA icon = {};
    icon.cbSize = NOTIFYICONDATAA_V1_SIZE;
    icon.hWnd = owner;
    icon.uID = id;
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

static std::vector<RECT> VisibleChildRects(HWND bar)
{
    std::vector<RECT> rects;
    for (HWND child = GetWindow(bar, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
        if (IsWindowVisible(child))
            rects.push_back(ChildRect(child));
    return rects;
}

static bool Covered(const std::vector<RECT>& rects, int x, int y)
{
    POINT point = { x, y };
    for (const RECT& rect : rects)
        if (PtInRect(&rect, point))
            return true;
    return false;
}

static const COLORREF loud = RGB(255, 0, 255);

std::string CheckSurface(HWND bar)
{
    Picture picture = Snapshot(bar);
    std::vector<DWORD> stone = BitmapPixels(fillerBitmap);
    if (picture.width == 0 || stone.size() != 145 * 48)
        return "nothing to read";
    bool floating = placement == PLACEMENT_FLOATING;
    std::vector<RECT> children = VisibleChildRects(bar);
    int loudCount = 0, wrongCount = 0;
    char first[160] = "";
    for (int y = 0; y < picture.height; y++)
        for (int x = 0; x < picture.width; x++) {
            COLORREF shown = picture.At(x, y);
            bool wrong = shown == loud;
            loudCount += wrong;
            bool inStrip = floating ? y < 16 : x < 18;
            if (!wrong && !inStrip && !Covered(children, x, y)) {
                int u = floating ? x % 145 : ((x - 598) % 145 + 145) % 145;
                int v = (floating ? y - 16 : y) % 48;
                DWORD want = stone[v * 145 + u];
                wrong = shown != RGB(want >> 16, (want >> 8) & 0xFF, want & 0xFF);
                wrongCount += wrong;
            }
            if (wrong && !first[0])
                snprintf(first, sizeof first, "first at (%d, %d): %06lx", x, y, (unsigned long)shown);
        }
    if (!loudCount && !wrongCount)
        return "";
    char report[320];
    snprintf(report, sizeof report, "%dx%d client area: %d pixels keep the loud colour, %d off the stone texture; %s",
             picture.width, picture.height, loudCount, wrongCount, first);
    return report;
}

std::string CheckRepaintedSurface(HWND bar)
{
    PaintOverAndRedraw(bar, loud);
    return CheckSurface(bar);
}
