// The settings file: defaults, hand edits, byte-exact writes, unwritable places.
#include <gtest/gtest.h>
#include <string.h>
#include "app/app.h"
#include "settings/settings.h"
#include "zones/zones.h"
#include "barharness.h"
#include "testutil.h"

static void ReadAll(void)
{
    ResetProgramState();
    appInstance = GetModuleHandleA(NULL);
    LoadStartupState();
    LoadPreferences();
}

TEST(Settings, EachKeyIsRead)
{
    ScratchDir dir;
    WriteFileBytes("VELMOR.INI",
                   "[ZONES]\r\nONE=22\r\nTWO=58\r\nTHREE=16\r\nFOUR=40\r\n"
                   "ONEDST=1\r\nTWODST=0\r\nTHREEDST=1\r\nFOURDST=2\r\n"
                   "[PREFS]\r\nONTOP=0\r\nALIGN=3\r\n");
    ReadAll();
    const UINT zones[] = { 22, 58, 16, 40 }, dst[] = { 1, 0, 1, 2 };
    for (int i = 0; i < 4; i++) {
        EXPECT_EQ(zones[i], clockZones[i].zoneIndex);
        EXPECT_EQ(dst[i], clockZones[i].dstInUse);
    }
    EXPECT_EQ(0, ontopPreference);
    EXPECT_EQ(3, alignPreference);
    EXPECT_EQ(3, placement);
}

TEST(Settings, HandEditedValuesReadAsThePlatformReadsThem)
{
    ScratchDir dir;
    WriteFileBytes("VELMOR.INI",
                   "[zones]\r\none=abc\r\nTwo=-7\r\nTHREE=3x\r\nfour=99999999999\r\n"
                   "OneDst=\r\n[Prefs]\r\nontop=  12  \r\nALIGN=99\r\n");
    ReadAll();
    EXPECT_EQ(0u, clockZones[0].zoneIndex);        // no leading digits
    EXPECT_EQ((UINT)-7, clockZones[1].zoneIndex);  // negative text reads as a signed number
    EXPECT_EQ(3u, clockZones[2].zoneIndex);        // the digits before the junk
    EXPECT_EQ(0u, clockZones[0].dstInUse);         // empty value
    EXPECT_EQ(12, ontopPreference);                // names compare without case
    EXPECT_EQ(99, alignPreference);
    EXPECT_EQ(1, placement);                       // 99 leaves placement alone until the layout
    // an overlong number is whatever the platform makes of it, but never a valid zone here
    EXPECT_GE(clockZones[3].zoneIndex - 1, (UINT)ZONE_COUNT);
}

TEST(Settings, SavePreferencesOnANewFileWritesAlignThenOntop)
{
    ScratchDir dir;
    alignPreference = 99;
    ontopPreference = 0;
    SavePreferences();
    EXPECT_EQ("[PREFS]\r\nALIGN=99\r\nONTOP=0\r\n", ReadFileBytes("VELMOR.INI"));
    alignPreference = -5;
    ontopPreference = 2;
    SavePreferences();
    EXPECT_EQ("[PREFS]\r\nALIGN=-5\r\nONTOP=2\r\n", ReadFileBytes("VELMOR.INI"));
}

// Wine's profile writer drops blank lines when it rewrites a file, so the sample has none.
TEST(Settings, SavePreferencesLeavesEveryOtherLineAlone)
{
    ScratchDir dir;
    const std::string before =
        "; my clocks\r\n[ZONES]\r\nONE=22\r\nONEDST=1\r\n"
        "[PREFS]\r\nONTOP=1\r\n; keep me\r\nEXTRA=abc\r\nALIGN=1\r\n"
        "[PIN1]\r\nX=10\r\nY=20\r\n";
    WriteFileBytes("VELMOR.INI", before);
    alignPreference = 3;
    ontopPreference = 0;
    SavePreferences();
    std::string expected = before;
    expected.replace(expected.find("ONTOP=1"), 7, "ONTOP=0");
    expected.replace(expected.find("ALIGN=1"), 7, "ALIGN=3");
    EXPECT_EQ(expected, ReadFileBytes("VELMOR.INI"));
}

TEST(Settings, WriteSettingWritesDecimalText)
{
    ScratchDir dir;
    WriteSetting("PIN1", "X", 0);
    WriteSetting("PIN1", "Y", -12);
    WriteSetting("PIN2", "X", 359);
    EXPECT_EQ("[PIN1]\r\nX=0\r\nY=-12\r\n[PIN2]\r\nX=359\r\n", ReadFileBytes("VELMOR.INI"));
    EXPECT_EQ(-12, ReadSetting("pin1", "y", 5));
    EXPECT_EQ(5, ReadSetting("PIN3", "Y", 5));
}

// A file that cannot be written keeps every byte and the values stay in memory, to be
// written whole by the next save that can. A read-only file is one on Windows; Wine lets
// root write it anyway, and then the write must be the whole one.
TEST(Settings, UnwritableFileKeepsEveryByteAndTheValuesInMemory)
{
    ScratchDir dir;
    const std::string before = "[ZONES]\r\nONE=22\r\n[PREFS]\r\nALIGN=1\r\nONTOP=1\r\n";
    const std::string after = "[ZONES]\r\nONE=22\r\n[PREFS]\r\nALIGN=99\r\nONTOP=0\r\n";
    for (bool readOnly : { true, false }) {
        SCOPED_TRACE(readOnly ? "read-only" : "held open by another program");
        WriteFileBytes("VELMOR.INI", before);
        HANDLE holder = INVALID_HANDLE_VALUE;
        if (readOnly)
            SetFileAttributesA("VELMOR.INI", FILE_ATTRIBUTE_READONLY);
        else
            holder = CreateFileA("VELMOR.INI", GENERIC_READ, FILE_SHARE_READ, NULL, OPEN_EXISTING, 0, NULL);
        HANDLE probe = CreateFileA("VELMOR.INI", GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, NULL, OPEN_EXISTING, 0, NULL);
        bool platformWrites = probe != INVALID_HANDLE_VALUE;
        if (platformWrites)
            CloseHandle(probe);
        alignPreference = 99;
        ontopPreference = 0;
        SavePreferences();
        EXPECT_EQ(platformWrites ? after : before, ReadFileBytes("VELMOR.INI"));
        if (holder != INVALID_HANDLE_VALUE)
            CloseHandle(holder);
        SetFileAttributesA("VELMOR.INI", FILE_ATTRIBUTE_NORMAL);
        SavePreferences();
        EXPECT_EQ(after, ReadFileBytes("VELMOR.INI"));
    }
}

TEST(Settings, UnwritableDirectoryCrashesNothing)
{
    ScratchDir dir;
    // a directory named like the file: nothing can be written or read there
    CreateDirectoryA("VELMOR.INI", NULL);
    alignPreference = 3;
    ontopPreference = 0;
    SavePreferences();
    ReadAll();
    EXPECT_EQ(1, alignPreference);
    EXPECT_EQ(1u, clockZones[0].zoneIndex);
    RemoveDirectoryA("VELMOR.INI");
}
