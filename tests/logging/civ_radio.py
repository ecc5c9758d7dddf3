#!/usr/bin/env python3
"""An Icom CI-V radio at address 94 (the IC-7300's) on a pseudo-terminal, for Hamlib's own
IC-7300 backend in rigctld to talk to. Writes the terminal's path to PATH_FILE, then answers
until it is stopped; each command is echoed, as the radio's USB port does.

    civ_radio.py PATH_FILE

The dial starts on 14.074 MHz USB; the tenth time the frequency is read (rigctld reads it
five times as it opens) the operator turns it to 7.074 MHz LSB."""

import os
import sys
import tty

ADDRESS = 0x94
OK, NG = [0xFB], [0xFA]


def to_bcd(hertz):
    """Ten digits, least significant pair first."""
    return list(bytes.fromhex("%010d" % hertz))[::-1]


def from_bcd(data):
    return int(bytes(data[4::-1]).hex())


class Radio:
    def __init__(self):
        self.hertz, self.mode, self.filter, self.data = 14074000, 0x01, 0x01, 0x00
        self.reads = 0

    def answer(self, command, data):
        if command == 0x03 or (command == 0x25 and len(data) == 1):
            self.reads += 1
            if self.reads == 10:
                self.hertz, self.mode = 7074000, 0x00
            prefix = [0x03] if command == 0x03 else [0x25, data[0]]
            return prefix + to_bcd(self.hertz)
        if command == 0x04:
            return [0x04, self.mode, self.filter]
        if command == 0x26 and len(data) == 1:
            return [0x26, data[0], self.mode, self.data, self.filter]
        if command == 0x1A and data[:1] == [0x06] and len(data) == 1:
            return [0x1A, 0x06, self.data, self.filter if self.data else 0x00]
        if command == 0x05 and len(data) >= 5:
            self.hertz = from_bcd(data)
            return OK
        # Settings are taken; 0x15, the meters, is refused.
        return OK if command in (0x06, 0x07, 0x1A, 0x25, 0x26, 0x0F, 0x14, 0x16, 0x1C) else NG


def main():
    master, slave = os.openpty()
    tty.setraw(slave)
    with open(sys.argv[1] + ".new", "w") as out:
        out.write(os.ttyname(slave))
    os.rename(sys.argv[1] + ".new", sys.argv[1])
    radio, buffer = Radio(), b""
    while True:
        buffer += os.read(master, 1024)
        while b"\xfd" in buffer:
            frame, buffer = buffer.split(b"\xfd", 1)
            start = frame.find(b"\xfe\xfe")
            if start < 0:
                continue
            frame = list(frame[start:])
            os.write(master, bytes(frame + [0xFD]))  # the echo
            if len(frame) < 5 or frame[2] != ADDRESS:
                continue
            reply = radio.answer(frame[4], frame[5:])
            os.write(master, bytes([0xFE, 0xFE, frame[3], ADDRESS] + reply + [0xFD]))


if __name__ == "__main__":
    main()
