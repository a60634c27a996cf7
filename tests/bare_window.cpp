// The platform's floor for the benchmark, built like velmor.exe: a program that only
// registers a class and shows a 54-pixel popup window across the top of the screen, as
// the docked bar stands; built with BARE_TIMER it also runs the bar's 500 ms timer with
// the window procedure as its callback, and nothing else.
#include <windows.h>

static LRESULT CALLBACK BareWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_TIMER:
        return 0;
    case WM_DESTROY:
        PostQuitMessage(0);
        return 0;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

extern "C" void WINAPI BareEntry(void)
{
    HINSTANCE instance = GetModuleHandleA(NULL);
    WNDCLASSA windowClass = {};
    windowClass.lpfnWndProc = BareWindowProc;
    windowClass.hInstance = instance;
    windowClass.hCursor = LoadCursorA(NULL, (LPCSTR)IDC_ARROW);
    // light grey, so that the benchmark can see the window painted
    windowClass.hbrBackground = (HBRUSH)GetStockObject(LTGRAY_BRUSH);
    windowClass.lpszClassName = "BareBarClass";
    RegisterClassA(&windowClass);
    HWND window = CreateWindowExA(WS_EX_TOOLWINDOW, "BareBarClass", "Bare", WS_POPUP, 0, 0,
                                  GetSystemMetrics(SM_CXSCREEN), 54, NULL, NULL, instance, NULL);
    ShowWindow(window, SW_SHOW);
    UpdateWindow(window);
#ifdef BARE_TIMER
    SetTimer(window, 275, 500, (TIMERPROC)(void*)BareWindowProc);
#endif
    MSG msg;
    while (GetMessageA(&msg, NULL, 0, 0) > 0) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
    ExitProcess(0);
}
