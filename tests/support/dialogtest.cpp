// Helpers for the dialog tests: opening them through the bar and acting inside them.
#include "dialogtest.h"
#include <gtest/gtest.h>
#include <stdio.h>
#include "barharness.h"
#include "testutil.h"
#include "app/app.h"
#include "bar/bar.h"
#include "dialogs/dialogs.h"
#include "res/resource.h"

void SendBarCommand(int command)
{
    SendMessageA(barWindow, WM_COMMAND, command, 0);
}

static const char* wantedCaption;
static std::function<void(HWND)> pendingAction;
static bool actionRan, acting, forcedShut;
static DWORD openedAt, giveUpAfter;

// Runs the action once the dialog is up; ends a dialog that is still open at the deadline.
// A long action (slow on a slow machine) is not cut short: the time counts again from its end.
static void CALLBACK LookForDialog(HWND, UINT, UINT_PTR, DWORD)
{
    if (acting)
        return;
    HWND dialog = FindWindowA("#32770", wantedCaption);
    if (dialog && IsWindowVisible(dialog) && pendingAction) {
        std::function<void(HWND)> act = pendingAction;
        pendingAction = nullptr;
        actionRan = acting = true;
        act(dialog);
        acting = false;
        openedAt = GetTickCount();
        return;
    }
    if (dialog && GetTickCount() - openedAt > giveUpAfter && !forcedShut) {
        forcedShut = true;
        EndDialog(dialog, 0);
    }
}

bool WhileDialogOpen(const char* caption, const std::function<void()>& open,
                     const std::function<void(HWND)>& act, DWORD timeoutMs)
{
    wantedCaption = caption;
    pendingAction = act;
    actionRan = acting = false;
    forcedShut = false;
    openedAt = GetTickCount();
    giveUpAfter = timeoutMs;
    UINT_PTR timer = SetTimer(NULL, 0, 20, LookForDialog);
    open();
    KillTimer(NULL, timer);
    pendingAction = nullptr;
    return actionRan && !forcedShut;
}

bool WhilePropertiesOpen(const std::function<void(HWND)>& act)
{
    return WhileDialogOpen("Properties for Velmor", [] { SendBarCommand(CMD_PROPERTIES); }, act);
}

bool WhileAboutOpen(const std::function<void(HWND)>& act)
{
    return WhileDialogOpen("Velmor", [] { SendBarCommand(CMD_ABOUT); }, act);
}

void InEachBarForm(const std::function<void()>& openAndCheck)
{
    for (const char* ini : { "[PREFS]\r\nALIGN=1\r\n", "[PREFS]\r\nALIGN=3\r\n", "[PREFS]\r\nALIGN=99\r\n" }) {
        SCOPED_TRACE(ini);
        ScratchDir dir;
        StartBar(ini);
        if (placement == PLACEMENT_FLOATING)
            SetWindowPos(barWindow, NULL, GetSystemMetrics(SM_CXSCREEN) - FLOATING_WIDTH,
                         GetSystemMetrics(SM_CYSCREEN) - FLOATING_HEIGHT, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
        RECT bar = WindowRect(barWindow);
        SetCursorPos((bar.left + bar.right) / 2, (bar.top + bar.bottom) / 2);
        openAndCheck();
        CloseBar();
    }
}

std::string DialogOutOfView(HWND dialog)
{
    RECT box = WindowRect(dialog), work, bar = WindowRect(barWindow), overlap;
    SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
    char report[200] = "";
    if (box.left < work.left || box.top < work.top || box.right > work.right || box.bottom > work.bottom)
        snprintf(report, sizeof report, "the dialog (%ld, %ld)-(%ld, %ld) is not inside the work area (%ld, %ld)-(%ld, %ld)",
                 box.left, box.top, box.right, box.bottom, work.left, work.top, work.right, work.bottom);
    else if (placement != PLACEMENT_FLOATING && IntersectRect(&overlap, &box, &bar))
        snprintf(report, sizeof report, "the dialog (%ld, %ld)-(%ld, %ld) covers the docked bar (%ld, %ld)-(%ld, %ld)",
                 box.left, box.top, box.right, box.bottom, bar.left, bar.top, bar.right, bar.bottom);
    return report;
}

RECT DialogUnitsToPixels(HWND dialog, int x, int y, int width, int height)
{
    // place and size are converted apart, as the dialog manager does when it creates controls
    RECT place = { x, y, width, height };
    MapDialogRect(dialog, &place);
    RECT rect = { place.left, place.top, place.left + place.right, place.top + place.bottom };
    return rect;
}

int ZoneSelection(HWND dialog, int clock)
{
    return (int)SendDlgItemMessageA(dialog, zoneComboIds[clock - 1], CB_GETCURSEL, 0, 0);
}

POINT PinAt(int clock)
{
    RECT rect;
    GetWindowRect(mapPins[clock - 1], &rect);
    MapWindowPoints(NULL, mapControl, (POINT*)&rect, 2);
    POINT corner = { rect.left, rect.top };
    return corner;
}

void PickZoneFromList(HWND dialog, int clock, int position)
{
    HWND combo = GetDlgItem(dialog, zoneComboIds[clock - 1]);
    SendMessageA(combo, CB_SHOWDROPDOWN, TRUE, 0);
    PumpFor(30);
    // while the list is down the selection follows without closing it
    SendMessageA(combo, CB_SETCURSEL, position, 0);
    SendMessageA(combo, CB_SHOWDROPDOWN, FALSE, 0);
    PumpFor(30);
}

void ReleaseOnMap(int x, int y)
{
    SendMessageA(mapControl, WM_LBUTTONUP, 0, MAKELPARAM(x, y));
}

std::string TextOf(HWND window)
{
    char text[512] = "";
    GetWindowTextA(window, text, sizeof text);
    return text;
}

static void SendMouse(DWORD flags, int x, int y)
{
    SetCursorPos(x, y);
    INPUT input = {};
    input.type = INPUT_MOUSE;
    int width = GetSystemMetrics(SM_CXSCREEN), height = GetSystemMetrics(SM_CYSCREEN);
    input.mi.dx = (x * 65536 + width - 1) / width;    // rounded up, so it maps back to x
    input.mi.dy = (y * 65536 + height - 1) / height;
    input.mi.dwFlags = flags | MOUSEEVENTF_ABSOLUTE | MOUSEEVENTF_MOVE;
    SendInput(1, &input, sizeof input);
    PumpFor(60);
}

void MouseDownAt(int x, int y, bool right)
{
    SendMouse(right ? MOUSEEVENTF_RIGHTDOWN : MOUSEEVENTF_LEFTDOWN, x, y);
}

void MouseUpAt(int x, int y, bool right)
{
    SendMouse(right ? MOUSEEVENTF_RIGHTUP : MOUSEEVENTF_LEFTUP, x, y);
}

COLORREF ScreenPixel(HWND window, int x, int y)
{
    POINT point = { x, y };
    ClientToScreen(window, &point);
    HDC screen = GetDC(NULL);
    COLORREF colour = GetPixel(screen, point.x, point.y);
    ReleaseDC(NULL, screen);
    return colour;
}
