"""The main menu of the real GTK program, read through its accessible tree: the window's
name, the list's 18 entries in order with the selection on the first, and what focus and
names do after Down, F1, Escape."""
import os
import shutil
import subprocess
import sys
import tempfile
import time

import pyatspi
from atspi_probe import (check, find_all, focused, frame, key, run, text_of, wait_for, application)

PROGRAM, SCREENSHOT = sys.argv[1], sys.argv[2]
CAPTION = "Varrow Log version 1 point 3 7 by Q 0 Z Z Z."
ENTRIES = ["Instructions.", "Off line logging.", "On line Logging.", "Browse Log.", "Print Log.",
           "Print Q S L.", "Print S W L Q S L.", "Rig Data.", "D X Data.", "Import Log.",
           "Export Log.", "Date Format.", "Location.", "Beam Heading", "Call Book",
           "Backup Drive.", "Restore Log", "About V R LOG."]


def selected_entry(table):
    selection = table.querySelection()
    names = [selection.getSelectedChild(i).name for i in range(selection.nSelectedChildren)]
    return names


def probe():
    folder = tempfile.mkdtemp()
    shutil.copy(PROGRAM, os.path.join(folder, "varrowlog"))
    with open(os.path.join(folder, "COUNTRY.LST"), "w") as countries:
        countries.write("G,G,England,1,52,-1\r\n")
    program = subprocess.Popen([os.path.join(folder, "varrowlog")])
    try:
        app = wait_for("the program on the AT-SPI bus", lambda: application("varrowlog"))
        menu = wait_for("the main menu window", lambda: frame(app, CAPTION))
        check(menu.name == CAPTION, "the main menu window is named by its caption")

        tables = find_all(menu, lambda n: n.getRole() == pyatspi.ROLE_LIST)
        check(len(tables) == 1, "the main menu holds one list")
        table = tables[0]
        cells = [c.name for c in find_all(table, lambda n: n.getRole() == pyatspi.ROLE_TABLE_CELL)]
        check(cells == ENTRIES, "the list holds the 18 entries in order")
        check(selected_entry(table) == ["Instructions."], "entry 0 is selected")
        wait_for("the list to take the focus", lambda: table.getState().contains(pyatspi.STATE_FOCUSED))
        check(True, "the list has the focus")
        subprocess.run(["import", "-window", "root", SCREENSHOT], check=True)

        key("Varrow Log version", ["Down"])
        wait_for("the selection to move", lambda: selected_entry(table) == ["Off line logging."])
        check(True, "Down selects entry 1")
        key("Varrow Log version", ["Down"])
        wait_for("the selection to move", lambda: selected_entry(table) == ["On line Logging."])

        key("Varrow Log version", ["F1"])
        helpbox = wait_for("the Key help box", lambda: frame(app, "Key help. "))
        wait_for("the first line announced", lambda: announced(helpbox, "Arrow keys to choose a facility"))
        check(True, "Key help announces its first line as a notification")
        key("Key help", ["Down"])
        wait_for("the second line announced", lambda: announced(helpbox, "ENTER to open it"))
        check(True, "Down announces the Key help box's second line")
        key("Key help", ["Escape"])
        wait_for("the Key help box to close", lambda: frame(app, "Key help. ") is None)
        wait_for("the focus back on the list", lambda: table.getState().contains(pyatspi.STATE_FOCUSED))
        check(True, "Escape closes the Key help box and the focus returns to the list")

        key("Varrow Log version", ["End", "Return"])
        about = wait_for("the About box", lambda: frame(app, "About Varrow Log. "))
        wait_for("the About line", lambda: announced(about, "V R Log v1.37"))
        check(True, "About announces its first line")
        key("About Varrow Log", ["Escape"])
        wait_for("the About box to close", lambda: frame(app, "About Varrow Log. ") is None)

        key("Varrow Log version", ["Escape"])
        program.wait(timeout=5)
        check(program.returncode == 0, "Escape on the main menu ends the program")
    finally:
        if program.poll() is None:
            program.kill()
        shutil.rmtree(folder, ignore_errors=True)


def announced(window, line):
    """A showing notification in the window that carries the line: what Orca speaks."""
    return any(text_of(node) == line and node.getState().contains(pyatspi.STATE_SHOWING)
               for node in find_all(window, lambda n: n.getRole() == pyatspi.ROLE_NOTIFICATION))


run(probe)
