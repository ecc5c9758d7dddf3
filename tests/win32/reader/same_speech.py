#!/usr/bin/env python3
"""Compares what a screen reader was told with the key-script runner's journal, as the
spoken texts in order: a window's caption, a focused box's label and text, a box's new text,
an announcement, a message box's title and text. The reader's own words (roles, states) are
not compared.

    same_speech.py NAME JOURNAL HEARD"""

import difflib
import re
import sys

QUOTED = re.compile(r'"((?:[^"\\]|\\.)*)"')


def unquote(text):
    return re.sub(r"\\(.)", r"\1", text)


def spoken(path, notification_word):
    said = []
    with open(path, encoding="cp1252", errors="replace") as lines:
        for line in lines:
            verb = line.split(" ", 1)[0]
            texts = [unquote(t) for t in QUOTED.findall(line)]
            if verb == "window":
                said.append("window: " + texts[0])
            elif verb == "focus" and len(texts) == 2:
                said.append("focus: " + " | ".join(t for t in texts if t))
            elif verb == "message":
                said.append("message: " + " | ".join(texts[:2]))
            elif verb in ("text", "static", notification_word) and texts and texts[0]:
                said.append("said: " + texts[0])
    return said


def main():
    name, journal, heard = sys.argv[1:4]
    expected = spoken(journal, None)
    got = spoken(heard, "notification")
    if expected == got:
        print(f"same: {name} ({len(expected)} things said)")
        return 0
    print(f"FAILED {name}: the reader heard other than the journal says")
    sys.stdout.writelines(
        line + "\n" for line in difflib.unified_diff(expected, got, "journal", "heard", lineterm="", n=2))
    return 1


if __name__ == "__main__":
    sys.exit(main())
