#!/usr/bin/python3
"""Starts the editor on a document and reads its window through the accessibility bus after each
of a few keyboard steps (each editor of the panel shown in turn, each menu open). Fails on any showing control without a name, on a header named by its
number, on the main window announced as a dialog, and when a step does not show the control it
is about. Writes the main window's _NET_WM_WINDOW_TYPE (from xprop) into the file given.

Usage: accessibility-tree.py PROGRAM DOCUMENT WINDOW_TYPE_FILE
"""
import subprocess
import sys
import time

import pyatspi

# Controls a screen reader names by their accessible name: without one they are announced as a
# bare role.
NAMED_ROLES = {
    pyatspi.ROLE_PUSH_BUTTON, pyatspi.ROLE_TOGGLE_BUTTON, pyatspi.ROLE_CHECK_BOX,
    pyatspi.ROLE_RADIO_BUTTON, pyatspi.ROLE_COMBO_BOX, pyatspi.ROLE_TEXT, pyatspi.ROLE_ENTRY,
    pyatspi.ROLE_PASSWORD_TEXT, pyatspi.ROLE_SPIN_BUTTON, pyatspi.ROLE_TREE,
    pyatspi.ROLE_TREE_TABLE, pyatspi.ROLE_TABLE, pyatspi.ROLE_LIST, pyatspi.ROLE_MENU,
    pyatspi.ROLE_MENU_ITEM, pyatspi.ROLE_CHECK_MENU_ITEM, pyatspi.ROLE_RADIO_MENU_ITEM,
    pyatspi.ROLE_PAGE_TAB, pyatspi.ROLE_SLIDER, pyatspi.ROLE_FRAME, pyatspi.ROLE_DIALOG,
}
HEADER_ROLES = {
    pyatspi.ROLE_COLUMN_HEADER, pyatspi.ROLE_ROW_HEADER, pyatspi.ROLE_TABLE_COLUMN_HEADER,
    pyatspi.ROLE_TABLE_ROW_HEADER,
}
WINDOW_TITLE = "TAV Configuration Manager"

problems = []


def showing(accessible):
    return accessible.getState().contains(pyatspi.STATE_SHOWING)


def describe(accessible):
    path = []
    while accessible is not None and accessible.getRole() != pyatspi.ROLE_APPLICATION:
        path.append("%s '%s'" % (accessible.getRoleName(), accessible.name))
        accessible = accessible.parent
    return " < ".join(path)


def walk(accessible, found, problems):
    """Checks `accessible` and everything below it that shows; collects (role, name) pairs."""
    for child in accessible:
        if child is None:
            continue
        role = child.getRole()
        name = (child.name or "").strip()
        # A header is read out with its cells even when the view does not draw it.
        if role in HEADER_ROLES and (not name or name.isdigit()):
            problems.append("a header named by its number: " + describe(child))
        if not showing(child):
            continue
        found.append((role, child.name or ""))
        if role in NAMED_ROLES and not name:
            problems.append("no name: " + describe(child))
        # A tree's rows are its items, not controls of their own.
        if role not in (pyatspi.ROLE_TABLE_CELL, pyatspi.ROLE_TREE_ITEM):
            walk(child, found, problems)


def application(pid, seconds):
    deadline = time.monotonic() + seconds
    while time.monotonic() < deadline:
        for app in pyatspi.Registry.getDesktop(0):
            if app is not None and app.get_process_id() == pid and app.childCount > 0:
                return app
        time.sleep(0.2)
    sys.exit("accessibility-tree: the editor never showed on the accessibility bus")


def keys(window, *sequence):
    subprocess.run(["xdotool", "windowactivate", "--sync", window], check=True)
    subprocess.run(["xdotool", "key", "--delay", "60", *sequence], check=True)
    time.sleep(0.5)


def type_text(text):
    subprocess.run(["xdotool", "type", "--delay", "40", text], check=True)
    time.sleep(0.5)


def read_once(app, step, expected):
    found = []
    step_problems = []
    for window in app:
        if window is None:
            continue
        if WINDOW_TITLE in window.name and window.getRole() != pyatspi.ROLE_FRAME:
            step_problems.append("the main window is a %s, not a frame" % window.getRoleName())
        found.append((window.getRole(), window.name))
        walk(window, found, step_problems)
    missing = [(role, name) for role, name in expected if (role, name) not in found]
    for role, name in missing:
        step_problems.append("no showing %s named '%s'" % (role, name))
    if missing:
        step_problems.append("what shows: " +
                             ", ".join("%s '%s'" % (role, name) for role, name in found))
    return found, missing, ["%s: %s" % (step, problem) for problem in step_problems]


def read(app, step, *expected):
    """Checks the application's windows once each (role, name) in `expected` shows, or after
    five seconds without them."""
    for _ in range(25):
        found, missing, step_problems = read_once(app, step, expected)
        if not missing:
            break
        time.sleep(0.2)
    problems.extend(step_problems)
    print("accessibility-tree: %s: %d objects read" % (step, len(found)))


def select(window, find):
    """Puts `find` into the Find box; Tab goes to the tree, Home and End select the last item
    left (Home first, so that End always moves the selection)."""
    keys(window, "ctrl+f")
    type_text(find)
    keys(window, "Tab", "Home", "End")


def main():
    program, document, window_type_file = sys.argv[1:4]
    editor = subprocess.Popen([program, document])
    try:
        app = application(editor.pid, 30)
        window = subprocess.run(
            ["xdotool", "search", "--sync", "--onlyvisible", "--pid", str(editor.pid),
             "--name", WINDOW_TITLE], check=True, capture_output=True, text=True).stdout.split()[0]
        with open(window_type_file, "w") as out:
            subprocess.run(["xprop", "-id", window, "_NET_WM_WINDOW_TYPE"], check=True, stdout=out)

        read(app, "start", (pyatspi.ROLE_FRAME, "front-office.tac - " + WINDOW_TITLE),
             (pyatspi.ROLE_TREE, "Settings"))
        select(window, "Beep")
        read(app, "a boolean setting", (pyatspi.ROLE_COMBO_BOX, "Beep on error"),
             (pyatspi.ROLE_PUSH_BUTTON, "Clear"))
        select(window, "Author")
        read(app, "a text setting", (pyatspi.ROLE_TEXT, "Author"))
        select(window, "Replaced by")
        read(app, "a string replacement", (pyatspi.ROLE_TEXT, "Replace"),
             (pyatspi.ROLE_TEXT, "By"), (pyatspi.ROLE_PUSH_BUTTON, "Delete"))
        select(window, "String replacements")
        read(app, "the string replacements", (pyatspi.ROLE_PUSH_BUTTON, "Add"))
        # The tree's context menu is not read here: Qt leaves popup menus out of the application's
        # windows, and a screen reader learns of them from their events (ui-keyboard-test covers
        # the keys that open it).
        for menu, item in (("f", "Save As..."), ("e", "Undo"), ("h", "About TAV Configuration Manager...")):
            keys(window, "alt+" + menu)
            read(app, "menu alt+" + menu, (pyatspi.ROLE_MENU_ITEM, item))
            keys(window, "Escape", "Escape")
    finally:
        editor.kill()
        editor.wait()
    for problem in problems:
        print("accessibility-tree: " + problem, file=sys.stderr)
    return 1 if problems else 0


if __name__ == "__main__":
    sys.exit(main())
