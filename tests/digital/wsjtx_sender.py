#!/usr/bin/env python3
"""A stand-in for WSJT-X for the Orca check: writes DIGITAL.TXT with a free port in the
program folder, waits until the program listens there, then reports a logged contact and,
a few seconds later, a receive period of decodes with two needed callers.

    wsjtx_sender.py FOLDER
"""
import os
import socket
import sys
import time

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import wsjtx_datagrams as w  # noqa: E402


def main():
    port = w.free_port()
    w.write_settings(sys.argv[1], port)
    if not w.wait_until_bound(port, 60):
        return 1
    wsjtx = socket.socket(socket.AF_INET, socket.SOCK_DGRAM)
    on, off = (2026, 12, 9, 19, 30, 0), (2026, 12, 9, 19, 31, 15)
    time.sleep(2.5)
    for datagram in (w.heartbeat(), w.status(14074000, "FT8"),
                     w.qso_logged("JA1XYZ", "PM95", 14075500, "FT8", "-10", "-12", on, off)):
        wsjtx.sendto(datagram, ("127.0.0.1", port))
    time.sleep(4.0)
    for datagram in (w.decode(70200000, -12, "CQ VK2ABC QF56"),
                     w.decode(70200000, -17, "CQ DX PY2XYZ GG66")):
        wsjtx.sendto(datagram, ("127.0.0.1", port))
    # Ended by the check, as its other stand-ins are.
    time.sleep(120)
    return 0


if __name__ == "__main__":
    sys.exit(main())
