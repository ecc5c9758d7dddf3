#!/usr/bin/env python3
"""A local stand-in for the on-line XML call book, with recorded answers.

Started by the call-book tests: it listens on 127.0.0.1 on a free port, prints the port on
its first line, and serves until it is killed. The first part of the path names the
answer to give: /found/, /notfound/, /expired/, /garbage/, /huge/, /error/,
/silent/ (accepts and never answers). Logins take the password "secret" only; the key of
the first login to /expired/ serves one lookup and then has timed out.
"""
import os
import sys
import time
import urllib.parse

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "support"))
import standins  # noqa: E402

RECORD = ("<Callsign><call>G9ZZA</call><fname>Ann</fname><name>M\u00fcller</name>"
          "<addr1>1 High St</addr1><addr2>Leeds</addr2><state></state>"
          "<country>England</country><email>ann@example.com</email></Callsign>")


def database(inner):
    return ('<?xml version="1.0" encoding="utf-8" ?>\n'
            '<QRZDatabase version="1.34" xmlns="http://xmldata.qrz.com">'
            + inner + "</QRZDatabase>\n")


def session(key, error=""):
    parts = "<Error>%s</Error>" % error if error else ""
    parts += "<Key>%s</Key>" % key if key else ""
    return "<Session>%s<Count>12</Count></Session>" % parts


class Handler(standins.Handler):
    logins = {}
    uses = {}

    def do_POST(self):
        scenario = self.path.strip("/").split("/")[0]
        form = urllib.parse.parse_qs(self.body().decode("utf-8"))
        if scenario == "silent":
            time.sleep(60)
        elif scenario == "error":
            self.send_error(500)
        else:
            self.reply(200, (self.login if "username" in form else self.query)(scenario, form),
                       "text/xml")

    def login(self, scenario, form):
        if form.get("password") != ["secret"]:
            return database(session("", "Username/password incorrect"))
        count = Handler.logins[scenario] = Handler.logins.get(scenario, 0) + 1
        return database(session("K%d" % count))

    def query(self, scenario, form):
        key = form.get("s", [""])[0]
        call = form.get("callsign", [""])[0]
        if scenario == "garbage":
            return b"<html><body>Service \xff unavailable"
        if scenario == "huge":
            return database("<Session><Message>" + "x" * 100000 + "</Message></Session>")
        # The first key of /expired/ serves one lookup, then times out.
        uses = Handler.uses[(scenario, key)] = Handler.uses.get((scenario, key), 0) + 1
        if scenario == "expired" and key == "K1" and uses > 1:
            return database(session("", "Session Timeout"))
        if scenario == "notfound" or call != "G9ZZA":
            return database(session(key, "Not found: " + call))
        return database(RECORD + session(key))


if __name__ == "__main__":
    standins.serve(Handler)
