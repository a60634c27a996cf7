// The settings file: one private-profile file in the current directory.
#ifndef VELMOR_SETTINGS_H
#define VELMOR_SETTINGS_H

#include <windows.h>

#define SETTINGS_FILE ".\\VELMOR.INI"

// The file's whole layout, each key an integer in decimal:
//   [PREFS]      ALIGN (1 top, 3 bottom, 99 floating), ONTOP (1 topmost, 0 not)
//   [ZONES]      ONE TWO THREE FOUR: each clock's zone index, 1 to 58;
//                ONEDST TWODST THREEDST FOURDST: 1 where the clock shows daylight-saving time
//   [PIN1] .. [PIN4]   X, Y: the pin's top-left corner on the Properties map

int ReadSetting(const char* section, const char* key, int defaultValue);
void WriteSetting(const char* section, const char* key, int value);

// [PREFS] into alignPreference and ontopPreference, and the edge ALIGN names into placement.
void LoadPreferences(void);
// Writes "ALIGN" then "ONTOP".
void SavePreferences(void);

// [ZONES] into each clock's zone index and DST switch in clockZones.
void LoadClockChoices(void);
// The zone index then the DST switch of a clock, from clockZones.
void SaveClockChoice(int clock);

// The place last stored for a clock's pin, (0, 0) when none is.
POINT LoadPinPlace(int clock);
void SavePinPlace(int clock, POINT place);

#endif
