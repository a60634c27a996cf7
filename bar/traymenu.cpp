// The popup menu and the notification-area icon.
#include "app/app.h"
#include "bar/bar.h"
#include "res/resource.h"
#include "zones/zones.h"

void ShowBarMenu(int x, int y)
{
    // the chosen item arrives at the bar window as WM_COMMAND
    TrackPopupMenuEx(barMenu, 0, x, y, barWindow, NULL);
}

void SetTrayIcon(DWORD action)
{
    NOTIFYICONDATAA icon;
    ZeroMemory(&icon, sizeof icon);
    icon.cbSize = NOTIFYICONDATAA_V1_SIZE;
    icon.hWnd = barWindow;
    icon.uID = TRAY_ICON_ID;
    icon.uCallbackMessage = WM_TRAYNOTIFY;
    if (action == NIM_ADD) {
        icon.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
        icon.hIcon = LoadIconA(appInstance, MAKEINTRESOURCEA(IDI_VELMOR));
        lstrcpynA(icon.szTip, "Velmor", 64);
    }
    Shell_NotifyIconA(action, &icon);
}

void HandleTrayNotify(UINT iconId, UINT mouseMessage)
{
    if (iconId != TRAY_ICON_ID)
        return;
    if (mouseMessage == WM_LBUTTONUP) {
        SetForegroundWindow(barWindow);
        PaintBarFrame(LAYOUT_FLOATING);
        for (int i = 0; i < 4; i++)
            UpdateWindow(clockPanels[i]);
        DrawAllClockPanels();
    } else if (mouseMessage == WM_RBUTTONUP) {
        POINT cursor;
        GetCursorPos(&cursor);
        ShowBarMenu(cursor.x, cursor.y);
    }
}
