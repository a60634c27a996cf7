"""Keeps the docked bar's strip out of the X work area, so that maximised windows stop short
of it: Wine reserves nothing on the X screen for an application bar, and the bar is a window
the window manager does not manage. While a Velmor bar is docked (as wide as half the
screen at least, along the top or bottom), an invisible EWMH dock window holds a
_NET_WM_STRUT_PARTIAL over its strip; while it floats or after it closes that strut is
empty. Run by scripts/velmor beside the bar; ends when its standard input closes."""
import os
import select
import sys

from Xlib import X, Xatom, Xutil, display
from Xlib.ext import shape

BAR_TITLE = "Velmor"
NO_STRUT = [0] * 12


def docked_strut(screen, bars):
    """The 12 values of _NET_WM_STRUT_PARTIAL for the docked bars, or None when none is."""
    width, height = screen.width_in_pixels, screen.height_in_pixels
    strut = [0] * 12
    for x, y, w, h in bars:
        if w * 2 < width or h * 4 > height:
            continue   # the floating window, its minimised box, a dialog
        # the strip in a drag follows the mouse, past the screen's corner too
        first, last = max(x, 0), min(x + w, width) - 1
        if y + h // 2 < height // 2:
            strut[2], strut[8], strut[9] = max(strut[2], y + h), first, last
        else:
            strut[3], strut[10], strut[11] = max(strut[3], height - y), first, last
    return strut if strut[2] or strut[3] else None


def shown_bars(conn, root, own):
    """The rectangles of the mapped top-level windows titled Velmor (the bar, its dialogs)."""
    bars = []
    for child in root.query_tree().children:
        if own is not None and child.id == own.id:
            continue
        try:
            if child.get_attributes().map_state != X.IsViewable:
                continue
            if child.get_wm_name() != BAR_TITLE:
                continue
            g = child.get_geometry()
        except Exception:   # gone meanwhile
            continue
        bars.append((g.x, g.y, g.width, g.height))
    return bars


def make_dock(conn, root, strut):
    """A mapped dock window of no pixels and no input that holds the strut."""
    atom = conn.intern_atom
    x = strut[8] if strut[2] else strut[10]
    y = strut[2] - 1 if strut[2] else root.get_geometry().height - strut[3]
    window = root.create_window(x, y, 1, 1, 0, X.CopyFromParent, X.InputOutput,
                                X.CopyFromParent)
    window.set_wm_name("Velmor strip")
    window.set_wm_class("velmor-strip", "Velmor")
    window.set_wm_hints(flags=Xutil.InputHint, input=0)
    window.change_property(atom("_NET_WM_WINDOW_TYPE"), Xatom.ATOM, 32,
                           [atom("_NET_WM_WINDOW_TYPE_DOCK")])
    window.change_property(atom("_NET_WM_STATE"), Xatom.ATOM, 32,
                           [atom("_NET_WM_STATE_SKIP_TASKBAR"), atom("_NET_WM_STATE_SKIP_PAGER")])
    window.change_property(atom("_NET_WM_DESKTOP"), Xatom.CARDINAL, 32, [0xFFFFFFFF])
    for kind in (shape.SK.Bounding, shape.SK.Input):
        window.shape_rectangles(shape.SO.Set, kind, X.Unsorted, 0, 0, [])
    set_strut(conn, window, strut)
    window.map()
    return window


def set_strut(conn, window, strut):
    window.change_property(conn.intern_atom("_NET_WM_STRUT_PARTIAL"), Xatom.CARDINAL, 32, strut)
    window.change_property(conn.intern_atom("_NET_WM_STRUT"), Xatom.CARDINAL, 32, strut[:4])


def main():
    conn = display.Display()
    screen = conn.screen()
    root = screen.root
    # every map, unmap, move and resize of a top-level window
    root.change_attributes(event_mask=X.SubstructureNotifyMask)
    dock, strut = None, None
    while True:
        wanted = docked_strut(screen, shown_bars(conn, root, dock))
        if wanted != strut:
            if dock is None:
                dock = make_dock(conn, root, wanted)
            else:
                # emptied, not unmapped: xfwm4 hands the keyboard to its top window when a
                # window goes while the keyboard is with one it does not manage (the bar
                # being dragged), and Wine's move loop stops following the mouse
                set_strut(conn, dock, wanted or NO_STRUT)
            strut = wanted
            conn.flush()
        readable, _, _ = select.select([conn.fileno(), sys.stdin.fileno()], [], [], 2.0)
        if sys.stdin.fileno() in readable and not os.read(sys.stdin.fileno(), 64):
            return
        while conn.pending_events():
            conn.next_event()


if __name__ == "__main__":
    main()
