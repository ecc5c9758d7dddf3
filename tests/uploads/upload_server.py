#!/usr/bin/env python3
"""A local stand-in for Club Log's real-time interface, QRZ Logbook's API and eQSL's ADIF
import, with recorded answers.

Started by the upload tests: it listens on 127.0.0.1 on a free port, prints the port on its
first line, and serves until it is killed. A request's path is /RUN/ANSWER/SERVICE: RUN
keeps one test's contacts apart from another's, SERVICE is clublog, qrz or eqsl, and ANSWER
is one of accepted, duplicate, refused, wrongkey, error, garbage, silent (accepts and never
answers) or live (Club Log and QRZ only: a logbook that holds each contact once and answers
a second copy as a duplicate; the password is "secret", the key "KEY1"). /RUN/held lists
what live holds, one "SERVICE KEY TIMES" line a contact, TIMES being how often it was taken.
"""
import os
import re
import sys
import time
import urllib.parse

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "support"))
import standins  # noqa: E402

ANSWERS = {
    "clublog": {
        "accepted": (200, "OK"),
        "duplicate": (200, "Dupe"),
        "refused": (400, "Rejected: QSO date is in the future"),
        "wrongkey": (403, "Invalid password"),
    },
    "qrz": {
        "accepted": (200, "RESULT=OK&LOGID=130877825&COUNT=1"),
        "duplicate": (200, "RESULT=FAIL&REASON=Unable to add QSO to database: duplicate&EXTENDED="),
        "refused": (200, "RESULT=FAIL&REASON=call sign not in this logbook&EXTENDED="),
        "wrongkey": (200, "RESULT=AUTH"),
    },
    "eqsl": {
        "accepted": (200, "<HTML><BODY>Result: 1 out of 1 records added<BR></BODY></HTML>"),
        "duplicate": (200, "<HTML><BODY>Result: 0 out of 1 records added<BR>Warning: "
                           "Y=2026 M=12 D=09 G9ZZA 20M SSB Bad record: Duplicate<BR></BODY></HTML>"),
        "refused": (200, "<HTML><BODY>Result: 0 out of 1 records added<BR>Warning: "
                         "Y=2026 M=12 D=09 G9ZZA 20M SSB Bad record: Date out of range"
                         "<BR></BODY></HTML>"),
        "wrongkey": (200, "<HTML><BODY>Error: No match on eQSL_User/eQSL_Pswd for date "
                          "12/09/2026</BODY></HTML>"),
    },
}
# Answers whatever the service.
FIXED = {"error": (500, "Internal Server Error"),
         "garbage": (200, b"\xff\xfe<html>Service \x00 unavailable")}


def field(text, name):
    match = re.search(r"<%s:(\d+)>" % name, text, re.IGNORECASE)
    if not match:
        return ""
    start = match.end()
    return text[start:start + int(match.group(1))]


class Handler(standins.Handler):
    held = {}

    def do_POST(self):
        parts = self.path.strip("/").split("/")
        if parts[1:] == ["held"]:
            self.reply(200, "".join("%s %s %d\n" % (service, key, times) for (run, service, key),
                                    times in sorted(Handler.held.items()) if run == parts[0]))
            return
        run, answer, service = parts
        body = self.body().decode("utf-8", "replace")
        if answer == "silent":
            time.sleep(60)
        elif answer in FIXED:
            self.reply(*FIXED[answer])
        else:
            if answer == "live":
                answer, record = self.check(service, body)
                key = (run, service, " ".join(field(record, name)
                                              for name in ("qso_date", "time_on", "call")))
                if answer == "accepted" and key in Handler.held:
                    answer = "duplicate"
                elif answer == "accepted":
                    Handler.held[key] = 1
            self.reply(*ANSWERS[service][answer])

    def check(self, service, body):
        form = urllib.parse.parse_qs(body)
        if service == "clublog":
            ok = form.get("password") == ["secret"]
            record = form.get("adif", [""])[0]
        else:
            ok = form.get("KEY") == ["KEY1"] and form.get("ACTION") == ["INSERT"]
            record = form.get("ADIF", [""])[0]
        return ("accepted" if ok else "wrongkey"), record


if __name__ == "__main__":
    standins.serve(Handler)
