"""A person's first session with Tensilo, driven only through the accessibility tree.

Run by run_e2e.sh (private X server, D-Bus session and home directory). The walk, and what the
keyboard does in it (everything but three steps is done with keys; see "Not by key" below):

  1. Start Tensilo: it opens an untitled document window; its empty readings page shows how to
     start, with the focus on "Add a Reading".
  2. Ctrl+N makes a second document; Ctrl+W closes it again (it is unchanged, so nothing asks).
  3. Three readings through the editor: the toolbar's Add button is pressed with Space (the
     third time Insert, Edit > Add, is pressed instead) and opens the editor with the focus in
     Systolic; each value is typed over the field's text (Ctrl+A,
     then the digits), Tab moves to Diastolic and Pulse, Return confirms (Add is the default).
     The first reading gets a tag: Tab on to the tags field, "morning," typed (a comma ends a
     tag); the next readings start from it and carry the tag too.
  4. Edit > Preferences… opens the preferences; Ctrl+Tab turns to the Values tab, Alt+1 ticks
     "Show custom value 1" and Escape closes the window; the readings table shows the column "Custom 1", wide enough for
     its title.
  5. Systolic 400 is confirmed: the alert "Systolic pressure out of range" appears with its OK
     button focused, Return dismisses it, the focus is back in Systolic with the typed value kept;
     Escape cancels the editor and nothing was added.
  6. Editing: Tab reaches the readings table, Ctrl+Home selects the first row, Return opens the
     editor for it ("Edit Reading"), a new diastolic value is typed; the tag menu opens with
     Space on "Choose tags", Down and Return take the tag off; Return saves the reading.
  7. Delete removes the selected reading; Ctrl+Z brings it back.
  8. Ctrl+4 shows the filters page; Add (Space) makes a filter and puts the focus on its row;
     Tab reaches "Edit as text", Space ticks it, Tab reaches the condition's field, where the
     condition is typed and applied with Return. Space on "Edit as text" turns back to the
     condition's rows; a new number is typed into the row and, before the edit is ended,
     Ctrl+Shift+N (Edit > Add) makes another filter: the number reaches the first one. The
     second filter gets a tags condition the same way (as text, then back to its row), a tag is
     typed after the one in the row and, again before it is ended, Ctrl+Shift+N makes a third.
  9. Alt+L (its label's mnemonic) reaches the filter selector; Down chooses the first new filter;
     Ctrl+1 shows the readings page again and the counter line (exposed as the description of
     "Number of readings") reads "2 of 3 readings".
 10. Ctrl+Shift+S opens the file dialog (Qt's own) while "Readings.tensilo" already exists (a
     document with one reading, made beforehand by `tensilo-tool build`): the path is typed
     without its extension and Return: the dialog, which adds the extension, asks whether to
     replace the file (Yes/No; Tensilo itself asks, Replace/Cancel, about a name it completes
     after the dialog). No, pressed with Space, leaves the file as it was and the dialog open; its Save button (through the tree, as no window
     manager activates the dialog again) and Yes save over it.
 11. Ctrl+Q quits. `tensilo-tool dump` finds the three readings and the conditions typed in step 8
     in the file; Tensilo is started again, reopens the document with its filter chosen, and
     Ctrl+Q quits again.

Not by key: focusing a control goes through the tree's focus action where one exists (focus
moves there as a click would) and by Tab where none does (tables, combo boxes). After Ctrl+W and
after the preferences close, the document window is activated through its Window menu entry, since Xvfb runs without a window
manager that would do it. Edit > Preferences… is chosen through the tree's action of its menu
item. Keys are synthesised by the accessibility registry (XTEST); modifiers
are locked for the length of a chord.
"""

import json
import os
import subprocess
import sys
import time

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))

from atspi_driver import (App, Events, StepFailed, children, chord, combo, fail, find, find_all, focus, is_showing, key, main,  # noqa: E402
                          name_of, press, role_of, set_text, step, text_of, type_text, wait_for)
import pyatspi  # noqa: E402

BINARY = os.environ["TENSILO_BINARY"]
TOOL = os.environ["TENSILO_TOOL"]
WORK = os.environ["TENSILO_E2E_WORK"]
DOCUMENT = os.path.join(WORK, "home", "Readings.tensilo")


def dump_tree(acc, depth=0, out=sys.stderr):
    """Prints the tree under acc, for the log of a failed run."""
    print("  " * depth + f"[{role_of(acc)}] '{name_of(acc)}'", file=out)
    if role_of(acc) in ("table", "tree table") or depth > 25:
        return
    for child in children(acc):
        dump_tree(child, depth + 1, out)


def table_cells(table):
    """The table's cells as rows of texts, with the column headers."""
    t = table.queryTable()
    headers = []
    for c in range(t.nColumns):
        header = t.getColumnHeader(c)
        headers.append(name_of(header) if header is not None else t.getColumnDescription(c))
    rows = []
    for r in range(t.nRows):
        rows.append([name_of(t.getAccessibleAt(r, c)) for c in range(t.nColumns)])
    return headers, rows


def column(table, header):
    headers, rows = table_cells(table)
    if header not in headers:
        fail(f"no column '{header}' in table '{name_of(table)}' (columns: {headers})")
    index = headers.index(header)
    return [row[index] for row in rows]


def pressures_of(table):
    """The pressure column without the padding that aligns it ('128 /  82' -> '128/82')."""
    return ["".join(p.split()) for p in column(table, "Pressure")]


def wait_rows(table, count, timeout=10):
    wait_for(f"{count} rows in '{name_of(table)}'",
             lambda: table.queryTable().nRows == count, timeout)


def selected_rows(table):
    t = table.queryTable()
    return [t.getSelectedRows()[i] for i in range(t.nSelectedRows)] if t.nSelectedRows else []


def is_focused(acc):
    try:
        return acc.getState().contains(pyatspi.STATE_FOCUSED)
    except Exception:
        return False


def focused_in(root):
    found = [a for a in find_all(root, predicate=is_focused)]
    return found[0] if found else None


def wait_focus(root, role, name, timeout=5):
    def probe():
        acc = focused_in(root)
        return acc if acc is not None and role_of(acc) == role and name_of(acc) == name else None
    return wait_for(f"focus on {role} '{name}'", probe, timeout)


def focus_returns(root, role, name):
    """Waits for the keyboard focus to come back to a control after a dialog closed. Xvfb runs
    without a window manager, which would give the focus back to the window below: when none
    comes within a moment the control is focused through the tree."""
    try:
        return wait_focus(root, role, name, timeout=2)
    except StepFailed:
        acc = find(root, role=role, name=name)
        focus(acc)
        return acc


def dialog(app, title, timeout=10):
    return wait_for(f"the dialog '{title}'",
                    lambda: next((w for w in children(app.root)
                                  if role_of(w) in ("dialog", "alert", "frame")
                                  and name_of(w) == title), None), timeout)


def gone(app, title, timeout=10):
    wait_for(f"'{title}' to close",
             lambda: not any(name_of(w) == title for w in children(app.root)), timeout)


def tab_to(acc, presses=15):
    """Moves the keyboard focus with Tab until it reaches acc (tables and combo boxes offer no
    focus action of their own)."""
    for _ in range(presses):
        if is_focused(acc):
            return acc
        key("Tab")
    wait_for(f"Tab to reach '{name_of(acc)}' ({role_of(acc)})", lambda: is_focused(acc), 1)
    return acc


def press_by_key(button):
    """Focuses a button and presses it with the space bar, as a keyboard user does."""
    focus(button)
    key("space")


def add_reading(app, window, systolic, diastolic, pulse, tag=None, by_insert=False):
    if by_insert:
        key("Insert")  # Edit > Add
    else:
        press_by_key(find(window, role="push button", name="Add a reading"))
    editor = dialog(app, "New Reading")
    field = wait_focus(editor, "text", "Systolic pressure")
    set_text(field, systolic)
    key("Tab")
    field = wait_focus(editor, "text", "Diastolic pressure")
    set_text(field, diastolic)
    key("Tab")
    field = wait_focus(editor, "text", "Pulse")
    set_text(field, pulse)
    if tag:
        # Tab on to the tags field; a comma ends the tag, Return (nothing left typed) confirms.
        tags = tab_to(find(editor, role="text", name="Tags"))
        type_text(tag + ",")
        wait_for(f"the tag '{tag}' taken", lambda: text_of(tags).strip() == "", 5)
    key("Return")
    gone(app, "New Reading")


def question_showing(app):
    return next(iter(find_all(app.root, role="alert")), None)


def completion_showing(app):
    """The file dialog's completion list (a window of its own) over its name field."""
    return next((w for w in children(app.root) if role_of(w) == "list" and is_showing(w)), None)


def confirm_file_name(app):
    """Return in the file dialog's name field. A completion list open over the field takes a
    Return for itself (closing the list): Return is pressed again once the list has gone."""
    for _ in range(3):
        if completion_showing(app):
            key("Return")
            wait_for("the completion list to close", lambda: not completion_showing(app), 10)
        key("Return")
        try:
            wait_for("a question or the file dialog closing", lambda: question_showing(app) or not
                     any(role_of(w) == "dialog" for w in children(app.root)), 15)
            return
        except StepFailed:
            pass
    fail("Return in the file dialog's name field had no effect")


def answer_replace_question(app, buttons):
    """Waits for the question whether to replace "Readings.tensilo" and presses the first of
    `buttons` it offers, with Space. The file dialog asks itself about the name it completed;
    Tensilo asks ("Replace", "Cancel") about a name completed after the dialog."""
    name = os.path.basename(DOCUMENT)

    def question():
        return next((w for w in find_all(app.root, role="alert") if find_all(
            w, predicate=lambda a: name in name_of(a) or name in (a.description or ""))), None)
    alert = wait_for(f"the question whether to replace '{name}'", question, 15)
    offered = [b for b in find_all(alert, role="push button") if name_of(b) in buttons]
    if not offered:
        fail(f"the question offers none of {buttons}: "
             f"{[name_of(b) for b in find_all(alert, role='push button')]}")
    button = min(offered, key=lambda b: buttons.index(name_of(b)))
    print(f"e2e: the question '{name_of(alert)}' answered with '{name_of(button)}'", flush=True)
    press_by_key(button)
    wait_for("the question to close", lambda: not question_showing(app), 10)


def read_bytes(path):
    with open(path, "rb") as f:
        return f.read()


def tool_dump(path):
    result = subprocess.run([TOOL, "dump", path], capture_output=True, text=True, timeout=60)
    if result.returncode != 0:
        fail(f"tensilo-tool dump {path} failed: {result.stderr.strip()}")
    return json.loads(result.stdout)


def walk():
    app = App(BINARY)
    try:
        first_session(app)
    except Exception:
        if app.root is not None:
            try:
                dump_tree(app.root)
            except Exception:
                pass
        raise
    finally:
        app.stop()

    again = App(BINARY)
    try:
        second_session(again)
    finally:
        again.stop()


def first_session(app):
    with step("start Tensilo with an untitled document"):
        app.wait_ready()
        window = app.window("Untitled")
        start = find(window, role="push button", name="Add a Reading")
        wait_for("focus on the empty page's Add a Reading", lambda: is_focused(start), 10)

    with step("make a second document with Ctrl+N and close it with Ctrl+W"):
        chord("Control_L", "n")
        wait_for("a second document window",
                 lambda: len([w for w in children(app.root) if role_of(w) == "frame"]) == 2)
        chord("Control_L", "w")
        wait_for("the second window to close",
                 lambda: len([w for w in children(app.root) if role_of(w) == "frame"]) == 1)
        window = app.window("Untitled")
        # Xvfb has no window manager to activate the window left open: the Window menu does.
        windows_menu = find(window, role="menu item", name="Window", showing=False)
        press(find(windows_menu, role="menu item", name=name_of(window), showing=False))
        wait_for("the first window active again", lambda: focused_in(window) is not None, 5)

    with step("add three readings through the editor"):
        add_reading(app, window, "128", "82", "64", tag="morning")
        # The first reading puts the table in the empty page's place.
        table = find(window, role="table", name="Readings")
        wait_rows(table, 1)
        add_reading(app, window, "141", "91", "70")
        wait_rows(table, 2)
        add_reading(app, window, "135", "88", "68", by_insert=True)
        wait_rows(table, 3)
        pressures = sorted(pressures_of(table))
        if pressures != ["128/82", "135/88", "141/91"]:
            fail(f"the table shows the pressures {pressures}")
        # The editor starts from the last reading entered, tags included.
        tags = column(table, "Tags")
        if tags != ["morning"] * 3:
            fail(f"the table shows the tags {tags}")

    with step("switch a custom value on in Preferences: its column shows with a width"):
        app.menu("Edit", "Preferences…", window=window)
        # A plain top-level widget: the tree lists it as a filler, not a dialog.
        preferences = wait_for("the window 'Preferences'", lambda: next(
            (w for w in children(app.root) if name_of(w) == "Preferences"), None), 10)
        # Ctrl+Tab turns to the Values tab; Alt+1, the check box's mnemonic, ticks it.
        wait_for("the focus in Preferences", lambda: focused_in(preferences) is not None, 5)
        chord("Control_L", "Tab")
        check = find(preferences, role="check box", name="Show custom value 1")
        combo("Alt_L", "1")
        wait_for("'Show custom value 1' ticked",
                 lambda: check.getState().contains(pyatspi.STATE_CHECKED), 5)
        key("Escape")
        # Closed, the window stays in the tree, hidden.
        wait_for("the preferences to close", lambda: not is_showing(preferences), 10)
        windows_menu = find(window, role="menu item", name="Window", showing=False)
        # The menu sets the window's changed mark apart: "Untitled *" for "Untitled*".
        title = name_of(window).rstrip("*")
        press(find(windows_menu, role="menu item", showing=False,
                   predicate=lambda a: name_of(a).rstrip("*").rstrip() == title))
        wait_for("the document window active again", lambda: focused_in(window) is not None, 5)

        def custom_header():
            t = table.queryTable()
            for c in range(t.nColumns):
                header = t.getColumnHeader(c)
                if header is not None and name_of(header) == "Custom 1":
                    return header
            return None
        header = wait_for("the column 'Custom 1' in the readings table", custom_header, 5)
        wait_for("the column 'Custom 1' wide enough for its title", lambda: header.queryComponent()
                 .getExtents(pyatspi.DESKTOP_COORDS).width >= 40, 5)

    with step("confirm an out-of-range systolic value and dismiss the alert"):
        press_by_key(find(window, role="push button", name="Add a reading"))
        editor = dialog(app, "New Reading")
        set_text(wait_focus(editor, "text", "Systolic pressure"), "400")
        key("Return")
        alert = dialog(app, "Systolic pressure out of range")
        find(alert, role="push button", name="OK")
        key("Return")
        gone(app, "Systolic pressure out of range")
        # The editor stays open for correction; Escape gives up.
        editor = dialog(app, "New Reading")
        field = focus_returns(editor, "text", "Systolic pressure")
        if text_of(field) != "400":
            fail(f"the editor lost the typed value: '{text_of(field)}'")
        key("Escape")
        gone(app, "New Reading")
        wait_rows(table, 3)

    with step("edit a reading"):
        tab_to(table)
        chord("Control_L", "Home")
        wait_for("the first row selected", lambda: selected_rows(table) == [0], 5)
        before = pressures_of(table)[0]
        key("Return")
        editor = dialog(app, "Edit Reading")
        set_text(find(editor, role="text", name="Diastolic pressure"), "79")
        # The tag menu from the keyboard: Space on its button opens it, Down reaches the
        # reading's tag (checked), Return takes it off. Qt leaves popup menus out of the
        # application's accessible children, so the menu is followed through its events.
        tags = find(editor, role="text", name="Tags")
        if tags.description != "morning":
            fail(f"the editor shows the tags '{tags.description}', not 'morning'")
        events = Events("object:state-changed:showing", "object:state-changed:focused")
        try:
            press_by_key(find(editor, role="push button", name="Choose tags"))
            events.wait("the tag menu to open", lambda kind, role, name, on, source:
                        kind.endswith("showing") and role == "popup menu" and on, 5)
            key("Down")
            _, _, _, _, item = events.wait(
                "the focus on the menu's item 'morning'", lambda kind, role, name, on, source:
                kind.endswith("focused") and role.endswith("menu item") and on, 5)
            if name_of(item) != "morning" or not item.getState().contains(
                    pyatspi.STATE_CHECKED):
                fail(f"the tag menu offers '{name_of(item)}' first, not 'morning' checked")
            key("Return")
        finally:
            events.close()
        wait_for("the tag menu to take 'morning' off", lambda: tags.description == "", 5)
        wait_focus(editor, "push button", "Choose tags")
        key("Return")
        gone(app, "Edit Reading")
        systolic = before.split("/")[0]
        wait_for(f"the edited reading {systolic}/79 in the table",
                 lambda: f"{systolic}/79" in pressures_of(table), 5)
        row = pressures_of(table).index(f"{systolic}/79")
        if column(table, "Tags")[row] != "":
            fail(f"the edited reading still has the tags '{column(table, 'Tags')[row]}'")

    with step("delete a reading and undo"):
        tab_to(table)
        chord("Control_L", "Home")
        wait_for("the first row selected", lambda: selected_rows(table) == [0], 5)
        before = sorted(pressures_of(table))
        key("Delete")
        wait_rows(table, 2)
        chord("Control_L", "z")
        wait_rows(table, 3)
        after = sorted(pressures_of(table))
        if after != before:
            fail(f"undo gave back {after}, not {before}")

    with step("add a filter on the filters page"):
        chord("Control_L", "4")
        filters = find(window, role="table", name="Filters")
        add = find(window, role="push button", name="Add a filter")
        rows = filters.queryTable().nRows
        press_by_key(add)
        wait_rows(filters, rows + 1)
        names = column(filters, "Filter")
        new_name = names[selected_rows(filters)[0]] if selected_rows(filters) else names[-1]
        # The new filter's row has the focus; Tab goes on to the text toggle, then the field.
        as_text = tab_to(find(window, role="check box", name="Edit as text"), presses=3)
        key("space")
        field = tab_to(find(window, role="text", name="Condition as text"), presses=3)
        chord("Control_L", "a")
        type_text("Systolic > 120")
        wait_for("the condition typed", lambda: text_of(field) == "Systolic > 120", 5)
        key("Return")

    with step("a number typed in a condition row reaches its filter when Add comes first"):
        focus(as_text)
        key("space")  # back to the condition's rows
        wait_for("'Edit as text' unticked",
                 lambda: not as_text.getState().contains(pyatspi.STATE_CHECKED), 5)
        number = find(window, role="text", name="Number", timeout=10)
        if text_of(number) != "120":
            fail(f"the condition's row shows the number '{text_of(number)}', not 120")
        # Typed over, not ended (no Return, no Tab): Edit > Add's key comes straight after.
        set_text(number, "130")
        rows = filters.queryTable().nRows
        combo("Control_L", "Shift_L", "n")
        wait_rows(filters, rows + 1)

    with step("a tag typed in a tags condition reaches its filter when Add comes first"):
        # The filter just added gets a tags condition through its text form, shown as a row.
        as_text = tab_to(find(window, role="check box", name="Edit as text"), presses=3)
        key("space")
        field = tab_to(find(window, role="text", name="Condition as text"), presses=3)
        chord("Control_L", "a")
        type_text("ANY Tags IN {'morning'}")
        wait_for("the condition typed", lambda: text_of(field) == "ANY Tags IN {'morning'}", 5)
        key("Return")
        focus(as_text)
        key("space")
        tags = find(window, role="text", name="Tags", timeout=10)
        wait_for("the tag 'morning' in the condition's row", lambda: tags.description == "morning",
                 5)
        # Typed after the tag, not ended (no comma, no Return): Edit > Add's key comes next.
        set_text(tags, "evening")
        rows = filters.queryTable().nRows
        combo("Control_L", "Shift_L", "n")
        wait_rows(filters, rows + 1)

    with step("select the new filter in the filter selector"):
        selector = find(window, role="combo box",
                        predicate=lambda a: "filter" in (a.description or "").lower())
        combo("Alt_L", "l")  # the mnemonic of its label "Filter:"
        wait_for("Alt+L to reach the filter selector", lambda: is_focused(selector), 5)
        wait_for(f"'{new_name}' offered by the filter selector",
                 lambda: new_name in [name_of(i) for i in find_all(selector, role="list item",
                                                                    showing=False)], 5)
        items = [name_of(i) for i in find_all(selector, role="list item", showing=False)]
        for _ in range(items.index(new_name) - items.index(text_of(selector))):
            key("Down")
        wait_for(f"'{new_name}' chosen", lambda: text_of(selector) == new_name, 5)

    with step("check the counter line"):
        chord("Control_L", "1")
        counter = find(window, role="label", name="Number of readings")
        try:
            wait_for("the counter '2 of 3 readings'",
                     lambda: counter.description == "2 of 3 readings", 5)
        except StepFailed:
            fail(f"the counter reads '{counter.description}' with the filter "
                 f"'{text_of(selector)}' chosen, not '2 of 3 readings'")
        wait_rows(table, 2)

    with step("save over an existing file named without its extension: asked first"):
        # A document of the same name, with one reading, is already there.
        existing = json.dumps({"readings": [{"date": 700000000, "systolic": 119,
                                             "diastolic": 77}]})
        made = subprocess.run([TOOL, "build", DOCUMENT], input=existing, capture_output=True,
                              text=True, timeout=60)
        if made.returncode != 0:
            fail(f"tensilo-tool build {DOCUMENT} failed: {made.stderr.strip()}")
        before = read_bytes(DOCUMENT)

        combo("Control_L", "Shift_L", "s")
        save = wait_for("the save dialog", lambda: next(
            (w for w in children(app.root) if role_of(w) == "dialog"), None), 10)
        typed = os.path.splitext(DOCUMENT)[0]
        set_text(find(save, role="text", name="File name:", timeout=10), typed)
        confirm_file_name(app)
        answer_replace_question(app, ("Cancel", "No"))
        save = wait_for("the save dialog still open", lambda: next(
            (w for w in children(app.root) if role_of(w) == "dialog"), None), 10)
        if read_bytes(DOCUMENT) != before:
            fail(f"{DOCUMENT} changed although replacing it was cancelled")

        # Xvfb runs without a window manager: the dialog is not made active again, so its Save
        # button is pressed through the tree (the name typed is still in its field).
        press(find(save, role="push button", name="Save", timeout=10))
        answer_replace_question(app, ("Replace", "Yes"))
        wait_for("the save dialog to close",
                 lambda: not any(role_of(w) == "dialog" for w in children(app.root)), 10)
        app.window("Readings")
        wait_for(f"{DOCUMENT} replaced", lambda: read_bytes(DOCUMENT) != before, 10)
        if os.path.exists(typed):
            fail(f"a file without the extension was saved: {typed}")

    with step("quit"):
        chord("Control_L", "q")
        status = app.wait_exit(30)
        if status != 0:
            fail(f"Tensilo exited with status {status}")


def second_session(app):
    with step("the saved file holds the readings"):
        document = tool_dump(DOCUMENT)
        readings = document.get("measurements") or document.get("readings") or []
        pressures = sorted(f"{m['systolic']}/{m['diastolic']}" for m in readings)
        if len(pressures) != 3:
            fail(f"the file holds {len(pressures)} readings: {pressures}")
        formats = ["".join(f.get("format", "").split()) for f in document.get("filters", [])]
        if "Systolic>130" not in formats:
            fail(f"the file holds no filter 'Systolic > 130': {formats}")
        if not any("morning" in f and "evening" in f for f in formats):
            fail(f"the file holds no filter on the tags 'morning' and 'evening': {formats}")

    with step("start again: the document reopens with its readings"):
        app.wait_ready()
        window = app.window("Readings")
        table = find(window, role="table", name="Readings")
        wait_rows(table, 2)  # the saved filter is still selected
        shown = sorted(pressures_of(table))
        expected = sorted(p for p in pressures if int(p.split("/")[0]) > 130)
        if shown != expected:
            fail(f"the reopened window shows {shown}, the file holds {pressures}")

    with step("quit again"):
        chord("Control_L", "q")
        status = app.wait_exit(30)
        if status != 0:
            fail(f"Tensilo exited with status {status}")


if __name__ == "__main__":
    main(walk)
