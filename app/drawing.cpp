// Drawing that the bar and the dialogs share: the bitmap statics.
#include "app/app.h"

HWND CreateBitmapStatic(HWND parent, int x, int y, int width, int height, HBITMAP picture, BOOL visible)
{
    DWORD style = WS_CHILD | SS_BITMAP | SS_NOTIFY | (visible ? WS_VISIBLE : 0);
    HWND child = CreateWindowExA(0, "STATIC", "", style, x, y, width, height, parent, NULL, appInstance, NULL);
    SendMessageA(child, STM_SETIMAGE, IMAGE_BITMAP, (LPARAM)picture);
    return child;
}
