#!/usr/bin/env python3
"""A transceiver and a rotator box on pseudo-terminals, for the speech checks of the station's
devices. Writes the program folder's port table (COM1 the transceiver, COM2 the rotator box)
and answers until it is stopped.

    devices.py PROGRAM_FOLDER

The transceiver speaks the Kenwood text protocol of TS590.RIG and stays on 7.074 MHz USB, so
that what the program hears is the same on every poll. The rotator box reports 290 degrees
and turns at once to a bearing it is sent."""

import os
import select
import signal
import sys
import tty


def text_radio(command):
    frequency, mode = "00007074000", "2"
    return {"FA": f"FA{frequency};", "IF": f"IF{frequency}     +0000000000{mode}0000000;",
            "MD": f"MD{mode};", "MD0": f"MD{mode};"}.get(command, "?;")


class RotatorBox:
    def __init__(self):
        self.heading, self.heard = 290, []

    def answer(self, command):
        self.heard.append(command)
        replies = []
        if command.startswith("AG") and command[2:].isdigit():
            self.heading = int(command[2:])
            replies.append("\x02A,G,R\r")
        if command == "A?" or command.startswith("AG"):
            replies.append(f"\x02A,?,{self.heading},R\r")
        return "".join(replies)


def open_lines(answers):
    """A raw pseudo-terminal for each (terminator, answer), as {master fd: [terminator, answer,
    slave fd, bytes heard]}."""
    lines = {}
    for terminator, answer in answers:
        master, slave = os.openpty()
        tty.setraw(slave)
        lines[master] = [terminator, answer, slave, b""]
    return lines


def serve(lines):
    """Answers each command heard on the lines, for ever."""
    while True:
        for master in select.select(list(lines), [], [])[0]:
            line = lines[master]
            line[3] += os.read(master, 256)
            while line[0] in line[3]:
                frame, line[3] = line[3].split(line[0], 1)
                command = frame.replace(b"\x02", b"").decode("latin-1")
                os.write(master, line[1](command).encode("latin-1"))


def main():
    lines = open_lines(((b";", text_radio), (b"\r", RotatorBox().answer)))
    with open(os.path.join(sys.argv[1], "PORTS.TXT"), "w", encoding="ascii") as table:
        for number, line in enumerate(lines.values(), start=1):
            table.write(f"{number}={os.ttyname(line[2])}\r\n")
    signal.signal(signal.SIGTERM, lambda *_: sys.exit(0))
    serve(lines)


if __name__ == "__main__":
    main()
