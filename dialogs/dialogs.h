// The Properties dialog with its map, pins and zone regions; the about box.
#ifndef VELMOR_DIALOGS_H
#define VELMOR_DIALOGS_H

#include <windows.h>
#include "zones/zones.h"

#define ZONE_REGION_COUNT 29
// The map's frame in the dialog's units, between the banner and the column headings: at
// 96 dpi it is the map's own place, (125, 75), and it grows with the system font
#define MAP_FRAME_LEFT   83
#define MAP_FRAME_TOP    46
#define MAP_FRAME_WIDTH  240
#define MAP_FRAME_HEIGHT 116
#define MAP_WIDTH   360     // the map control and its bitmap, pixels at any dpi
#define MAP_HEIGHT  188
#define PIN_SIZE    8

INT_PTR CALLBACK PropertiesDlgProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
INT_PTR CALLBACK AboutDlgProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
LRESULT CALLBACK MapSubclassProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

// Open the dialogs modally, owned by the bar window.
void OpenPropertiesDialog(void);
void OpenAboutBox(void);
// Runs the dialog of template id modally, owned by the bar window; the dialog it opened
// over, if any, is the one the user works in again once it has closed.
void RunModalDialog(int id, DLGPROC procedure);
// Moves a dialog just far enough to lie wholly in the work area, clear of the docked bar.
void KeepDialogInView(HWND dialog);
// The dialog the user works in: the one opened last of those open (the tray icon's menu can
// open the about box over the Properties dialog, or this over that), or NULL.
extern HWND openDialog;

// Each clock's controls: zone list, DST box, pin button.
extern const int zoneComboIds[CLOCK_COUNT];
extern const int dstBoxIds[CLOCK_COUNT];
extern const int pinButtonIds[CLOCK_COUNT];

extern HWND propertiesDialog;      // the open Properties dialog, or NULL
extern HWND mapControl;            // the map static, while the dialog is open
extern HWND mapPins[CLOCK_COUNT];  // each clock's pin, children of the map
extern WNDPROC previousMapProc;    // the map static's own procedure
extern int activePin;              // the clock whose pin the next map click drops

// The map and its pins, from the dialog's WM_INITDIALOG to its WM_DESTROY.
void CreateMapAndPins(HWND dialog);
// Alt+Down and Alt+Up on a zone list open and close it, as F4 does, the keyboard staying
// in the dialog.
void TakeAltKeysInZoneLists(HWND dialog);
// The map control's place in the dialog's client area, pixels: centred in its frame.
POINT MapPlace(HWND dialog);
void ChooseActivePin(int clock);
void MovePin(int clock, int x, int y);
POINT GetPinPosition(int clock);
void ReleaseMapAndPins(void);

void BuildZoneRegions(void);
// Selects the zone under a map point in the clock's list; no region, no change.
void HitTestMapZone(int x, int y, int clock);
void DeleteZoneRegions(void);
extern HRGN zoneRegions[ZONE_REGION_COUNT];   // in the header for the tests
// Zone index under a map point, 0 when no region holds it (regions must be built).
UINT FindMapZone(int x, int y);

// For ResetProgramState: the open dialogs and the regions; the map and pins; the lists' keys.
void ResetDialogState(void);
void ResetMapState(void);
void ResetZoneListState(void);

#endif
