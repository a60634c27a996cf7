#!/usr/bin/python3
"""close_bar.py PID: asks the bar of one Wine process to close, as a window manager's close
button would: WM_DELETE_WINDOW to each of that process's X windows named "Velmor". Wine
turns it into the window's close command, so the bar writes its preferences and ends.
Other copies of the program, in the same Wine prefix or not, are left alone.
Exits 1 when the process has no such window."""
import sys

from Xlib import X, display
from Xlib.protocol import event


def windows_below(window):
    try:
        children = window.query_tree().children
    except Exception:    # a window that went away while we walked the tree
        return
    for child in children:
        yield child
        yield from windows_below(child)


def main():
    pid = int(sys.argv[1])
    screen = display.Display()
    pid_atom = screen.intern_atom("_NET_WM_PID")
    protocols = screen.intern_atom("WM_PROTOCOLS")
    delete = screen.intern_atom("WM_DELETE_WINDOW")
    asked = 0
    for window in windows_below(screen.screen().root):
        try:
            owner = window.get_full_property(pid_atom, X.AnyPropertyType)
            if not owner or owner.value[0] != pid or window.get_wm_name() != "Velmor":
                continue
            message = event.ClientMessage(window=window, client_type=protocols,
                                          data=(32, [delete, X.CurrentTime, 0, 0, 0]))
            window.send_event(message)
            asked += 1
        except Exception:    # a window that went away while we looked
            continue
    screen.flush()
    return 0 if asked else 1


if __name__ == "__main__":
    sys.exit(main())
