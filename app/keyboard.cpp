// Taking the keyboard, for the popup menu and the dialogs, on Windows and on Wine's desktops.
#include "app/app.h"

// Wine on X: it gives the X input focus to one of its windows only when the Win32 focus
// changes. Once a dialog has closed, a window manager may hand the X focus back to another
// program while Win32 still counts ours as focused; moving the focus away and back takes it
// again. Harmless on Windows, where SetForegroundWindow alone does it.
void TakeKeyboard(HWND window, HWND focus)
{
    SetForegroundWindow(window);
    SetFocus(NULL);
    SetFocus(focus);
}

// Wine on X: a dialog gets its focus before it is on the screen, when there is no window yet
// for the X focus to go to; once shown, it takes the keyboard with the focus it already
// has. Harmless on Windows, where the dialog has it already.
void TakeKeyboardWhenShown(HWND window, const WINDOWPOS* change)
{
    if (change->flags & SWP_SHOWWINDOW)
        TakeKeyboard(window, GetFocus());
}
