"""Shared helpers for probing a running GTK program through AT-SPI, as Orca sees it."""
import contextlib
import os
import shutil
import subprocess
import sys
import tempfile
import time

import pyatspi

MENU = "Varrow Log version 1 point 3 7 by Q 0 Z Z Z."


class ProbeFailure(Exception):
    pass


def check(condition, message):
    if not condition:
        raise ProbeFailure(message)
    print("ok:", message)


def wait_for(what, find, timeout=10.0):
    deadline = time.time() + timeout
    while time.time() < deadline:
        found = find()
        if found:
            return found
        time.sleep(0.05)
    raise ProbeFailure("timed out waiting for " + what)


def application(name):
    return next((app for app in pyatspi.Registry.getDesktop(0) if app is not None and app.name == name), None)


def walk(node):
    yield node
    for child in node:
        if child is not None:
            yield from walk(child)


def of_role(root, role):
    return [node for node in walk(root) if node.getRole() == role]


def showing(node):
    return node.getState().contains(pyatspi.STATE_SHOWING)


def extents(node):
    """The node's box in its window."""
    return node.queryComponent().getExtents(pyatspi.WINDOW_COORDS)


def frame(app, name):
    return next((w for w in app if w is not None and w.name == name and showing(w)), None)


def text_of(node):
    try:
        text = node.queryText()
        return text.getText(0, text.characterCount)
    except NotImplementedError:
        return node.name


def xdotool(*arguments):
    subprocess.run(["xdotool", *arguments], check=True)


def focus(window_title):
    xdotool("search", "--onlyvisible", "--name", "^" + window_title, "windowfocus", "--sync")


def key(window_title, keys):
    """Sends keys to the window whose title starts with window_title, through XTEST to the
    focused window, so a key that closes it does not fail."""
    focus(window_title)
    xdotool("key", *keys)


def type_text(window_title, text):
    focus(window_title)
    xdotool("type", "--delay", "20", text)


def labelled_by(node, kind=pyatspi.RELATION_LABELLED_BY):
    """The targets of node's first relation of the kind."""
    for relation in node.getRelationSet():
        if relation.getRelationType() == kind:
            return [relation.getTarget(i) for i in range(relation.getNTargets())]
    return []


@contextlib.contextmanager
def started(program, name, files=None, copies=None, **popen):
    """Starts program, copied alone into a fresh folder with files, and yields (process,
    application) once it is on the AT-SPI bus; kills it and removes the folder after."""
    where = tempfile.mkdtemp()
    program = shutil.copy(program, os.path.join(where, name))
    for file, text in (files or {}).items():
        with open(os.path.join(where, file), "w") as out:
            out.write(text)
    for file, source in (copies or {}).items():
        shutil.copy(source, os.path.join(where, file))
    process = subprocess.Popen([program], **popen)
    try:
        yield process, wait_for("the program on the AT-SPI bus", lambda: application(name))
    finally:
        if process.poll() is None:
            process.kill()
        shutil.rmtree(where, ignore_errors=True)


def named(root, role):
    """The nodes of a role under root, by their names without padding."""
    return {n.name.strip(): n for n in of_role(root, role)}


def has_focus(node, what):
    wait_for(what, lambda: node.getState().contains(pyatspi.STATE_FOCUSED))
    print("ok:", what)


def leave(process, app, screen):
    """Escape on screen, Enter on its question, Escape on the main menu: the program ends well."""
    key(screen, ["Escape"])
    question = wait_for("a message box", lambda: next(
        (w for w in app if w is not None and w.getRole() == pyatspi.ROLE_ALERT), None))
    check(question.name.startswith("Exit"), "Escape asks before leaving")
    xdotool("key", "Return")
    wait_for("the screen to close", lambda: frame(app, screen) is None)
    key("Varrow Log version", ["Escape"])
    process.wait(timeout=5)
    check(process.returncode == 0, "the program ends from the main menu")


def run(probe):
    """Runs probe(), printing the failure and exiting non-zero when a check fails."""
    try:
        probe()
    except ProbeFailure as failure:
        print("FAILED:", failure)
        sys.exit(1)
    print("probe passed")
