"""On line logging in the real GTK program, read through its accessible tree, with the test
call book in drive D and a rotator box of our own on a pseudo-terminal: every box named by its
label, the boxes the contact checks fill read-only, focusable and labelled, the focus on the
call sign, the checks' answers in their boxes and the verdict in a label of its own, a call-book
answer longer than the comment box's typing limit shown whole, typing held to that limit; the
bearing box showing the heading the box reports, and a bearing typed there with Enter turning
the antenna and coming back as the new heading.

    probe_on_line.py VARROWLOG TEST_CALL_BOOK_LIBRARY"""
import os
import sys
import threading

import pyatspi
sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "orca"))
import devices  # noqa: E402
from atspi_probe import (MENU, check, frame, has_focus, key, labelled_by, leave, named, of_role, run,
                         started, text_of, type_text, wait_for)

PROGRAM, CALL_BOOK = sys.argv[1], sys.argv[2]
SCREEN = "On Line Logging"


def probe():
    box = devices.RotatorBox()
    lines = devices.open_lines([(b"\r", box.answer)])
    threading.Thread(target=devices.serve, args=(lines,), daemon=True).start()
    slave = next(iter(lines.values()))[2]
    # Home in England, the rotator box on the terminal, the first CD call book in drive D.
    settings = "\r\n" * 10 + "52\r\n-1\r\n\r\n" + os.ttyname(slave) + "\r\nD\r\n1\r\n"
    with started(PROGRAM, "varrowlog", {"COUNTRY.LST": "G,G,England,1,52,-1\r\n",
                                        "DBNAMES.TXT": settings}, copies={"HAMCAL32.so": CALL_BOOK}) as (program, app):
        wait_for("the main menu", lambda: frame(app, MENU))
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
        check(list(named(screen, pyatspi.ROLE_COMBO_BOX)) == ["Frequency"],
              "the frequency list is named by its label")
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

        # Control+C: the answer, 41 characters, is put in the comment box whole, which takes the
        # focus; typing there stops at the box's 40 characters.
        key(SCREEN, ["ctrl+c"])
        wait_for("the call-book answer whole",
                 lambda: text_of(texts["Comment:"]) == "JOHN Q SMITH 1 HIGH STREET LONDON ENGLAND ")
        has_focus(texts["Comment:"], "the comment box has the focus")
        key(SCREEN, ["ctrl+a", "BackSpace"])
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
