// The map control and its four pins.
#include "dialogs/dialogs.h"

HWND mapControl;
HWND mapPins[4];
WNDPROC previousMapProc;
int activePin;

LRESULT CALLBACK MapSubclassProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    return CallWindowProcA(previousMapProc, window, message, wParam, lParam);
}
