// FormatClockTime against an independent computation from minutes since midnight.
#include <gtest/gtest.h>
#include <stdio.h>
#include <string.h>
#include "zones/zones.h"
#include "testutil.h"

static std::string Expected(int utcMinutes, int offsetHours, int extraMinutes)
{
    int t = ((utcMinutes + offsetHours * 60 + extraMinutes) % 1440 + 1440) % 1440;
    int h = t / 60, m = t % 60;
    char text[16];
    snprintf(text, sizeof text, "%d:%02d %s", h % 12 == 0 ? 12 : h % 12, m, h < 12 ? "AM" : "PM");
    return text;
}

static std::string Format(UINT zone, UINT dst, int hour, int minute)
{
    ZoneRecord record = {};
    record.zoneIndex = zone;
    record.dstInUse = dst;
    LookupZone(&record);
    utcTime.wHour = (WORD)hour;
    utcTime.wMinute = (WORD)minute;
    char text[TIME_TEXT_SIZE + 6];
    memset(text, 0x7F, sizeof text);
    FormatClockTime(text, &record);
    for (int i = TIME_TEXT_SIZE; i < (int)sizeof text; i++)
        EXPECT_EQ(0x7F, text[i]) << "wrote past the 10-byte text";
    return text;
}

TEST(FormatClockTime, EveryZoneEveryMinuteBothDstSettings)
{
    for (UINT zone = 1; zone <= ZONE_COUNT; zone++)
        for (UINT dst = 0; dst <= 2; dst++) {
            const ZoneRow& row = zoneTable[zone - 1];
            int offset = dst == 1 ? row.dstOffsetHours : row.stdOffsetHours;
            for (int t = 0; t < 1440; t++) {
                std::string got = Format(zone, dst, t / 60, t % 60);
                ASSERT_EQ(Expected(t, offset, row.extraMinutes), got)
                    << "zone " << zone << " dst " << dst << " utc " << t / 60 << ":" << t % 60;
                ASSERT_LE(got.size(), 8u);
            }
        }
}

TEST(FormatClockTime, ExamplesOfTheClockFace)
{
    EXPECT_EQ("12:00 AM", Format(22, 0, 0, 0));
    EXPECT_EQ("12:05 PM", Format(22, 0, 12, 5));
    EXPECT_EQ("9:05 AM", Format(22, 0, 9, 5));
    EXPECT_EQ("12:10 PM", Format(1, 0, 0, 10));
    EXPECT_EQ("12:59 PM", Format(58, 1, 23, 59));
    EXPECT_EQ("11:15 AM", Format(40, 0, 5, 45));
    EXPECT_EQ("3:15 AM", Format(34, 0, 23, 45));
    EXPECT_EQ("7:00 AM", Format(16, 0, 10, 30));
    EXPECT_EQ("6:40 AM", Format(16, 0, 10, 10));
    EXPECT_EQ("8:45 PM", Format(16, 0, 0, 15));
    // Adelaide: the half hour applies in both settings
    EXPECT_EQ("9:30 AM", Format(49, 0, 0, 0));
    EXPECT_EQ("10:30 AM", Format(49, 1, 0, 0));
}

TEST(FormatClockTime, DstSwitchTwoCountsAsStandardTime)
{
    EXPECT_EQ(Format(22, 0, 8, 0), Format(22, 2, 8, 0));
    EXPECT_NE(Format(22, 1, 8, 0), Format(22, 2, 8, 0));
}

TEST(FormatClockTime, RecordWithoutZoneShowsPlainUtc)
{
    EXPECT_EQ("1:07 PM", Format(0, 0, 13, 7));
    EXPECT_EQ("1:07 PM", Format(59, 1, 13, 7));
}
