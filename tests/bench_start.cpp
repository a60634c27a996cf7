// Start time of velmor.exe to its painted bar, against the bare window (a program that only
// shows a 54-pixel popup: the platform's floor) to its painted window and notepad.exe to
// its visible window, all started the same way, in turn; prints the medians in milliseconds.
#include <windows.h>
#include <stdio.h>
#include <stdlib.h>
#include <algorithm>
#include <string>
#include <vector>
#include "res/resource.h"
#include "childbar.h"
#include "testutil.h"

enum Program { VELMOR, BARE, NOTEPAD };

struct Started {
    const char* className;
    std::string command;
};

static double Now(void)
{
    return MicrosecondsNow() / 1000.0;
}

// Whether the screen inside the window shows what the program paints: for the bar, black
// ink inside clock panel 1's time box; for the bare window, its light grey background.
static bool IsPainted(Program program, HWND window)
{
    if (!IsWindowVisible(window))
        return false;
    if (program == NOTEPAD)
        return true;
    POINT origin = { 18 + 15, 8 };
    ClientToScreen(window, &origin);
    HDC screen = GetDC(NULL);
    bool painted = false;
    for (int y = 0; y < 16 && !painted; y++)
        for (int x = 0; x < 112 && !painted; x += 1) {
            COLORREF c = GetPixel(screen, origin.x + x, origin.y + y);
            if (c == CLR_INVALID)
                continue;
            if (program == BARE)
                painted = c == RGB(192, 192, 192);
            else
                painted = GetRValue(c) < 60 && GetGValue(c) < 60 && GetBValue(c) < 60;
        }
    ReleaseDC(NULL, screen);
    return painted;
}

static double TimeOneStart(Program program, const Started& started, const std::string& dir)
{
    PROCESS_INFORMATION process;
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    std::string command = started.command;
    double start = Now();
    if (!CreateProcessA(NULL, &command[0], NULL, NULL, FALSE, 0, NULL, dir.c_str(), &startup, &process))
        return -1;
    HWND window = NULL;
    double end = -1;
    while (Now() - start < 20000) {
        if (!window)
            window = FindProcessWindow(process.dwProcessId, started.className);
        if (window && IsPainted(program, window)) {
            end = Now();
            break;
        }
        Sleep(1);
    }
    if (window)
        PostMessageA(window, program == VELMOR ? WM_COMMAND : WM_CLOSE, program == VELMOR ? CMD_CLOSE : 0, 0);
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
    const Started programs[] = {
        { "QxBarClass", "\"" + (argc > 1 ? std::string(argv[1]) : VelmorExePath()) + "\"" },
        { "BareBarClass", "\"" + std::string(argc > 2 ? argv[2] : "bare_window.exe") + "\"" },
        { "Notepad", "notepad.exe" },
    };
    int rounds = argc > 3 ? atoi(argv[3]) : 7;
    char dir[MAX_PATH];
    GetCurrentDirectoryA(MAX_PATH, dir);
    std::vector<double> times[3];
    for (int p = VELMOR; p <= NOTEPAD; p++)   // warm the caches once for each
        TimeOneStart((Program)p, programs[p], dir);
    for (int i = 0; i < rounds; i++)
        for (int p = VELMOR; p <= NOTEPAD; p++)
            times[p].push_back(TimeOneStart((Program)p, programs[p], dir));
    printf("start_velmor_ms %.1f\n", Median(times[VELMOR]));
    printf("start_bare_ms %.1f\n", Median(times[BARE]));
    printf("start_notepad_ms %.1f\n", Median(times[NOTEPAD]));
    return 0;
}
