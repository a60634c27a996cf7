// Start-up: the version check, the bar window in its first form, the menu, the timer;
// then the message loop.
#include "app/app.h"
#include "bar/bar.h"
#include "res/resource.h"
#include "res/version.h"
#include "settings/settings.h"

static const char barClassName[] = VELMOR_BAR_CLASS;

static const char refusalText[] =
    "You need to be using Windows95 or NT v4.0 to use Velmor!\n\nVelmor will now close...";

void RegisterBarClass(void)
{
    WNDCLASSA windowClass = {};
    windowClass.lpfnWndProc = BarWindowProc;
    windowClass.hInstance = appInstance;
    windowClass.hIcon = LoadIconA(appInstance, MAKEINTRESOURCEA(IDI_VELMOR));
    windowClass.hCursor = arrowCursor;
    windowClass.lpszClassName = barClassName;
    RegisterClassA(&windowClass);
}

// The docked bar starts across the top; DockBar then moves it to its edge.
HWND CreateBarWindow(void)
{
    DWORD style = WS_POPUP | WS_CLIPCHILDREN | WS_THICKFRAME;
    int x = 0, y = 0, width = screenWidth, height = DOCKED_HEIGHT;
    if (alignPreference == ALIGN_FLOATING) {
        style |= WS_SYSMENU;
        x = FLOATING_START_X;
        y = FLOATING_START_Y;
        width = FLOATING_WIDTH;
        height = FLOATING_HEIGHT;
    }
    barWindow = CreateWindowExA(WS_EX_TOOLWINDOW, barClassName, VELMOR_NAME, style, x, y, width, height,
                                NULL, NULL, appInstance, NULL);
    return barWindow;
}

void AnnounceAppBar(void)
{
    appBar.cbSize = sizeof appBar;
    appBar.hWnd = barWindow;
    appBar.uCallbackMessage = WM_APPBARNOTIFY;
    appBar.lParam = 0;
    SHAppBarMessage(ABM_NEW, &appBar);
}

void BuildBarMenu(void)
{
    barMenu = CreatePopupMenu();
    AppendMenuA(barMenu, MF_STRING, CMD_CLOSE, "&Close\tAlt+F4");
    AppendMenuA(barMenu, MF_SEPARATOR, 0, "");
    AppendMenuA(barMenu, MF_STRING, CMD_ALWAYS_ON_TOP, "Always on &top");
    AppendMenuA(barMenu, MF_SEPARATOR, 0, "");
    AppendMenuA(barMenu, MF_STRING, CMD_ABOUT, "&About...");
    AppendMenuA(barMenu, MF_STRING, CMD_PROPERTIES, "&Properties");
}

void ApplyOntopPreference(void)
{
    const UINT flags = SWP_NOMOVE | SWP_NOSIZE | SWP_SHOWWINDOW;
    if (ontopPreference == 1) {
        SetWindowPos(barWindow, HWND_TOPMOST, 0, 0, 0, 0, flags);
        CheckMenuItem(barMenu, CMD_ALWAYS_ON_TOP, MF_BYCOMMAND | MF_CHECKED);
    } else if (ontopPreference == 0) {
        SetWindowPos(barWindow, HWND_NOTOPMOST, 0, 0, 0, 0, flags);
        CheckMenuItem(barMenu, CMD_ALWAYS_ON_TOP, MF_BYCOMMAND | MF_UNCHECKED);
    }
}

void StartClockTimer(void)
{
    // the window procedure doubles as the timer callback, so a tick arrives as WM_TIMER
    SetTimer(barWindow, CLOCK_TIMER_ID, timerInterval, (TIMERPROC)(void*)BarWindowProc);
}

int RunMessageLoop(void)
{
    MSG msg;
    // -1 is a failure, not a message: leave the loop rather than spin on it
    while (GetMessageA(&msg, NULL, 0, 0) > 0) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
    return 0;
}

BOOL OpenBarWindow(void)
{
    RegisterBarClass();
    if (!CreateBarWindow())
        return FALSE;
    AnnounceAppBar();
    if (alignPreference != ALIGN_FLOATING)
        DockBar();
    ShowWindow(barWindow, SW_SHOW);
    UpdateWindow(barWindow);
    BuildBarMenu();
    ApplyOntopPreference();
    LayOutBar(alignPreference == ALIGN_FLOATING ? LAYOUT_FLOATING : LAYOUT_DOCKED);
    StartClockTimer();
    return TRUE;
}

int RunVelmor(HINSTANCE instance)
{
    appInstance = instance;
    BYTE majorVersion = LOBYTE(LOWORD(GetVersion()));
    LoadStartupState();
    LoadPreferences();
    if (majorVersion != 4)
        return MessageBoxA(NULL, refusalText, VELMOR_NAME, MB_ICONERROR);
    if (!OpenBarWindow())
        return 0;
    return RunMessageLoop();
}
