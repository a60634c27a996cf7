// The about box: icon, name and version, and a note on daylight-saving time; where both
// dialogs open.
#include "dialogs/dialogs.h"
#include "app/app.h"
#include "bar/bar.h"
#include "res/resource.h"

HWND openDialog;

// The dialog manager keeps a dialog on the screen only: the about box would open on the bar's
// corner, the Properties dialog around the mouse or in the middle of a work area that still
// holds the bar (Wine's), over the bar or a taskbar at the edge.
void KeepDialogInView(HWND dialog)
{
    RECT area, box;
    GetFreeArea(&area);
    GetWindowRect(dialog, &box);
    int left = box.left, top = box.top;
    if (left > area.right - (box.right - box.left))
        left = area.right - (box.right - box.left);
    if (top > area.bottom - (box.bottom - box.top))
        top = area.bottom - (box.bottom - box.top);
    if (left < area.left)
        left = area.left;
    if (top < area.top)
        top = area.top;
    SetWindowPos(dialog, NULL, left, top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void OpenAboutBox(void)
{
    HWND outer = openDialog;
    DialogBoxParamA(appInstance, MAKEINTRESOURCEA(IDD_ABOUT), barWindow, AboutDlgProc, 0);
    openDialog = outer;
}

INT_PTR CALLBACK AboutDlgProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_INITDIALOG:
        openDialog = dialog;
        KeepDialogInView(dialog);
        return TRUE;    // the focus goes to OK, the first tab stop
    case WM_COMMAND:
        // Escape arrives as IDCANCEL and deliberately leaves the box open
        if (wParam == IDOK)
            EndDialog(dialog, 0);
        return TRUE;
    case WM_WINDOWPOSCHANGED:
        TakeKeyboardWhenShown(dialog, (const WINDOWPOS*)lParam);
        return FALSE;
    case WM_CLOSE:
    case WM_DESTROY:
        EndDialog(dialog, 0);
        return TRUE;
    }
    return FALSE;
}
