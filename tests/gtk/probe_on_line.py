"""The real GTK program, read through its accessible tree: the main menu's one list holding
its 19 entries in order, then on line logging with a rotator box of our own on a
pseudo-terminal: every box named by its label, the boxes the contact checks fill read-only,
focusable and labelled, the focus on the call sign, the checks' answers in their boxes and the
verdict in a label of its own, typing in the comment box held to its limit; the bearing box
showing the heading the box reports, and a bearing typed there with Enter turning the antenna
and coming back as the new heading. What Orca hears of these screens is in tests/orca/.

    probe_on_line.py VARROWLOG"""
import os
import sys
import threading

import pyatspi
sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "orca"))
import devices  # noqa: E402
from atspi_probe import (MENU, check, frame, has_focus, key, labelled_by, leave, named, of_role, run,
                         started, text_of, type_text, wait_for)

PROGRAM = sys.argv[1]
SCREEN = "On Line Logging"
ENTRIES = ["Instructions.", "Off line logging.", "On line Logging.", "Browse Log.", "Print Log.",
           "Print Q S L.", "Print S W L Q S L.", "Rig Data.", "D X Data.", "Import Log.",
           "Export Log.", "Date Format.", "Location.", "Beam Heading", "Call Book",
           "Uploads.", "Backup Drive.", "Restore Log", "About V R LOG."]


def probe():
    box = devices.RotatorBox()
    lines = devices.open_lines([(b"\r", box.answer)])
    threading.Thread(target=devices.serve, args=(lines,), daemon=True).start()
    slave = next(iter(lines.values()))[2]
    # Home in England, the rotator box on the terminal.
    settings = "\r\n" * 10 + "52\r\n-1\r\n\r\n" + os.ttyname(slave) + "\r\n"
    with started(PROGRAM, "varrowlog", {"COUNTRY.LST": "G,G,England,1,52,-1\r\n",
                                        "DBNAMES.TXT": settings}) as (program, app):
        menu = wait_for("the main menu window named by its caption", lambda: frame(app, MENU))
        lists = of_role(menu, pyatspi.ROLE_LIST)
        check(len(lists) == 1 and [c.name for c in of_role(lists[0], pyatspi.ROLE_TABLE_CELL)] == ENTRIES,
              "the main menu holds one list, of the 19 entries in order")
        key("Varrow Log version", ["Down", "Down", "Return"])
        screen = wait_for("the on-line logging window", lambda: frame(app, SCREEN))
        texts, labels = named(screen, pyatspi.ROLE_TEXT), named(screen, pyatspi.ROLE_LABEL)
        check(set(texts) >= {"DATE", "TIME", "Mode", "Power", "Call Sign:", "RST Sent:", "Bearing",
                             "RST Received:", "Comment:", "Country:", "Last QSO:", "Beam Heading:"},
              "each box is named by its label, without the & marks")
        for name in ("Country:", "Last QSO:", "Beam Heading:", "DATE", "TIME", "Bearing"):
            state = texts[name].getState()
            check(state.contains(pyatspi.STATE_EDITABLE) == (name == "Bearing") and
                  state.contains(pyatspi.STATE_FOCUSABLE), name + " is focusable, typed only if Bearing")
            check(labels[name] in labelled_by(texts[name]), name + " carries its label")
        has_focus(texts["Call Sign:"], "the screen opens on the call sign box")
        wait_for("the reported heading", lambda: text_of(texts["Bearing"]) == "290")
        check(box.heard[:2] == ["AM", "A?"], "the box was asked for its heading")

        type_text(SCREEN, "g4abc")
        key(SCREEN, ["Return"])
        wait_for("the country", lambda: text_of(texts["Country:"]) == "England New Country")
        check(text_of(texts["Last QSO:"]) == "No previous contact", "the Last QSO box holds its answer")
        has_focus(texts["RST Sent:"], "the checks move the focus to RST Sent")
        wait_for("the verdict is the text of a label of the screen", lambda: any(
            n.name.startswith("England, new country.") for n in of_role(screen, pyatspi.ROLE_LABEL)))

        # Typing in the comment box stops at its 40 characters; a longer call-book answer put
        # there is heard whole in tests/orca/call_book.speech.
        key(SCREEN, ["Tab", "Tab"])
        has_focus(texts["Comment:"], "Tab reaches the comment box")
        type_text(SCREEN, "x" * 45)
        wait_for("typing to stop at 40", lambda: text_of(texts["Comment:"]) == "x" * 40)

        key(SCREEN, ["alt+b"])
        has_focus(texts["Bearing"], "Alt+B reaches the bearing box")
        type_text(SCREEN, "120")
        key(SCREEN, ["Return"])
        wait_for("the turn", lambda: "AG120" in box.heard)
        wait_for("Enter turns the antenna to the typed bearing",
                 lambda: text_of(texts["Bearing"]) == "120" and box.heading == 120)
        leave(program, app, SCREEN)


run(probe)
