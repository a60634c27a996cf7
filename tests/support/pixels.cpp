// Reading back what a window shows, as pixels.
#include "pixels.h"

// 32-bit pixels, top row first.
static BITMAPINFO TopDownFormat(int width, int height)
{
    BITMAPINFO format = {};
    format.bmiHeader.biSize = sizeof format.bmiHeader;
    format.bmiHeader.biWidth = width;
    format.bmiHeader.biHeight = -height;
    format.bmiHeader.biPlanes = 1;
    format.bmiHeader.biBitCount = 32;
    return format;
}

Picture Snapshot(HWND window)
{
    Picture picture;
    RECT client;
    GetClientRect(window, &client);
    picture.width = client.right;
    picture.height = client.bottom;
    if (picture.width <= 0 || picture.height <= 0)
        return picture;

    BITMAPINFO info = TopDownFormat(picture.width, picture.height);
    void* bits = NULL;
    HDC windowDc = GetDC(window);
    HDC memoryDc = CreateCompatibleDC(windowDc);
    HBITMAP surface = CreateDIBSection(windowDc, &info, DIB_RGB_COLORS, &bits, NULL, 0);
    HGDIOBJ previous = SelectObject(memoryDc, surface);
    BitBlt(memoryDc, 0, 0, picture.width, picture.height, windowDc, 0, 0, SRCCOPY);
    GdiFlush();
    const DWORD* row = (const DWORD*)bits;
    picture.pixels.resize(picture.width * picture.height);
    for (int i = 0; i < picture.width * picture.height; i++) {
        DWORD p = row[i];   // 0x00RRGGBB
        picture.pixels[i] = RGB((p >> 16) & 0xFF, (p >> 8) & 0xFF, p & 0xFF);
    }
    SelectObject(memoryDc, previous);
    DeleteObject(surface);
    DeleteDC(memoryDc);
    ReleaseDC(window, windowDc);
    return picture;
}

bool IsDark(COLORREF c)
{
    return GetRValue(c) < 110 && GetGValue(c) < 110 && GetBValue(c) < 110;
}

bool IsGrey(COLORREF c)
{
    return GetRValue(c) == GetGValue(c) && GetGValue(c) == GetBValue(c);
}

RECT FindPixels(const Picture& picture, RECT area, bool (*test)(COLORREF))
{
    RECT box = { area.right, area.bottom, area.left, area.top };
    for (int y = area.top; y < area.bottom && y < picture.height; y++)
        for (int x = area.left; x < area.right && x < picture.width; x++)
            if (test(picture.At(x, y))) {
                box.left = x < box.left ? x : box.left;
                box.top = y < box.top ? y : box.top;
                box.right = x + 1 > box.right ? x + 1 : box.right;
                box.bottom = y + 1 > box.bottom ? y + 1 : box.bottom;
            }
    if (box.left >= box.right)
        SetRectEmpty(&box);
    return box;
}

int CountPixels(const Picture& picture, RECT area, COLORREF colour)
{
    int count = 0;
    for (int y = area.top; y < area.bottom && y < picture.height; y++)
        for (int x = area.left; x < area.right && x < picture.width; x++)
            if (picture.At(x, y) == colour)
                count++;
    return count;
}

static void FillClientOn(HDC dc, HWND window, COLORREF colour)
{
    RECT client;
    GetClientRect(window, &client);
    HBRUSH brush = CreateSolidBrush(colour);
    FillRect(dc, &client, brush);
    DeleteObject(brush);
}

void FillClient(HWND window, COLORREF colour)
{
    HDC dc = GetDC(window);
    FillClientOn(dc, window, colour);
    ReleaseDC(window, dc);
}

void PaintOverAndRedraw(HWND window, COLORREF colour)
{
    HDC dc = GetDCEx(window, NULL, DCX_CACHE);   // without DCX_CLIPCHILDREN: over the children too
    FillClientOn(dc, window, colour);
    ReleaseDC(window, dc);
    RedrawWindow(window, NULL, NULL, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
}

std::vector<DWORD> BitmapPixels(HBITMAP bitmap)
{
    BITMAP size = {};
    GetObjectA(bitmap, sizeof size, &size);
    std::vector<DWORD> pixels(size.bmWidth * size.bmHeight);
    if (pixels.empty())
        return pixels;
    BITMAPINFO format = TopDownFormat(size.bmWidth, size.bmHeight);
    HDC screen = GetDC(NULL);
    int rows = GetDIBits(screen, bitmap, 0, size.bmHeight, pixels.data(), &format, DIB_RGB_COLORS);
    ReleaseDC(NULL, screen);
    if (rows != size.bmHeight)
        pixels.clear();
    for (DWORD& pixel : pixels)
        pixel &= 0xFFFFFF;
    return pixels;
}
