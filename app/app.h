// Application state shared by every part of the bar, and the program's start-up.
#ifndef VELMOR_APP_H
#define VELMOR_APP_H

#include <windows.h>
#include <shellapi.h>

extern HINSTANCE appInstance;   // the program's module, for resources and windows
extern int screenWidth;         // SM_CXSCREEN, read at start-up and at each display change
extern UINT timerInterval;      // clock timer period, ms
extern HCURSOR arrowCursor;     // the system arrow; the bar's class cursor
extern HCURSOR mapCursor;       // pointing hand shown over the Properties map
extern int alignPreference;     // "ALIGN" as read, then as the drags leave it (SettlePlacement)
extern int ontopPreference;     // "ONTOP": 1 topmost, 0 not, anything else: leave alone
extern int placement;           // where the bar is: the edge ALIGN names from the settings
                                // loader, floating from the floating layout, then the drags'
extern int floatedByDrag;       // 1 while a drag has turned the docked bar into the floating one
extern APPBARDATA appBar;       // the one record for every SHAppBarMessage call
extern HMENU barMenu;           // the popup menu, built once
extern HWND barWindow;          // the one top-level window

// Where the bar is, in placement's values. Between them and "ALIGN", the layout of the
// children and the shell's edge, the conversions below are the only ones.
#define PLACEMENT_TOP      1      // the shell's ABE_TOP
#define PLACEMENT_BOTTOM   3      // the shell's ABE_BOTTOM
#define PLACEMENT_FLOATING (-2)
#define ALIGN_FLOATING     99     // "ALIGN" of the floating window; the edges keep their numbers
#define LAYOUT_DOCKED      1      // the panels in a row right of the globe's column
#define LAYOUT_FLOATING    2      // the clocks in a column under the caption strip
static_assert(PLACEMENT_TOP == ABE_TOP && PLACEMENT_BOTTOM == ABE_BOTTOM,
              "a docked placement is the shell's edge");

// The edge "ALIGN" names: 3 the bottom; any other value, 99 too, the top, as the default
// (the floating window is made afterwards, by the layout).
inline int EdgeOfAlign(int align)
{
    return align == PLACEMENT_BOTTOM ? PLACEMENT_BOTTOM : PLACEMENT_TOP;
}
inline int AlignOfPlacement(int where)
{
    return where == PLACEMENT_FLOATING ? ALIGN_FLOATING : where;
}
inline int LayoutOfPlacement(int where)
{
    return where == PLACEMENT_FLOATING ? LAYOUT_FLOATING : LAYOUT_DOCKED;
}
// For appBar.uEdge: floating is an edge no shell knows.
inline UINT ShellEdgeOfPlacement(int where)
{
    return (UINT)where;
}

void LoadStartupState(void);

// Every part's state back to what it is when the program is loaded (zero, no window, no
// handles), for a second start in one process: the tests start the bar many times.
// It calls the Reset...State of each file that keeps state; velmor.exe never calls them,
// and the link leaves them out.
void ResetProgramState(void);

// The whole program: start-up, window, message loop. Returns the exit status.
int RunVelmor(HINSTANCE instance);

// Everything between the settings and the message loop: the bar window in its first
// form with its menu, children and timer. FALSE when no window could be made.
BOOL OpenBarWindow(void);

// Its pieces, in the order it calls them.
void RegisterBarClass(void);
HWND CreateBarWindow(void);
void AnnounceAppBar(void);
void BuildBarMenu(void);
void ApplyOntopPreference(void);
void StartClockTimer(void);

// The message loop that follows it; returns the exit status.
int RunMessageLoop(void);

// Bold Arial of the given pixel height, the face of the clock panels, the caption strip and
// the minimised box; the caller deletes it.
HFONT CreateBoldArial(int height, BYTE italic);
// A STATIC child of parent that shows picture and notifies its parent of clicks.
HWND CreateBitmapStatic(HWND parent, int x, int y, int width, int height, HBITMAP picture, BOOL visible);

// The foreground and the keyboard for window, with the focus on focus, on any desktop.
void TakeKeyboard(HWND window, HWND focus);
// The same for a window that WM_WINDOWPOSCHANGED reports shown (dialogs, once on the screen).
void TakeKeyboardWhenShown(HWND window, const WINDOWPOS* change);

#endif
