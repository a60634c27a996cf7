// The settings file: one private-profile file in the current directory.
#ifndef VELMOR_SETTINGS_H
#define VELMOR_SETTINGS_H

#define SETTINGS_FILE ".\\VELMOR.INI"

extern const char* const zoneKeys[4];     // "ONE" .. "FOUR", section "ZONES"
extern const char* const dstKeys[4];      // "ONEDST" .. "FOURDST"
extern const char* const pinSections[4];  // "PIN1" .. "PIN4"

int ReadSetting(const char* section, const char* key, int defaultValue);
void WriteSetting(const char* section, const char* key, int value);

// Reads each clock's zone index and DST switch into clockZones.
void ReadClockSettings(void);
// Writes "ALIGN" then "ONTOP" of section "PREFS".
void SavePreferences(void);

#endif
