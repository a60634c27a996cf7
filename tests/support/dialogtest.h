// Helpers for the dialog tests: opening them through the bar and acting inside them.
#ifndef VELMOR_DIALOGTEST_H
#define VELMOR_DIALOGTEST_H

#include <windows.h>
#include <functional>
#include <string>

// Sends a menu command to the bar window; for 2 and 5 it returns when the dialog has closed.
void SendBarCommand(int command);

// Runs open(); once a top-level dialog with the caption is up, act(dialog) runs inside its
// modal loop. act must close it, or post what closes it; a dialog still open timeoutMs
// after it opened, or after act has returned, is ended. Returns whether act ran and the
// dialog closed by itself.
bool WhileDialogOpen(const char* caption, const std::function<void()>& open,
                     const std::function<void(HWND)>& act, DWORD timeoutMs = 20000);
bool WhilePropertiesOpen(const std::function<void(HWND)>& act);
bool WhileAboutOpen(const std::function<void(HWND)>& act);

// Starts the bar in each form a dialog must open clear of: docked at the top, docked at the
// bottom, and floating in the screen's bottom-right corner; with the cursor on the bar (where
// the menu was) it runs openAndCheck, then closes the bar.
void InEachBarForm(const std::function<void()>& openAndCheck);
// "" when the dialog's window lies wholly inside the work area and clear of the docked bar,
// else where it is.
std::string DialogOutOfView(HWND dialog);

// A rectangle in the dialog's units turned into pixels of its client area.
RECT DialogUnitsToPixels(HWND dialog, int x, int y, int width, int height);

// The combo box's list position, and its clock's pin position, for clock 1 to 4.
int ZoneSelection(HWND dialog, int clock);
POINT PinAt(int clock);

// Drops the list of clock n's zone box, picks list position p with the keyboard, closes it.
void PickZoneFromList(HWND dialog, int clock, int position);

// The left button's release on the Properties map, at a point of the map control.
void ReleaseOnMap(int x, int y);

// A window's text.
std::string TextOf(HWND window);

// A real left or right click with the mouse, in screen coordinates.
void MouseDownAt(int x, int y, bool right = false);
void MouseUpAt(int x, int y, bool right = false);

// Colour of a pixel of a window's client area as drawn on the screen.
COLORREF ScreenPixel(HWND window, int x, int y);

#endif
