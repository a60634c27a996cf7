// Starting and closing the real bar window inside a test program.
#ifndef VELMOR_BARHARNESS_H
#define VELMOR_BARHARNESS_H

#include <windows.h>
#include <string>
#include "app/app.h"   // ResetProgramState, which each start calls first

// Writes VELMOR.INI (if text is not empty) in the current directory, then runs the
// program's start-up up to the message loop. Returns the bar window.
HWND StartBar(const std::string& iniText = "");
// Destroys the bar window (running its shutdown) and drains the queue.
void CloseBar(void);

bool IsTopmost(HWND window);
bool OntopChecked(void);            // the menu's "Always on top" tick
bool TrayIconExists(HWND owner, UINT id);
RECT WindowRect(HWND window);
RECT ChildRect(HWND child);         // in the parent's client coordinates

// Every pixel of the bar's client area as it stands: each that no visible child covers,
// outside the caption strip, shows the filler panels' stone texture continued from the row
// of filler panels (docked) or the column of clock panels (floating). Returns "" or what
// was wrong.
std::string CheckSurface(HWND bar);
// The same once the bar has been painted over in a loud colour and repainted the Windows
// way; no pixel may keep the loud colour.
std::string CheckRepaintedSurface(HWND bar);
#endif
