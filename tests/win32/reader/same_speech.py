#!/usr/bin/env python3
"""Compares what a screen reader heard from the Windows program with the key-script
runner's journal for the same script: the spoken texts in order, a window's caption, a
focused box's label and text, a box's new text, an announcement, a message box's title and
text. The reader's own words (roles, states) and blanks are not compared, nor the operator's
typing, which a reader echoes itself.

    same_speech.py SCRIPT JOURNAL HEARD"""

import difflib
import os
import re
import sys

QUOTED = re.compile(r'"((?:[^"\\]|\\.)*)"')
ESCAPE = re.compile(r"\\(x[0-9A-Fa-f]{2}|.)")


def unquote(text):
    def one(match):
        code = match.group(1)
        return chr(int(code[1:], 16)) if len(code) == 3 and code[0] == "x" else code

    return " ".join(ESCAPE.sub(one, text).replace("\0", " ").split())


def typed_texts(script_path):
    with open(script_path, encoding="cp1252") as script:
        return [line[5:].rstrip("\r\n") for line in script if line.startswith("type ")]


def is_typing(text, typed):
    """Whether the box's new text is the next typing of the script, which it then takes."""
    if typed and (text.upper().endswith(typed[0].upper()) or text == "*" * len(typed[0])):
        typed.pop(0)
        return True
    return False


def read(path, typed=None):
    """(kind, text, focus handle) for each thing said, in order."""
    typed = list(typed or [])
    said = []
    with open(path, encoding="cp1252", errors="replace") as lines:
        for line in lines:
            verb = line.split(" ", 1)[0]
            texts = [unquote(t) for t in QUOTED.findall(line)]
            handle = line[line.rfind('"') + 1:].strip()
            if verb == "window":
                said.append(("window", texts[0], ""))
            elif verb == "message":
                said.append(("message", " | ".join(texts[:2]), ""))
            elif verb == "focus" and len(texts) == 2:
                said.append(("focus", " | ".join(t for t in texts if t), handle))
            elif verb == "text" and texts and is_typing(texts[0], typed):
                continue
            elif verb in ("text", "static", "item", "notification") and texts and texts[0]:
                said.append(("said", texts[0], handle))
    return said


def in_program_order(heard):
    """A notification carries the box that had the focus when it was said: a focus move to
    that box the reader saw only afterwards (with the window it opened) came before it."""
    heard = list(heard)
    focus = None
    i = 0
    while i < len(heard):
        kind, _, handle = heard[i]
        if kind == "focus":
            focus = handle
        elif kind == "said" and handle and handle != focus:
            later = next((j for j in range(i + 1, len(heard))
                          if heard[j][0] == "focus" and heard[j][2] == handle), None)
            if later is not None:
                start = later - 1 if later - 1 > i and heard[later - 1][0] == "window" else later
                block = heard[start:later + 1]
                del heard[start:later + 1]
                heard[i:i] = block
                focus = handle
                i += len(block)
        i += 1
    return heard


def texts(said):
    return [f"{kind}: {text}" if kind in ("window", "message") else text for kind, text, _ in said]


def main():
    script, journal, heard = sys.argv[1:4]
    name = os.path.basename(script)
    expected = texts(read(journal, typed_texts(script)))
    got = texts(in_program_order(read(heard)))
    if expected == got:
        print(f"same: {name} ({len(expected)} things said)")
        return 0
    print(f"FAILED {name}: the reader heard other than the journal says")
    sys.stdout.writelines(line + "\n" for line in difflib.unified_diff(
        expected, got, "journal", "heard", lineterm="", n=2))
    return 1


if __name__ == "__main__":
    sys.exit(main())
