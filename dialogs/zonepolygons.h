// Constant vertex tables of the map's 29 zone regions, in test order.
#ifndef VELMOR_ZONEPOLYGONS_H
#define VELMOR_ZONEPOLYGONS_H

#include <windows.h>
#include "dialogs/dialogs.h"

// How a polygon joins its region: the first one starts it, the others combine.
#define POLY_START 0
// later ones use RGN_XOR, RGN_OR or RGN_DIFF

struct ZonePolygon {
    int combineMode;          // POLY_START for the first, else RGN_XOR / RGN_OR / RGN_DIFF
    const POINT* vertices;
    int vertexCount;
};

struct ZoneRegionSpec {
    UINT zoneIndex;
    const ZonePolygon* polygons;
    int polygonCount;
    int subtractOrder;        // test-order position (0-based) of an earlier region to subtract, or -1
};

extern const ZoneRegionSpec zoneRegionSpecs[ZONE_REGION_COUNT];

#endif
