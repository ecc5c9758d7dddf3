"""Shared helpers for probing a running GTK program through AT-SPI, as Orca sees it."""
import os
import subprocess
import sys
import time

import pyatspi


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
    desktop = pyatspi.Registry.getDesktop(0)
    for app in desktop:
        if app is not None and app.name == name:
            return app
    return None


def walk(node):
    yield node
    for child in node:
        if child is not None:
            yield from walk(child)


def find_all(root, predicate):
    return [node for node in walk(root) if predicate(node)]


def frame(app, name):
    for window in app:
        if window is not None and window.name == name and window.getState().contains(pyatspi.STATE_SHOWING):
            return window
    return None


def focused(root):
    nodes = find_all(root, lambda n: n.getState().contains(pyatspi.STATE_FOCUSED))
    return nodes[0] if nodes else None


def text_of(node):
    try:
        text = node.queryText()
        return text.getText(0, text.characterCount)
    except NotImplementedError:
        return node.name


def key(window_title, keys):
    """Sends keys to the window whose title starts with window_title."""
    focus_window(window_title)
    # Sent through XTEST to the focused window, so a key that closes it does not fail.
    subprocess.run(["xdotool", "key", *keys], check=True)


def focus_window(window_title):
    subprocess.run(["xdotool", "search", "--onlyvisible", "--name", "^" + window_title,
                    "windowfocus", "--sync"], check=True)


def type_text(window_title, text):
    focus_window(window_title)
    subprocess.run(["xdotool", "type", "--delay", "20", text], check=True)


def labelled_by(node):
    for relation in node.getRelationSet():
        if relation.getRelationType() == pyatspi.RELATION_LABELLED_BY:
            return [relation.getTarget(i) for i in range(relation.getNTargets())]
    return []


def run(probe):
    """Runs probe(), printing the failure and exiting non-zero when a check fails."""
    try:
        probe()
    except ProbeFailure as failure:
        print("FAILED:", failure)
        sys.exit(1)
    print("probe passed")
