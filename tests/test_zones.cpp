// The zone table, LookupZone and AddZoneNames.
#include <gtest/gtest.h>
#include <stdio.h>
#include <string.h>
#include "zones/zones.h"

TEST(ZoneTable, DisplayNameOffsetMatchesStandardOffsetPlusExtraMinutes)
{
    for (int i = 0; i < ZONE_COUNT; i++) {
        const ZoneRow& row = zoneTable[i];
        int minutes = row.stdOffsetHours * 60 + row.extraMinutes;
        char expected[32];
        if (minutes == 0)
            strcpy(expected, "(GMT) ");
        else
            snprintf(expected, sizeof expected, "(GMT%c%02d:%02d) ", minutes < 0 ? '-' : '+',
                     abs(minutes) / 60, abs(minutes) % 60);
        EXPECT_EQ(0, strncmp(row.displayName, expected, strlen(expected)))
            << "zone " << i + 1 << ": " << row.displayName;
    }
}

TEST(ZoneTable, DstCapableZonesGainOneHourOthersKeepTheirOffset)
{
    int capable = 0;
    for (int i = 0; i < ZONE_COUNT; i++) {
        const ZoneRow& row = zoneTable[i];
        if (row.dstCapable == 1) {
            capable++;
            EXPECT_EQ(row.stdOffsetHours + 1, row.dstOffsetHours) << "zone " << i + 1;
        } else {
            EXPECT_EQ(0u, row.dstCapable);
            EXPECT_EQ(row.stdOffsetHours, row.dstOffsetHours) << "zone " << i + 1;
        }
        EXPECT_TRUE(row.extraMinutes == 0 || row.extraMinutes == 30 || row.extraMinutes == -30);
        EXPECT_GE(row.mapX, 3);
        EXPECT_LE(row.mapX, 337);
        EXPECT_GE(row.mapY, 43);
        EXPECT_LE(row.mapY, 142);
        EXPECT_LE(strlen(row.recordName), 22u);
    }
    EXPECT_EQ(23, capable);
}

TEST(ZoneTable, OffsetsRunWestToEast)
{
    for (int i = 1; i < ZONE_COUNT; i++)
        EXPECT_LE(zoneTable[i - 1].stdOffsetHours * 60 + zoneTable[i - 1].extraMinutes,
                  zoneTable[i].stdOffsetHours * 60 + zoneTable[i].extraMinutes) << "zone " << i + 1;
    EXPECT_EQ(-12, zoneTable[0].stdOffsetHours);
    EXPECT_EQ(12, zoneTable[57].stdOffsetHours);
}

TEST(ZoneTable, SharedPinPositions)
{
    const int groups[][3] = { { 35, 36, 0 }, { 38, 39, 0 }, { 49, 50, 0 }, { 53, 54, 0 }, { 56, 57, 58 } };
    for (auto& group : groups)
        for (int k = 1; k < 3 && group[k]; k++) {
            EXPECT_EQ(zoneTable[group[0] - 1].mapX, zoneTable[group[k] - 1].mapX);
            EXPECT_EQ(zoneTable[group[0] - 1].mapY, zoneTable[group[k] - 1].mapY);
        }
    EXPECT_EQ(72, zoneTable[55].mapX);
    EXPECT_EQ(58, zoneTable[55].mapY);
    // no other pair of zones shares a pin
    int shared = 0;
    for (int i = 0; i < ZONE_COUNT; i++)
        for (int j = i + 1; j < ZONE_COUNT; j++)
            if (zoneTable[i].mapX == zoneTable[j].mapX && zoneTable[i].mapY == zoneTable[j].mapY)
                shared++;
    EXPECT_EQ(4 + 3, shared);
}

TEST(LookupZone, FillsTheRowAndKeepsIndexAndDstSwitch)
{
    ZoneRecord record;
    memset(&record, 0xAB, sizeof record);
    record.zoneIndex = 16;
    record.dstInUse = 7;
    LookupZone(&record);
    EXPECT_STREQ("Newfoundland", record.name);
    EXPECT_EQ(16u, record.zoneIndex);
    EXPECT_EQ(7u, record.dstInUse);
    EXPECT_EQ(-3, record.stdOffsetHours);
    EXPECT_EQ(-2, record.dstOffsetHours);
    EXPECT_EQ(-30, record.extraMinutes);
    EXPECT_EQ(1u, record.dstCapable);
    EXPECT_EQ(202, record.mapX);
    EXPECT_EQ(66, record.mapY);
    EXPECT_STREQ("(GMT-03:30) Newfoundland", zoneTable[15].displayName);

    record.zoneIndex = 23;
    LookupZone(&record);
    EXPECT_STREQ("Monrovia,Casablanca", record.name);
    EXPECT_EQ(0u, record.dstCapable);
    EXPECT_EQ(7u, record.dstInUse);

    record.zoneIndex = 58;
    LookupZone(&record);
    EXPECT_EQ(13, record.dstOffsetHours);
    for (int i = 0; i < ZONE_COUNT - 1; i++)
        EXPECT_NE(13, zoneTable[i].dstOffsetHours);
}

TEST(LookupZone, IndexOutsideTheTableLeavesEveryByte)
{
    const UINT bad[] = { 0, 59, 0xFFFFFFFFu, 1000 };
    for (UINT index : bad) {
        ZoneRecord record, before;
        memset(&record, 0x5C, sizeof record);
        record.zoneIndex = 44;
        LookupZone(&record);
        record.zoneIndex = index;
        memcpy(&before, &record, sizeof record);
        LookupZone(&record);
        EXPECT_EQ(0, memcmp(&before, &record, sizeof record)) << "index " << index;
    }
}

static LRESULT CALLBACK PlainProc(HWND w, UINT m, WPARAM wp, LPARAM lp)
{
    return DefWindowProcA(w, m, wp, lp);
}

TEST(AddZoneNames, FillsARealComboBoxInOrder)
{
    WNDCLASSA wc = {};
    wc.lpfnWndProc = PlainProc;
    wc.hInstance = GetModuleHandleA(NULL);
    wc.lpszClassName = "ZoneListHost";
    RegisterClassA(&wc);
    HWND host = CreateWindowExA(0, "ZoneListHost", "", WS_OVERLAPPEDWINDOW, 0, 0, 400, 300, NULL, NULL, wc.hInstance, NULL);
    HWND combo = CreateWindowExA(0, "COMBOBOX", "", WS_CHILD | WS_VISIBLE | CBS_DROPDOWN | WS_VSCROLL,
                                 10, 10, 300, 200, host, (HMENU)1010, wc.hInstance, NULL);
    ASSERT_TRUE(combo != NULL);
    AddZoneNames(combo);
    ASSERT_EQ(58, (int)SendMessageA(combo, CB_GETCOUNT, 0, 0));
    char text[256];
    SendMessageA(combo, CB_GETLBTEXT, 0, (LPARAM)text);
    EXPECT_STREQ("(GMT-12:00) Eniwetok, Kwajalein", text);
    SendMessageA(combo, CB_GETLBTEXT, 57, (LPARAM)text);
    EXPECT_STREQ("(GMT+12:00) Wellington, Auchland", text);
    for (int i = 0; i < ZONE_COUNT; i++) {
        SendMessageA(combo, CB_GETLBTEXT, i, (LPARAM)text);
        EXPECT_STREQ(zoneTable[i].displayName, text);
    }
    DestroyWindow(host);
}
