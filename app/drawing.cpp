// Drawing that more than one window of the program shares: the panels' and the caption
// strip's face, the bitmap statics of the bar and the Properties map.
#include "app/app.h"

HFONT CreateBoldArial(int height, BYTE italic)
{
    LOGFONTA font = {};
    font.lfHeight = height;
    font.lfWeight = FW_BOLD;
    font.lfItalic = italic;
    lstrcpynA(font.lfFaceName, "Arial", LF_FACESIZE);
    return CreateFontIndirectA(&font);
}

HWND CreateBitmapStatic(HWND parent, int x, int y, int width, int height, HBITMAP picture, BOOL visible)
{
    DWORD style = WS_CHILD | SS_BITMAP | SS_NOTIFY | (visible ? WS_VISIBLE : 0);
    HWND child = CreateWindowExA(0, "STATIC", "", style, x, y, width, height, parent, NULL, appInstance, NULL);
    SendMessageA(child, STM_SETIMAGE, IMAGE_BITMAP, (LPARAM)picture);
    return child;
}
