// The program's bitmaps, icon and cursor as loaded from its resources: sizes, depths and key pixels.
#include <windows.h>
#include <gtest/gtest.h>
#include <vector>
#include "res/resource.h"
#include "pixels.h"

namespace {

HINSTANCE Self() { return GetModuleHandleA(NULL); }

// Pixels of a bitmap resource as 0xRRGGBB, top row first.
std::vector<DWORD> Pixels(int id, int w, int h)
{
    HBITMAP bmp = LoadBitmapA(Self(), MAKEINTRESOURCEA(id));
    std::vector<DWORD> px = BitmapPixels(bmp);
    DeleteObject(bmp);
    EXPECT_EQ((size_t)(w * h), px.size()) << "bitmap " << id;
    px.resize(w * h);
    return px;
}

const DWORD WHITE = 0xFFFFFF;

}  // namespace

TEST(Artwork, BitmapSizesAndStoredDepths)
{
    struct Case { int id, w, h, bits; } cases[] = {
        {IDB_GLOBE_DOCKED, 18, 16, 4}, {IDB_GLOBE_FLOATING, 14, 16, 4},
        {IDB_MINIMIZE_UP, 11, 11, 4}, {IDB_MINIMIZE_DOWN, 11, 11, 4},
        {IDB_CLOSE_UP, 11, 11, 4}, {IDB_CLOSE_DOWN, 11, 11, 4},
        {IDB_PANEL, 145, 48, 24}, {IDB_FILLER, 145, 48, 24},
        {IDB_MAP, 360, 188, 4},
        {IDB_PIN1, 8, 8, 4}, {IDB_PIN2, 8, 8, 4}, {IDB_PIN3, 8, 8, 4}, {IDB_PIN4, 8, 8, 4},
        {IDB_BANNER, 244, 41, 24},
    };
    for (const Case& c : cases) {
        HBITMAP bmp = LoadBitmapA(Self(), MAKEINTRESOURCEA(c.id));
        ASSERT_TRUE(bmp != NULL) << "bitmap " << c.id;
        BITMAP info = {};
        ASSERT_EQ((int)sizeof info, GetObjectA(bmp, sizeof info, &info)) << "bitmap " << c.id;
        EXPECT_EQ(c.w, info.bmWidth) << "bitmap " << c.id;
        EXPECT_EQ(c.h, info.bmHeight) << "bitmap " << c.id;
        DeleteObject(bmp);

        // The depth as stored: a DIB section keeps the resource's own format.
        HBITMAP dib = (HBITMAP)LoadImageA(Self(), MAKEINTRESOURCEA(c.id), IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION);
        ASSERT_TRUE(dib != NULL) << "bitmap " << c.id;
        DIBSECTION ds = {};
        ASSERT_EQ((int)sizeof ds, GetObjectA(dib, sizeof ds, &ds)) << "bitmap " << c.id;
        EXPECT_EQ(c.bits, ds.dsBmih.biBitCount) << "bitmap " << c.id;
        EXPECT_EQ(c.w, ds.dsBmih.biWidth) << "bitmap " << c.id;
        EXPECT_EQ(c.h, abs(ds.dsBmih.biHeight)) << "bitmap " << c.id;
        DeleteObject(dib);
    }
}

TEST(Artwork, PanelWhiteAreaIsExactlyTheClockBox)
{
    const int W = 145, H = 48;
    std::vector<DWORD> px = Pixels(IDB_PANEL, W, H);
    for (int y = 7; y <= 35; y++)
        for (int x = 14; x <= 127; x++)
            ASSERT_EQ(WHITE, px[y * W + x]) << "(" << x << "," << y << ")";
    // The ring of pixels just outside the box is the frame, not white.
    for (int x = 13; x <= 128; x++) {
        EXPECT_NE(WHITE, px[6 * W + x]) << "(" << x << ",6)";
        EXPECT_NE(WHITE, px[36 * W + x]) << "(" << x << ",36)";
    }
    for (int y = 6; y <= 36; y++) {
        EXPECT_NE(WHITE, px[y * W + 13]) << "(13," << y << ")";
        EXPECT_NE(WHITE, px[y * W + 128]) << "(128," << y << ")";
    }
    // The stone texture alone has no white box.
    std::vector<DWORD> filler = Pixels(IDB_FILLER, W, H);
    int white = 0;
    for (DWORD p : filler)
        white += p == WHITE;
    EXPECT_LT(white, 20);
}

TEST(Artwork, PinsAreTheirColourWithAWhiteCentreDot)
{
    const struct { int id; DWORD colour; } pins[] = {
        {IDB_PIN1, 0xFF0000}, {IDB_PIN2, 0xFFFF00}, {IDB_PIN3, 0x00FFFF}, {IDB_PIN4, 0xFF00FF},
    };
    for (const auto& pin : pins) {
        std::vector<DWORD> px = Pixels(pin.id, 8, 8);
        for (int y = 0; y < 8; y++)
            for (int x = 0; x < 8; x++) {
                bool dot = x >= 3 && x <= 4 && y >= 3 && y <= 4;
                EXPECT_EQ(dot ? WHITE : pin.colour, px[y * 8 + x])
                    << "pin " << pin.id << " (" << x << "," << y << ")";
            }
    }
}

TEST(Artwork, MapIsSeaLandAndWhiteLinesWithTheWorldInPlace)
{
    const int W = 360, H = 188;
    std::vector<DWORD> px = Pixels(IDB_MAP, W, H);
    const DWORD SEA = 0x000080, LAND = 0x008000;
    int sea = 0, land = 0, lines = 0;
    for (DWORD p : px) {
        if (p == SEA) sea++;
        else if (p == LAND) land++;
        else if (p == WHITE) lines++;
        else ADD_FAILURE() << "unexpected colour " << std::hex << p;
    }
    EXPECT_GT(sea, land);
    EXPECT_GT(land, W * H / 5);
    EXPECT_GT(lines, 0);
    // Places the map must show as land (off the boundary lines): east Asia at the left
    // edge, the Americas in the middle, Europe and Africa at the right.
    const struct { const char* name; int x, y; } landmarks[] = {
        {"China", 7, 75}, {"Australia", 22, 145}, {"United States", 158, 70},
        {"Brazil", 210, 130}, {"Africa", 270, 110}, {"Russia", 300, 40},
        {"Greenland", 215, 30},
    };
    for (const auto& m : landmarks)
        EXPECT_EQ(LAND, px[m.y * W + m.x]) << m.name;
    const struct { const char* name; int x, y; } seas[] = {
        {"Pacific", 110, 120}, {"South Atlantic", 240, 150}, {"Indian Ocean", 320, 150},
    };
    for (const auto& m : seas)
        EXPECT_EQ(SEA, px[m.y * W + m.x]) << m.name;
}

TEST(Artwork, IconAndMapCursor)
{
    HICON icon = LoadIconA(Self(), MAKEINTRESOURCEA(IDI_VELMOR));
    ASSERT_TRUE(icon != NULL);
    ICONINFO ii = {};
    ASSERT_TRUE(GetIconInfo(icon, &ii));
    EXPECT_TRUE(ii.fIcon);
    BITMAP colour = {};
    ASSERT_TRUE(ii.hbmColor != NULL);
    GetObjectA(ii.hbmColor, sizeof colour, &colour);
    EXPECT_EQ(32, colour.bmWidth);
    EXPECT_EQ(32, colour.bmHeight);
    DeleteObject(ii.hbmColor);
    DeleteObject(ii.hbmMask);

    // The 16 x 16 image for the tray.
    HICON small = (HICON)LoadImageA(Self(), MAKEINTRESOURCEA(IDI_VELMOR), IMAGE_ICON, 16, 16, 0);
    ASSERT_TRUE(small != NULL);
    ICONINFO si = {};
    ASSERT_TRUE(GetIconInfo(small, &si));
    BITMAP smallBmp = {};
    GetObjectA(si.hbmColor ? si.hbmColor : si.hbmMask, sizeof smallBmp, &smallBmp);
    EXPECT_EQ(16, smallBmp.bmWidth);
    if (si.hbmColor) DeleteObject(si.hbmColor);
    DeleteObject(si.hbmMask);
    DestroyIcon(small);

    HCURSOR cursor = LoadCursorA(Self(), MAKEINTRESOURCEA(IDC_MAPHAND));
    ASSERT_TRUE(cursor != NULL);
    ICONINFO ci = {};
    ASSERT_TRUE(GetIconInfo(cursor, &ci));
    EXPECT_FALSE(ci.fIcon);
    EXPECT_EQ(0u, ci.xHotspot);
    EXPECT_EQ(0u, ci.yHotspot);
    // Monochrome: no colour bitmap, a mask of twice the height.
    EXPECT_TRUE(ci.hbmColor == NULL);
    BITMAP mask = {};
    GetObjectA(ci.hbmMask, sizeof mask, &mask);
    EXPECT_EQ(32, mask.bmWidth);
    EXPECT_EQ(64, mask.bmHeight);
    EXPECT_EQ(1, mask.bmBitsPixel);
    DeleteObject(ci.hbmMask);
    if (ci.hbmColor) DeleteObject(ci.hbmColor);
}
