// The bar's child windows and bitmaps.
#include "bar/bar.h"

HWND cornerBitmap, minimizeButton, closeButton;
HWND clockPanels[4];
HWND fillerPanels[FILLER_COUNT];
HBITMAP globeDockedBitmap, globeFloatingBitmap;
HBITMAP minimizeUpBitmap, minimizeDownBitmap;
HBITMAP closeUpBitmap, closeDownBitmap;
HBITMAP panelBitmap, fillerBitmap;
HBITMAP pinBitmaps[4];
HBITMAP mapBitmap;

void LayOutBar(int)
{
}

void DrawAllClockPanels(void)
{
}
