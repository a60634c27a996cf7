// The Properties dialog: each clock's zone list, DST box and pin; OK commits them.
#include "dialogs/dialogs.h"
#include "app/app.h"
#include "bar/bar.h"
#include "res/resource.h"
#include "settings/settings.h"
#include "zones/zones.h"

const int zoneComboIds[CLOCK_COUNT] = { IDC_ZONE1, IDC_ZONE2, IDC_ZONE3, IDC_ZONE4 };
const int dstBoxIds[CLOCK_COUNT] = { IDC_DST1, IDC_DST2, IDC_DST3, IDC_DST4 };
const int pinButtonIds[CLOCK_COUNT] = { IDC_PINBUTTON1, IDC_PINBUTTON2, IDC_PINBUTTON3, IDC_PINBUTTON4 };

HWND propertiesDialog;

void OpenPropertiesDialog(void)
{
    // the tray menu still reaches the disabled bar; a second dialog would take over the first's
    // map: the map, pins and regions exist once only
    if (propertiesDialog)
        return;
    RunModalDialog(IDD_PROPERTIES, PropertiesDlgProc);
}

static void ShowClockChoices(HWND dialog)
{
    // each control is looked up once: every lookup searches the dialog's 23 controls
    HWND lists[CLOCK_COUNT];
    for (int i = 0; i < CLOCK_COUNT; i++)
        lists[i] = GetDlgItem(dialog, zoneComboIds[i]);
    // the lists redraw once the dialog shows, not after each of their 58 names and choices
    for (int i = 0; i < CLOCK_COUNT; i++)
        SendMessageA(lists[i], WM_SETREDRAW, FALSE, 0);
    for (int i = 0; i < CLOCK_COUNT; i++)
        AddZoneNames(lists[i]);
    // an index outside 1 to 58 becomes position -1 or beyond the list: no selection
    for (int i = 0; i < CLOCK_COUNT; i++)
        SendMessageA(lists[i], CB_SETCURSEL, clockZones[i].zoneIndex - 1, 0);
    for (int i = 0; i < CLOCK_COUNT; i++)
        SendMessageA(lists[i], WM_SETREDRAW, TRUE, 0);
    // a box may end up ticked and disabled at once
    for (int i = 0; i < CLOCK_COUNT; i++) {
        HWND box = GetDlgItem(dialog, dstBoxIds[i]);
        if (clockZones[i].dstInUse == 1)
            SendMessageA(box, BM_SETCHECK, BST_CHECKED, 0);
        EnableWindow(box, clockZones[i].dstCapable == 1);
    }
    for (int i = 0; i < CLOCK_COUNT; i++)
        SendDlgItemMessageA(dialog, pinButtonIds[i], BM_SETIMAGE, IMAGE_BITMAP, (LPARAM)pinBitmaps[i]);
}

static BOOL OnPropertiesInit(HWND dialog)
{
    propertiesDialog = dialog;   // open from its first message to its last
    KeepDialogInView(dialog);
    ShowClockChoices(dialog);
    TakeAltKeysInZoneLists(dialog);
    CreateMapAndPins(dialog);
    BuildZoneRegions();
    openDialog = dialog;
    SendDlgItemMessageA(dialog, IDC_PINBUTTON1, BM_SETCHECK, BST_CHECKED, 0);
    ChooseActivePin(0);
    // checking pin button 1 made it a tab stop (the platform's rule for radio buttons), so
    // the platform's choice would be that button: put the focus on clock 1's list ourselves
    SetFocus(GetDlgItem(dialog, IDC_ZONE1));
    return FALSE;
}

// A closed list moves its clock's pin to the zone's own place; the DST tick stays.
static void OnZoneListClosed(HWND dialog, int clock)
{
    LRESULT position = SendDlgItemMessageA(dialog, zoneComboIds[clock], CB_GETCURSEL, 0, 0);
    // without a selection there is no place to move to and no DST capability to show
    if (position < 0 || position >= ZONE_COUNT)
        return;
    ZoneRecord zoneRecord = {};
    zoneRecord.zoneIndex = (UINT)position + 1;
    LookupZone(&zoneRecord);
    MovePin(clock, zoneRecord.mapX, zoneRecord.mapY);
    UpdateWindow(mapPins[clock]);
    EnableWindow(GetDlgItem(dialog, dstBoxIds[clock]), zoneRecord.dstCapable == 1);
}

static void StoreClockChoices(HWND dialog)
{
    for (int i = 0; i < CLOCK_COUNT; i++) {
        POINT pin = GetPinPosition(i);
        ZoneRecord* zone = &clockZones[i];
        // no selection reads as CB_ERR (-1), that is zone 0
        zone->zoneIndex = (UINT)(SendDlgItemMessageA(dialog, zoneComboIds[i], CB_GETCURSEL, 0, 0) + 1);
        zone->dstInUse = SendDlgItemMessageA(dialog, dstBoxIds[i], BM_GETCHECK, 0, 0) == BST_CHECKED ? 1 : 0;
        LookupZone(zone);
        SaveClockChoice(i);
        SavePinPlace(i, pin);
    }
    EndDialog(dialog, 0);
}

static int ClockOfControl(const int* ids, int id)
{
    for (int i = 0; i < CLOCK_COUNT; i++)
        if (ids[i] == id)
            return i;
    return -1;
}

static void OnPropertiesCommand(HWND dialog, int id, int code)
{
    if (code == CBN_CLOSEUP) {
        int clock = ClockOfControl(zoneComboIds, id);
        if (clock >= 0)
            OnZoneListClosed(dialog, clock);
        return;
    }
    int pinClock = ClockOfControl(pinButtonIds, id);
    if (code == BN_CLICKED && pinClock >= 0) {
        ChooseActivePin(pinClock);
        return;
    }
    if (id == IDC_PROPERTIES_OK && code == BN_CLICKED)
        StoreClockChoices(dialog);
    else if (id == IDCANCEL && code == BN_CLICKED)
        EndDialog(dialog, 0);
}

// The banner's static loads its picture from the template itself and leaves it behind
// when it goes; take it back and free it with the dialog.
static void ReleaseBanner(HWND dialog)
{
    for (HWND child = GetWindow(dialog, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        if ((WORD)GetDlgCtrlID(child) != 0xFFFF || (GetWindowLongA(child, GWL_STYLE) & SS_TYPEMASK) != SS_BITMAP)
            continue;
        HGDIOBJ picture = (HGDIOBJ)SendMessageA(child, STM_SETIMAGE, IMAGE_BITMAP, 0);
        if (picture)
            DeleteObject(picture);
    }
}

static void OnPropertiesDestroy(HWND dialog)
{
    ReleaseBanner(dialog);
    ReleaseMapAndPins();
    DeleteZoneRegions();
    propertiesDialog = NULL;
}

INT_PTR CALLBACK PropertiesDlgProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_INITDIALOG:
        return OnPropertiesInit(dialog);
    case WM_COMMAND:
        OnPropertiesCommand(dialog, LOWORD(wParam), HIWORD(wParam));
        return TRUE;
    case WM_WINDOWPOSCHANGED:
        TakeKeyboardWhenShown(dialog, (const WINDOWPOS*)lParam);
        return FALSE;
    case WM_CLOSE:
        EndDialog(dialog, 0);   // the close box: nothing is stored
        return TRUE;
    case WM_DESTROY:
        OnPropertiesDestroy(dialog);
        return TRUE;
    }
    return FALSE;
}
