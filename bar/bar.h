// The bar window: children and bitmaps, window procedure, docking, frame, menu and tray icon.
#ifndef VELMOR_BAR_H
#define VELMOR_BAR_H

#include <windows.h>

#define LAYOUT_DOCKED   1
#define LAYOUT_FLOATING 2
#define FILLER_COUNT    4

// Child windows of the bar (all STATIC, id 0, SS_NOTIFY).
extern HWND cornerBitmap;
extern HWND minimizeButton;
extern HWND closeButton;
extern HWND clockPanels[4];
extern HWND fillerPanels[FILLER_COUNT];   // NULL where the screen is too narrow

// Bitmaps loaded once by LayOutBar, deleted at shutdown.
extern HBITMAP globeDockedBitmap, globeFloatingBitmap;
extern HBITMAP minimizeUpBitmap, minimizeDownBitmap;
extern HBITMAP closeUpBitmap, closeDownBitmap;
extern HBITMAP panelBitmap, fillerBitmap;
extern HBITMAP pinBitmaps[4];
extern HBITMAP mapBitmap;

void LayOutBar(int mode);
// Makes the filler panels that screenWidth calls for and drops the others.
void FitFillerPanels(BOOL visible);
LRESULT CALLBACK BarWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

// Redraws the four clock panels with their stored texts.
void DrawAllClockPanels(void);
// The same for one panel; a filler panel has no clock.
void DrawClockOfPanel(HWND panel);

void PaintBarFrame(int mode);
// The minimised window's box, where the system shows one (no shell, or Wine's on X):
// the icon and the name on the caption colour.
void PaintMinimizedBox(void);

extern int selectedPlacement;
int ChooseEdge(int x, int y);
void DockBar(void);
void ReleaseBarSpace(void);
void OnAppBarNotify(WPARAM code, LPARAM lParam);
// The drag handlers: the proposed rectangle may be changed in place.
void OnBarMoving(RECT* dragRect);
void OnBarSizing(RECT* sizeRect);
void OnBarExitSizeMove(void);
void FitBarToScreen(void);

void ShowBarMenu(int x, int y);
void SetTrayIcon(DWORD action);
void HandleTrayNotify(UINT iconId, UINT mouseMessage);
// Restores the minimised floating window and brings it to the front.
void BringBackMinimizedBar(void);

#endif
