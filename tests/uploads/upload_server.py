#!/usr/bin/env python3
"""A local stand-in for Club Log's real-time interface, QRZ Logbook's API and eQSL's ADIF
import, with recorded answers.

Started by the upload tests: it listens on 127.0.0.1 on a free port, prints the port on its
first line, and serves until it is killed. A request's path is /RUN/ANSWER/SERVICE: RUN
keeps one test's contacts apart from another's, SERVICE is clublog, qrz or eqsl, and ANSWER
is one of accepted, duplicate, refused, wrongkey, error, garbage, silent (accepts and never
answers) or live (a logbook: it holds each contact once and answers a second copy as a
duplicate; the password is "secret", the key "KEY1"). /RUN/held lists what live holds,
one "SERVICE KEY TIMES" line a contact, TIMES being how often it was taken.
"""
import re
import sys
import time
import urllib.parse
from http.server import BaseHTTPRequestHandler, ThreadingHTTPServer

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


def field(text, name):
    match = re.search(r"<%s:(\d+)>" % name, text, re.IGNORECASE)
    if not match:
        return ""
    start = match.end()
    return text[start:start + int(match.group(1))]


class Handler(BaseHTTPRequestHandler):
    held = {}

    def log_message(self, *args):
        pass

    def reply(self, code, body):
        data = body if isinstance(body, bytes) else body.encode("utf-8")
        self.send_response(code)
        self.send_header("Content-Type", "text/plain")
        self.send_header("Content-Length", str(len(data)))
        self.end_headers()
        self.wfile.write(data)

    def do_GET(self):
        run = self.path.strip("/").split("/")[0]
        lines = ["%s %s %d" % (service, key, times)
                 for (r, service, key), times in sorted(Handler.held.items()) if r == run]
        self.reply(200, "".join(line + "\n" for line in lines))

    def do_POST(self):
        parts = self.path.strip("/").split("/")
        if len(parts) == 2 and parts[1] == "held":
            self.do_GET()
            return
        if len(parts) != 3:
            self.reply(404, "no such page")
            return
        run, answer, service = parts
        length = int(self.headers.get("Content-Length", "0"))
        body = self.rfile.read(length).decode("utf-8", "replace")
        if answer == "silent":
            time.sleep(60)
            return
        if answer == "error":
            self.reply(500, "Internal Server Error")
            return
        if answer == "garbage":
            self.reply(200, b"\xff\xfe<html>Service \x00 unavailable")
            return
        if answer == "live":
            answer, record = self.check(service, body)
            if answer == "accepted":
                key = (run, service, "%s %s %s" % (field(record, "qso_date"),
                                                   field(record, "time_on"), field(record, "call")))
                if key in Handler.held:
                    answer = "duplicate"
                else:
                    Handler.held[key] = 0
                Handler.held[key] += answer == "accepted"
        code, text = ANSWERS[service][answer]
        self.reply(code, text)

    def check(self, service, body):
        if service == "eqsl":
            values = dict(re.findall(r'name="([^"]+)"(?:; filename="[^"]*")?'
                                     r'(?:\r\nContent-Type: [^\r]*)?\r\n\r\n(.*?)\r\n--',
                                     body, re.DOTALL))
            ok = values.get("EQSL_PSWD") == "secret"
            record = values.get("Filename", "")
            record = record[record.lower().find("<eoh>") + 5:]
        else:
            form = urllib.parse.parse_qs(body)
            if service == "clublog":
                ok = form.get("password") == ["secret"]
                record = form.get("adif", [""])[0]
            else:
                ok = form.get("KEY") == ["KEY1"] and form.get("ACTION") == ["INSERT"]
                record = form.get("ADIF", [""])[0]
        return ("accepted" if ok else "wrongkey"), record


def main():
    server = ThreadingHTTPServer(("127.0.0.1", 0), Handler)
    server.daemon_threads = True
    print(server.server_address[1], flush=True)
    server.serve_forever()


if __name__ == "__main__":
    sys.exit(main())
