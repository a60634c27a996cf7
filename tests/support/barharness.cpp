// Starting and closing the real bar window inside a test program.
#include "barharness.h"
#include "app/app.h"
#include "settings/settings.h"
#include "testutil.h"

HWND StartBar(const std::string& iniText)
{
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
