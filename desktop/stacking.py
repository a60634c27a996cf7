"""Stacks each Velmor bar's X window as its "Always on top" says, as Windows does. Wine
leaves the bar, a window the window manager does not manage, wherever it happens to be
among the managed ones, whatever the setting. Here, when a window comes to the front (the
window manager raises it or makes it the active window: a click on it, a new window):
with "Always on top" on, the bar goes back over it, unless it is one of the bar's own
windows (its dialogs); with it off, the window comes over the bar. A bar that becomes the
active window, is set on top or is restored comes to the front (a minimised bar may stay
the active window all along, as on Windows when no other window takes it). A minimised
bar's box stays over the other windows, as a taskbar button would. Reads
velmor-ontop.exe's reports on its standard input and ends with them. Run by scripts/velmor
beside the bar."""
import os
import select
import sys
import time

from Xlib import X, display, error

STACKING = "_NET_CLIENT_LIST_STACKING"
ACTIVE = "_NET_ACTIVE_WINDOW"
FALL_BACK_SECONDS = 0.5   # a window made active this soon after the active one went is a fall-back


def read_reports(text):
    """The last whole report in text ("XID ONTOP ACTIVE RESTORED" lines, then an empty
    line) as {xid: (ontop, active, restored)}, and what is left of text after it."""
    bars, rest = None, text
    while "\n\n" in rest:
        block, rest = rest.split("\n\n", 1)
        bars = {}
        for line in block.split("\n"):
            words = line.split()
            if len(words) == 4:
                bars[int(words[0])] = tuple(word == "1" for word in words[1:])
    return bars, rest


def stacked_clients(conn, root):
    """The windows the window manager stacks, bottom first."""
    value = root.get_full_property(conn.intern_atom(STACKING), X.AnyPropertyType)
    return list(value.value) if value else []


def top_normal(conn, clients):
    """The highest of the clients in the window manager's normal layer: not a panel or the
    desktop, nor kept above or below the others."""
    atom = conn.intern_atom
    others = {atom(name) for name in ("_NET_WM_WINDOW_TYPE_DOCK", "_NET_WM_WINDOW_TYPE_DESKTOP",
                                      "_NET_WM_STATE_ABOVE", "_NET_WM_STATE_BELOW")}
    for client in reversed(clients):
        window = conn.create_resource_object("window", client)
        marks = set()
        for name in ("_NET_WM_WINDOW_TYPE", "_NET_WM_STATE"):
            try:
                value = window.get_full_property(atom(name), X.AnyPropertyType)
            except error.XError:
                value = None
            if value:
                marks.update(value.value)
        if not marks & others:
            return client
    return None


def frame_of(conn, root, window_id):
    """The child of the root that holds the window (the window manager's frame, or itself)."""
    window = conn.create_resource_object("window", window_id)
    while True:
        parent = window.query_tree().parent
        if parent.id == root.id:
            return window.id
        window = parent


def pid_of(conn, window_id):
    value = conn.create_resource_object("window", window_id).get_full_property(
        conn.intern_atom("_NET_WM_PID"), X.AnyPropertyType)
    return value.value[0] if value else None


def keep_own_windows_over(conn, root, bar):
    """The bar's own windows that show (its menus, a combo box's list, its dialogs) put back
    over the bar just raised, in their order: on Windows a window's menus and owned windows
    stand over it, and Wine leaves them under it once the bar is raised here after them."""
    pid = pid_of(conn, bar)
    if pid is None:
        return
    for child in root.query_tree().children:   # bottom first
        try:
            if child.id != bar and viewable(conn, child.id) and pid_of(conn, child.id) == pid:
                child.configure(stack_mode=X.Above)
        except error.XError:
            pass   # gone meanwhile


def paints_unmanaged_on_top(conn, root):
    """Whether the window manager's compositor shows the windows it does not manage over all
    the others, whatever their X stacking: xfwm4's (XFCE's, on by default) does. A bar put
    under a window there would still show over it, and its clicks would go to that window."""
    try:
        check = root.get_full_property(conn.intern_atom("_NET_SUPPORTING_WM_CHECK"), X.AnyPropertyType)
        name = conn.create_resource_object("window", check.value[0]).get_full_property(
            conn.intern_atom("_NET_WM_NAME"), X.AnyPropertyType)
        manager = bytes(name.value).decode(errors="replace") if name else ""
    except (error.XError, AttributeError, IndexError):
        return False
    compositing = conn.get_selection_owner(conn.intern_atom("_NET_WM_CM_S%d" % conn.get_default_screen()))
    return manager.lower() == "xfwm4" and compositing not in (0, X.NONE) and getattr(compositing, "id", 1) != 0


def restack_bars(conn, root, bars, client):
    """The bars put over or under the client just raised, as each one's setting says (over
    it whatever the setting where the compositor shows them over it anyway)."""
    frame = frame_of(conn, root, client)
    order = [child.id for child in root.query_tree().children]   # bottom first
    if frame not in order:
        return
    for bar, (ontop, _, restored) in bars.items():
        if bar not in order:
            continue
        above = order.index(bar) > order.index(frame)
        window = conn.create_resource_object("window", bar)
        # a minimised bar's box stands in for the taskbar button it has on Windows, which
        # stays in view (Wine on X has no taskbar that takes it)
        if (ontop or not restored) and not above and pid_of(conn, client) != pid_of(conn, bar):
            window.configure(sibling=frame, stack_mode=X.Above)
            keep_own_windows_over(conn, root, bar)
        elif not ontop and restored and above and not paints_unmanaged_on_top(conn, root):
            window.configure(sibling=frame, stack_mode=X.Below)


def active_client(conn, root):
    value = root.get_full_property(conn.intern_atom(ACTIVE), X.AnyPropertyType)
    return value.value[0] if value and value.value[0] else None


def viewable(conn, window_id):
    try:
        window = conn.create_resource_object("window", window_id)
        return window.get_attributes().map_state == X.IsViewable
    except error.XError:
        return False


def keyboard_with_bar(conn, bars):
    """Whether the X keyboard focus is on a window of a bar's program. Wine can hand the
    activation to another program's window that takes no X focus (its tray's, as it shows
    the icon at the end of a drag) while the keyboard stays with the bar."""
    focus = conn.get_input_focus().focus
    if isinstance(focus, int):
        return False   # none, or the pointer's window
    try:
        pid = pid_of(conn, focus.id)
        return pid is not None and any(pid_of(conn, bar) == pid for bar in bars)
    except error.XError:
        return False   # gone meanwhile


def catch_clicks(conn, client):
    """Some window managers (icewm) take no notice of the keyboard going to a window they do
    not manage: to them the window that had it is still the active one, so a click on it
    gives it neither the keyboard nor the front. While a bar has the keyboard, that window's
    clicks are caught here first; None where there is no such window."""
    if client is None:
        return None
    window = conn.create_resource_object("window", client)
    window.grab_button(X.AnyButton, X.AnyModifier, False, X.ButtonPressMask,
                       X.GrabModeSync, X.GrabModeAsync, X.NONE, X.NONE)
    return window


def catch_clicks_of(conn, caught, client):
    """The clicks caught on the client (None: on no window) rather than on the window caught
    so far, which the window manager may no longer think active."""
    if caught is not None and caught.id == client:
        return caught
    if caught is not None:
        caught.ungrab_button(X.AnyButton, X.AnyModifier)
    return catch_clicks(conn, client)


def give_click_back(conn, window, event):
    """The click caught goes on to the window, which gets the keyboard, as the window
    manager would give it."""
    conn.allow_events(X.ReplayPointer, event.time)
    window.set_input_focus(X.RevertToParent, event.time)
    window.ungrab_button(X.AnyButton, X.AnyModifier)


def main():
    conn = display.Display()
    conn.set_error_handler(lambda *_: None)   # a window gone meanwhile, a click taken already
    root = conn.screen().root
    root.change_attributes(event_mask=X.PropertyChangeMask)
    stacking, active = conn.intern_atom(STACKING), conn.intern_atom(ACTIVE)
    bars, pending = {}, ""
    clients = stacked_clients(conn, root)
    top = top_normal(conn, clients)
    caught = None   # the window whose clicks are caught while a bar has the keyboard
    last_active = active_client(conn, root)
    gone_at = 0.0   # when the active window went, leaving none active
    while True:
        readable, _, _ = select.select([conn.fileno(), sys.stdin.fileno()], [], [], 0.2)
        raised = None   # the window that has just come to the front
        if sys.stdin.fileno() in readable:
            text = os.read(sys.stdin.fileno(), 4096).decode()
            if not text:
                return
            report, pending = read_reports(pending + text)
            if report is not None:
                for bar, now in report.items():
                    before = bars.get(bar, (False, False, False))
                    # on top, active or restored, where it was not
                    # or just minimised, its box in view
                    if (any(is_set and not was_set for is_set, was_set in zip(now, before))
                            or (before[2] and not now[2])):
                        conn.create_resource_object("window", bar).configure(stack_mode=X.Above)
                        keep_own_windows_over(conn, root, bar)
                bars = report
        while conn.pending_events():
            event = conn.next_event()
            if event.type == X.ButtonPress and caught is not None:
                give_click_back(conn, caught, event)
                raised, caught = caught.id, None
            elif event.type != X.PropertyNotify:
                continue
            elif event.atom == active:
                # not the window the keyboard falls back to when the active one goes, at
                # once or just after none was active (fluxbox)
                was_active, last_active = last_active, active_client(conn, root)
                if last_active is None and was_active is not None and not viewable(conn, was_active):
                    gone_at = time.monotonic()
                elif ((was_active is None or viewable(conn, was_active))
                      and time.monotonic() - gone_at > FALL_BACK_SECONDS):
                    raised = last_active or raised
            elif event.atom == stacking:
                was_top, was_clients = top, clients
                clients = stacked_clients(conn, root)
                top = top_normal(conn, clients)
                # the active window raised again (the list written anew as it was, which
                # openbox also does with no window raised once the bar has the keyboard, and
                # fluxbox just after a fall-back), or a new window on top, or one raised over
                # the old top; not one left on top when the window over it went away, nor a
                # change elsewhere
                raised_again = (clients == was_clients and top == last_active
                                and time.monotonic() - gone_at > FALL_BACK_SECONDS)
                if raised_again or (top != was_top and was_top in clients):
                    raised = top or raised
        if raised is not None:
            try:
                restack_bars(conn, root, bars, raised)
            except error.XError:
                pass
        # at every turn, not only at a report: the keyboard also comes back to a bar with no
        # change of its activity (its menu closed), and the window manager may change its
        # active window after the report
        any_active = (any(is_active for _, is_active, _ in bars.values())
                      or keyboard_with_bar(conn, bars))
        client = active_client(conn, root) if any_active else None
        caught = catch_clicks_of(conn, caught, client)
        conn.flush()


if __name__ == "__main__":
    main()
