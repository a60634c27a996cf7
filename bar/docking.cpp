// Docking at a screen edge as an application bar, and dragging between the two forms.
#include "bar/bar.h"

int selectedPlacement;

int ChooseEdge(int, int) { return 1; }
void DockBar(void) {}
void ReleaseBarSpace(void) {}
void OnAppBarNotify(WPARAM, LPARAM) {}
void OnBarMoving(RECT*) {}
void OnBarSizing(RECT*) {}
void OnBarExitSizeMove(void) {}
