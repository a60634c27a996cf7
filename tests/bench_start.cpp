// Start time of velmor.exe to its painted bar against notepad.exe to its visible window,
// started the same way, alternately; prints the medians in milliseconds.
#include <windows.h>
#include <stdio.h>
#include <stdlib.h>
#include <algorithm>
#include <string>
#include <vector>
#include "res/resource.h"
#include "childbar.h"
#include "testutil.h"

static double Now(void)
{
    return MicrosecondsNow() / 1000.0;
}

// Black ink on the screen inside clock panel 1's time box: the bar has drawn its clocks.
static bool BarIsPainted(HWND bar)
{
    if (!IsWindowVisible(bar))
        return false;
    POINT origin = { 18 + 15, 8 };
    ClientToScreen(bar, &origin);
    HDC screen = GetDC(NULL);
    bool ink = false;
    for (int y = 0; y < 16 && !ink; y++)
        for (int x = 0; x < 112 && !ink; x += 1) {
            COLORREF c = GetPixel(screen, origin.x + x, origin.y + y);
            ink = c != CLR_INVALID && GetRValue(c) < 60 && GetGValue(c) < 60 && GetBValue(c) < 60;
        }
    ReleaseDC(NULL, screen);
    return ink;
}

static double TimeOneStart(bool velmor, const std::string& exe, const std::string& dir)
{
    PROCESS_INFORMATION process;
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    std::string command = velmor ? "\"" + exe + "\"" : "notepad.exe";
    double start = Now();
    if (!CreateProcessA(NULL, &command[0], NULL, NULL, FALSE, 0, NULL, dir.c_str(), &startup, &process))
        return -1;
    HWND window = NULL;
    double end = -1;
    while (Now() - start < 20000) {
        if (!window)
            window = FindProcessWindow(process.dwProcessId, velmor ? "QxBarClass" : "Notepad");
        if (window && (velmor ? BarIsPainted(window) : IsWindowVisible(window) != FALSE)) {
            end = Now();
            break;
        }
        Sleep(1);
    }
    if (window)
        PostMessageA(window, velmor ? WM_COMMAND : WM_CLOSE, velmor ? CMD_CLOSE : 0, 0);
    FinishChildProgram(&process, 10000);
    Sleep(300);
    return end < 0 ? -1 : end - start;
}

static double Median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values.empty() ? 0 : values[values.size() / 2];
}

int main(int argc, char** argv)
{
    std::string exe = argc > 1 ? argv[1] : VelmorExePath();
    int rounds = argc > 2 ? atoi(argv[2]) : 7;
    char dir[MAX_PATH];
    GetCurrentDirectoryA(MAX_PATH, dir);
    std::vector<double> velmor, notepad;
    TimeOneStart(true, exe, dir);       // warm the caches once for each
    TimeOneStart(false, exe, dir);
    for (int i = 0; i < rounds; i++) {
        velmor.push_back(TimeOneStart(true, exe, dir));
        notepad.push_back(TimeOneStart(false, exe, dir));
    }
    printf("start_velmor_ms %.1f\n", Median(velmor));
    printf("start_notepad_ms %.1f\n", Median(notepad));
    return 0;
}
