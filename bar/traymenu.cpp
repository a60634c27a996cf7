// The popup menu and the notification-area icon.
#include "app/app.h"
#include "bar/bar.h"
#include "dialogs/dialogs.h"
#include "res/resource.h"
#include "res/version.h"
#include "zones/zones.h"

// While a modal dialog is open the bar is disabled and the dialog is the window the user
// works in: the tray icon's menu opens for the dialog, which keeps its keyboard and its
// focused control. Close ends the dialog first, as Cancel would, and closes the bar once the
// dialog's own loop has returned, so nothing runs on a destroyed bar.
// Wine on X (the two timers below; on Windows they only put the menu a tenth of a second
// later): Wine's tray window takes the X keyboard focus at the click, and the news of it
// reaches the dialog a moment after the icon's message: a menu open by then would close at
// once. When an about box closes, a window manager hands the keyboard to another program a
// moment later. So the menu opens, and the dialog takes its keyboard back, a tenth of a
// second on; on a slow machine the menu waits, tenth by tenth, until the click's news has
// taken the foreground from the dialog (a second at most, for a tray that takes no focus).
enum { MENU_DELAY_MS = 100, MENU_DELAYS_AT_MOST = 10 };
static POINT dialogMenuPoint;   // where the menu opens
static int menuDelays;          // tenths waited so far
static HWND menuDialog;         // the dialog it opened over
static HWND menuDialogFocus;    // that dialog's control with the focus

static void CALLBACK GiveDialogItsKeyboard(HWND, UINT, UINT_PTR, DWORD)
{
    KillTimer(barWindow, MENU_TIMER_ID);
    if (openDialog && openDialog == menuDialog)
        TakeKeyboard(menuDialog, menuDialogFocus);
}

static void CALLBACK ShowMenuForDialog(HWND, UINT, UINT_PTR, DWORD)
{
    HWND dialog = openDialog;
    if (dialog && GetForegroundWindow() == dialog && ++menuDelays < MENU_DELAYS_AT_MOST)
        return;
    KillTimer(barWindow, MENU_TIMER_ID);
    if (!dialog) {   // it closed meanwhile
        ShowBarMenu(dialogMenuPoint.x, dialogMenuPoint.y);
        return;
    }
    // activated, the dialog puts the focus back on the control that had it
    SetForegroundWindow(dialog);
    HWND focus = GetFocus();
    if (!focus)
        focus = dialog;
    TakeKeyboard(dialog, focus);
    UINT command = (UINT)TrackPopupMenuEx(barMenu, TPM_RETURNCMD, dialogMenuPoint.x, dialogMenuPoint.y,
                                          dialog, NULL);
    PostMessageA(dialog, WM_NULL, 0, 0);
    if (command == CMD_CLOSE) {
        EndDialog(dialog, 0);
        PostMessageA(barWindow, WM_COMMAND, CMD_CLOSE, 0);
        return;
    }
    // "Always on top" activates the bar; a closing about box gives the activation to the bar
    if (command != 0)
        SendMessageA(barWindow, WM_COMMAND, command, 0);
    menuDialog = dialog;
    menuDialogFocus = focus;
    SetTimer(barWindow, MENU_TIMER_ID, MENU_DELAY_MS, GiveDialogItsKeyboard);
}

void ShowBarMenu(int x, int y)
{
    if (openDialog) {
        dialogMenuPoint.x = x;
        dialogMenuPoint.y = y;
        menuDelays = 0;
        SetTimer(barWindow, MENU_TIMER_ID, MENU_DELAY_MS, ShowMenuForDialog);
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

void ShowMenuAtCursor(void)
{
    POINT cursor;
    GetCursorPos(&cursor);
    ShowBarMenu(cursor.x, cursor.y);
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
        lstrcpynA(icon.szTip, VELMOR_NAME, 64);
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
        // Wine on X: no taskbar button for the minimised window, only its box, so the icon
        // brings it back, as the button would; harmless on Windows, which has the button too.
        BringBackMinimizedBar();
    } else if (mouseMessage == WM_LBUTTONUP) {
        SetForegroundWindow(barWindow);
        PaintBarFrame(LAYOUT_FLOATING);
        RepaintClockPanels();
    } else if (mouseMessage == WM_RBUTTONUP) {
        ShowMenuAtCursor();
    }
}

void ResetTrayMenuState(void)
{
    dialogMenuPoint.x = dialogMenuPoint.y = 0;
    menuDelays = 0;
    menuDialog = menuDialogFocus = NULL;
}
