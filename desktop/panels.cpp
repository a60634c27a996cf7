// The desktop's own panels made known to Wine's shell as application bars, as Explorer's
// taskbar is one on Windows: one bar for each edge strip outside the X work area that the
// command line gives ("left top right bottom"). Run by scripts/velmor before the bar, so
// that the shell keeps the bar clear of them; ends, removing them, when its input closes.
#include "companion.h"
#include <shellapi.h>

enum { STRIP_COUNT = 4 };
static const UINT WM_STRIPNOTIFY = WM_USER + 1;   // the shell's notifications, not needed
static const char STRIP_CLASS[] = "VelmorPanelStrip";

static APPBARDATA strips[STRIP_COUNT];   // one record per edge; hWnd 0 where no panel is

static LRESULT CALLBACK StripProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_CLOSE:
        PostQuitMessage(0);
        return 0;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

// Skips the program's name, quoted or not, and reads up to `count` whole numbers.
static int ReadArguments(LONG *numbers, int count)
{
    const char *text = GetCommandLineA();
    char end = ' ';
    if (*text == '"') {
        end = '"';
        text++;
    }
    while (*text && *text != end) text++;
    if (*text) text++;
    int read = 0;
    while (read < count) {
        while (*text == ' ' || *text == '\t') text++;
        if (*text < '0' || *text > '9') break;
        LONG value = 0;
        while (*text >= '0' && *text <= '9') value = value * 10 + (*text++ - '0');
        numbers[read++] = value;
    }
    return read;
}

// Registers the strip `rc` at `edge` as an application bar of its own window; an empty
// strip is no panel.
static void RegisterStrip(APPBARDATA *strip, UINT edge, LONG left, LONG top, LONG right, LONG bottom)
{
    if (left >= right || top >= bottom) return;
    strip->cbSize = sizeof *strip;
    strip->hWnd = CreateWindowExA(WS_EX_TOOLWINDOW, STRIP_CLASS, "Velmor panel", WS_POPUP,
        left, top, right - left, bottom - top, NULL, NULL, GetModuleHandleA(NULL), NULL);
    strip->uCallbackMessage = WM_STRIPNOTIFY;
    strip->uEdge = edge;
    SetRect(&strip->rc, left, top, right, bottom);
    SHAppBarMessage(ABM_NEW, strip);
    SHAppBarMessage(ABM_QUERYPOS, strip);
    SHAppBarMessage(ABM_SETPOS, strip);
}

extern "C" void WINAPI PanelsEntry(void)
{
    LONG work[4];
    if (ReadArguments(work, 4) != 4) ExitProcess(2);
    LONG width = GetSystemMetrics(SM_CXSCREEN), height = GetSystemMetrics(SM_CYSCREEN);

    WNDCLASSA windowClass = {};
    windowClass.lpfnWndProc = StripProc;
    windowClass.hInstance = GetModuleHandleA(NULL);
    windowClass.lpszClassName = STRIP_CLASS;
    RegisterClassA(&windowClass);

    // top and bottom first and whole width, as a taskbar along them would be
    RegisterStrip(&strips[0], ABE_TOP, 0, 0, width, work[1]);
    RegisterStrip(&strips[1], ABE_BOTTOM, 0, work[3], width, height);
    RegisterStrip(&strips[2], ABE_LEFT, 0, work[1], work[0], work[3]);
    RegisterStrip(&strips[3], ABE_RIGHT, work[2], work[1], width, work[3]);

    QuitWhenInputCloses();
    static const char ready[] = "ready\n";
    WriteOutput(ready, sizeof ready - 1);

    MSG message;
    while (GetMessageA(&message, NULL, 0, 0) > 0) DispatchMessageA(&message);

    for (int i = 0; i < STRIP_COUNT; i++) {
        if (!strips[i].hWnd) continue;
        SHAppBarMessage(ABM_REMOVE, &strips[i]);
        DestroyWindow(strips[i].hWnd);
    }
    ExitProcess(0);
}
