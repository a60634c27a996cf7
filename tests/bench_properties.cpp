// Prints how long the Properties dialog takes to open through the bar's command, until its
// message loop first goes idle (all controls, the map, the pins and the regions are ready),
// against the floor: the same template opened with a dialog procedure that does nothing,
// what the platform alone costs for the dialog's windows. The first opening of the process
// is of the kind the first argument names ("properties" or "floor"); then both kinds open
// in turn as many times as the second argument says (61 unless given), and the medians of
// those openings are printed.
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <algorithm>
#include <vector>
#include "app/app.h"
#include "res/resource.h"
#include "barharness.h"
#include "testutil.h"

static WNDPROC barProc;
static LARGE_INTEGER idleAt;
static bool idleSeen;
static bool floorDialog;   // the opening under way is of the template with no procedure

// TRUE for WM_INITDIALOG leaves the focus to the platform, which puts it on the first tab
// stop, clock 1's list, where the Properties dialog puts it too.
static INT_PTR CALLBACK NoWorkDlgProc(HWND, UINT message, WPARAM, LPARAM)
{
    return message == WM_INITDIALOG;
}

// The dialog's loop tells its owner when it first waits for input: the dialog is up.
static LRESULT CALLBACK WatchBar(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_ENTERIDLE && wParam == MSGF_DIALOGBOX && !idleSeen) {
        QueryPerformanceCounter(&idleAt);
        idleSeen = true;
        // the procedure that does nothing would ignore Cancel
        if (floorDialog)
            EndDialog((HWND)lParam, 0);
        else
            PostMessageA((HWND)lParam, WM_COMMAND, IDCANCEL, 0);
    }
    return CallWindowProcA(barProc, window, message, wParam, lParam);
}

// One opening, in milliseconds; -1 when the dialog never went idle.
static double TimeOneOpening(bool floor)
{
    static LARGE_INTEGER frequency;
    if (!frequency.QuadPart)
        QueryPerformanceFrequency(&frequency);
    floorDialog = floor;
    idleSeen = false;
    LARGE_INTEGER openedAt;
    QueryPerformanceCounter(&openedAt);
    if (floor)
        DialogBoxParamA(appInstance, MAKEINTRESOURCEA(IDD_PROPERTIES), barWindow, NoWorkDlgProc, 0);
    else
        SendMessageA(barWindow, WM_COMMAND, CMD_PROPERTIES, 0);
    return idleSeen ? 1000.0 * (idleAt.QuadPart - openedAt.QuadPart) / frequency.QuadPart : -1;
}

static double Median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

int main(int argc, char** argv)
{
    bool floorFirst = argc > 1 && strcmp(argv[1], "floor") == 0;
    ScratchDir dir;
    StartBar("[PIN1]\r\nX=250\r\nY=57\r\n[PIN2]\r\nX=137\r\nY=75\r\n");
    barProc = (WNDPROC)SetWindowLongPtrA(barWindow, GWLP_WNDPROC, (LONG_PTR)WatchBar);

    int rounds = argc > 2 ? atoi(argv[2]) : 61;
    double first = TimeOneOpening(floorFirst);
    std::vector<double> properties, floor;
    for (int i = 0; i < rounds; i++) {
        double t = TimeOneOpening(false);
        if (t >= 0)
            properties.push_back(t);
        t = TimeOneOpening(true);
        if (t >= 0)
            floor.push_back(t);
    }
    SetWindowLongPtrA(barWindow, GWLP_WNDPROC, (LONG_PTR)barProc);
    CloseBar();

    if (first < 0 || (int)properties.size() < rounds || (int)floor.size() < rounds) {
        fprintf(stderr, "the dialog's openings were not measured\n");
        return 1;
    }
    // one figure a line, name first, for scripts/bench to pick up
    printf("first_%s_ms %.1f\n", floorFirst ? "floor" : "properties", first);
    if (rounds > 0) {
        printf("median_properties_ms %.1f\n", Median(properties));
        printf("median_floor_ms %.1f\n", Median(floor));
    }
    return 0;
}
