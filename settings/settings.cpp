// Reading and writing ".\VELMOR.INI" through the platform's private-profile functions.
#include <windows.h>
#include "settings/settings.h"
#include "zones/zones.h"
#include "app/app.h"

const char* const zoneKeys[4] = { "ONE", "TWO", "THREE", "FOUR" };
const char* const dstKeys[4] = { "ONEDST", "TWODST", "THREEDST", "FOURDST" };
const char* const pinSections[4] = { "PIN1", "PIN2", "PIN3", "PIN4" };

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

void ReadClockSettings(void)
{
    for (int i = 0; i < CLOCK_COUNT; i++)
        clockZones[i].zoneIndex = (UINT)ReadSetting("ZONES", zoneKeys[i], i + 1);
    for (int i = 0; i < CLOCK_COUNT; i++)
        clockZones[i].dstInUse = (UINT)ReadSetting("ZONES", dstKeys[i], 0);
}

void SavePreferences(void)
{
    WriteSetting("PREFS", "ALIGN", alignPreference);
    WriteSetting("PREFS", "ONTOP", ontopPreference);
}
