// The bar's own surface: its caption strip, a column down the left of the docked bar or a
// titled row across the top of the floating window, and the stone texture around the panels.
#include "app/app.h"
#include "bar/bar.h"
#include "res/resource.h"
#include "res/version.h"
#include "zones/zones.h"

static void FillBox(HDC dc, int left, int top, int right, int bottom, HBRUSH brush)
{
    RECT box = { left, top, right, bottom };
    FillRect(dc, &box, brush);
}

// The program's name in the caption's colours and the panels' face, in italics.
static void DrawBarName(HDC dc, int x, int y)
{
    SetBkColor(dc, GetSysColor(COLOR_ACTIVECAPTION));
    SetTextColor(dc, GetSysColor(COLOR_CAPTIONTEXT));
    HFONT created = CreateBoldArial(14, TRUE);
    HGDIOBJ previous = SelectObject(dc, created);
    TextOutA(dc, x, y, VELMOR_NAME, sizeof VELMOR_NAME - 1);
    SelectObject(dc, previous);
    DeleteObject(created);
}

// Runs down to the docked strip's bottom edge, a screen coordinate that is at or below
// the client area's bottom, so the fill is clipped there whichever edge the bar is at.
static void PaintDockedFrame(HDC dc)
{
    const int top = CAPTION_STRIP_HEIGHT, right = CAPTION_COLUMN_WIDTH;   // under the globe
    int bottom = appBar.rc.bottom;
    // a cleared strip (bottom 0) draws nothing. Wine: it would fill an upside-down
    // rectangle; harmless on Windows, which fills none
    if (bottom <= top)
        return;
    FillBox(dc, 0, top, right - 4, bottom, GetSysColorBrush(COLOR_ACTIVECAPTION));
    FillBox(dc, right - 4, top, right - 2, bottom, (HBRUSH)GetStockObject(BLACK_BRUSH));
    FillBox(dc, right - 2, top, right, bottom, (HBRUSH)GetStockObject(WHITE_BRUSH));
}

static void PaintFloatingFrame(HDC dc)
{
    RECT window;
    GetWindowRect(barWindow, &window);
    int width = window.right - window.left;
    const int bottom = CAPTION_STRIP_HEIGHT;
    FillBox(dc, 14, 0, width, bottom - 2, GetSysColorBrush(COLOR_ACTIVECAPTION));

    DrawBarName(dc, CAPTION_COLUMN_WIDTH, 0);   // right of the globe

    FillBox(dc, 14, bottom - 2, width, bottom - 1, (HBRUSH)GetStockObject(BLACK_BRUSH));
    FillBox(dc, 14, bottom - 1, width, bottom, (HBRUSH)GetStockObject(WHITE_BRUSH));
}

// Windows keeps no pixels of a window, so whatever no child covers (right of the last filler
// panel; below or beside the panels where the sizing frame is thinner than Wine's 3 pixels)
// is painted here: the filler's tiles continue the panels, the caption strip left out. The
// children are clipped away.
void PaintStoneTexture(HDC dc, int mode)
{
    RECT window;   // larger than the client area, where the fill is clipped
    GetWindowRect(barWindow, &window);
    int left = mode == LAYOUT_DOCKED ? CAPTION_COLUMN_WIDTH : 0;
    int top = mode == LAYOUT_DOCKED ? 0 : CAPTION_STRIP_HEIGHT;
    for (int y = top; y < window.bottom - window.top; y += TEXTURE_HEIGHT)
        for (int x = left; x < window.right - window.left; x += PANEL_WIDTH)
            DrawStateA(dc, NULL, NULL, (LPARAM)fillerBitmap, 0, x, y, 0, 0, DST_BITMAP);
}

void PaintBarFrame(int mode)
{
    if (mode != LAYOUT_DOCKED && mode != LAYOUT_FLOATING)
        return;
    HDC dc = GetDC(barWindow);
    if (mode == LAYOUT_DOCKED)
        PaintDockedFrame(dc);
    else
        PaintFloatingFrame(dc);
    ReleaseDC(barWindow, dc);
}

// Wine on X, and Windows without a shell: the minimised window is a small box of its own
// (Wine's on X is 160 x 24 at the bottom left); the bar has no system caption, so nothing
// else would draw it. Harmless under Explorer, which keeps the minimised window off the screen.
void PaintMinimizedBox(void)
{
    RECT box;
    GetWindowRect(barWindow, &box);
    int width = box.right - box.left;
    int height = box.bottom - box.top;
    HDC dc = GetWindowDC(barWindow);
    FillBox(dc, 0, 0, width, height, (HBRUSH)GetStockObject(BLACK_BRUSH));
    FillBox(dc, 1, 1, width - 1, height - 1, GetSysColorBrush(COLOR_ACTIVECAPTION));
    int iconSize = height - 4 < 16 ? height - 4 : 16;
    HICON icon = LoadIconA(appInstance, MAKEINTRESOURCEA(IDI_VELMOR));
    DrawIconEx(dc, 3, (height - iconSize) / 2, icon, iconSize, iconSize, 0, NULL, DI_NORMAL);

    DrawBarName(dc, iconSize + 7, (height - 14) / 2);
    ReleaseDC(barWindow, dc);
}
