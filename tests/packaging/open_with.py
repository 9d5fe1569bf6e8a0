"""Opens files with an installed Tessaly through its desktop entry, as a file manager's "Open with"
does (GIO expands %F), and reads the workbook list back from the accessibility tree, as a screen
reader sees it. Then opens the About box, whose owner lines come from the settings file beside the
executable. Runs inside its own D-Bus session and X server (open_with.sh).

usage: open_with.py DESKTOP_FILE EXECUTABLE --owner TEXT --expect PATH... --open PATH...
"""
import argparse
import os
import signal
import subprocess
import sys
import threading
import time

import gi

gi.require_version("Atspi", "2.0")
from gi.repository import Atspi  # noqa: E402

# Only a bound for a failure: the program shows its list within a second or two.
DEADLINE_SECONDS = 120


def find_application(name):
    desktop = Atspi.get_desktop(0)
    for i in range(desktop.get_child_count()):
        app = desktop.get_child_at_index(i)
        if app is not None and app.get_name() == name:
            return app
    return None


def find(node, wanted):
    """The first node below node (node included) for which wanted(node) holds, or None."""
    if wanted(node):
        return node
    for i in range(node.get_child_count()):
        child = node.get_child_at_index(i)
        found = find(child, wanted) if child is not None else None
        if found is not None:
            return found
    return None


def about_box_owner(app):
    """Presses the About button and returns the owner text the About box shows."""
    button = find(app, lambda n: n.get_role() == Atspi.Role.PUSH_BUTTON and n.get_name() == "？")
    if button is None:
        return None
    # The box is modal: the press answers only when it closes, so it is made from another thread.
    threading.Thread(target=lambda: button.do_action(0), daemon=True).start()
    deadline = time.monotonic() + DEADLINE_SECONDS
    while time.monotonic() < deadline:
        text = find(app, lambda n: n.get_role() == Atspi.Role.TEXT and n.get_name() == "Registered to")
        if text is not None:
            return text.get_text(0, -1)
        time.sleep(0.2)
    return None


def list_items(node):
    """(text, ticked) of every cell of the first list (a tree or table) below node, or None."""
    role = node.get_role()
    if role in (Atspi.Role.TREE, Atspi.Role.TREE_TABLE, Atspi.Role.TABLE, Atspi.Role.LIST):
        items = []
        for i in range(node.get_child_count()):
            child = node.get_child_at_index(i)
            if child is not None and child.get_role() in (Atspi.Role.TABLE_CELL, Atspi.Role.LIST_ITEM):
                ticked = child.get_state_set().contains(Atspi.StateType.CHECKED)
                items.append((child.get_name(), ticked))
        return items
    for i in range(node.get_child_count()):
        child = node.get_child_at_index(i)
        found = list_items(child) if child is not None else None
        if found is not None:
            return found
    return None


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("desktop_file")
    parser.add_argument("executable")
    parser.add_argument("--owner", required=True)
    parser.add_argument("--expect", nargs="*", default=[])
    parser.add_argument("--open", nargs="+", required=True)
    args = parser.parse_args()

    # The accessibility bus must be up before the program starts, or Qt does not register.
    Atspi.get_desktop(0).get_child_count()
    env = dict(os.environ, QT_QPA_PLATFORM="xcb", QT_LINUX_ACCESSIBILITY_ALWAYS_ON="1")
    subprocess.run(["gio", "launch", args.desktop_file, *args.open], env=env, check=True)

    expected = [(path, True) for path in args.expect]
    seen = None
    app = None
    deadline = time.monotonic() + DEADLINE_SECONDS
    while time.monotonic() < deadline:
        app = find_application("tessaly")
        if app is not None:
            seen = list_items(app)
            if seen == expected:
                break
        time.sleep(0.2)

    failures = []
    if app is None:
        print("FAIL: no Tessaly window appeared", file=sys.stderr)
        return 1
    pid = app.get_process_id()
    try:
        if seen != expected:
            failures.append(f"list: expected {expected}, shown {seen}")
        exe = os.path.realpath(f"/proc/{pid}/exe")
        if exe != os.path.realpath(args.executable):
            failures.append(f"running executable: expected {args.executable}, got {exe}")
        with open(f"/proc/{pid}/cmdline", "rb") as f:
            argv = [a.decode() for a in f.read().split(b"\0")[:-1]]
        if argv[1:] != args.open:
            failures.append(f"arguments: expected {args.open}, got {argv[1:]}")
        owner = about_box_owner(app)
        if owner != args.owner:
            failures.append(f"About box owner: expected {args.owner!r}, shown {owner!r}")
    finally:
        os.kill(pid, signal.SIGTERM)

    for failure in failures:
        print("FAIL:", failure, file=sys.stderr)
    if not failures:
        print(f"Tessaly lists the {len(expected)} workbooks it was opened with and shows its owner")
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
