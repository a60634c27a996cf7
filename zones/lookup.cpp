// LookupZone and AddZoneNames: turning a zone index into a clock's record, filling zone lists.
#include "zones/zones.h"

ZoneRecord clockZones[CLOCK_COUNT];

void LookupZone(ZoneRecord* record)
{
    // one unsigned test rejects 0, 59 and every "negative" index alike
    UINT index = record->zoneIndex;
    if (index - 1 >= ZONE_COUNT)
        return;
    const ZoneRow* row = &zoneTable[index - 1];
    lstrcpynA(record->name, row->recordName, ZONE_NAME_SIZE);
    record->stdOffsetHours = row->stdOffsetHours;
    record->dstOffsetHours = row->dstOffsetHours;
    record->extraMinutes = row->extraMinutes;
    record->dstCapable = row->dstCapable;
    record->mapX = row->mapX;
    record->mapY = row->mapY;
}

void AddZoneNames(HWND combo)
{
    for (int i = 0; i < ZONE_COUNT; i++)
        SendMessageA(combo, CB_ADDSTRING, 0, (LPARAM)zoneTable[i].displayName);
}
