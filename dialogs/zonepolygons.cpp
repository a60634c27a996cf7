// Vertex tables of the map's zone regions.
#include "dialogs/zonepolygons.h"

const ZoneRegionSpec zoneRegionSpecs[29] = {};
