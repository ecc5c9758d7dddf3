"""Finds text that cannot be seen whole in the program's window named CAPTION: a label or a
one-line box whose text, to its last letter, runs past the box's own edges (an entry scrolled
sideways, a wrapped box too short for its lines) or past the window's right edge, and a list
row shown only in part at the list's bottom. Boxes of many lines scroll by design and are
left out. Prints each cut text; exits 1 if there is one.

    check_cut.py CAPTION"""
import sys

import pyatspi
from atspi_probe import application, extents, showing, walk

SLACK = 2  # pixels of a frame's edge that a letter's box may touch


def edges(node):
    box = extents(node)
    return box.x, box.y, box.x + box.width, box.y + box.height


def cut_rows(view):
    """The rows of a list shown only in part at its bottom edge."""
    bottom = edges(view)[3]
    found = []
    for node in walk(view):
        if node is not view and showing(node):
            _, top, _, row_bottom = edges(node)
            if top < bottom and row_bottom > bottom + SLACK:
                found.append("%r (%s): a row cut by the list's bottom edge (row %d to %d, list ends at %d)" % (
                    node.name, view.name, top, row_bottom, bottom))
    return found


def cut_texts(window):
    window_right = edges(window)[2]
    found = []
    for node in walk(window):
        if node.getRole() == pyatspi.ROLE_LIST:
            found += cut_rows(node)
            continue
        if (node.getRole() not in (pyatspi.ROLE_LABEL, pyatspi.ROLE_TEXT) or not showing(node) or
                node.getState().contains(pyatspi.STATE_MULTI_LINE)):
            continue
        try:
            text = node.queryText()
        except NotImplementedError:
            continue
        whole = text.getText(0, text.characterCount)
        # Blanks that pad a field out are not text the operator misses.
        length = len(whole.rstrip())
        if length == 0:
            continue
        left, top, right, bottom = edges(node)
        x, y, width, height = text.getRangeExtents(0, length, pyatspi.WINDOW_COORDS)
        if width <= 0 or height <= 0:
            continue
        where = []
        if x < left - SLACK or x + width > right + SLACK:
            where.append("past its box's side (letters %d to %d, box %d to %d)" % (x, x + width, left, right))
        if y < top - SLACK or y + height > bottom + SLACK:
            where.append("past its box's top or bottom (letters %d to %d, box %d to %d)" % (
                y, y + height, top, bottom))
        if x + width > window_right + SLACK:
            where.append("past the window's right edge at %d" % window_right)
        if where:
            found.append("%r (%s): %s" % (whole.strip()[:60], node.name, "; ".join(where)))
    return found


caption = sys.argv[1]
windows = [w for w in (application("varrowlog") or []) if w is not None and caption in (w.name or "") and showing(w)]
if not windows:
    sys.exit("%s: no window on the accessible tree" % caption)
found = cut_texts(windows[-1])
for line in found:
    print("%s: cut text %s" % (caption, line))
sys.exit(1 if found else 0)
