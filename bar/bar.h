// The bar window: children and bitmaps, window procedure, docking, frame, menu and tray icon.
#ifndef VELMOR_BAR_H
#define VELMOR_BAR_H

#include <windows.h>
#include "zones/zones.h"

#define FILLER_COUNT    4

// The bar's geometry, pixels. A clock or filler panel is 145 x 49; the docked bar puts the
// globe's 18-pixel column left of the row of panels, the floating window its 16-pixel
// caption strip above the column of clocks.
#define PANEL_WIDTH          145
#define PANEL_HEIGHT         49
#define TEXTURE_HEIGHT       48   // the panels' bitmaps, a row short of the panel
#define CAPTION_COLUMN_WIDTH 18
#define CAPTION_STRIP_HEIGHT 16
#define FLOATING_WIDTH       151
#define FLOATING_HEIGHT      218
#define FLOATING_START_X     35   // where the floating window opens at start-up
#define FLOATING_START_Y     35
#define DOCKED_HEIGHT        54   // at start-up
#define DOCKED_HEIGHT_AFTER_DRAG 55

// Child windows of the bar (all STATIC, id 0, SS_NOTIFY).
extern HWND cornerBitmap;
extern HWND minimizeButton;
extern HWND closeButton;
extern HWND clockPanels[CLOCK_COUNT];
extern HWND fillerPanels[FILLER_COUNT];   // NULL where the screen is too narrow

// Bitmaps loaded once by LayOutBar, deleted at shutdown.
extern HBITMAP globeDockedBitmap, globeFloatingBitmap;
extern HBITMAP minimizeUpBitmap, minimizeDownBitmap;
extern HBITMAP closeUpBitmap, closeDownBitmap;
extern HBITMAP panelBitmap, fillerBitmap;
extern HBITMAP pinBitmaps[CLOCK_COUNT];   // one pin a clock
extern HBITMAP mapBitmap;

void LayOutBar(int mode);
// Where a clock's panel stands in the bar's client area in the given layout.
POINT ClockPanelPlace(int clock, int mode);
// Moves the four clock panels to their places in the given layout.
void PlaceClockPanels(int mode, UINT flags);
// Makes the filler panels that screenWidth calls for and drops the others.
void FitFillerPanels(BOOL visible);
LRESULT CALLBACK BarWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

// Redraws the four clock panels with their stored texts.
void DrawAllClockPanels(void);
// The same for one panel; a filler panel has no clock.
void DrawClockOfPanel(HWND panel);
// Lets each clock panel paint its bitmap, then draws the clocks on top.
void RepaintClockPanels(void);

void PaintBarFrame(int mode);
// Fills what no child covers with the filler panels' stone texture, on an erase's DC.
void PaintStoneTexture(HDC dc, int mode);
// The minimised window's box, where the system shows one (no shell, or Wine's on X):
// the icon and the name on the caption colour.
void PaintMinimizedBox(void);

// The form a drag has chosen, 0 (no placement) until the first WM_MOVING; in the header
// for the tests, as is ChooseEdge, the placement under a screen point.
extern int selectedPlacement;
int ChooseEdge(int x, int y);
// The strip the shell leaves for the bar at edge (ABE_TOP or ABE_BOTTOM), in appBar.rc.
void QueryBarPosition(UINT edge);
void DockBar(void);
// The work area less the docked bar's strip: where other windows may stand whole.
void GetFreeArea(RECT* area);
void ReleaseBarSpace(void);
void OnAppBarNotify(WPARAM code, LPARAM lParam);
// The drag handlers: the proposed rectangle may be changed in place.
void OnBarMoving(RECT* dragRect);
void OnBarSizing(RECT* sizeRect);
void OnBarExitSizeMove(void);
void FitBarToScreen(void);

void ShowBarMenu(int x, int y);
void ShowMenuAtCursor(void);
void SetTrayIcon(DWORD action);
void HandleTrayNotify(UINT iconId, UINT mouseMessage);
// Restores the minimised floating window and brings it to the front.
void BringBackMinimizedBar(void);

// For ResetProgramState: the children and bitmaps, the drag's choice, the tray menu's timers.
void ResetBarLayoutState(void);
void ResetDockingState(void);
void ResetTrayMenuState(void);

#endif
