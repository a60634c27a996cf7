// The map's zone regions: their build, the hit test of every region, the small zones and
// islands, and what a map click does to the dialog's lists and DST boxes.
#include <gtest/gtest.h>
#include <vector>
#include "app/app.h"
#include "dialogs/dialogs.h"
#include "dialogs/zonepolygons.h"
#include "res/resource.h"
#include "zones/zones.h"
#include "barharness.h"
#include "dialogtest.h"
#include "testutil.h"

struct RegionRow {
    UINT zone;
    int xLow, xHigh, yLow, yHigh;    // extent of the polygons that add area
};

static const RegionRow regionRows[ZONE_REGION_COUNT] = {
    { 1, 56, 92, 2, 186 }, { 2, 83, 106, 2, 186 }, { 3, 92, 119, 2, 186 }, { 4, 95, 133, 2, 186 },
    { 5, 123, 150, 2, 186 }, { 7, 130, 163, 2, 186 }, { 8, 152, 179, 2, 186 }, { 12, 169, 199, 2, 186 },
    { 14, 187, 213, 2, 186 }, { 16, 200, 207, 65, 72 }, { 17, 190, 239, 2, 186 }, { 20, 223, 238, 2, 186 },
    { 21, 231, 251, 2, 186 }, { 22, 237, 271, 2, 186 }, { 24, 251, 285, 2, 186 }, { 28, 272, 305, 2, 186 },
    { 33, 283, 315, 2, 186 }, { 34, 309, 324, 81, 93 }, { 35, 298, 325, 2, 186 }, { 37, 322, 328, 82, 88 },
    { 38, 311, 341, 2, 186 }, { 40, 327, 353, 81, 113 }, { 42, 322, 357, 2, 186 }, { 43, 2, 358, 2, 186 },
    { 44, 2, 358, 2, 186 }, { 47, 10, 46, 2, 186 }, { 49, 31, 45, 131, 158 }, { 51, 25, 63, 2, 186 },
    { 55, 45, 79, 2, 186 },
};

// Outlines of the small zones and the islands, with the band each is cut from.
static const POINT zone16[] = { { 201, 68 }, { 204, 65 }, { 206, 65 }, { 206, 69 }, { 207, 70 }, { 207, 72 }, { 205, 72 }, { 200, 71 }, { 201, 69 } };
static const POINT zone34[] = { { 309, 81 }, { 318, 81 }, { 324, 93 }, { 318, 93 }, { 312, 91 } };
static const POINT zone37[] = { { 322, 82 }, { 328, 82 }, { 328, 87 }, { 326, 88 }, { 322, 88 } };
static const POINT zone40[] = { { 327, 94 }, { 335, 81 }, { 343, 86 }, { 348, 81 }, { 353, 82 }, { 353, 93 }, { 346, 93 }, { 341, 102 }, { 341, 113 }, { 337, 113 } };
static const POINT zone49[] = { { 31, 131 }, { 35, 131 }, { 41, 135 }, { 41, 145 }, { 45, 145 }, { 45, 158 }, { 31, 150 } };
static const POINT islandA[] = { { 352, 12 }, { 357, 16 }, { 356, 19 }, { 348, 16 } };
static const POINT islandB[] = { { 2, 111 }, { 8, 116 }, { 6, 119 }, { 2, 114 } };

struct Outline {
    const POINT* vertices;
    int count;
    UINT inside;     // the zone the outline stands for
    UINT cutFrom;    // the band it is cut out of
};

static const Outline outlines[] = {
    { zone16, 9, 16, 14 }, { zone34, 5, 34, 35 }, { zone37, 5, 37, 38 }, { zone40, 10, 40, 42 },
    { zone49, 7, 49, 47 }, { islandA, 4, 44, 43 }, { islandB, 4, 44, 43 },
};

static int OrderOf(UINT zone)
{
    for (int i = 0; i < ZONE_REGION_COUNT; i++)
        if (regionRows[i].zone == zone)
            return i;
    return -1;
}

// A point of the region at this order that no earlier region holds, if there is one.
static bool PointOwnedBy(int order, POINT* found, int xFrom = 0, int xTo = MAP_WIDTH)
{
    for (int y = 0; y < MAP_HEIGHT; y++)
        for (int x = xFrom; x < xTo; x++) {
            if (!PtInRegion(zoneRegions[order], x, y))
                continue;
            bool earlier = false;
            for (int k = 0; k < order && !earlier; k++)
                earlier = PtInRegion(zoneRegions[k], x, y) != FALSE;
            if (!earlier) {
                found->x = x;
                found->y = y;
                return true;
            }
        }
    return false;
}

class ZoneRegions : public ::testing::Test {
protected:
    void SetUp() override { BuildZoneRegions(); }
    void TearDown() override { DeleteZoneRegions(); }
};

TEST_F(ZoneRegions, TableHoldsTwentyNineRegionsOfFortyFivePolygons)
{
    int polygons = 0, vertices = 0;
    for (int i = 0; i < ZONE_REGION_COUNT; i++) {
        EXPECT_EQ(regionRows[i].zone, zoneRegionSpecs[i].zoneIndex) << i;
        EXPECT_EQ(POLY_START, zoneRegionSpecs[i].polygons[0].combineMode) << i;
        polygons += zoneRegionSpecs[i].polygonCount;
        for (int p = 0; p < zoneRegionSpecs[i].polygonCount; p++)
            vertices += zoneRegionSpecs[i].polygons[p].vertexCount;
    }
    EXPECT_EQ(45, polygons);
    EXPECT_EQ(809, vertices);
}

TEST_F(ZoneRegions, EachRegionLiesWithinItsExtent)
{
    for (int i = 0; i < ZONE_REGION_COUNT; i++) {
        const RegionRow& row = regionRows[i];
        SCOPED_TRACE(testing::Message() << "zone " << row.zone);
        ASSERT_TRUE(zoneRegions[i] != NULL);
        RECT box;
        EXPECT_NE(NULLREGION, GetRgnBox(zoneRegions[i], &box));
        EXPECT_GE(box.left, row.xLow);
        EXPECT_LE(box.right, row.xHigh + 1);
        EXPECT_GE(box.top, row.yLow);
        EXPECT_LE(box.bottom, row.yHigh + 1);
    }
}

TEST_F(ZoneRegions, EveryRegionResolvesToItsZoneSomewhere)
{
    for (int i = 0; i < ZONE_REGION_COUNT; i++) {
        POINT point;
        ASSERT_TRUE(PointOwnedBy(i, &point)) << "zone " << regionRows[i].zone << " is wholly covered";
        EXPECT_EQ(regionRows[i].zone, FindMapZone(point.x, point.y)) << point.x << "," << point.y;
    }
}

TEST_F(ZoneRegions, ZonesOwnPinDotsLieInTheirRegions)
{
    // the zone table's pin place plus the dot's offset: where the eye sees the zone's pin
    for (int i = 0; i < ZONE_REGION_COUNT; i++) {
        UINT zone = regionRows[i].zone;
        const ZoneRow& row = zoneTable[zone - 1];
        EXPECT_TRUE(PtInRegion(zoneRegions[i], row.mapX + 3, row.mapY + 3) ||
                    PtInRegion(zoneRegions[i], row.mapX, row.mapY))
            << "zone " << zone << " at " << row.mapX << "," << row.mapY;
    }
}

TEST_F(ZoneRegions, SmallZonesAndIslandsNeverResolveToTheirBands)
{
    for (const Outline& outline : outlines) {
        SCOPED_TRACE(testing::Message() << "zone " << outline.inside << " in " << outline.cutFrom);
        HRGN shape = CreatePolygonRgn(outline.vertices, outline.count, WINDING);
        int inside = 0, ownZone = 0;
        int ownOrder = OrderOf(outline.inside);
        for (int y = 0; y < MAP_HEIGHT; y++)
            for (int x = 0; x < MAP_WIDTH; x++) {
                if (!PtInRegion(shape, x, y))
                    continue;
                inside++;
                // cut out of the band's own region, even where an earlier region wins anyway
                EXPECT_FALSE(PtInRegion(zoneRegions[OrderOf(outline.cutFrom)], x, y)) << x << "," << y;
                UINT zone = FindMapZone(x, y);
                EXPECT_NE(outline.cutFrom, zone) << x << "," << y;
                if (zone == outline.inside) {
                    ownZone++;
                } else {
                    // only a region earlier in the test order may take the point
                    EXPECT_LT(OrderOf(zone), ownOrder) << x << "," << y << " gives " << zone;
                }
            }
        DeleteObject(shape);
        EXPECT_GT(inside, 0);
        EXPECT_GT(ownZone, 0);
    }
}

TEST_F(ZoneRegions, BothPiecesOfZones43And44Resolve)
{
    for (UINT zone : { 43u, 44u }) {
        POINT left, right;
        ASSERT_TRUE(PointOwnedBy(OrderOf(zone), &left, 0, 60)) << zone;
        ASSERT_TRUE(PointOwnedBy(OrderOf(zone), &right, 300, MAP_WIDTH)) << zone;
        EXPECT_EQ(zone, FindMapZone(left.x, left.y));
        EXPECT_EQ(zone, FindMapZone(right.x, right.y));
    }
}

TEST_F(ZoneRegions, RimOfTheMapIsInNoRegion)
{
    for (int x = 0; x < MAP_WIDTH; x++) {
        EXPECT_EQ(0u, FindMapZone(x, 0));
        EXPECT_EQ(0u, FindMapZone(x, 187));
    }
    for (int y = 0; y < MAP_HEIGHT; y++) {
        EXPECT_EQ(0u, FindMapZone(0, y));
        EXPECT_EQ(0u, FindMapZone(359, y));
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

static void ReleaseOnMap(int x, int y)
{
    SendMessageA(mapControl, WM_LBUTTONUP, 0, MAKELPARAM(x, y));
}

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
            UINT zone = regionRows[i].zone;
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
