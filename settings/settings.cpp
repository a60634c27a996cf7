// Reading and writing ".\VELMOR.INI" through the platform's private-profile functions:
// every section and key of the file is read and written here.
#include <windows.h>
#include "settings/settings.h"
#include "zones/zones.h"
#include "app/app.h"

static const char* const zoneKeys[CLOCK_COUNT] = { "ONE", "TWO", "THREE", "FOUR" };
static const char* const dstKeys[CLOCK_COUNT] = { "ONEDST", "TWODST", "THREEDST", "FOURDST" };
static const char* const pinSections[CLOCK_COUNT] = { "PIN1", "PIN2", "PIN3", "PIN4" };

int ReadSetting(const char* section, const char* key, int defaultValue)
{
    return (int)GetPrivateProfileIntA(section, key, defaultValue, SETTINGS_FILE);
}

void WriteSetting(const char* section, const char* key, int value)
{
    char text[16];   // room for any int
    wsprintfA(text, "%d", value);
    WritePrivateProfileStringA(section, key, text, SETTINGS_FILE);
}

void LoadPreferences(void)
{
    ontopPreference = ReadSetting("PREFS", "ONTOP", 1);
    alignPreference = ReadSetting("PREFS", "ALIGN", 1);
    placement = EdgeOfAlign(alignPreference);
}

void SavePreferences(void)
{
    WriteSetting("PREFS", "ALIGN", alignPreference);
    WriteSetting("PREFS", "ONTOP", ontopPreference);
}

void LoadClockChoices(void)
{
    for (int i = 0; i < CLOCK_COUNT; i++)
        clockZones[i].zoneIndex = (UINT)ReadSetting("ZONES", zoneKeys[i], i + 1);
    for (int i = 0; i < CLOCK_COUNT; i++)
        clockZones[i].dstInUse = (UINT)ReadSetting("ZONES", dstKeys[i], 0);
}

void SaveClockChoice(int clock)
{
    WriteSetting("ZONES", zoneKeys[clock], (int)clockZones[clock].zoneIndex);
    WriteSetting("ZONES", dstKeys[clock], (int)clockZones[clock].dstInUse);
}

POINT LoadPinPlace(int clock)
{
    POINT place = { ReadSetting(pinSections[clock], "X", 0), ReadSetting(pinSections[clock], "Y", 0) };
    return place;
}

void SavePinPlace(int clock, POINT place)
{
    WriteSetting(pinSections[clock], "X", place.x);
    WriteSetting(pinSections[clock], "Y", place.y);
}
