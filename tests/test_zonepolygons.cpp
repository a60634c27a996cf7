// The map's zone polygon tables: counts, construction, extents, and the regions the platform builds from them.
#include <windows.h>
#include <gtest/gtest.h>
#include <string>
#include <vector>
#include "dialogs/zonepolygons.h"
#include "res/resource.h"
#include "pixels.h"
#include "zones/zones.h"

namespace {

const int REGIONS = 29;
const int MAP_W = 360, MAP_H = 188;

// One row of the region table: zone, construction (vertex count and mode of each
// polygon), extents of the polygons that add area.
struct ExpectedRow {
    UINT zone;
    std::vector<std::pair<int, int>> polygons;   // (vertex count, combine mode)
    int subtractOrder;
    int minX, maxX, minY, maxY;
};

const int S = POLY_START, X = RGN_XOR, O = RGN_OR, D = RGN_DIFF;

const std::vector<ExpectedRow>& Expected()
{
    static const std::vector<ExpectedRow> rows = {
        {1, {{31, S}}, -1, 56, 92, 2, 186},
        {2, {{32, S}}, -1, 83, 106, 2, 186},
        {3, {{10, S}, {6, X}}, -1, 92, 119, 2, 186},
        {4, {{19, S}}, -1, 95, 133, 2, 186},
        {5, {{30, S}}, -1, 123, 150, 2, 186},
        {7, {{38, S}}, -1, 130, 163, 2, 186},
        {8, {{38, S}}, -1, 152, 179, 2, 186},
        {12, {{44, S}}, -1, 169, 199, 2, 186},
        {14, {{51, S}, {9, X}, {9, X}}, -1, 187, 213, 2, 186},
        {16, {{9, S}}, -1, 200, 207, 65, 72},
        {17, {{29, S}}, -1, 190, 239, 2, 186},
        {20, {{6, S}, {15, X}}, -1, 223, 238, 2, 186},
        {21, {{5, S}, {20, X}}, -1, 231, 251, 2, 186},
        {22, {{18, S}, {15, O}}, -1, 237, 271, 2, 186},
        {24, {{34, S}}, -1, 251, 285, 2, 186},
        {28, {{32, S}}, -1, 272, 305, 2, 186},
        {33, {{14, S}, {12, X}}, -1, 283, 315, 2, 186},
        {34, {{5, S}}, -1, 309, 324, 81, 93},
        {35, {{23, S}}, 17, 298, 325, 2, 186},
        {37, {{5, S}}, -1, 322, 328, 82, 88},
        {38, {{26, S}}, 19, 311, 341, 2, 186},
        {40, {{10, S}}, -1, 327, 353, 81, 113},
        {42, {{30, S}}, 21, 322, 357, 2, 186},
        {43, {{9, S}, {10, X}, {5, X}, {4, D}, {4, D}}, -1, 0, 0, 0, 0},   // two pieces, below
        {44, {{32, S}, {4, X}, {4, X}, {12, X}}, -1, 0, 0, 0, 0},          // two pieces, below
        {47, {{17, S}, {15, X}, {7, D}}, -1, 10, 46, 2, 186},
        {49, {{7, S}}, -1, 31, 45, 131, 158},
        {51, {{31, S}}, -1, 25, 63, 2, 186},
        {55, {{23, S}}, -1, 45, 79, 2, 186},
    };
    return rows;
}

struct Box { int minX = 1000, maxX = -1000, minY = 1000, maxY = -1000; };

void Extend(Box& b, const POINT& p)
{
    if (p.x < b.minX) b.minX = p.x;
    if (p.x > b.maxX) b.maxX = p.x;
    if (p.y < b.minY) b.minY = p.y;
    if (p.y > b.maxY) b.maxY = p.y;
}

// Extents of the area-adding polygons of a row, split at the middle of the map for
// the zones that have pieces at both ends.
void AddingExtents(const ZoneRegionSpec& entry, Box& left, Box& right)
{
    for (int k = 0; k < entry.polygonCount; k++) {
        const ZonePolygon& poly = entry.polygons[k];
        if (poly.combineMode == RGN_DIFF)
            continue;
        for (int v = 0; v < poly.vertexCount; v++)
            Extend(poly.vertices[v].x < MAP_W / 2 ? left : right, poly.vertices[v]);
    }
}

HRGN PolygonRegion(const ZonePolygon& poly)
{
    return CreatePolygonRgn(poly.vertices, poly.vertexCount, WINDING);
}

// Builds a zone's region the way the map's construction says: the first polygon,
// then each further one combined by its mode; `upTo` limits the polygons used.
HRGN BuildFromPolygons(const ZoneRegionSpec& entry, int upTo)
{
    HRGN rgn = PolygonRegion(entry.polygons[0]);
    for (int k = 1; k < upTo && k < entry.polygonCount; k++) {
        HRGN tmp = PolygonRegion(entry.polygons[k]);
        CombineRgn(rgn, rgn, tmp, entry.polygons[k].combineMode);
        DeleteObject(tmp);
    }
    return rgn;
}

struct RegionSet {
    HRGN rgn[REGIONS];
    RegionSet()
    {
        for (int i = 0; i < REGIONS; i++) {
            const ZoneRegionSpec& entry = zoneRegionSpecs[i];
            rgn[i] = BuildFromPolygons(entry, entry.polygonCount);
            if (entry.subtractOrder >= 0)
                CombineRgn(rgn[i], rgn[i], rgn[entry.subtractOrder], RGN_DIFF);
        }
    }
    ~RegionSet()
    {
        for (int i = 0; i < REGIONS; i++)
            DeleteObject(rgn[i]);
    }
    // Zone a click on (x, y) resolves to: the first region holding it, 0 for none.
    UINT ZoneAt(int x, int y) const
    {
        for (int i = 0; i < REGIONS; i++)
            if (PtInRegion(rgn[i], x, y))
                return zoneRegionSpecs[i].zoneIndex;
        return 0;
    }
};

int OrderOf(UINT zone)
{
    for (int i = 0; i < REGIONS; i++)
        if (zoneRegionSpecs[i].zoneIndex == zone)
            return i;
    return -1;
}

bool Inside(HRGN small, HRGN band)
{
    HRGN rest = CreateRectRgn(0, 0, 0, 0);
    int kind = CombineRgn(rest, small, band, RGN_DIFF);
    DeleteObject(rest);
    return kind == NULLREGION;
}

void ExpectVertices(const ZonePolygon& poly, const std::vector<POINT>& want, const char* what)
{
    ASSERT_EQ((int)want.size(), poly.vertexCount) << what;
    for (size_t v = 0; v < want.size(); v++) {
        EXPECT_EQ(want[v].x, poly.vertices[v].x) << what << " vertex " << v;
        EXPECT_EQ(want[v].y, poly.vertices[v].y) << what << " vertex " << v;
    }
}

}  // namespace

TEST(ZonePolygons, ConstructionFollowsTheRegionTable)
{
    int polygons = 0, vertices = 0;
    for (int i = 0; i < REGIONS; i++) {
        const ZoneRegionSpec& entry = zoneRegionSpecs[i];
        const ExpectedRow& want = Expected()[i];
        EXPECT_EQ(want.zone, entry.zoneIndex) << "order " << i;
        EXPECT_EQ(want.subtractOrder, entry.subtractOrder) << "zone " << want.zone;
        ASSERT_EQ((int)want.polygons.size(), entry.polygonCount) << "zone " << want.zone;
        for (int k = 0; k < entry.polygonCount; k++) {
            EXPECT_EQ(want.polygons[k].first, entry.polygons[k].vertexCount)
                << "zone " << want.zone << " polygon " << k;
            EXPECT_EQ(want.polygons[k].second, entry.polygons[k].combineMode)
                << "zone " << want.zone << " polygon " << k;
        }
        polygons += entry.polygonCount;
        for (int k = 0; k < entry.polygonCount; k++)
            vertices += entry.polygons[k].vertexCount;
    }
    EXPECT_EQ(45, polygons);
    EXPECT_EQ(809, vertices);
    // The subtracted regions are those of the small zones built just before.
    EXPECT_EQ(34u, zoneRegionSpecs[17].zoneIndex);
    EXPECT_EQ(37u, zoneRegionSpecs[19].zoneIndex);
    EXPECT_EQ(40u, zoneRegionSpecs[21].zoneIndex);
}

TEST(ZonePolygons, ExtentsAndVertexBounds)
{
    for (int i = 0; i < REGIONS; i++) {
        const ZoneRegionSpec& entry = zoneRegionSpecs[i];
        for (int k = 0; k < entry.polygonCount; k++)
            for (int v = 0; v < entry.polygons[k].vertexCount; v++) {
                const POINT& p = entry.polygons[k].vertices[v];
                EXPECT_TRUE(p.x >= 2 && p.x <= 358 && p.y >= 2 && p.y <= 186)
                    << "zone " << entry.zoneIndex << " polygon " << k << " (" << p.x << "," << p.y << ")";
            }
        const ExpectedRow& want = Expected()[i];
        if (want.zone == 43 || want.zone == 44)
            continue;
        Box all, none;
        AddingExtents(entry, all, all);
        EXPECT_EQ(want.minX, all.minX) << "zone " << want.zone;
        EXPECT_EQ(want.maxX, all.maxX) << "zone " << want.zone;
        EXPECT_EQ(want.minY, all.minY) << "zone " << want.zone;
        EXPECT_EQ(want.maxY, all.maxY) << "zone " << want.zone;
    }
    // Zones 43 and 44 have a piece at each end of the map.
    Box left43, right43, left44, right44;
    AddingExtents(zoneRegionSpecs[OrderOf(43)], left43, right43);
    AddingExtents(zoneRegionSpecs[OrderOf(44)], left44, right44);
    EXPECT_EQ(2, left43.minX);   EXPECT_EQ(14, left43.maxX);
    EXPECT_EQ(2, left43.minY);   EXPECT_EQ(186, left43.maxY);
    EXPECT_EQ(336, right43.minX); EXPECT_EQ(358, right43.maxX);
    EXPECT_EQ(2, right43.minY);  EXPECT_EQ(70, right43.maxY);
    EXPECT_EQ(2, left44.minX);   EXPECT_EQ(31, left44.maxX);
    EXPECT_EQ(2, left44.minY);   EXPECT_EQ(186, left44.maxY);
    EXPECT_EQ(346, right44.minX); EXPECT_EQ(358, right44.maxX);
    EXPECT_EQ(12, right44.minY); EXPECT_EQ(120, right44.maxY);
}

TEST(ZonePolygons, FixedOutlinesAreExact)
{
    const std::vector<POINT> z16 = {{201, 68}, {204, 65}, {206, 65}, {206, 69}, {207, 70},
                                    {207, 72}, {205, 72}, {200, 71}, {201, 69}};
    const std::vector<POINT> z34 = {{309, 81}, {318, 81}, {324, 93}, {318, 93}, {312, 91}};
    const std::vector<POINT> z37 = {{322, 82}, {328, 82}, {328, 87}, {326, 88}, {322, 88}};
    const std::vector<POINT> z40 = {{327, 94}, {335, 81}, {343, 86}, {348, 81}, {353, 82},
                                    {353, 93}, {346, 93}, {341, 102}, {341, 113}, {337, 113}};
    const std::vector<POINT> z49 = {{31, 131}, {35, 131}, {41, 135}, {41, 145}, {45, 145},
                                    {45, 158}, {31, 150}};
    const std::vector<POINT> islandA = {{352, 12}, {357, 16}, {356, 19}, {348, 16}};
    const std::vector<POINT> islandB = {{2, 111}, {8, 116}, {6, 119}, {2, 114}};
    const std::vector<POINT> z43third = {{2, 2}, {14, 2}, {14, 14}, {8, 18}, {2, 18}};
    const std::vector<POINT> z20first = {{223, 2}, {238, 2}, {238, 7}, {236, 7}, {234, 5}, {223, 5}};
    const std::vector<POINT> z21first = {{239, 2}, {251, 2}, {251, 40}, {239, 40}, {240, 9}};

    ExpectVertices(zoneRegionSpecs[OrderOf(16)].polygons[0], z16, "zone 16");
    ExpectVertices(zoneRegionSpecs[OrderOf(14)].polygons[2], z16, "zone 14, third");
    ExpectVertices(zoneRegionSpecs[OrderOf(34)].polygons[0], z34, "zone 34");
    ExpectVertices(zoneRegionSpecs[OrderOf(37)].polygons[0], z37, "zone 37");
    ExpectVertices(zoneRegionSpecs[OrderOf(40)].polygons[0], z40, "zone 40");
    ExpectVertices(zoneRegionSpecs[OrderOf(49)].polygons[0], z49, "zone 49");
    ExpectVertices(zoneRegionSpecs[OrderOf(47)].polygons[2], z49, "zone 47, subtracted");
    ExpectVertices(zoneRegionSpecs[OrderOf(43)].polygons[3], islandA, "zone 43, island A");
    ExpectVertices(zoneRegionSpecs[OrderOf(43)].polygons[4], islandB, "zone 43, island B");
    ExpectVertices(zoneRegionSpecs[OrderOf(44)].polygons[1], islandA, "zone 44, island A");
    ExpectVertices(zoneRegionSpecs[OrderOf(44)].polygons[2], islandB, "zone 44, island B");
    ExpectVertices(zoneRegionSpecs[OrderOf(43)].polygons[2], z43third, "zone 43, third");
    ExpectVertices(zoneRegionSpecs[OrderOf(20)].polygons[0], z20first, "zone 20, first");
    ExpectVertices(zoneRegionSpecs[OrderOf(21)].polygons[0], z21first, "zone 21, first");
}

TEST(ZoneRegions, EveryRegionBuiltByThePlatformHoldsArea)
{
    RegionSet set;
    for (int i = 0; i < REGIONS; i++) {
        RECT box;
        EXPECT_NE(NULLREGION, GetRgnBox(set.rgn[i], &box)) << "zone " << zoneRegionSpecs[i].zoneIndex;
        EXPECT_NE(ERROR, GetRgnBox(set.rgn[i], &box)) << "zone " << zoneRegionSpecs[i].zoneIndex;
    }
}

TEST(ZoneRegions, SmallRegionsLieInsideTheBandsTheyAreCutFrom)
{
    RegionSet set;
    struct Case { UINT small; UINT band; int polygonsBeforeCut; } cases[] = {
        {16, 14, 2}, {34, 35, 1}, {37, 38, 1}, {40, 42, 1}, {49, 47, 2},
    };
    for (const Case& c : cases) {
        const ZoneRegionSpec& band = zoneRegionSpecs[OrderOf(c.band)];
        HRGN before = BuildFromPolygons(band, c.polygonsBeforeCut);
        EXPECT_TRUE(Inside(set.rgn[OrderOf(c.small)], before)) << "zone " << c.small << " in " << c.band;
        // The cut leaves no point of the small zone in the band's own region.
        HRGN common = CreateRectRgn(0, 0, 0, 0);
        EXPECT_EQ(NULLREGION, CombineRgn(common, set.rgn[OrderOf(c.small)], set.rgn[OrderOf(c.band)], RGN_AND))
            << "zone " << c.small << " cut from " << c.band;
        DeleteObject(common);
        DeleteObject(before);
    }
    // The islands lie in zone 43's pieces before they are cut out, and outside zone 44's band.
    const ZoneRegionSpec& z43 = zoneRegionSpecs[OrderOf(43)];
    const ZoneRegionSpec& z44 = zoneRegionSpecs[OrderOf(44)];
    HRGN pieces43 = BuildFromPolygons(z43, 3);
    HRGN main44 = BuildFromPolygons(z44, 1);
    HRGN east44 = PolygonRegion(z44.polygons[3]);
    for (int k = 3; k <= 4; k++) {
        HRGN island = PolygonRegion(z43.polygons[k]);
        EXPECT_TRUE(Inside(island, pieces43)) << "island " << k - 2;
        EXPECT_TRUE(Inside(island, set.rgn[OrderOf(44)])) << "island " << k - 2;
        HRGN common = CreateRectRgn(0, 0, 0, 0);
        EXPECT_EQ(NULLREGION, CombineRgn(common, island, set.rgn[OrderOf(43)], RGN_AND));
        EXPECT_EQ(NULLREGION, CombineRgn(common, island, main44, RGN_AND));
        EXPECT_EQ(NULLREGION, CombineRgn(common, island, east44, RGN_AND));
        DeleteObject(common);
        DeleteObject(island);
    }
    DeleteObject(pieces43);
    DeleteObject(main44);
    DeleteObject(east44);
}

TEST(ZoneRegions, BandsFollowWestToEastAndMeet)
{
    RegionSet set;
    // The small zones count as the bands they are cut from.
    auto bandOf = [](UINT z) -> UINT {
        switch (z) {
        case 16: return 14;
        case 34: return 35;
        case 37: return 38;
        case 40: return 42;
        case 49: return 47;
        default: return z;
        }
    };
    // Each row, read from x 100 eastwards round the map, passes the bands in ascending
    // zone order; it steps back only where the map wraps (zone 55 to zone 1) and where
    // zone 44's right piece is followed by zone 43 at the left edge. No gap between
    // bands is wider than one pixel.
    for (int y = 3; y <= 184; y++) {
        int gap = 0, backSteps = 0;
        UINT last = 0;
        std::string trail;
        for (int step = 0; step < MAP_W; step++) {
            int x = (100 + step) % MAP_W;
            if (x < 3 || x > 356) {
                gap = 0;
                continue;
            }
            UINT z = set.ZoneAt(x, y);
            if (z == 0) {
                gap++;
                EXPECT_LE(gap, 1) << "gap at (" << x << "," << y << ")";
                continue;
            }
            gap = 0;
            z = bandOf(z);
            if (last != 0 && z < last)
                backSteps++;
            if (z != last)
                trail += " " + std::to_string(z) + "@" + std::to_string(x);
            last = z;
        }
        // Island B, a piece of zone 44 inside zone 43's strip, adds one more on its rows.
        int allowed = (y >= 111 && y <= 119) ? 3 : 2;
        EXPECT_GE(backSteps, 1) << "row " << y;
        EXPECT_LE(backSteps, allowed) << "row " << y << ":" << trail;
    }
}

TEST(ZoneRegions, PinsOfTheMapZonesFallInTheirOwnRegions)
{
    RegionSet set;
    // A pin's position is the click point that puts it there (its top-left corner).
    // The fixed outlines of zones 16 and 34 begin a pixel right of their pins' corners;
    // for those the pin's white dot, 3 pixels in, is what lies in the zone.
    for (int i = 0; i < REGIONS; i++) {
        UINT zone = zoneRegionSpecs[i].zoneIndex;
        const ZoneRow& row = zoneTable[zone - 1];
        int inset = (zone == 16 || zone == 34) ? 3 : 0;
        EXPECT_EQ(zone, set.ZoneAt(row.mapX + inset, row.mapY + inset)) << "pin of zone " << zone;
    }
}

TEST(ZoneRegions, MapLinesLieOnRegionOutlinesAndMarkEveryBoundary)
{
    HBITMAP map = (HBITMAP)LoadImageA(GetModuleHandleA(NULL), MAKEINTRESOURCEA(IDB_MAP), IMAGE_BITMAP, 0, 0,
                                      LR_CREATEDIBSECTION);
    ASSERT_TRUE(map != NULL);
    std::vector<DWORD> px = BitmapPixels(map);
    ASSERT_EQ((size_t)(MAP_W * MAP_H), px.size());
    DeleteObject(map);

    RegionSet set;
    std::vector<UINT> zone(MAP_W * MAP_H);
    for (int y = 0; y < MAP_H; y++)
        for (int x = 0; x < MAP_W; x++)
            zone[y * MAP_W + x] = set.ZoneAt(x, y);
    auto white = [&](int x, int y) { return (px[y * MAP_W + x] & 0xFFFFFF) == 0xFFFFFF; };

    int whites = 0;
    for (int y = 0; y < MAP_H; y++)
        for (int x = 0; x < MAP_W; x++) {
            if (!white(x, y))
                continue;
            whites++;
            // Within a pixel of a white pixel, what a click resolves to changes (to
            // another zone, or to none where a region ends).
            bool parts = false;
            UINT here = zone[y * MAP_W + x];
            for (int dy = -1; dy <= 1; dy++)
                for (int dx = -1; dx <= 1; dx++) {
                    int nx = x + dx, ny = y + dy;
                    if (nx >= 0 && ny >= 0 && nx < MAP_W && ny < MAP_H && zone[ny * MAP_W + nx] != here)
                        parts = true;
                }
            EXPECT_TRUE(parts) << "white pixel (" << x << "," << y << ") is on no zone boundary";
        }
    EXPECT_GT(whites, 3000);

    // Where two zones meet side by side, a white pixel marks the place.
    for (int y = 4; y <= 183; y++)
        for (int x = 4; x < 355; x++) {
            UINT a = zone[y * MAP_W + x], b = zone[y * MAP_W + x + 1];
            if (!a || !b || a == b)
                continue;
            bool marked = false;
            for (int dx = -1; dx <= 2; dx++)
                marked = marked || white(x + dx, y);
            EXPECT_TRUE(marked) << "unmarked boundary of zones " << a << " and " << b << " at (" << x << "," << y << ")";
        }
}
