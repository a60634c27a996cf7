// The Properties dialog with its map, pins and zone regions; the about box.
#ifndef VELMOR_DIALOGS_H
#define VELMOR_DIALOGS_H

#include <windows.h>

#define ZONE_REGION_COUNT 29

INT_PTR CALLBACK PropertiesDlgProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
INT_PTR CALLBACK AboutDlgProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
LRESULT CALLBACK MapSubclassProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

// Open the dialogs modally, owned by the bar window.
void OpenPropertiesDialog(void);
void OpenAboutBox(void);

extern HWND propertiesDialog;      // the open Properties dialog, or NULL
extern HWND mapControl;            // the map static, while the dialog is open
extern HWND mapPins[4];            // pins 1 to 4, children of the map
extern WNDPROC previousMapProc;    // the map static's own procedure
extern int activePin;              // 1 to 4: the pin the next map click drops

void BuildZoneRegions(void);
void HitTestMapZone(int x, int y, int pinSlot);
void DeleteZoneRegions(void);
extern HRGN zoneRegions[ZONE_REGION_COUNT];
// Zone index under a map point, 0 when no region holds it (regions must be built).
UINT FindMapZone(int x, int y);

#endif
