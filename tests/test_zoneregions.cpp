// The map's zone regions as the program builds them from its polygon table: the table's
// construction, extents and fixed outlines, the hit test of every region, the small zones
// and islands, the boundary lines of the map picture, and what a map click does to the
// dialog's lists and DST boxes.
#include <gtest/gtest.h>
#include <string>
#include <vector>
#include "app/app.h"
#include "dialogs/dialogs.h"
#include "dialogs/zonepolygons.h"
#include "res/resource.h"
#include "zones/zones.h"
#include "barharness.h"
#include "dialogtest.h"
#include "pixels.h"
#include "testutil.h"

namespace {

const int S = POLY_START, X = RGN_XOR, O = RGN_OR, D = RGN_DIFF;

// One row of the region table, in hit-test order: zone, construction (vertex count and
// mode of each polygon), the earlier region cut out of it, and the extent of the
// polygons that add area (zones 43 and 44: of their western piece, then the eastern).
struct RegionRow {
    UINT zone;
    std::vector<std::pair<int, int>> polygons;
    int subtractOrder;
    RECT extent;        // left, top, right, bottom: the vertices' extremes, inclusive
    RECT eastExtent;    // empty but for the zones with a piece at each end of the map
};

const std::vector<RegionRow>& Rows()
{
    static const std::vector<RegionRow> rows = {
        {1, {{31, S}}, -1, {56, 2, 92, 186}, {}},
        {2, {{32, S}}, -1, {83, 2, 106, 186}, {}},
        {3, {{10, S}, {6, X}}, -1, {92, 2, 119, 186}, {}},
        {4, {{19, S}}, -1, {95, 2, 133, 186}, {}},
        {5, {{30, S}}, -1, {123, 2, 150, 186}, {}},
        {7, {{38, S}}, -1, {130, 2, 163, 186}, {}},
        {8, {{38, S}}, -1, {152, 2, 179, 186}, {}},
        {12, {{44, S}}, -1, {169, 2, 199, 186}, {}},
        {14, {{51, S}, {9, X}, {9, X}}, -1, {187, 2, 213, 186}, {}},
        {16, {{9, S}}, -1, {200, 65, 207, 72}, {}},
        {17, {{29, S}}, -1, {190, 2, 239, 186}, {}},
        {20, {{6, S}, {15, X}}, -1, {223, 2, 238, 186}, {}},
        {21, {{5, S}, {20, X}}, -1, {231, 2, 251, 186}, {}},
        {22, {{18, S}, {15, O}}, -1, {237, 2, 271, 186}, {}},
        {24, {{34, S}}, -1, {251, 2, 285, 186}, {}},
        {28, {{32, S}}, -1, {272, 2, 305, 186}, {}},
        {33, {{14, S}, {12, X}}, -1, {283, 2, 315, 186}, {}},
        {34, {{5, S}}, -1, {309, 81, 324, 93}, {}},
        {35, {{23, S}}, 17, {298, 2, 325, 186}, {}},
        {37, {{5, S}}, -1, {322, 82, 328, 88}, {}},
        {38, {{26, S}}, 19, {311, 2, 341, 186}, {}},
        {40, {{10, S}}, -1, {327, 81, 353, 113}, {}},
        {42, {{30, S}}, 21, {322, 2, 357, 186}, {}},
        {43, {{9, S}, {10, X}, {5, X}, {4, D}, {4, D}}, -1, {2, 2, 14, 186}, {336, 2, 358, 70}},
        {44, {{32, S}, {4, X}, {4, X}, {12, X}}, -1, {2, 2, 31, 186}, {346, 12, 358, 120}},
        {47, {{17, S}, {15, X}, {7, D}}, -1, {10, 2, 46, 186}, {}},
        {49, {{7, S}}, -1, {31, 131, 45, 158}, {}},
        {51, {{31, S}}, -1, {25, 2, 63, 186}, {}},
        {55, {{23, S}}, -1, {45, 2, 79, 186}, {}},
    };
    return rows;
}

// The fixed outlines: the small zones and the two islands, each with the zone it stands
// for, the band it is cut out of, and where the table holds it.
const POINT zone16[] = {{201, 68}, {204, 65}, {206, 65}, {206, 69}, {207, 70}, {207, 72}, {205, 72}, {200, 71}, {201, 69}};
const POINT zone34[] = {{309, 81}, {318, 81}, {324, 93}, {318, 93}, {312, 91}};
const POINT zone37[] = {{322, 82}, {328, 82}, {328, 87}, {326, 88}, {322, 88}};
const POINT zone40[] = {{327, 94}, {335, 81}, {343, 86}, {348, 81}, {353, 82}, {353, 93}, {346, 93}, {341, 102}, {341, 113}, {337, 113}};
const POINT zone49[] = {{31, 131}, {35, 131}, {41, 135}, {41, 145}, {45, 145}, {45, 158}, {31, 150}};
const POINT islandA[] = {{352, 12}, {357, 16}, {356, 19}, {348, 16}};
const POINT islandB[] = {{2, 111}, {8, 116}, {6, 119}, {2, 114}};

struct Outline {
    const POINT* vertices;
    int count;
    UINT inside, cutFrom;
    // the table's polygons that are this outline: (zone, polygon)
    std::vector<std::pair<UINT, int>> heldAt;
};

const std::vector<Outline>& Outlines()
{
    static const std::vector<Outline> outlines = {
        {zone16, 9, 16, 14, {{16, 0}, {14, 2}}},
        {zone34, 5, 34, 35, {{34, 0}}},
        {zone37, 5, 37, 38, {{37, 0}}},
        {zone40, 10, 40, 42, {{40, 0}}},
        {zone49, 7, 49, 47, {{49, 0}, {47, 2}}},
        {islandA, 4, 44, 43, {{43, 3}, {44, 1}}},
        {islandB, 4, 44, 43, {{43, 4}, {44, 2}}},
    };
    return outlines;
}

int OrderOf(UINT zone)
{
    for (int i = 0; i < ZONE_REGION_COUNT; i++)
        if (zoneRegionSpecs[i].zoneIndex == zone)
            return i;
    return -1;
}

// A point of the region at this order that no earlier region holds, if there is one.
bool PointOwnedBy(int order, POINT* found, int xFrom = 0, int xTo = MAP_WIDTH)
{
    for (int y = 0; y < MAP_HEIGHT; y++)
        for (int x = xFrom; x < xTo; x++)
            if (FindMapZone(x, y) == zoneRegionSpecs[order].zoneIndex) {
                found->x = x;
                found->y = y;
                return true;
            }
    return false;
}

HRGN PolygonRegion(const ZonePolygon& polygon)
{
    return CreatePolygonRgn(polygon.vertices, polygon.vertexCount, WINDING);
}

bool Inside(HRGN small, HRGN big)
{
    HRGN rest = CreateRectRgn(0, 0, 0, 0);
    int kind = CombineRgn(rest, small, big, RGN_DIFF);
    DeleteObject(rest);
    return kind == NULLREGION;
}

bool Meet(HRGN a, HRGN b)
{
    HRGN common = CreateRectRgn(0, 0, 0, 0);
    int kind = CombineRgn(common, a, b, RGN_AND);
    DeleteObject(common);
    return kind != NULLREGION;
}

void Extend(RECT& box, const POINT& p)
{
    box.left = p.x < box.left ? p.x : box.left;
    box.right = p.x > box.right ? p.x : box.right;
    box.top = p.y < box.top ? p.y : box.top;
    box.bottom = p.y > box.bottom ? p.y : box.bottom;
}

void ExpectRect(const RECT& want, const RECT& got, const char* what)
{
    EXPECT_EQ(want.left, got.left) << what;
    EXPECT_EQ(want.top, got.top) << what;
    EXPECT_EQ(want.right, got.right) << what;
    EXPECT_EQ(want.bottom, got.bottom) << what;
}

}  // namespace

class ZoneRegions : public ::testing::Test {
protected:
    void SetUp() override { BuildZoneRegions(); }
    void TearDown() override { DeleteZoneRegions(); }
};

TEST_F(ZoneRegions, TableHoldsTwentyNineRegionsOfFortyFivePolygonsWithinTheirExtents)
{
    int polygons = 0, vertices = 0;
    for (int i = 0; i < ZONE_REGION_COUNT; i++) {
        const ZoneRegionSpec& entry = zoneRegionSpecs[i];
        const RegionRow& want = Rows()[i];
        SCOPED_TRACE(testing::Message() << "order " << i << ", zone " << want.zone);
        EXPECT_EQ(want.zone, entry.zoneIndex);
        EXPECT_EQ(want.subtractOrder, entry.subtractOrder);
        ASSERT_EQ((int)want.polygons.size(), entry.polygonCount);
        bool twoPieces = want.eastExtent.right > 0;
        RECT west = {1000, 1000, -1000, -1000}, east = west;
        for (int k = 0; k < entry.polygonCount; k++) {
            const ZonePolygon& polygon = entry.polygons[k];
            EXPECT_EQ(want.polygons[k].first, polygon.vertexCount) << "polygon " << k;
            EXPECT_EQ(want.polygons[k].second, polygon.combineMode) << "polygon " << k;
            polygons++;
            vertices += polygon.vertexCount;
            for (int v = 0; v < polygon.vertexCount; v++) {
                const POINT& p = polygon.vertices[v];
                EXPECT_TRUE(p.x >= 2 && p.x <= 358 && p.y >= 2 && p.y <= 186)
                    << "polygon " << k << " (" << p.x << "," << p.y << ")";
                if (polygon.combineMode != RGN_DIFF)
                    Extend(twoPieces && p.x >= MAP_WIDTH / 2 ? east : west, p);
            }
        }
        ExpectRect(want.extent, west, "extent");
        if (twoPieces)
            ExpectRect(want.eastExtent, east, "eastern extent");
        // the region the program builds holds area, all of it within the polygons' extent
        RECT all = want.extent;
        if (twoPieces)
            UnionRect(&all, &want.extent, &want.eastExtent);
        ASSERT_TRUE(zoneRegions[i] != NULL);
        RECT box;
        EXPECT_NE(NULLREGION, GetRgnBox(zoneRegions[i], &box));
        EXPECT_GE(box.left, all.left);
        EXPECT_LE(box.right, all.right + 1);
        EXPECT_GE(box.top, all.top);
        EXPECT_LE(box.bottom, all.bottom + 1);
    }
    EXPECT_EQ(45, polygons);
    EXPECT_EQ(809, vertices);
}

TEST_F(ZoneRegions, FixedOutlinesAreExactAndNeverResolveToTheirBands)
{
    for (const Outline& outline : Outlines()) {
        SCOPED_TRACE(testing::Message() << "zone " << outline.inside << " in " << outline.cutFrom);
        for (const auto& at : outline.heldAt) {
            const ZonePolygon& polygon = zoneRegionSpecs[OrderOf(at.first)].polygons[at.second];
            ASSERT_EQ(outline.count, polygon.vertexCount) << "zone " << at.first << " polygon " << at.second;
            for (int v = 0; v < outline.count; v++) {
                EXPECT_EQ(outline.vertices[v].x, polygon.vertices[v].x) << "zone " << at.first << " vertex " << v;
                EXPECT_EQ(outline.vertices[v].y, polygon.vertices[v].y) << "zone " << at.first << " vertex " << v;
            }
        }
        HRGN shape = CreatePolygonRgn(outline.vertices, outline.count, WINDING);
        // the outline lies in the band's own outer polygon, and no point of it in the band's region
        const ZoneRegionSpec& band = zoneRegionSpecs[OrderOf(outline.cutFrom)];
        bool inBandPolygon = false;
        for (int k = 0; k < band.polygonCount; k++)
            if (band.polygons[k].combineMode != RGN_DIFF) {
                HRGN piece = PolygonRegion(band.polygons[k]);
                inBandPolygon = inBandPolygon || Inside(shape, piece);
                DeleteObject(piece);
            }
        EXPECT_TRUE(inBandPolygon);
        EXPECT_FALSE(Meet(shape, zoneRegions[OrderOf(outline.cutFrom)]));
        EXPECT_TRUE(Inside(shape, zoneRegions[OrderOf(outline.inside)]));
        int inside = 0, ownZone = 0;
        int ownOrder = OrderOf(outline.inside);
        for (int y = 0; y < MAP_HEIGHT; y++)
            for (int x = 0; x < MAP_WIDTH; x++) {
                if (!PtInRegion(shape, x, y))
                    continue;
                inside++;
                UINT zone = FindMapZone(x, y);
                EXPECT_NE(outline.cutFrom, zone) << x << "," << y;
                if (zone == outline.inside)
                    ownZone++;
                else    // only a region earlier in the test order may take the point
                    EXPECT_LT(OrderOf(zone), ownOrder) << x << "," << y << " gives " << zone;
            }
        DeleteObject(shape);
        EXPECT_GT(inside, 0);
        EXPECT_GT(ownZone, 0);
    }
    // the islands are pieces of zone 44 apart from its main band and eastern piece
    const ZoneRegionSpec& z44 = zoneRegionSpecs[OrderOf(44)];
    for (int k : {0, 3})
        for (const POINT* island : {islandA, islandB}) {
            HRGN piece = PolygonRegion(z44.polygons[k]), shape = CreatePolygonRgn(island, 4, WINDING);
            EXPECT_FALSE(Meet(shape, piece)) << "zone 44 polygon " << k;
            DeleteObject(piece);
            DeleteObject(shape);
        }
}

TEST_F(ZoneRegions, EveryRegionAndBothPiecesOfZones43And44ResolveToTheirZone)
{
    for (int i = 0; i < ZONE_REGION_COUNT; i++) {
        POINT point;
        EXPECT_TRUE(PointOwnedBy(i, &point)) << "zone " << zoneRegionSpecs[i].zoneIndex << " is wholly covered";
    }
    for (UINT zone : {43u, 44u}) {
        POINT left, right;
        EXPECT_TRUE(PointOwnedBy(OrderOf(zone), &left, 0, 60)) << zone;
        EXPECT_TRUE(PointOwnedBy(OrderOf(zone), &right, 300, MAP_WIDTH)) << zone;
    }
}

TEST_F(ZoneRegions, RimOfTheMapIsInNoRegion)
{
    for (int x = 0; x < MAP_WIDTH; x++) {
        EXPECT_EQ(0u, FindMapZone(x, 0));
        EXPECT_EQ(0u, FindMapZone(x, MAP_HEIGHT - 1));
    }
    for (int y = 0; y < MAP_HEIGHT; y++) {
        EXPECT_EQ(0u, FindMapZone(0, y));
        EXPECT_EQ(0u, FindMapZone(MAP_WIDTH - 1, y));
    }
}

TEST_F(ZoneRegions, BandsFollowWestToEastAndMeet)
{
    // The small zones count as the bands they are cut from.
    auto bandOf = [](UINT z) -> UINT {
        for (const Outline& outline : Outlines())
            if (outline.inside == z && outline.inside != 44)
                return outline.cutFrom;
        return z;
    };
    // Each row, read from x 100 eastwards round the map, passes the bands in ascending
    // zone order; it steps back only where the map wraps (zone 55 to zone 1) and where
    // zone 44's right piece is followed by zone 43 at the left edge. No gap between
    // bands is wider than one pixel.
    for (int y = 3; y <= 184; y++) {
        int gap = 0, backSteps = 0;
        UINT last = 0;
        std::string trail;
        for (int step = 0; step < MAP_WIDTH; step++) {
            int x = (100 + step) % MAP_WIDTH;
            if (x < 3 || x > 356) {
                gap = 0;
                continue;
            }
            UINT z = FindMapZone(x, y);
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

TEST_F(ZoneRegions, PinsOfTheMapZonesFallInTheirOwnRegions)
{
    // A pin's position is the click point that puts it there (its top-left corner).
    // The fixed outlines of zones 16 and 34 begin a pixel right of their pins' corners;
    // for those the pin's white dot, 3 pixels in, is what lies in the zone.
    for (int i = 0; i < ZONE_REGION_COUNT; i++) {
        UINT zone = zoneRegionSpecs[i].zoneIndex;
        const ZoneRow& row = zoneTable[zone - 1];
        int inset = (zone == 16 || zone == 34) ? 3 : 0;
        EXPECT_EQ(zone, FindMapZone(row.mapX + inset, row.mapY + inset)) << "pin of zone " << zone;
    }
}

TEST_F(ZoneRegions, MapLinesLieOnRegionOutlinesAndMarkEveryBoundary)
{
    HBITMAP map = (HBITMAP)LoadImageA(GetModuleHandleA(NULL), MAKEINTRESOURCEA(IDB_MAP), IMAGE_BITMAP, 0, 0,
                                      LR_CREATEDIBSECTION);
    ASSERT_TRUE(map != NULL);
    std::vector<DWORD> px = BitmapPixels(map);
    ASSERT_EQ((size_t)(MAP_WIDTH * MAP_HEIGHT), px.size());
    DeleteObject(map);

    std::vector<UINT> zone(MAP_WIDTH * MAP_HEIGHT);
    for (int y = 0; y < MAP_HEIGHT; y++)
        for (int x = 0; x < MAP_WIDTH; x++)
            zone[y * MAP_WIDTH + x] = FindMapZone(x, y);
    auto white = [&](int x, int y) { return (px[y * MAP_WIDTH + x] & 0xFFFFFF) == 0xFFFFFF; };

    int whites = 0;
    for (int y = 0; y < MAP_HEIGHT; y++)
        for (int x = 0; x < MAP_WIDTH; x++) {
            if (!white(x, y))
                continue;
            whites++;
            // Within a pixel of a white pixel, what a click resolves to changes (to
            // another zone, or to none where a region ends).
            bool parts = false;
            UINT here = zone[y * MAP_WIDTH + x];
            for (int dy = -1; dy <= 1; dy++)
                for (int dx = -1; dx <= 1; dx++) {
                    int nx = x + dx, ny = y + dy;
                    if (nx >= 0 && ny >= 0 && nx < MAP_WIDTH && ny < MAP_HEIGHT && zone[ny * MAP_WIDTH + nx] != here)
                        parts = true;
                }
            EXPECT_TRUE(parts) << "white pixel (" << x << "," << y << ") is on no zone boundary";
        }
    EXPECT_GT(whites, 3000);

    // Where two zones meet side by side, a white pixel marks the place.
    for (int y = 4; y <= 183; y++)
        for (int x = 4; x < 355; x++) {
            UINT a = zone[y * MAP_WIDTH + x], b = zone[y * MAP_WIDTH + x + 1];
            if (!a || !b || a == b)
                continue;
            bool marked = false;
            for (int dx = -1; dx <= 2; dx++)
                marked = marked || white(x + dx, y);
            EXPECT_TRUE(marked) << "unmarked boundary of zones " << a << " and " << b << " at (" << x << "," << y << ")";
        }
}

TEST_F(ZoneRegions, RebuildingAndDeletingLeaveNoRegionBehind)
{
    std::vector<HRGN> first(zoneRegions, zoneRegions + ZONE_REGION_COUNT);
    BuildZoneRegions();
    for (int i = 0; i < ZONE_REGION_COUNT; i++) {
        EXPECT_EQ(0u, GetObjectType(first[i])) << "region " << i << " of the first build was kept";
        EXPECT_EQ((DWORD)OBJ_REGION, GetObjectType(zoneRegions[i]));
    }
    std::vector<HRGN> second(zoneRegions, zoneRegions + ZONE_REGION_COUNT);
    DeleteZoneRegions();
    for (int i = 0; i < ZONE_REGION_COUNT; i++) {
        EXPECT_EQ(NULL, zoneRegions[i]);
        EXPECT_EQ(0u, GetObjectType(second[i]));
    }
    EXPECT_EQ(0u, FindMapZone(200, 100));
}

// Each opening of the Properties dialog builds the set once. A region lost per build fills
// the platform's GDI handle table (Wine's holds 65,536) long before 6,000 builds, and from
// then on no region can be made.
TEST_F(ZoneRegions, ThousandsOfBuildsLoseNoRegion)
{
    for (int build = 0; build < 6000; build++) {
        BuildZoneRegions();
        int made = 0;
        for (int i = 0; i < ZONE_REGION_COUNT; i++)
            made += GetObjectType(zoneRegions[i]) == OBJ_REGION;
        ASSERT_EQ(ZONE_REGION_COUNT, made) << "build " << build;
    }
    POINT point;
    EXPECT_TRUE(PointOwnedBy(OrderOf(17), &point));
    HRGN probe = CreateRectRgn(0, 0, 1, 1);
    EXPECT_TRUE(probe != NULL);
    DeleteObject(probe);
}

// Through the dialog: a release on the map with a pin active.
class MapClicks : public ::testing::Test {
protected:
    ScratchDir dir;
    void SetUp() override
    {
        StartBar("[ZONES]\r\nONE=5\r\nONEDST=1\r\nTWO=8\r\nTWODST=1\r\nTHREE=23\r\nTHREEDST=1\r\nFOUR=22\r\n");
    }
    void TearDown() override { CloseBar(); }
};

struct ClockState {
    int selection;
    bool enabled, checked;
};

static ClockState StateOf(HWND dialog, int clock)
{
    ClockState state;
    state.selection = ZoneSelection(dialog, clock);
    state.enabled = IsWindowEnabled(GetDlgItem(dialog, dstBoxIds[clock - 1])) != FALSE;
    state.checked = SendDlgItemMessageA(dialog, dstBoxIds[clock - 1], BM_GETCHECK, 0, 0) == BST_CHECKED;
    return state;
}

static void ExpectSame(const ClockState& a, const ClockState& b, int clock)
{
    EXPECT_EQ(a.selection, b.selection) << "clock " << clock;
    EXPECT_EQ(a.enabled, b.enabled) << "clock " << clock;
    EXPECT_EQ(a.checked, b.checked) << "clock " << clock;
}

TEST_F(MapClicks, EachRegionSelectsItsZoneInTheActivePinsList)
{
    ASSERT_TRUE(WhilePropertiesOpen([](HWND dialog) {
        SendMessageA(dialog, WM_COMMAND, IDC_PINBUTTON2, 0);
        ClockState others[4];
        for (int clock = 1; clock <= 4; clock++)
            others[clock - 1] = StateOf(dialog, clock);
        for (int i = 0; i < ZONE_REGION_COUNT; i++) {
            UINT zone = zoneRegionSpecs[i].zoneIndex;
            SCOPED_TRACE(testing::Message() << "zone " << zone);
            POINT point;
            ASSERT_TRUE(PointOwnedBy(i, &point));
            ReleaseOnMap(point.x, point.y);
            EXPECT_EQ((int)zone - 1, ZoneSelection(dialog, 2));
            EXPECT_EQ(zoneTable[zone - 1].dstCapable == 1, StateOf(dialog, 2).enabled);
            EXPECT_TRUE(StateOf(dialog, 2).checked);    // the tick never changes
            EXPECT_EQ(point.x, PinAt(2).x);
            EXPECT_EQ(point.y, PinAt(2).y);
            for (int clock : { 1, 3, 4 })
                ExpectSame(others[clock - 1], StateOf(dialog, clock), clock);
        }
        SendMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
    }));
}

TEST_F(MapClicks, ZoneWithoutDaylightSavingDisablesTheBoxAndKeepsItsTick)
{
    ASSERT_TRUE(WhilePropertiesOpen([](HWND dialog) {
        POINT inZone1, inZone4;
        ASSERT_TRUE(PointOwnedBy(OrderOf(1), &inZone1));
        ASSERT_TRUE(PointOwnedBy(OrderOf(4), &inZone4));
        ReleaseOnMap(inZone1.x, inZone1.y);
        EXPECT_EQ(0, ZoneSelection(dialog, 1));
        EXPECT_FALSE(StateOf(dialog, 1).enabled);
        EXPECT_TRUE(StateOf(dialog, 1).checked);
        ReleaseOnMap(inZone4.x, inZone4.y);
        EXPECT_EQ(3, ZoneSelection(dialog, 1));
        EXPECT_TRUE(StateOf(dialog, 1).enabled);
        EXPECT_TRUE(StateOf(dialog, 1).checked);
        SendMessageA(dialog, WM_COMMAND, IDC_PROPERTIES_OK, 0);
    }));
    // the map's choice is what OK stores, with the pin where it was dropped
    EXPECT_EQ(4u, clockZones[0].zoneIndex);
    EXPECT_EQ(1u, clockZones[0].dstInUse);
}

TEST_F(MapClicks, PointInNoRegionMovesThePinOnly)
{
    ASSERT_TRUE(WhilePropertiesOpen([](HWND dialog) {
        SendMessageA(dialog, WM_COMMAND, IDC_PINBUTTON3, 0);
        ClockState before = StateOf(dialog, 3);
        ReleaseOnMap(0, 100);
        EXPECT_EQ(0, PinAt(3).x);
        EXPECT_EQ(100, PinAt(3).y);
        ExpectSame(before, StateOf(dialog, 3), 3);
        ReleaseOnMap(180, 187);
        EXPECT_EQ(180, PinAt(3).x);
        ExpectSame(before, StateOf(dialog, 3), 3);
        SendMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
    }));
}

TEST_F(MapClicks, SlotOutsideTheFourPinsChangesNothing)
{
    ASSERT_TRUE(WhilePropertiesOpen([](HWND dialog) {
        ClockState before[4];
        for (int clock = 1; clock <= 4; clock++)
            before[clock - 1] = StateOf(dialog, clock);
        POINT point;
        ASSERT_TRUE(PointOwnedBy(OrderOf(17), &point));
        HitTestMapZone(point.x, point.y, 4);
        HitTestMapZone(point.x, point.y, -1);
        for (int clock = 1; clock <= 4; clock++)
            ExpectSame(before[clock - 1], StateOf(dialog, clock), clock);
        SendMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
    }));
}

// The zones without a region of their own: the list shows each by its table name, choosing
// it sends the pin to its table place, and a click there picks a zone of the same time.
TEST_F(MapClicks, ZonesWithoutARegionKeepTheirNamesAndPlaces)
{
    ASSERT_TRUE(WhilePropertiesOpen([](HWND dialog) {
        int withoutRegion = 0;
        for (UINT zone = 1; zone <= ZONE_COUNT; zone++) {
            if (OrderOf(zone) >= 0)
                continue;
            withoutRegion++;
            const ZoneRow& row = zoneTable[zone - 1];
            SCOPED_TRACE(testing::Message() << "zone " << zone << " " << row.displayName);
            char item[64] = "";
            SendDlgItemMessageA(dialog, IDC_ZONE1, CB_GETLBTEXT, zone - 1, (LPARAM)item);
            EXPECT_STREQ(row.displayName, item);
            PickZoneFromList(dialog, 1, zone - 1);
            EXPECT_EQ((int)zone - 1, ZoneSelection(dialog, 1));
            EXPECT_EQ(row.mapX, PinAt(1).x);
            EXPECT_EQ(row.mapY, PinAt(1).y);
            EXPECT_EQ(row.dstCapable == 1, StateOf(dialog, 1).enabled);
            EXPECT_TRUE(row.mapX >= 0 && row.mapX + PIN_SIZE <= MAP_WIDTH && row.mapY >= 0 && row.mapY + PIN_SIZE <= MAP_HEIGHT);
            ReleaseOnMap(row.mapX, row.mapY);
            UINT picked = (UINT)ZoneSelection(dialog, 1) + 1;
            EXPECT_EQ(FindMapZone(row.mapX, row.mapY) ? FindMapZone(row.mapX, row.mapY) : zone, picked);
            // its clock reads the same time, but where the table puts Buenos Aires and
            // Georgetown: in the bands of -5 and -4 hours
            const ZoneRow& there = zoneTable[picked - 1];
            int minutes = row.stdOffsetHours * 60 + row.extraMinutes;
            int thereMinutes = there.stdOffsetHours * 60 + there.extraMinutes;
            if (zone != 18 && zone != 19)
                EXPECT_EQ((minutes + 1440) % 1440, (thereMinutes + 1440) % 1440) << "picks zone " << picked;
            else
                EXPECT_EQ(zone == 18 ? -300 : -240, thereMinutes) << "picks zone " << picked;
        }
        EXPECT_EQ(ZONE_COUNT - ZONE_REGION_COUNT, withoutRegion);
        SendMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
    }));
}
