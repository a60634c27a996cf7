// The popup menu and the notification-area icon.
#include "bar/bar.h"

void ShowBarMenu(int, int) {}
void SetTrayIcon(DWORD) {}
void HandleTrayNotify(UINT, UINT) {}
