#!/usr/bin/env python3
"""The Windows runner's Hamlib client over Winsock, under Wine, against Linux's own rigctld
and rotctld (Hamlib's dummy radio and rotator) on 127.0.0.1: on-line logging must say the
radio's band and its frequency and mode, and turn the rotator, as the Linux runner does.

    hamlib_peer.py EMULATOR RUNNER.exe [LINUX_RUNNER]   (WINEPREFIX names the Wine prefix)

Exits 77 when Hamlib's daemons are not installed."""
import os
import shutil
import socket
import subprocess
import sys
import tempfile
import time

SCRIPT = "".join(step + "\n" for step in (
    "clock 2025-03-14 14:02:00", "key Home", "key Down", "key Down", "key Enter", "wait 25",
    "key F8", "key Alt+B", "type 9", "key Enter", "wait 30", "key Alt+W", "key Alt+B",
    "key Escape", "answer yes", "key Escape"))

EXPECTED = ['static "Forty metres."', 'static "7.074 megahertz, LSB."',
            'focus edit "Bearing" "0"', 'text "9"', 'focus edit "Bearing" "9"']


def free_port():
    with socket.socket() as probe:
        probe.bind(("127.0.0.1", 0))
        return probe.getsockname()[1]


def ask(port, command):
    for _ in range(100):
        try:
            with socket.create_connection(("127.0.0.1", port), timeout=2) as daemon:
                daemon.sendall(command.encode())
                time.sleep(0.3)
                return daemon.recv(4096).decode()
        except OSError:
            time.sleep(0.05)
    return ""


def journal_of(command, script_path):
    """The journal lines from the on-line logging screen on, with fresh daemons each run."""
    rig_port, rotator_port = free_port(), free_port()
    daemons = [subprocess.Popen([name, "-m", "1", "-T", "127.0.0.1", "-t", str(port)])
               for name, port in (("rigctld", rig_port), ("rotctld", rotator_port))]
    folder = tempfile.mkdtemp(prefix="hamlib-wine-")
    files = {
        "COUNTRY.LST": "G,G,England,223,52,-1\r\n",
        "RIG.LST": "".join("FT1,400,Dipole,Op,SSB\r\n" if band == 2 else ",,,,\r\n"
                           for band in range(13)) + "0\r\n",
        "DBNAMES.TXT": "\r\n" * 10 + "52\r\n-1\r\n\r\n\r\n",
        "MYLOG.LOG": "",
        "HAMLIB.TXT": f"rig=127.0.0.1:{rig_port}\r\nrotator=127.0.0.1:{rotator_port}\r\n",
    }
    try:
        for name, text in files.items():
            with open(os.path.join(folder, name), "w", newline="") as out:
                out.write(text)
        if ask(rig_port, "F 7074000\nM LSB 2400\n") != "RPRT 0\nRPRT 0\n":
            sys.exit("rigctld did not take the frequency")
        ask(rotator_port, "p\n")
        result = subprocess.run(command + [folder, script_path], capture_output=True, text=True,
                                timeout=120)
        if result.returncode != 0:
            sys.exit(f"{command[-1]} exited with {result.returncode}: {result.stderr}")
        lines = result.stdout.splitlines()
        return lines[lines.index('window "On Line Logging"'):]
    finally:
        for daemon in daemons:
            daemon.terminate()
            daemon.wait()
        shutil.rmtree(folder, ignore_errors=True)


def main():
    if shutil.which("rigctld") is None or shutil.which("rotctld") is None:
        print("hamlib_peer: Hamlib's daemons are not installed", file=sys.stderr)
        return 77
    with tempfile.NamedTemporaryFile("w", suffix=".script", delete=False) as script:
        script.write(SCRIPT)
    try:
        windows = journal_of(sys.argv[1:3], script.name)
        at = 0
        for line in EXPECTED:
            if line not in windows[at:]:
                print("\n".join(windows))
                sys.exit(f"missing, in order: {line}")
            at = windows.index(line, at) + 1
        if len(sys.argv) > 3:
            linux = journal_of(sys.argv[3:4], script.name)
            # The antenna's reports come at the pace of each run; the rest must be the same.
            def steady(lines):
                return [line for line in lines if not line.startswith("text ") and line != "beep default"]
            if steady(windows) != steady(linux):
                print("--- Windows\n" + "\n".join(windows) + "\n--- Linux\n" + "\n".join(linux))
                sys.exit("the Windows runner said otherwise than the Linux one")
    finally:
        os.remove(script.name)
    print("the Windows runner followed rigctld and turned rotctld over Winsock")
    return 0


if __name__ == "__main__":
    sys.exit(main())
