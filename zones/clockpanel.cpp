// DrawClockPanel: the time and the zone name, written into a panel's white display area.
#include "app/app.h"
#include "zones/zones.h"

static void DrawPanelLine(HDC dc, const char* text, int height, BYTE italic, RECT box)
{
    FillRect(dc, &box, (HBRUSH)GetStockObject(WHITE_BRUSH));
    HFONT created = CreateBoldArial(height, italic);
    HGDIOBJ previous = SelectObject(dc, created);
    // DT_NOCLIP: an over-long text runs onto the frame instead of being cut
    DrawTextA(dc, text, -1, &box, DT_CENTER | DT_NOCLIP);
    SelectObject(dc, previous);
    DeleteObject(created);
}

void DrawClockPanel(HWND panel, const char* name, const char* timeText)
{
    HDC dc = GetDC(panel);
    SetBkColor(dc, RGB(255, 255, 255));
    SetTextColor(dc, RGB(0, 0, 0));
    RECT timeBox = { 15, 8, 127, 24 };
    RECT nameBox = { 15, 24, 127, 35 };
    DrawPanelLine(dc, timeText, 18, FALSE, timeBox);
    DrawPanelLine(dc, name, 12, TRUE, nameBox);
    ReleaseDC(panel, dc);
}
