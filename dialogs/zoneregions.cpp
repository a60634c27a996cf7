// The map's zone regions and the hit test.
#include "dialogs/dialogs.h"

HRGN zoneRegions[ZONE_REGION_COUNT];

void BuildZoneRegions(void) {}
void HitTestMapZone(int, int, int) {}
void DeleteZoneRegions(void) {}
UINT FindMapZone(int, int) { return 0; }
