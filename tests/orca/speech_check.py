#!/usr/bin/env python3
"""Drives the desktop program with a key script, as an operator would, and compares what
Orca said after each step with the expected speech.

    speech_check.py PROGRAM SCRIPT EXPECTED TRANSCRIPT

PROGRAM is the program file in a prepared program folder. SCRIPT uses the key-script
format of varrowlog-script (key, type, answer, tick, wait); one whose first line is
"# Clock YYYY-MM-DD HH:MM:SS" runs the program with its clock started at that UTC time
(through libfaketime), so the times it speaks are the same on every run. EXPECTED and the TRANSCRIPT written
here read alike: each step as "> step", then one line per utterance after it. Runs inside
desktop.sh, which sets ORCA_SPEECH."""

import glob
import os
import subprocess
import sys
import time
from pathlib import Path

# Key names of the key scripts, as xdotool names them.
KEYSYMS = {
    "Enter": "Return", "Escape": "Escape", "Tab": "Tab", "Space": "space",
    "Backspace": "BackSpace", "Delete": "Delete", "Insert": "Insert",
    "PageUp": "Prior", "PageDown": "Next", "Home": "Home", "End": "End",
    "Up": "Up", "Down": "Down", "Left": "Left", "Right": "Right",
}
MODIFIERS = {"Ctrl": "ctrl", "Shift": "shift", "Alt": "alt"}

QUIET_SECONDS = 0.5  # speech has ended when nothing new was said for this long
LONGEST_STEP = 8.0
HOLD_SECONDS = 0.3  # well under the keyboard's repeat delay


def xdotool_key(name):
    *mods, key = name.split("+")
    key = KEYSYMS.get(key, key.lower() if len(key) == 1 else key)
    return "+".join([MODIFIERS[m] for m in mods] + [key])


def steps_of(script_path):
    steps = []
    with open(script_path, encoding="utf-8") as script:
        for line in script:
            line = line.rstrip("\n")
            if not line.strip() or line.startswith("#"):
                continue
            verb, _, rest = line.partition(" ")
            if verb == "key":
                steps += [("key", key) for key in rest.split()]
            elif verb == "type":
                steps.append(("type", rest))
            elif verb == "answer":
                steps.append(("key", {"ok": "Enter", "yes": "y", "no": "Escape"}[rest.strip()]))
            elif verb in ("tick", "wait"):
                steps.append((verb, rest.strip()))
            else:
                sys.exit(f"{script_path}: '{verb}' cannot be sent to the desktop program")
    return steps


def clock_of(script_path):
    """The UTC time the script's first line starts the program's clock at, or None."""
    with open(script_path, encoding="utf-8") as script:
        first = script.readline().strip()
    return first[len("# Clock "):].strip() if first.startswith("# Clock ") else None


def said_since(speech_file, start):
    with open(speech_file, "rb") as speech:
        speech.seek(start)
        said = speech.read()
    lines = said.decode("utf-8", errors="replace").splitlines()
    return [line for line in lines if line.strip()], start + len(said)


def wait_for_speech(speech_file, start, expected_lines):
    """Lines said since offset `start`, once the speech has settled. A loaded machine can
    keep Orca quiet for longer than the settling time, so a step that should be heard is
    given until LONGEST_STEP to say as many lines as expected; a step that should be
    silent is only given the settling time."""
    began = time.monotonic()
    last_size, last_change = -1, time.monotonic()
    while True:
        size = os.path.getsize(speech_file)
        now = time.monotonic()
        if size != last_size:
            last_size, last_change = size, now
        elif now - began >= LONGEST_STEP:
            break
        elif now - last_change >= QUIET_SECONDS:
            if len(said_since(speech_file, start)[0]) >= expected_lines:
                break
        time.sleep(0.05)
    return said_since(speech_file, start)


def expected_steps(expected):
    """The lines each step of an expected transcript says, step by step."""
    steps = []
    for line in expected:
        if line.startswith("> "):
            steps.append([])
        elif steps:
            steps[-1].append(line)
    return steps


def opens_a_window(lines):
    return any(line.endswith(" frame.") or line.startswith("alert") for line in lines)


def press(key, hold):
    """Presses a key, holding it down a while when a window is to come or go on it: Orca
    takes the active window afresh at each key event, and a release that reaches it after a
    window was activated, but before it has presented that activation, makes it pass the
    activation over as old news. Held, the release comes once the activation is spoken."""
    if hold:
        subprocess.run(["xdotool", "keydown", key], check=True)
        time.sleep(HOLD_SECONDS)
        subprocess.run(["xdotool", "keyup", key], check=True)
    else:
        subprocess.run(["xdotool", "key", "--clearmodifiers", key], check=True)


def without_orca_races(transcript):
    """The transcript without what Orca says or not by its own timing: whether typing over a
    selected text is "Selection deleted.", and leaving a box whose text was selected "Text
    unselected.", depends on whether Orca had taken in the selection before the change.
    A notification shown on the key that also moves the focus is said before or after the
    newly focused box as Orca's queue takes them, so within a step notifications go last."""
    kept, notifications, step = [], [], ""
    for line in transcript:
        if line.startswith("> "):
            kept += notifications
            notifications, step = [], line
        elif line == "Text unselected." or (step.startswith("> type ") and line == "Selection deleted."):
            continue
        elif line.startswith("notification "):
            notifications.append(line)
            continue
        kept.append(line)
    return kept + notifications


def main():
    program, script, expected_path, transcript_path = sys.argv[1:5]
    speech_file = os.environ["ORCA_SPEECH"]
    expected = None
    if os.path.exists(expected_path):
        expected = Path(expected_path).read_text(encoding="utf-8").splitlines()
    steps = expected_steps(without_orca_races(expected or []))
    def expected_lines(step):
        return steps[step] if step < len(steps) else []
    env = dict(os.environ)
    command = [os.path.abspath(program)]
    clock = clock_of(script)
    if clock is not None:
        # Preloaded into the program itself, so that it is the process waited on and ended.
        # Only the wall clock is set back; the timers, which run on the monotonic clock,
        # keep their pace.
        library = glob.glob("/usr/lib/*/faketime/libfaketime.so.1")
        if not library:
            sys.exit(f"{script}: needs libfaketime (the faketime package) for its clock")
        env.update(LD_PRELOAD=library[0], FAKETIME="@" + clock, TZ="UTC",
                   FAKETIME_DONT_FAKE_MONOTONIC="1")
    offset = os.path.getsize(speech_file)
    process = subprocess.Popen(command, cwd=os.path.dirname(os.path.abspath(program)), env=env,
                               stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    transcript = []
    try:
        time.sleep(0.5)
        said, offset = wait_for_speech(speech_file, offset, len(expected_lines(0)))
        transcript += ["> start"] + said
        for step, (verb, argument) in enumerate(steps_of(script), start=1):
            if process.poll() is not None:
                transcript.append("> the program has ended")
                break
            if verb == "key":
                press(xdotool_key(argument), opens_a_window(expected_lines(step)))
            elif verb == "type":
                subprocess.run(["xdotool", "type", "--delay", "20", argument], check=True)
            elif verb in ("tick", "wait"):
                time.sleep(int(argument) * 0.1)
            said, offset = wait_for_speech(speech_file, offset, len(expected_lines(step)))
            transcript += [f"> {verb} {argument}"] + said
    finally:
        if process.poll() is None:
            try:
                process.wait(timeout=3)
            except subprocess.TimeoutExpired:
                process.kill()
                process.wait()
    with open(transcript_path, "w", encoding="utf-8") as out:
        out.write("\n".join(transcript) + "\n")
    if expected is None:
        print(f"{expected_path} is missing; what was said is in {transcript_path}")
        return 1
    if without_orca_races(expected) != without_orca_races(transcript):
        import difflib
        sys.stdout.writelines(line + "\n" for line in difflib.unified_diff(
            expected, transcript, "expected", "said", lineterm=""))
        return 1
    return 0


if __name__ == "__main__":
    sys.exit(main())
