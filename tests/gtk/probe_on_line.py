"""On line logging in the real GTK program, read through its accessible tree: every box named
by its label, the boxes the contact checks fill read-only, focusable and labelled, the focus
on the call sign, the checks' answers in their boxes and the verdict in a label of its own,
a call-book answer longer than the comment box's typing limit shown whole, typing held to
that limit, and Escape with Yes back to the main menu.

    probe_on_line.py VARROWLOG TEST_CALL_BOOK_LIBRARY"""
import os
import shutil
import subprocess
import sys
import tempfile

import pyatspi
from atspi_probe import (application, check, find_all, frame, key, labelled_by, run, text_of,
                         type_text, wait_for)

PROGRAM, CALL_BOOK = sys.argv[1], sys.argv[2]
MENU = "Varrow Log version 1 point 3 7 by Q 0 Z Z Z."
SCREEN = "On Line Logging"


def probe():
    folder = tempfile.mkdtemp()
    shutil.copy(PROGRAM, os.path.join(folder, "varrowlog"))
    with open(os.path.join(folder, "COUNTRY.LST"), "w") as countries:
        countries.write("G,G,England,1,52,-1\r\n")
    # The first CD call book in drive D, answered by the test library.
    shutil.copy(CALL_BOOK, os.path.join(folder, "HAMCAL32.so"))
    with open(os.path.join(folder, "DBNAMES.TXT"), "w") as settings:
        settings.write("\r\n" * 14 + "D\r\n1\r\n")
    program = subprocess.Popen([os.path.join(folder, "varrowlog")])
    try:
        app = wait_for("the program on the AT-SPI bus", lambda: application("varrowlog"))
        wait_for("the main menu", lambda: frame(app, MENU))
        key("Varrow Log version", ["Down", "Down", "Return"])
        screen = wait_for("the on-line logging window", lambda: frame(app, SCREEN))
        check(screen.name == SCREEN, "the window is named by its caption")

        texts = {n.name.strip(): n for n in find_all(screen, lambda n: n.getRole() == pyatspi.ROLE_TEXT)}
        check(set(texts) >= {"DATE", "TIME", "Mode", "Power", "Call Sign:", "RST Sent:",
                             "RST Received:", "Comment:", "Country:", "Last QSO:", "Beam Heading:"},
              "each box is named by its label, without the & marks")
        labels = {n.name.strip(): n for n in find_all(screen, lambda n: n.getRole() == pyatspi.ROLE_LABEL)}
        for name in ("Country:", "Last QSO:", "Beam Heading:", "DATE", "TIME"):
            state = texts[name].getState()
            check(not state.contains(pyatspi.STATE_EDITABLE) and state.contains(pyatspi.STATE_FOCUSABLE),
                  name + " is focusable read-only text")
            check(labels[name] in labelled_by(texts[name]), name + " carries its label")
        combos = find_all(screen, lambda n: n.getRole() == pyatspi.ROLE_COMBO_BOX)
        check(len(combos) == 1 and combos[0].name.strip() == "Frequency",
              "the frequency list is named by its label")
        wait_for("the focus on the call sign",
                 lambda: texts["Call Sign:"].getState().contains(pyatspi.STATE_FOCUSED))
        check(True, "the screen opens on the call sign box")

        type_text(SCREEN, "g4abc")
        key(SCREEN, ["Return"])
        wait_for("the country", lambda: text_of(texts["Country:"]) == "England New Country")
        check(text_of(texts["Last QSO:"]) == "No previous contact", "the Last QSO box holds its answer")
        wait_for("the focus on RST Sent",
                 lambda: texts["RST Sent:"].getState().contains(pyatspi.STATE_FOCUSED))
        check(True, "the checks move the focus to RST Sent")
        verdict = wait_for("the verdict label", lambda: next(
            (n for n in find_all(screen, lambda n: n.getRole() == pyatspi.ROLE_LABEL)
             if n.name == "England, new country."), None))
        check(verdict is not None, "the verdict is the text of a label of the screen")

        # Control+C: the answer, 41 characters, is put in the comment box whole, which takes the
        # focus; typing there stops at the box's 40 characters.
        key(SCREEN, ["ctrl+c"])
        answer = "JOHN Q SMITH 1 HIGH STREET LONDON ENGLAND "
        wait_for("the call-book answer", lambda: text_of(texts["Comment:"]) == answer)
        wait_for("the focus on the comment",
                 lambda: texts["Comment:"].getState().contains(pyatspi.STATE_FOCUSED))
        check(True, "the call-book answer is in the comment box whole, and the box has the focus")
        key(SCREEN, ["ctrl+a", "BackSpace"])
        type_text(SCREEN, "x" * 45)
        wait_for("typing to stop at the limit", lambda: text_of(texts["Comment:"]) == "x" * 40)
        check(True, "typing in the comment box stops at 40 characters")

        key(SCREEN, ["Escape"])
        alert = wait_for("the question", lambda: next(
            (w for w in app if w is not None and w.getRole() == pyatspi.ROLE_ALERT), None))
        check(alert.name == "Exit on line Logging", "Escape asks before leaving")
        subprocess.run(["xdotool", "key", "Return"], check=True)
        wait_for("the screen to close", lambda: frame(app, SCREEN) is None)
        check(True, "Yes closes the screen")
        key("Varrow Log version", ["Escape"])
        program.wait(timeout=5)
        check(program.returncode == 0, "the program ends from the main menu")
    finally:
        if program.poll() is None:
            program.kill()
        shutil.rmtree(folder, ignore_errors=True)


run(probe)
