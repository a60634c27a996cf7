// The map's zone regions, built from the polygon tables, and the hit test of a map click.
#include "dialogs/dialogs.h"
#include "dialogs/zonepolygons.h"
#include "zones/zones.h"

HRGN zoneRegions[ZONE_REGION_COUNT];   // in test order, paired with zoneRegionSpecs

static HRGN BuildOneRegion(const ZoneRegionSpec* row, int order)
{
    HRGN region = NULL;
    for (int p = 0; p < row->polygonCount; p++) {
        const ZonePolygon* polygon = &row->polygons[p];
        HRGN piece = CreatePolygonRgn(polygon->vertices, polygon->vertexCount, WINDING);
        if (p == 0) {
            region = piece;
            continue;
        }
        CombineRgn(region, region, piece, polygon->combineMode);
        DeleteObject(piece);
    }
    // the small zone cut out of a band is an earlier region of the set and stays in it
    int cut = row->subtractOrder;
    if (region && cut >= 0 && cut < order && zoneRegions[cut])
        CombineRgn(region, region, zoneRegions[cut], RGN_DIFF);
    return region;
}

void BuildZoneRegions(void)
{
    DeleteZoneRegions();   // a set left from before would leak
    for (int order = 0; order < ZONE_REGION_COUNT; order++)
        zoneRegions[order] = BuildOneRegion(&zoneRegionSpecs[order], order);
}

void DeleteZoneRegions(void)
{
    for (int order = 0; order < ZONE_REGION_COUNT; order++) {
        if (zoneRegions[order])
            DeleteObject(zoneRegions[order]);
        zoneRegions[order] = NULL;
    }
}

// Where regions overlap the earlier one in test order wins.
UINT FindMapZone(int x, int y)
{
    for (int order = 0; order < ZONE_REGION_COUNT; order++)
        if (zoneRegions[order] && PtInRegion(zoneRegions[order], x, y))
            return zoneRegionSpecs[order].zoneIndex;
    return 0;
}

void HitTestMapZone(int x, int y, int clock)
{
    UINT zone = FindMapZone(x, y);
    if (clock < 0 || clock >= CLOCK_COUNT)
        return;
    // off every region (map rim, seams) the pin has moved but the clock keeps its choice
    if (zone < 1 || zone > ZONE_COUNT)
        return;
    // CB_SETCURSEL sends no CBN_CLOSEUP, so the pin stays where it was dropped
    SendDlgItemMessageA(propertiesDialog, zoneComboIds[clock], CB_SETCURSEL, zone - 1, 0);
    ZoneRecord zoneRecord = {};
    zoneRecord.zoneIndex = zone;
    LookupZone(&zoneRecord);
    EnableWindow(GetDlgItem(propertiesDialog, dstBoxIds[clock]), zoneRecord.dstCapable == 1);
}
