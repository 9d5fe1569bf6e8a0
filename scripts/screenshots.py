"""Drives a running Tessaly through its accessibility tree for scripts/screenshots.sh and prints
the screen rectangle of the window to photograph, as an ImageMagick geometry (WxH+X+Y).

usage: screenshots.py main COUNT [PATH...]  wait until the main window lists COUNT workbooks,
                                           then select the items PATH
       screenshots.py press BUTTON          press BUTTON in the main window, wait for the dialog
"""
import sys
import threading
import time

import gi

gi.require_version("Atspi", "2.0")
from gi.repository import Atspi  # noqa: E402

DEADLINE_SECONDS = 120


def find(node, wanted):
    if wanted(node):
        return node
    for i in range(node.get_child_count()):
        child = node.get_child_at_index(i)
        found = find(child, wanted) if child is not None else None
        if found is not None:
            return found
    return None


def wait_for(what, probe):
    deadline = time.monotonic() + DEADLINE_SECONDS
    while time.monotonic() < deadline:
        desktop = Atspi.get_desktop(0)
        for i in range(desktop.get_child_count()):
            app = desktop.get_child_at_index(i)
            if app is not None and app.get_name() == "tessaly":
                found = probe(app)
                if found is not None:
                    return found
        time.sleep(0.2)
    sys.exit(f"screenshots.py: no {what} within {DEADLINE_SECONDS} seconds")


def main_window(app):
    return find(app, lambda n: n.get_role() == Atspi.Role.FILLER and n.get_name() == "Tessaly")


def geometry(window):
    # Let the window finish painting before it is photographed.
    time.sleep(1)
    box = window.get_extents(Atspi.CoordType.SCREEN)
    return f"{box.width}x{box.height}+{box.x}+{box.y}"


def main():
    command, argument, rest = sys.argv[1], sys.argv[2], sys.argv[3:]
    if command == "main":
        count = int(argument)

        def listed(app):
            window = main_window(app)
            cells = window and find(window, lambda n: n.get_role() == Atspi.Role.TREE)
            if cells is None:
                return None
            items = [c for c in (cells.get_child_at_index(i) for i in range(cells.get_child_count()))
                     if c is not None and c.get_role() == Atspi.Role.TABLE_CELL]
            return (window, items) if len(items) == count else None

        window, items = wait_for("main window", listed)
        for item in items:
            if item.get_name() in rest:
                item.do_action(0)
        print(geometry(window))
    elif command == "press":
        def button(app):
            window = main_window(app)
            return window and find(window, lambda n: n.get_role() == Atspi.Role.PUSH_BUTTON
                                   and n.get_name() == argument)

        pressed = wait_for(f"button {argument}", button)
        # The dialog is modal: the press answers only when it closes, so it is made aside.
        threading.Thread(target=lambda: pressed.do_action(0), daemon=True).start()
        print(geometry(wait_for("dialog", lambda app: find(
            app, lambda n: n.get_role() == Atspi.Role.DIALOG and n.get_state_set().contains(
                Atspi.StateType.SHOWING)))))
    else:
        sys.exit(__doc__)


if __name__ == "__main__":
    main()
