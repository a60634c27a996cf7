// Time zones and clocks: the zone table, the four clocks' time texts, panel drawing.
#ifndef VELMOR_ZONES_H
#define VELMOR_ZONES_H

#include <windows.h>

#define ZONE_COUNT      58
// The bar's clocks, each with its panel, zone list, DST box and pin. Every operation and
// array numbers a clock 0 to 3, its place in clockZones; the user sees clocks 1 to 4.
#define CLOCK_COUNT     4
#define ZONE_NAME_SIZE  256
#define TIME_TEXT_SIZE  10

struct ZoneRecord {
    char name[ZONE_NAME_SIZE];
    UINT zoneIndex;
    int stdOffsetHours;
    int dstOffsetHours;
    int extraMinutes;
    UINT dstInUse;
    UINT dstCapable;
    int mapX;
    int mapY;
};

// One row of the constant zone table.
struct ZoneRow {
    const char* recordName;
    const char* displayName;
    int stdOffsetHours;
    int dstOffsetHours;
    int extraMinutes;
    UINT dstCapable;
    int mapX;
    int mapY;
};

extern const ZoneRow zoneTable[ZONE_COUNT];      // row i is zone index i + 1

extern ZoneRecord clockZones[CLOCK_COUNT];
extern char clockTimes[CLOCK_COUNT][TIME_TEXT_SIZE];
extern SYSTEMTIME utcTime;                        // the shared UTC time
extern WORD lastMinute;                           // UTC minute of the last recomputation; tests read it

// Whether utcTime lies in another minute than the last recomputation (of the same or of
// another hour or day: the clock may be set by whole hours), and taking note of it.
BOOL UtcMinuteChanged(void);
void RememberUtcMinute(void);

void LookupZone(ZoneRecord* record);
// Fills a zone list with the 58 zones' names, in zone-index order.
void AddZoneNames(HWND combo);
void FormatClockTime(char* text, const ZoneRecord* record);

// Fills utcTime from the system clock, or from fixedUtcTime when a test has set it.
void ReadUtcTime(void);
extern const SYSTEMTIME* fixedUtcTime;            // test seam: NULL in the program

// FormatClockTime for every clock from the current utcTime.
void FormatAllClockTimes(void);

void DrawClockPanel(HWND panel, const char* name, const char* timeText);

// For ResetProgramState: the clocks' zones and texts and the last recomputation; a test's
// fixed time stays.
void ResetClockState(void);

#endif
