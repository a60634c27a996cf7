// What both dialogs share: the modal run, which one the user works in, and where they open.
#include "dialogs/dialogs.h"
#include "app/app.h"
#include "bar/bar.h"

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

void RunModalDialog(int id, DLGPROC procedure)
{
    HWND outer = openDialog;
    DialogBoxParamA(appInstance, MAKEINTRESOURCEA(id), barWindow, procedure, 0);
    openDialog = outer;
}

void ResetDialogState(void)
{
    openDialog = propertiesDialog = NULL;
    for (int i = 0; i < ZONE_REGION_COUNT; i++)
        zoneRegions[i] = NULL;
}
