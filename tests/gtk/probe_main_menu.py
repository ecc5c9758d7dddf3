"""The main menu of the real GTK program, read through its accessible tree: the window's
name, the list's 19 entries in order with the selection on the first, and what focus and
names do after Down, F1, Escape."""
import subprocess
import sys

import pyatspi
from atspi_probe import MENU, check, frame, has_focus, key, of_role, run, started, text_of, wait_for

PROGRAM, SCREENSHOT = sys.argv[1], sys.argv[2]
ENTRIES = ["Instructions.", "Off line logging.", "On line Logging.", "Browse Log.", "Print Log.",
           "Print Q S L.", "Print S W L Q S L.", "Rig Data.", "D X Data.", "Import Log.",
           "Export Log.", "Date Format.", "Location.", "Beam Heading", "Call Book",
           "Uploads.", "Backup Drive.", "Restore Log", "About V R LOG."]


def selected(table):
    selection = table.querySelection()
    return [selection.getSelectedChild(i).name for i in range(selection.nSelectedChildren)]


def announced(window, line):
    """A showing notification in the window that carries the line: what Orca speaks."""
    return any(text_of(node) == line and node.getState().contains(pyatspi.STATE_SHOWING)
               for node in of_role(window, pyatspi.ROLE_NOTIFICATION))


def probe():
    with started(PROGRAM, "varrowlog") as (program, app):
        menu = wait_for("the main menu window named by its caption", lambda: frame(app, MENU))
        tables = of_role(menu, pyatspi.ROLE_LIST)
        check(len(tables) == 1, "the main menu holds one list")
        table = tables[0]
        check([c.name for c in of_role(table, pyatspi.ROLE_TABLE_CELL)] == ENTRIES,
              "the list holds the 19 entries in order")
        check(selected(table) == ["Instructions."], "entry 0 is selected")
        has_focus(table, "the list has the focus")
        subprocess.run(["import", "-window", "root", SCREENSHOT], check=True)
        for entry in ENTRIES[1:3]:
            key("Varrow Log version", ["Down"])
            wait_for("Down selecting " + entry, lambda: selected(table) == [entry])
        # Each line of a box of lines is a notification, as Orca speaks it.
        for keys, title, line in ((["F1"], "Key help. ", "Arrow keys to choose a facility"),
                                  (["Down"], "Key help. ", "ENTER to open it"),
                                  (["End", "Return"], "About Varrow Log. ", "V R Log v1.37")):
            key(title if keys == ["Down"] else "Varrow Log version", keys)
            box = wait_for(title, lambda: frame(app, title))
            wait_for(title + "announcing " + line, lambda: announced(box, line))
            print("ok:", title + "announces " + line)
            if keys != ["F1"]:
                key(title, ["Escape"])
                wait_for(title + "closing", lambda: frame(app, title) is None)
                has_focus(table, "the focus back on the list")
        key("Varrow Log version", ["Escape"])
        program.wait(timeout=5)
        check(program.returncode == 0, "Escape on the main menu ends the program")


run(probe)
