"""A small driver for Tensilo through the AT-SPI accessibility tree.

Everything waits with a bound: a control that does not appear in time fails the current step with
a message naming it. Keys are typed through the registry's synthesised key events (XTEST under
Xvfb), so the program sees real key presses."""

import contextlib
import os
import signal
import subprocess
import sys
import time

import pyatspi

DEFAULT_TIMEOUT = 20.0
POLL = 0.05


class StepFailed(Exception):
    pass


_current_step = ["(start)"]


@contextlib.contextmanager
def step(name):
    """Names what the test is doing, so that a failure says where it happened."""
    _current_step[0] = name
    print(f"e2e step: {name}", flush=True)
    try:
        yield
    except StepFailed:
        raise
    except Exception as error:  # anything else: report it against the step
        raise StepFailed(f"step '{name}' failed: {error!r}") from error


def fail(message):
    raise StepFailed(f"step '{_current_step[0]}' failed: {message}")


def wait_for(what, probe, timeout=DEFAULT_TIMEOUT):
    """Calls probe() until it returns something true, at most `timeout` seconds."""
    deadline = time.monotonic() + timeout
    last_error = None
    while True:
        try:
            result = probe()
            if result:
                return result
        except StepFailed:
            raise  # the probe saw something final (the program exited)
        except Exception as error:  # the tree changes under us: try again
            last_error = error
        if time.monotonic() > deadline:
            detail = f" (last error: {last_error!r})" if last_error else ""
            fail(f"timed out after {timeout:.0f} s waiting for {what}{detail}")
        time.sleep(POLL)


def role_of(acc):
    try:
        return acc.getRoleName()
    except Exception:
        return ""


def name_of(acc):
    try:
        return acc.name or ""
    except Exception:
        return ""


def children(acc):
    try:
        count = acc.childCount
    except Exception:
        return []
    result = []
    for i in range(min(count, 2000)):
        try:
            child = acc.getChildAtIndex(i)
        except Exception:
            child = None
        if child is not None:
            result.append(child)
    return result


def descendants(root, max_depth=40, skip_roles=("table cell",)):
    stack = [(root, 0)]
    while stack:
        acc, depth = stack.pop()
        yield acc
        if depth >= max_depth or role_of(acc) in skip_roles:
            continue
        # Large tables: their cells are reached through the table interface, not by walking.
        if role_of(acc) in ("table", "tree table"):
            continue
        for child in reversed(children(acc)):
            stack.append((child, depth + 1))


def is_showing(acc):
    try:
        return acc.getState().contains(pyatspi.STATE_SHOWING)
    except Exception:
        return False


def find_all(root, role=None, name=None, showing=True, predicate=None):
    found = []
    for acc in descendants(root):
        if role is not None and role_of(acc) != role:
            continue
        if name is not None and name_of(acc) != name:
            continue
        if showing and not is_showing(acc):
            continue
        if predicate is not None and not predicate(acc):
            continue
        found.append(acc)
    return found


def find(root, role=None, name=None, timeout=DEFAULT_TIMEOUT, showing=True, predicate=None):
    what = f"{role or 'any control'} named '{name}'" if name is not None else f"a {role}"
    return wait_for(what, lambda: (find_all(root, role, name, showing, predicate) or [None])[0],
                    timeout)


def press(acc, action_names=("Press", "press", "click", "Toggle", "toggle", "SetFocus")):
    """Runs the control's default action (a button's press, a menu item's activation)."""
    action = acc.queryAction()
    names = [action.getName(i) for i in range(action.nActions)]
    for wanted in action_names:
        if wanted in names:
            action.doAction(names.index(wanted))
            return
    if action.nActions:
        action.doAction(0)
        return
    fail(f"'{name_of(acc)}' ({role_of(acc)}) has no action")


def focus(acc):
    acc.queryComponent().grabFocus()
    wait_for(f"focus on '{name_of(acc)}'",
             lambda: acc.getState().contains(pyatspi.STATE_FOCUSED), timeout=5)


# X keysyms of the keys the tests press; a single character stands for itself.
KEYSYMS = {
    "Return": 0xFF0D, "Escape": 0xFF1B, "Tab": 0xFF09, "ISO_Left_Tab": 0xFE20,
    "BackSpace": 0xFF08, "Delete": 0xFFFF, "Up": 0xFF52, "Down": 0xFF54, "Left": 0xFF51,
    "Right": 0xFF53, "Home": 0xFF50, "End": 0xFF57, "Insert": 0xFF63, "space": 0x20,
    "Control_L": 0xFFE3, "Shift_L": 0xFFE1, "Alt_L": 0xFFE9,
}


def keysym(name):
    if name in KEYSYMS:
        return KEYSYMS[name]
    if len(name) == 1:
        return ord(name)
    fail(f"no keysym known for '{name}'")


def key(keysym_name):
    """Presses and releases one named key ('Return', 'Escape', 'Delete', 'Tab', 'a')."""
    pyatspi.Registry.generateKeyboardEvent(keysym(keysym_name), None, pyatspi.KEY_SYM)
    time.sleep(0.05)


# Modifier masks (X core): the registry presses only whole keys (KEY_SYM is press and release), so
# a modifier is locked for the length of a chord instead of held.
MODIFIER_MASKS = {"Shift_L": 1 << 0, "Control_L": 1 << 2, "Alt_L": 1 << 3}


def combo(*names):
    """Presses the last key with the others held ('Control_L', 'Shift_L', 's')."""
    mask = 0
    for name in names[:-1]:
        if name not in MODIFIER_MASKS:
            fail(f"'{name}' is not a modifier")
        mask |= MODIFIER_MASKS[name]
    code = keysym(names[-1])
    pyatspi.Registry.generateKeyboardEvent(mask, None, pyatspi.KEY_LOCKMODIFIERS)
    try:
        pyatspi.Registry.generateKeyboardEvent(code, None, pyatspi.KEY_SYM)
    finally:
        pyatspi.Registry.generateKeyboardEvent(mask, None, pyatspi.KEY_UNLOCKMODIFIERS)
    time.sleep(0.05)


def chord(modifier_keysym, keysym_name):
    combo(modifier_keysym, keysym_name)


def type_text(text):
    pyatspi.Registry.generateKeyboardEvent(0, text, pyatspi.KEY_STRING)
    time.sleep(0.05)


def text_of(acc):
    try:
        t = acc.queryText()
        return t.getText(0, t.characterCount)
    except Exception:
        return name_of(acc)


def set_text(acc, text):
    """Replaces a field's text by typing it: select all, then the new text."""
    focus(acc)
    chord("Control_L", "a")
    type_text(text)
    wait_for(f"'{text}' in '{name_of(acc)}'", lambda: text in text_of(acc), timeout=5)


class Events:
    """Collects the tree's events of the given kinds ('object:state-changed:focused') from the
    moment it is made, for what leaves no trace in the tree: popup menus, which Qt keeps out of
    the application's children, are seen only through their events."""

    def __init__(self, *kinds):
        from gi.repository import GLib
        self._context = GLib.MainContext.default()
        self._kinds = kinds
        self._seen = []
        pyatspi.Registry.registerEventListener(self._on_event, *kinds)

    def _on_event(self, event):
        try:
            self._seen.append((event.type, role_of(event.source), name_of(event.source),
                               event.detail1, event.source))
        except Exception:
            pass

    def _pump(self):
        while self._context.iteration(False):
            pass

    def wait(self, what, predicate, timeout=DEFAULT_TIMEOUT):
        """Waits for an event (type, role, name, detail1, source) that satisfies predicate and
        answers it; the events before it are used up."""
        def probe():
            self._pump()
            while self._seen:
                event = self._seen.pop(0)
                if predicate(*event):
                    return event
            return None
        return wait_for(what, probe, timeout)

    def close(self):
        try:
            pyatspi.Registry.deregisterEventListener(self._on_event, *self._kinds)
        except Exception:
            pass


class App:
    """The running application: started with a fresh environment, ended for certain."""

    def __init__(self, binary, args=(), name="Tensilo", env=None):
        self.name = name
        self.process = subprocess.Popen([binary, *args], env=env or os.environ.copy(),
                                        start_new_session=True)
        self.root = None

    def wait_ready(self, timeout=60):
        def probe():
            if self.process.poll() is not None:
                fail(f"{self.name} exited early with status {self.process.returncode}")
            desktop = pyatspi.Registry.getDesktop(0)
            for acc in children(desktop):
                if name_of(acc) == self.name:
                    try:
                        pid = acc.get_process_id()
                    except Exception:
                        pid = None
                    if pid in (None, self.process.pid):
                        return acc
            return None
        self.root = wait_for(f"the application '{self.name}' in the accessibility tree", probe,
                             timeout)
        return self.root

    def window(self, title_part, timeout=DEFAULT_TIMEOUT):
        return wait_for(f"a window titled '*{title_part}*'",
                        lambda: next((w for w in children(self.root)
                                      if title_part in name_of(w)), None), timeout)

    def menu(self, *path, window=None, timeout=DEFAULT_TIMEOUT):
        """Activates a menu item by its path of texts ('File', 'Save As…')."""
        root = window or self.root
        bar = find(root, role="menu bar", timeout=timeout)
        current = bar
        for i, label in enumerate(path):
            item = find(current, name=label, showing=False, timeout=timeout,
                        predicate=lambda a: role_of(a) in ("menu", "menu item", "check menu item",
                                                          "radio menu item"))
            if i < len(path) - 1:
                press(item)
                current = item
            else:
                press(item)

    def wait_exit(self, timeout=30):
        try:
            return self.process.wait(timeout)
        except subprocess.TimeoutExpired:
            fail(f"{self.name} did not exit within {timeout} s")

    def stop(self):
        if self.process.poll() is None:
            try:
                os.killpg(self.process.pid, signal.SIGTERM)
                self.process.wait(10)
            except Exception:
                pass
        if self.process.poll() is None:
            try:
                os.killpg(self.process.pid, signal.SIGKILL)
                self.process.wait(10)
            except Exception:
                pass


def main(walk):
    """Runs walk() and turns its outcome into an exit status and a clear message."""
    try:
        walk()
    except StepFailed as error:
        print(f"e2e FAILED: {error}", file=sys.stderr, flush=True)
        sys.exit(1)
    print("e2e passed", flush=True)
