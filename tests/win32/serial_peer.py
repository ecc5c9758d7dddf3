#!/usr/bin/env python3
"""Runs a Windows program under Wine with COM9 standing for a pseudo-terminal, and answers
on the other end as a text radio would: "FA;" gets a frequency reply, in two pieces, after
bytes that a cooked or flow-controlled port would translate or eat.

    serial_peer.py EMULATOR PROGRAM.exe   (WINEPREFIX names the Wine prefix)

Exits with the program's exit code, or 77 when there is no Wine prefix to link the port in.
"""
import os
import select
import subprocess
import sys
import time

ANSWER = b"\x11\x13\r\n\xff" + b"FA014074000;"


def main():
    prefix = os.environ.get("WINEPREFIX")
    if not prefix or not os.path.isdir(os.path.join(prefix, "dosdevices")):
        print("serial_peer: no Wine prefix", file=sys.stderr)
        return 77
    master, slave = os.openpty()
    link = os.path.join(prefix, "dosdevices", "com9")
    if os.path.lexists(link):
        os.remove(link)
    os.symlink(os.ttyname(slave), link)
    try:
        child = subprocess.Popen(sys.argv[1:] + ["COM9"])
        heard = b""
        deadline = time.monotonic() + 60
        while child.poll() is None and time.monotonic() < deadline:
            if select.select([master], [], [], 0.1)[0]:
                heard += os.read(master, 256)
            if heard.endswith(b"FA;"):
                os.write(master, ANSWER[:9])
                time.sleep(0.05)
                os.write(master, ANSWER[9:])
                heard = b""
        if child.poll() is None:
            child.kill()
            print("serial_peer: the program did not end", file=sys.stderr)
            return 1
        return child.returncode
    finally:
        os.remove(link)


if __name__ == "__main__":
    sys.exit(main())
