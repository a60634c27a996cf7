// The zone lists' keys: Alt+Down and Alt+Up open and close a list, as F4 does.
#include "dialogs/dialogs.h"

static WNDPROC listProc;    // the combo box class's own procedure
static WNDPROC editProc;    // and that of the edit field inside each list
// 1 from an Alt+Down or Alt+Up that a list took until the Alt key is released
static int altChordUsed;

// Wine: a list takes Alt+Down itself, so Wine's menu key logic, which saw the Alt key go
// down, still waits for its release and would then put the dialog into menu mode, closing
// the list again: the release that ends such a chord is the list's own. Harmless on
// Windows, which starts no menu mode after a chord.
static BOOL IsListChordRelease(UINT message, WPARAM wParam)
{
    if (message == WM_SYSKEYDOWN && (wParam == VK_DOWN || wParam == VK_UP))
        altChordUsed = 1;
    else if ((message == WM_SYSKEYUP || message == WM_KEYUP) && wParam == VK_MENU && altChordUsed == 1) {
        altChordUsed = 0;
        return TRUE;
    }
    return FALSE;
}

static LRESULT CALLBACK ZoneListProc(HWND list, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (IsListChordRelease(message, wParam))
        return 0;
    return CallWindowProcA(listProc, list, message, wParam, lParam);
}

// the keys go to the edit field, which hands Alt+Down on to its list
static LRESULT CALLBACK ZoneListEditProc(HWND edit, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (IsListChordRelease(message, wParam))
        return 0;
    return CallWindowProcA(editProc, edit, message, wParam, lParam);
}

void TakeAltKeysInZoneLists(HWND dialog)
{
    altChordUsed = 0;
    for (int i = 0; i < CLOCK_COUNT; i++) {
        HWND list = GetDlgItem(dialog, zoneComboIds[i]);
        HWND edit = GetWindow(list, GW_CHILD);
        listProc = (WNDPROC)SetWindowLongPtrA(list, GWLP_WNDPROC, (LONG_PTR)ZoneListProc);
        if (edit)
            editProc = (WNDPROC)SetWindowLongPtrA(edit, GWLP_WNDPROC, (LONG_PTR)ZoneListEditProc);
    }
}

void ResetZoneListState(void)
{
    listProc = editProc = NULL;
    altChordUsed = 0;
}
