// Tells desktop/stacking.py, for each Velmor bar's X window, whether the bar stays on top,
// whether it (or a window it owns) is the active window and whether it is restored (not
// minimised): Wine keeps all three from the X side, so nothing there can follow "Always on
// top". Writes a line for each bar, "XID ONTOP ACTIVE RESTORED", then an empty line, at the
// start and whenever any of it changes. Run by scripts/velmor beside the bar; ends when its
// input closes.
#include "companion.h"
#include "../res/version.h"

static const char BAR_CLASS[] = VELMOR_BAR_CLASS;
static const char X_WINDOW_PROPERTY[] = "__wine_x11_whole_window";   // Wine's X driver keeps the id here
enum { REPORT_SIZE = 1024, LINE_SIZE = 40, LOOK_EVERY_MS = 100 };

static char report[REPORT_SIZE];        // the bars as they are now
static char lastReport[REPORT_SIZE];    // as they were last written
static int reportLength;

static BOOL IsOwnedBy(HWND window, HWND owner)
{
    for (; window; window = GetWindow(window, GW_OWNER))
        if (window == owner) return TRUE;
    return FALSE;
}

static BOOL CALLBACK AddBar(HWND window, LPARAM)
{
    char name[sizeof BAR_CLASS + 1];
    if (!GetClassNameA(window, name, sizeof name) || lstrcmpA(name, BAR_CLASS) != 0) return TRUE;
    ULONG_PTR xWindow = (ULONG_PTR)GetPropA(window, X_WINDOW_PROPERTY);
    if (!xWindow || !IsWindowVisible(window)) return TRUE;
    if (reportLength > REPORT_SIZE - LINE_SIZE) return FALSE;
    BOOL ontop = (GetWindowLongA(window, GWL_EXSTYLE) & WS_EX_TOPMOST) != 0;
    BOOL active = IsOwnedBy(GetForegroundWindow(), window);
    BOOL restored = !IsIconic(window);
    reportLength += wsprintfA(report + reportLength, "%lu %d %d %d\n", (unsigned long)xWindow, ontop,
                              active, restored);
    return TRUE;
}

static void ReportBars(void)
{
    reportLength = 0;
    EnumWindows(AddBar, 0);
    report[reportLength++] = '\n';
    report[reportLength] = 0;
    if (lstrcmpA(report, lastReport) == 0) return;
    lstrcpyA(lastReport, report);
    WriteOutput(report, reportLength);
}

extern "C" void WINAPI OntopEntry(void)
{
    QuitWhenInputCloses();
    SetTimer(NULL, 0, LOOK_EVERY_MS, NULL);
    ReportBars();
    MSG message;
    while (GetMessageA(&message, NULL, 0, 0) > 0)
        if (message.message == WM_TIMER) ReportBars();
    ExitProcess(0);
}
