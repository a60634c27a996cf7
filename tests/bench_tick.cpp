// In-process cost of the clock tick: a tick within the same minute, and a tick that
// starts a new minute and redraws the four panels. Prints medians of repeated batches.
#include <windows.h>
#include <stdio.h>
#include <algorithm>
#include <vector>
#include "app/app.h"
#include "bar/bar.h"
#include "res/resource.h"
#include "zones/zones.h"
#include "barharness.h"
#include "testutil.h"

static double Now(void)
{
    return MicrosecondsNow();
}

static double Median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

int main(void)
{
    ScratchDir dir;
    HWND bar = StartBar("[PREFS]\r\nALIGN=1\r\n");
    KillTimer(bar, CLOCK_TIMER_ID);   // only the ticks measured here

    std::vector<double> sameMinute, newMinute;
    for (int batch = 0; batch < 9; batch++) {
        const int ticks = 100000;
        ClearFixedUtc();
        BarWindowProc(bar, WM_TIMER, CLOCK_TIMER_ID, 0);   // catch up with the real minute
        double start = Now();
        for (int i = 0; i < ticks; i++)
            BarWindowProc(bar, WM_TIMER, CLOCK_TIMER_ID, 0);
        sameMinute.push_back((Now() - start) / ticks);

        const int refreshes = 200;
        double total = 0;
        for (int i = 0; i < refreshes; i++) {
            SetFixedUtc((WORD)(i / 60 % 24), (WORD)((lastMinute + 1) % 60));
            double t = Now();
            BarWindowProc(bar, WM_TIMER, CLOCK_TIMER_ID, 0);
            total += Now() - t;
        }
        newMinute.push_back(total / refreshes);
        PumpFor(0);
    }
    printf("tick_same_minute_us %.3f\n", Median(sameMinute));
    printf("tick_new_minute_us %.1f\n", Median(newMinute));
    CloseBar();
    return 0;
}
