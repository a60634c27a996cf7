// The popup menu and the notification-area icon.
#include "app/app.h"
#include "bar/bar.h"
#include "res/resource.h"
#include "zones/zones.h"

// While a modal dialog is open the bar is disabled and the dialog is the window the user
// works in: the menu opens for the dialog, which stays in front with its keyboard. Close
// ends the dialog first, as Cancel would, and closes the bar once the dialog's own loop
// has returned, so nothing runs on a destroyed bar.
static void ShowMenuForDialog(int x, int y)
{
    HWND dialog = GetLastActivePopup(barWindow);
    SetForegroundWindow(dialog);
    UINT command = (UINT)TrackPopupMenuEx(barMenu, TPM_RETURNCMD, x, y, dialog, NULL);
    PostMessageA(dialog, WM_NULL, 0, 0);
    if (command == CMD_CLOSE) {
        EndDialog(dialog, 0);
        PostMessageA(barWindow, WM_COMMAND, CMD_CLOSE, 0);
    } else if (command != 0) {
        SendMessageA(barWindow, WM_COMMAND, command, 0);
    }
}

void ShowBarMenu(int x, int y)
{
    if (!IsWindowEnabled(barWindow) && GetLastActivePopup(barWindow) != barWindow) {
        ShowMenuForDialog(x, y);
        return;
    }
    // A menu takes the keyboard, and closes at a click elsewhere, only while its owner is
    // the foreground window; the tray icon's click leaves the foreground elsewhere. The
    // message posted after it lets the menu close properly when it was dismissed.
    TakeKeyboard(barWindow, barWindow);
    // the chosen item arrives at the bar window as WM_COMMAND
    TrackPopupMenuEx(barMenu, 0, x, y, barWindow, NULL);
    PostMessageA(barWindow, WM_NULL, 0, 0);
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

void BringBackMinimizedBar(void)
{
    SendMessageA(barWindow, WM_SYSCOMMAND, SC_RESTORE, 0);
    SetForegroundWindow(barWindow);
}

void HandleTrayNotify(UINT iconId, UINT mouseMessage)
{
    if (iconId != TRAY_ICON_ID)
        return;
    if (mouseMessage == WM_LBUTTONUP && IsIconic(barWindow)) {
        // Not every desktop shows the minimised window's taskbar button (Wine's on Linux
        // shows only the minimised box), so the icon brings it back, as the button would.
        BringBackMinimizedBar();
    } else if (mouseMessage == WM_LBUTTONUP) {
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
