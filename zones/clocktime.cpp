// The clocks' 12-hour time texts, computed from the shared UTC time.
#include "zones/zones.h"

char clockTimes[CLOCK_COUNT][TIME_TEXT_SIZE];
SYSTEMTIME utcTime;
WORD lastMinute;
static WORD lastHour, lastDay;    // of the last recomputation, beside its minute
const SYSTEMTIME* fixedUtcTime;

void ReadUtcTime(void)
{
    if (fixedUtcTime)
        utcTime = *fixedUtcTime;
    else
        GetSystemTime(&utcTime);
}

BOOL UtcMinuteChanged(void)
{
    return utcTime.wMinute != lastMinute || utcTime.wHour != lastHour || utcTime.wDay != lastDay;
}

void RememberUtcMinute(void)
{
    lastMinute = utcTime.wMinute;
    lastHour = utcTime.wHour;
    lastDay = utcTime.wDay;
}

void FormatClockTime(char* text, const ZoneRecord* record)
{
    int offset = record->dstInUse == 1 ? record->dstOffsetHours : record->stdOffsetHours;
    int hour = (int)utcTime.wHour + offset;
    int minute = (int)utcTime.wMinute;
    if (record->extraMinutes != 0) {
        minute += record->extraMinutes;
        if (minute >= 60) {
            hour++;
            minute -= 60;
        } else if (minute < 0) {
            hour--;
            minute += 60;
        }
    }
    if (hour > 23)
        hour -= 24;
    else if (hour < 0)
        hour += 24;

    const char* suffix = " AM";
    if (hour > 12) {
        hour -= 12;
        suffix = " PM";
    } else if (hour == 12) {
        suffix = " PM";
    } else if (hour == 0) {
        hour = 12;
    }
    // wsprintfA takes no buffer size: format where any two ints fit, then cut to the text
    char formatted[32];
    wsprintfA(formatted, "%d:%02d%s", hour, minute, suffix);
    lstrcpynA(text, formatted, TIME_TEXT_SIZE);
}

void FormatAllClockTimes(void)
{
    for (int i = 0; i < CLOCK_COUNT; i++)
        FormatClockTime(clockTimes[i], &clockZones[i]);
}

void ResetClockState(void)
{
    ZeroMemory(clockZones, sizeof clockZones);
    ZeroMemory(clockTimes, sizeof clockTimes);
    ZeroMemory(&utcTime, sizeof utcTime);
    lastMinute = lastHour = lastDay = 0;
}
