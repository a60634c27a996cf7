// The about box: icon, name and version, and a note on daylight-saving time.
#include "dialogs/dialogs.h"
#include "app/app.h"
#include "bar/bar.h"
#include "res/resource.h"

void OpenAboutBox(void)
{
    RunModalDialog(IDD_ABOUT, AboutDlgProc);
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
