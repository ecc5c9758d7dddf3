"""A form built through the screens' UI interface, read through its accessible tree: every
box, list and drop-down is named by the label before it and related to it both ways; the
read-only box is read-only text, not a label, and a text longer than the screen is wide
shows whole on further lines, the box read as one line and covering nothing below it;
Enter moves to the next box; typed text is folded to upper case where asked and crosses as
Windows-1252; a password box is password text that never shows what is typed. Tab order and
message boxes are heard through Orca on the real screens (tests/orca/*.speech)."""
import re
import subprocess
import sys

import pyatspi
from atspi_probe import (check, extents, frame, has_focus, key, labelled_by, named, run,
                         started, text_of, type_text, wait_for)

PROGRAM = sys.argv[1]


def probe():
    with started(PROGRAM, "gtk_form_probe", stdout=subprocess.PIPE, text=True) as (
            program, app):
        form = wait_for("the form", lambda: frame(app, "Form Probe"))
        labels = named(form, pyatspi.ROLE_LABEL)
        check(set(labels) >= {"Call Sign:", "Drive:", "Last QSO:", "Band:", "Mode:"},
              "labels are spoken without their & marks")
        by_name = named(form, pyatspi.ROLE_TEXT)
        check(set(by_name) == {"Call Sign:", "Drive:", "Last QSO:"}, "each edit box is named by its label")
        for name, node in by_name.items():
            check(labels[name] in labelled_by(node) and
                  labelled_by(labels[name], pyatspi.RELATION_LABEL_FOR)[:1] == [node],
                  name + " box and label are related both ways")
        # That a read-only box is focusable and not editable, and an edit box editable, the
        # on-line probe and Orca's "read only text" see on the real screens.
        read_only = by_name["Last QSO:"]
        lists, combos = named(form, pyatspi.ROLE_LIST), named(form, pyatspi.ROLE_COMBO_BOX)
        check(list(lists) == ["Band:"] and labels["Band:"] in labelled_by(lists["Band:"]),
              "the list is named and labelled by its label")
        check(list(combos) == ["Mode:"] and labels["Mode:"] in labelled_by(combos["Mode:"]),
              "the drop-down is named and labelled by its label")
        one_line = extents(read_only)
        key("Form Probe", ["F4"])
        wait_for("the long text", lambda: text_of(read_only).endswith("the end."))
        long_text = text_of(read_only)
        wait_for("the box to grow", lambda: extents(read_only).height > one_line.height)
        box = extents(read_only)
        x, y, width, height = read_only.queryText().getRangeExtents(0, len(long_text), pyatspi.WINDOW_COORDS)
        first = read_only.queryText().getCharacterExtents(0, pyatspi.WINDOW_COORDS)
        check(height >= 2 * first[3], "the text takes more than one line")
        window = form.queryComponent().getExtents(pyatspi.DESKTOP_COORDS)
        screen_width = int(re.search(r"dimensions: *(\d+)x", subprocess.run(
            ["xdpyinfo"], capture_output=True, text=True, check=True).stdout).group(1))
        check(window.x + box.x + box.width <= screen_width and x >= box.x and
              x + width <= box.x + box.width and y >= box.y and y + height <= box.y + box.height,
              "a text longer than the screen is wide shows whole in the box, on more lines "
              "(window at %d, box %s, letters %s, screen %d)" % (
                  window.x, (box.x, box.y, box.width, box.height), (x, y, width, height), screen_width))
        states = read_only.getState()
        check(states.contains(pyatspi.STATE_SINGLE_LINE) and not states.contains(pyatspi.STATE_MULTI_LINE),
              "the wrapped box is still single-line text to the reader")
        for offset in (0, len(long_text) // 2, len(long_text) - 1):
            line = read_only.queryText().getTextAtOffset(offset, pyatspi.TEXT_BOUNDARY_LINE_START)
            check(tuple(line) == (long_text, 0, len(long_text)),
                  "its line at offset %d is its whole text, as an entry's is" % offset)
        check(extents(lists["Band:"]).y >= box.y + box.height,
              "the list below the box is not covered by its lines")

        type_text("Form Probe", "g9zza é")
        wait_for("typed text reaching the edit box", lambda: text_of(by_name["Call Sign:"]) == "g9zza é")
        key("Form Probe", ["Return"])
        has_focus(by_name["Drive:"], "Enter moves to the next box")
        type_text("Form Probe", "e:Ω")
        wait_for("the upper-case box folding letters, a character outside Windows-1252 becoming ?",
                 lambda: text_of(by_name["Drive:"]) == "E:?")
        passwords = named(form, pyatspi.ROLE_PASSWORD_TEXT)
        check(list(passwords) == ["Password:"] and labels["Password:"] in labelled_by(passwords["Password:"]),
              "the password box is password text named by its label")
        key("Form Probe", ["Tab", "Tab", "Tab", "Tab"])
        has_focus(passwords["Password:"], "Tab reaches the password box")
        type_text("Form Probe", "se cret")
        wait_for("typed marks", lambda: len(text_of(passwords["Password:"])) == 7)
        check("secret" not in text_of(passwords["Password:"]).replace(" ", ""),
              "the password box gives marks, not the password")
        key("Form Probe", ["Escape"])
        lines = program.communicate(timeout=5)[0].split()
        check("101:67397A7A6120E9" in lines, "the typed text returns as Windows-1252 bytes")
        check("103:453A3F" in lines, "the upper-case box returns E:?")
        check("107:0" in lines and "109:1" in lines, "the selections are kept")
        check("111:73652063726574" in lines, "the password box keeps what was typed")


run(probe)
