"""Datagrams as WSJT-X and JTDX send them, built field by field from the documented layouts
(a big-endian Qt data stream), for the listener's tests and the fuzz target's seeds; and the
socket side that the listener's test and the Orca check's stand-in share."""
import datetime
import os
import socket
import struct
import time

MAGIC = 0xADBCCBDA


def packer(fmt):
    return lambda v: struct.pack(fmt, v)


u8, u32, i32, u64, real = map(packer, (">B", ">I", ">i", ">Q", ">d"))


def boolean(v):
    return u8(1 if v else 0)


def utf8(s):
    """A QByteArray of UTF-8; None is Qt's null string."""
    if s is None:
        return u32(0xFFFFFFFF)
    b = s.encode("utf-8")
    return u32(len(b)) + b


def date_time(year, month, day, hour, minute, second=0):
    """A QDateTime in UTC: Julian day, milliseconds since midnight, kind of time 1."""
    julian_day = datetime.date(year, month, day).toordinal() + 1721425
    return u64(julian_day) + u32(((hour * 60 + minute) * 60 + second) * 1000) + u8(1)


def header(kind, client="WSJT-X", schema=3):
    return u32(MAGIC) + u32(schema) + u32(kind) + utf8(client)


def heartbeat(client="WSJT-X"):
    return header(0, client) + u32(3) + utf8("2.7.0") + utf8("abc123")


def status(dial_hz, mode, client="WSJT-X", transmitting=False, decoding=False):
    return (header(1, client) + u64(dial_hz) + utf8(mode) + utf8("") + utf8("-10") + utf8(mode)
            + boolean(True) + boolean(transmitting) + boolean(decoding) + u32(1500) + u32(1500)
            + utf8("G4ABC") + utf8("IO91") + utf8("") + boolean(False) + utf8("") + boolean(False)
            + u8(0) + u32(0xFFFFFFFF) + u32(15) + utf8("Default") + utf8(""))


def decode(time_ms, snr, message, client="WSJT-X", new=True, dt=0.2, df=1234, mode="~"):
    return (header(2, client) + boolean(new) + u32(time_ms) + i32(snr) + real(dt) + u32(df)
            + utf8(mode) + utf8(message) + boolean(False) + boolean(False))


def qso_logged(call, grid, tx_hz, mode, sent, received, on, off, power="100", comments="",
               name="", client="WSJT-X"):
    """on and off are (year, month, day, hour, minute, second)."""
    return (header(5, client) + date_time(*off) + utf8(call) + utf8(grid) + u64(tx_hz)
            + utf8(mode) + utf8(sent) + utf8(received) + utf8(power) + utf8(comments) + utf8(name)
            + date_time(*on) + utf8("G4ABC") + utf8("G4ABC") + utf8("IO91") + utf8("") + utf8("")
            + utf8(""))


def logged_adif(record, client="WSJT-X"):
    text = "\n<adif_ver:5>3.1.0\n<programid:6>WSJT-X\n<EOH>\n" + record + " <EOR>"
    return header(12, client) + utf8(text)


def adif_field(name, value):
    return "<%s:%d>%s" % (name, len(value), value)


def adif_record(call, grid, freq_mhz, mode, submode, sent, received, date, time_on, time_off,
                power="100", name="", comment=""):
    fields = [("call", call), ("gridsquare", grid), ("mode", mode), ("submode", submode),
              ("rst_sent", sent), ("rst_rcvd", received), ("qso_date", date),
              ("time_on", time_on), ("qso_date_off", date), ("time_off", time_off),
              ("band", ""), ("freq", freq_mhz), ("station_callsign", "G4ABC"),
              ("my_gridsquare", "IO91"), ("tx_pwr", power), ("name", name), ("comment", comment)]
    return " ".join(adif_field(k, v) for k, v in fields if v)


def reply(time_ms, snr, message, client="WSJT-X", dt=0.2, df=1234, mode="~"):
    """The Reply the program sends for a decode: its fields, low confidence, no modifiers."""
    return (header(4, client) + u32(time_ms) + i32(snr) + real(dt) + u32(df) + utf8(mode)
            + utf8(message) + boolean(False) + u8(0))


def halt(client="WSJT-X"):
    """Halt Tx at once, not at the end of the transmission."""
    return header(8, client) + boolean(False)


def free_port():
    with socket.socket(socket.AF_INET, socket.SOCK_DGRAM) as s:
        s.bind(("127.0.0.1", 0))
        return s.getsockname()[1]


def write_settings(folder, port, address="127.0.0.1"):
    """DIGITAL.TXT, whole or not at all, as the program may be watching for it."""
    with open(os.path.join(folder, "DIGITAL.TXT.NEW"), "w") as f:
        f.write("address=%s\r\nport=%d\r\nannouncements=on\r\n" % (address, port))
    os.rename(os.path.join(folder, "DIGITAL.TXT.NEW"), os.path.join(folder, "DIGITAL.TXT"))


def wait_until_bound(port, limit, alive=lambda: True):
    """The program holds the port without sharing it, so a bind of ours fails once it has."""
    end = time.time() + limit
    while time.time() < end and alive():
        with socket.socket(socket.AF_INET, socket.SOCK_DGRAM) as probe:
            try:
                probe.bind(("127.0.0.1", port))
            except OSError:
                return True
        time.sleep(0.05)
    return False
