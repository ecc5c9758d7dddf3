"""On line logging's bearing box in the real GTK program, with a rotator box of our own on a
pseudo-terminal: the box is named by its label, shows the heading the box reports, and a
bearing typed there with Enter turns the antenna and comes back as the new heading."""
import os
import shutil
import subprocess
import sys
import tempfile
import threading

import pyatspi
from atspi_probe import (application, check, find_all, frame, key, labelled_by, run, text_of,
                         type_text, wait_for)

PROGRAM = sys.argv[1]
MENU = "Varrow Log version 1 point 3 7 by Q 0 Z Z Z."
SCREEN = "On Line Logging"


class RotatorBox(threading.Thread):
    """Answers "A?" with its heading and "AG<bearing>" by turning there at once."""

    def __init__(self, master):
        super().__init__(daemon=True)
        self.master = master
        self.heading = 290
        self.commands = []

    def run(self):
        heard = b""
        while True:
            try:
                heard += os.read(self.master, 256)
            except OSError:
                return
            while b"\r" in heard:
                line, heard = heard.split(b"\r", 1)
                command = line.replace(b"\x02", b"").decode("latin-1")
                self.commands.append(command)
                if command.startswith("AG") and command[2:].isdigit():
                    os.write(self.master, b"\x02A,G,R\r")
                    self.heading = int(command[2:])
                if command in ("A?",) or command.startswith("AG"):
                    os.write(self.master, b"\x02A,?,%d,R\r" % self.heading)


def probe():
    folder = tempfile.mkdtemp()
    master, slave = os.openpty()
    box = RotatorBox(master)
    box.start()
    shutil.copy(PROGRAM, os.path.join(folder, "varrowlog"))
    with open(os.path.join(folder, "COUNTRY.LST"), "w") as countries:
        countries.write("G,G,England,1,52,-1\r\n")
    with open(os.path.join(folder, "DBNAMES.TXT"), "w") as settings:
        settings.write("\r\n" * 10 + "52\r\n-1\r\n\r\n" + os.ttyname(slave) + "\r\n")
    program = subprocess.Popen([os.path.join(folder, "varrowlog")])
    try:
        app = wait_for("the program on the AT-SPI bus", lambda: application("varrowlog"))
        wait_for("the main menu", lambda: frame(app, MENU))
        key("Varrow Log version", ["Down", "Down", "Return"])
        screen = wait_for("the on-line logging window", lambda: frame(app, SCREEN))

        texts = {n.name.strip(): n for n in find_all(screen, lambda n: n.getRole() == pyatspi.ROLE_TEXT)}
        check("Bearing" in texts, "the bearing box is named by its label")
        bearing = texts["Bearing"]
        labels = {n.name.strip(): n for n in find_all(screen, lambda n: n.getRole() == pyatspi.ROLE_LABEL)}
        check(labels["Bearing"] in labelled_by(bearing), "the bearing box carries its label")
        check(bearing.getState().contains(pyatspi.STATE_EDITABLE), "a bearing can be typed")
        wait_for("the reported heading", lambda: text_of(bearing) == "290")
        check(box.commands[:2] == ["AM", "A?"], "the box was asked for its heading")

        key(SCREEN, ["alt+b"])
        wait_for("the focus on the bearing box",
                 lambda: bearing.getState().contains(pyatspi.STATE_FOCUSED))
        type_text(SCREEN, "120")
        key(SCREEN, ["Return"])
        wait_for("the turn", lambda: "AG120" in box.commands)
        wait_for("the new heading", lambda: text_of(bearing) == "120" and box.heading == 120)
        check(True, "Enter turns the antenna to the typed bearing")

        key(SCREEN, ["Escape"])
        wait_for("the question", lambda: next(
            (w for w in app if w is not None and w.getRole() == pyatspi.ROLE_ALERT), None))
        subprocess.run(["xdotool", "key", "Return"], check=True)
        wait_for("the screen to close", lambda: frame(app, SCREEN) is None)
        key("Varrow Log version", ["Escape"])
        program.wait(timeout=5)
        check(program.returncode == 0, "the program ends from the main menu")
    finally:
        if program.poll() is None:
            program.kill()
        os.close(master)
        os.close(slave)
        shutil.rmtree(folder, ignore_errors=True)


run(probe)
