#!/usr/bin/python3
"""Acts on a top-level X window by its title, for the program's window tests.

    x_window.py close TITLE [SECONDS]    wait for the window to be shown, then send it the window
                                         manager's close request (WM_DELETE_WINDOW) at once
    x_window.py destroy TITLE [SECONDS]  wait for the window to be shown, then destroy it
    x_window.py wait TITLE [SECONDS]     wait for the window to be shown; print its id
    x_window.py gone TITLE [SECONDS]     wait until no window of that title is shown

Exits 0 on success, 1 when the wait runs out. Uses Debian's python3-xlib.
"""
import sys
import time

from Xlib import X, display, error, protocol


def all_windows(window, depth=0):
    """The window's descendants: a window manager puts top-level windows inside frames."""
    try:
        children = window.query_tree().children
    except error.XError:
        return []
    found = list(children)
    if depth < 3:
        for w in children:
            found += all_windows(w, depth + 1)
    return found


def shown_windows(d, title):
    found = []
    for w in all_windows(d.screen().root):
        try:
            if w.get_attributes().map_state != X.IsViewable:
                continue
            name = w.get_full_property(d.intern_atom("_NET_WM_NAME"), 0)
            text = name.value.decode("utf-8", "replace") if name else (w.get_wm_name() or "")
        except error.XError:
            continue  # the window went away meanwhile
        if isinstance(text, bytes):
            text = text.decode("latin-1")
        if text == title:
            found.append(w)
    return found


def main():
    action, title = sys.argv[1], sys.argv[2]
    limit = float(sys.argv[3]) if len(sys.argv) > 3 else 60.0
    d = display.Display()
    end = time.monotonic() + limit
    while time.monotonic() < end:
        windows = shown_windows(d, title)
        if action == "gone":
            if not windows:
                return 0
        elif windows:
            w = windows[0]
            if action == "close":
                protocols = d.intern_atom("WM_PROTOCOLS")
                delete = d.intern_atom("WM_DELETE_WINDOW")
                event = protocol.event.ClientMessage(
                    window=w, client_type=protocols, data=(32, [delete, X.CurrentTime, 0, 0, 0]))
                w.send_event(event, event_mask=0)
            elif action == "destroy":
                w.destroy()
            elif action == "wait":
                print(w.id)
            d.sync()
            return 0
        time.sleep(0.005)
    return 1


if __name__ == "__main__":
    sys.exit(main())
