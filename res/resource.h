/* Resource, control, command and message ids; shared by the .rc scripts and the code. */
#ifndef VELMOR_RESOURCE_H
#define VELMOR_RESOURCE_H

/* Bitmaps of the bar (100s) */
#define IDB_GLOBE_DOCKED    103
#define IDB_GLOBE_FLOATING  106
#define IDB_MINIMIZE_UP     107
#define IDB_MINIMIZE_DOWN   108
#define IDB_CLOSE_DOWN      113
#define IDB_CLOSE_UP        114
#define IDB_PANEL           116
#define IDB_FILLER          117

/* Icon, map, pins, banner */
#define IDI_VELMOR          118
#define IDB_MAP             126
#define IDB_PIN1            130
#define IDB_PIN2            131
#define IDB_PIN3            132
#define IDB_PIN4            133
#define IDB_BANNER          134

/* Cursor (its own resource type, so it may share a number with a bitmap) */
#define IDC_MAPHAND         131

/* Dialog templates */
#define IDD_ABOUT           103
#define IDD_PROPERTIES      127

/* Controls of the Properties dialog */
#define IDC_ZONE2           1001
#define IDC_ZONE4           1002
#define IDC_ZONEGROUP       1004
#define IDC_PINBUTTON1      1006
#define IDC_PINBUTTON2      1007
#define IDC_PINBUTTON3      1008
#define IDC_PINBUTTON4      1009
#define IDC_ZONE1           1010
#define IDC_ZONE3           1011
#define IDC_PROPERTIES_OK   1012
#define IDC_DST1            1013
#define IDC_DST3            1014
#define IDC_DST2            1015
#define IDC_DST4            1016

/* Popup menu commands */
#define CMD_ALWAYS_ON_TOP   1
#define CMD_ABOUT           2
#define CMD_PROPERTIES      5
#define CMD_CLOSE           6

/* Private messages of the bar window (WM_USER + 100, WM_USER + 103) */
#define WM_APPBARNOTIFY     1124
#define WM_TRAYNOTIFY       1127

/* The clock timer and the tray icon's id */
#define CLOCK_TIMER_ID      275
#define TRAY_ICON_ID        118
/* The one-shot timer of the tray icon's menu over a dialog */
#define MENU_TIMER_ID       276

#endif
