// The start-up state: defaults, hand-edited files, the first time texts.
#include <gtest/gtest.h>
#include <string.h>
#include "app/app.h"
#include "settings/settings.h"
#include "zones/zones.h"
#include "barharness.h"
#include "testutil.h"

static void Start(void)
{
    ResetProgramState();
    appInstance = GetModuleHandleA(NULL);
    memset(clockTimes, 0x55, sizeof clockTimes);
    LoadStartupState();
    LoadPreferences();
}

TEST(StartupState, DefaultsWithoutAFile)
{
    ScratchDir dir;
    SetFixedUtc(9, 5);
    Start();
    EXPECT_EQ(0, floatedByDrag);
    EXPECT_EQ(1, placement);
    EXPECT_EQ(GetSystemMetrics(SM_CXSCREEN), screenWidth);
    EXPECT_EQ(500u, timerInterval);
    EXPECT_EQ(LoadCursorA(NULL, (LPCSTR)IDC_ARROW), arrowCursor);
    EXPECT_STREQ("Eniwetok, Kwajalein", clockZones[0].name);
    EXPECT_STREQ("Midway Is., Samoa", clockZones[1].name);
    EXPECT_STREQ("Hawaii", clockZones[2].name);
    EXPECT_STREQ("Alaska", clockZones[3].name);
    for (int i = 0; i < 4; i++) {
        EXPECT_EQ((UINT)i + 1, clockZones[i].zoneIndex);
        EXPECT_EQ(0u, clockZones[i].dstInUse);
    }
    EXPECT_EQ(1, alignPreference);
    EXPECT_EQ(1, ontopPreference);
    EXPECT_STREQ("9:05 PM", clockTimes[0]);   // UTC-12
    EXPECT_STREQ("10:05 PM", clockTimes[1]);
    EXPECT_STREQ("11:05 PM", clockTimes[2]);
    EXPECT_STREQ("12:05 AM", clockTimes[3]);
    EXPECT_EQ(5, lastMinute);
    EXPECT_FALSE(FileExists("VELMOR.INI"));
    ClearFixedUtc();
}

// Newfoundland standard (-3:30), Adelaide (+10:30) and Wellington (+13) with daylight saving, GMT.
TEST(StartupState, EachTextIsItsClocksTimeOfTheUtcRead)
{
    struct { WORD hour, minute; const char* times[4]; } cases[] = {
        { 9, 5, { "5:35 AM", "7:35 PM", "10:05 PM", "9:05 AM" } },
        { 23, 50, { "8:20 PM", "10:20 AM", "12:50 PM", "11:50 PM" } },
    };
    for (auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.hour << ":" << c.minute);
        ScratchDir dir;
        WriteFileBytes("VELMOR.INI", "[ZONES]\r\nONE=16\r\nTWO=49\r\nTHREE=58\r\nFOUR=22\r\nTHREEDST=1\r\nTWODST=1\r\n");
        SetFixedUtc(c.hour, c.minute);
        Start();
        for (int i = 0; i < 4; i++) {
            EXPECT_STREQ(c.times[i], clockTimes[i]) << "clock " << i + 1;
            // the texts end at their terminator; nothing of the cleared buffer is left over
            EXPECT_LT(strlen(clockTimes[i]), (size_t)TIME_TEXT_SIZE);
        }
        EXPECT_EQ(c.minute, lastMinute);
        ClearFixedUtc();
    }
}

TEST(StartupState, ZoneOutsideTheTableGivesAnEmptyNameAndPlainUtc)
{
    ScratchDir dir;
    WriteFileBytes("VELMOR.INI", "[ZONES]\r\nONE=59\r\nONEDST=1\r\n[PREFS]\r\nALIGN=99\r\n");
    SetFixedUtc(13, 7);
    Start();
    EXPECT_STREQ("", clockZones[0].name);
    EXPECT_EQ(0, clockZones[0].stdOffsetHours);
    EXPECT_EQ(0, clockZones[0].dstOffsetHours);
    EXPECT_STREQ("1:07 PM", clockTimes[0]);
    EXPECT_EQ(99, alignPreference);
    EXPECT_EQ(1, placement);
    ClearFixedUtc();
}

TEST(StartupState, AlignThreeStartsAtTheBottom)
{
    ScratchDir dir;
    WriteFileBytes("VELMOR.INI", "[PREFS]\r\nALIGN=3\r\nONTOP=2\r\n");
    Start();
    EXPECT_EQ(3, placement);
    EXPECT_EQ(2, ontopPreference);
}
