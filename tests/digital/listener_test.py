#!/usr/bin/env python3
"""WSJT-X and the program over UDP on 127.0.0.1, through the real key-script runner with
real-time waits: a contact reported twice (QSO Logged and Logged ADIF) and one reported as
ADIF alone go into the log once each, with their verdicts; a period's decodes give one
sentence of needed callers; bad datagrams are dropped and counted; Enter on a needed caller
and Control+H send Reply and Halt Tx, read back here.

    listener_test.py RUNNER REPOSITORY

RUNNER may be varrowlog-script.exe, which is then run under Wine.
"""
import os
import shutil
import socket
import subprocess
import sys
import tempfile
import time

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import wsjtx_datagrams as w  # noqa: E402

FAILURES, PASSES = [], []


def check(ok, what):
    print(("ok   " if ok else "FAIL ") + what)
    (PASSES if ok else FAILURES).append(what)


def play(runner_path, here, work, title, name, phases, address="127.0.0.1"):
    """Plays NAME.script with the datagrams of each phase sent to the program's port: the
    first once it listens, each next one once the file the phase names has changed; a
    datagram given as (client, bytes) goes from that client's socket. Checks that the
    program listened, ended well, said what NAME.journal holds (the port, chosen free,
    made constant) and left the log and chart kept in NAME.after; gives the answers the
    program sent and the folder."""
    folder = os.path.join(work, name)
    os.mkdir(folder)
    for file in ("COUNTRY.LST", "COUNTRY.EXC"):
        shutil.copy(os.path.join(os.path.dirname(os.path.dirname(here)), "data", file), folder)
    port = w.free_port()
    w.write_settings(folder, port, address)
    # WSJT-X, and JTDX beside it, each on a port of its own.
    clients = {}
    for client in ("WSJT-X", "JTDX"):
        sock = socket.socket(socket.AF_INET, socket.SOCK_DGRAM)
        sock.bind(("127.0.0.1", 0))
        # To a group, as WSJT-X sends when its UDP server is a multicast address: out through
        # the loopback interface, looped back to this machine's members.
        sock.setsockopt(socket.IPPROTO_IP, socket.IP_MULTICAST_IF, socket.inet_aton("127.0.0.1"))
        sock.setsockopt(socket.IPPROTO_IP, socket.IP_MULTICAST_LOOP, 1)
        clients[client] = sock
    command = [runner_path, folder, os.path.join(here, name + ".script")]
    if runner_path.endswith(".exe"):
        # The Windows runner under Wine, whose sockets are the machine's own.
        command = ["wine", runner_path] + [
            "Z:" + os.path.abspath(path).replace("/", "\\") for path in command[1:]]
    runner = subprocess.Popen(command, stdout=subprocess.PIPE, stderr=subprocess.PIPE)
    bound = w.wait_until_bound(port, 20.0, lambda: runner.poll() is None)
    for after, datagrams in phases:
        if after:
            path = os.path.join(folder, after)
            before = open(path, "rb").read()
            end = time.time() + 20
            while time.time() < end and open(path, "rb").read() == before:
                time.sleep(0.05)
        for datagram in datagrams:
            client, datagram = datagram if isinstance(datagram, tuple) else ("WSJT-X", datagram)
            clients[client].sendto(datagram, (address, port))
    out, err = runner.communicate(timeout=120)
    # What the program sent is waiting in each client's socket by the time it has ended.
    answers = []
    for client, sock in clients.items():
        sock.setblocking(False)
        while True:
            try:
                data, source = sock.recvfrom(2048)
            except BlockingIOError:
                break
            answers.append((client, source == ("127.0.0.1", port), data))
        sock.close()
    journal = out.decode("cp1252").replace("port %d" % port, "port N")
    expected_path = os.path.join(here, name + ".journal")
    if os.environ.get("VARROW_BLESS"):
        open(expected_path, "w", encoding="cp1252").write(journal)
    expected = open(expected_path, encoding="cp1252").read()
    check(bound, title + ": the program listens on its port")
    check(runner.returncode == 0,
          "%s: the runner ends well (%d) %s" % (title, runner.returncode, err.decode()))
    check(journal == expected, title + ": the journal is the one kept")
    if journal != expected:
        sys.stdout.write(journal)
    for file in ("MYLOG.LOG", "DXCC.CHT"):
        made = open(os.path.join(folder, file), "rb").read()
        path = os.path.join(here, name + ".after", file)
        if os.environ.get("VARROW_BLESS"):
            os.makedirs(os.path.dirname(path), exist_ok=True)
            open(path, "wb").write(made)
        check(made == open(path, "rb").read(), "%s: %s is the one kept" % (title, file))
    return answers, folder


def main():
    runner_path, repo = sys.argv[1], sys.argv[2]
    here = os.path.join(repo, "tests", "digital")
    work = tempfile.mkdtemp(prefix="varrow-wsjtx-")
    try:
        on, off = (2026, 12, 9, 19, 30, 0), (2026, 12, 9, 19, 31, 15)
        sent = [
            w.heartbeat(),
            w.status(14074000, "FT8"),
            # One contact, reported both ways: one entry.
            w.qso_logged("JA1XYZ", "PM95", 14075500, "FT8", "-10", "-12", on, off,
                         name="Taro"),
            w.logged_adif(w.adif_record("JA1XYZ", "PM95", "14.075500", "FT8", "", "-10", "-12",
                                        "20261209", "193000", "193115", name="Taro")),
            # Another, as ADIF alone, from JTDX.
            w.logged_adif(w.adif_record("K1ABC", "FN42", "21.075500", "MFSK", "FT4", "-05",
                                        "-08", "20261209", "193300", "193400"), client="JTDX"),
            # A contact dated past what the log can hold, in both forms: said once, not logged.
            w.qso_logged("ZS6ABC", "KG33", 14075500, "FT8", "-1", "-2", (2031, 1, 1, 0, 0, 0),
                         (2031, 1, 1, 0, 1, 0)),
            w.logged_adif(w.adif_record("ZS6ABC", "KG33", "14.075500", "FT8", "", "-1", "-2",
                                        "20310101", "000000", "000100")),
            # What is not a message, or not one read here.
            b"",
            w.header(99, "WSJT-X") + b"\x01\x02\x03",
            w.qso_logged("ZL1AAA", "RF70", 14075500, "FT8", "-1", "-2", on, off)[:60],
            b"\xad\xbc\xcb\xdb" + w.heartbeat()[4:],
            # A period of decodes: two needed callers, one worked, one not calling CQ, one
            # said twice.
            w.decode(70200000, -12, "CQ VK2ABC QF56"),
            w.decode(70200000, -3, "CQ JA1XYZ PM95"),
            w.decode(70200000, 4, "G4ABC F5XYZ JN18"),
            w.decode(70200000, -17, "CQ DX PY2XYZ GG66"),
            w.decode(70200000, -12, "CQ VK2ABC QF56"),
            # An old decode replayed: listed, never said.
            w.decode(70185000, -20, "CQ 9J2ABC KH35", new=False),
            # JTDX heard last: the Reply still goes to WSJT-X, whose decode it is.
            ("JTDX", w.heartbeat("JTDX")),
        ]
        answers, _ = play(runner_path, here, work, "main menu", "listener", [(None, sent)])

        check(all(a[1] for a in answers), "the answers come from the program's port")
        # A Reply to WSJT-X repeating the chosen decode, a Halt Tx to each program.
        got = sorted((a[0], a[2]) for a in answers)
        want = sorted([("WSJT-X", w.reply(70200000, -17, "CQ DX PY2XYZ GG66")),
                       ("WSJT-X", w.halt()), ("JTDX", w.halt("JTDX"))])
        check(got == want, "a Reply to WSJT-X, a Halt Tx to each program: %r" % got)

        # On-line logging open: the dial and mode follow WSJT-X, the contact's verdict is said
        # on the screen; with the announcements turned off a period's callers are listed only.
        dial = [w.heartbeat(), w.status(7074000, "FT8"),
                w.qso_logged("DL1ABC", "JO62", 7075500, "FT8", "-07", "-09", on, off)]
        callers = [w.decode(70200000, -12, "CQ VK2ABC QF56")]
        answers, folder = play(runner_path, here, work, "on-line logging", "listener_on_line",
                               [(None, dial), ("DIGITAL.TXT", callers)])
        settings = open(os.path.join(folder, "DIGITAL.TXT")).read()
        check("announcements=off" in settings, "Control+A is kept in DIGITAL.TXT")

        # A multicast group shared with other listeners: the contact still comes in.
        contact = [w.qso_logged("JA1XYZ", "PM95", 14075500, "FT8", "-10", "-12", on, off)]
        play(runner_path, here, work, "multicast", "listener_multicast", [(None, contact)],
             "239.255.0.1")
    finally:
        shutil.rmtree(work, ignore_errors=True)

    print("%d passed, %d failed" % (len(PASSES), len(FAILURES)))
    return 1 if FAILURES else 0


if __name__ == "__main__":
    sys.exit(main())
