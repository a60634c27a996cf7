// The Properties dialog.
#include "dialogs/dialogs.h"

HWND propertiesDialog;

INT_PTR CALLBACK PropertiesDlgProc(HWND, UINT, WPARAM, LPARAM) { return FALSE; }
void OpenPropertiesDialog(void) {}
