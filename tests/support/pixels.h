// Reading back what a window shows, as pixels.
#ifndef VELMOR_PIXELS_H
#define VELMOR_PIXELS_H

#include <windows.h>
#include <vector>

// The client area of a window as it stands, row by row (COLORREF values).
struct Picture {
    int width = 0, height = 0;
    std::vector<COLORREF> pixels;
    COLORREF At(int x, int y) const { return pixels[y * width + x]; }
    bool operator==(const Picture& other) const
    {
        return width == other.width && height == other.height && pixels == other.pixels;
    }
};
Picture Snapshot(HWND window);

// Every pixel of a bitmap as 0xRRGGBB, top row first.
std::vector<DWORD> BitmapPixels(HBITMAP bitmap);

// Paints the whole client area in one colour, over whatever the window drew.
void FillClient(HWND window, COLORREF colour);
// Paints the client area and every child over in one colour, then has them all paint again
// as Windows does when something has covered them: it keeps none of their pixels.
void PaintOverAndRedraw(HWND window, COLORREF colour);

bool IsDark(COLORREF colour);       // text ink: each channel below 110
bool IsGrey(COLORREF colour);       // equal channels: white, black or anti-aliased ink

// Bounding box of the pixels within area that satisfy test; empty when none do.
RECT FindPixels(const Picture& picture, RECT area, bool (*test)(COLORREF));
int CountPixels(const Picture& picture, RECT area, COLORREF colour);

#endif
