"""Datagrams as WSJT-X and JTDX send them, built field by field from the documented layouts
(a big-endian Qt data stream), for the listener's tests and the fuzz target's seeds."""
import struct

MAGIC = 0xADBCCBDA


def u8(v):
    return struct.pack(">B", v)


def u32(v):
    return struct.pack(">I", v & 0xFFFFFFFF)


def i32(v):
    return struct.pack(">i", v)


def u64(v):
    return struct.pack(">Q", v)


def boolean(v):
    return u8(1 if v else 0)


def real(v):
    return struct.pack(">d", v)


def utf8(s):
    """A QByteArray of UTF-8; None is Qt's null string."""
    if s is None:
        return u32(0xFFFFFFFF)
    b = s.encode("utf-8")
    return u32(len(b)) + b


def julian_day(year, month, day):
    a = (14 - month) // 12
    y = year + 4800 - a
    m = month + 12 * a - 3
    return day + (153 * m + 2) // 5 + 365 * y + y // 4 - y // 100 + y // 400 - 32045


def date_time(year, month, day, hour, minute, second=0, kind=1, offset=None):
    """A QDateTime: Julian day, milliseconds since midnight, kind of time (1 = UTC, 2 = offset)."""
    b = u64(julian_day(year, month, day)) + u32(((hour * 60 + minute) * 60 + second) * 1000) + u8(kind)
    if kind == 2:
        b += i32(offset)
    return b


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


def reply_fields(data):
    """Reads a Reply (type 4) or Halt Tx (type 8) the program sent: (type, id, fields)."""
    at = 0

    def take(fmt):
        nonlocal at
        size = struct.calcsize(fmt)
        value = struct.unpack_from(fmt, data, at)[0]
        at += size
        return value

    def string():
        n = take(">I")
        if n == 0xFFFFFFFF:
            return None
        nonlocal at
        s = data[at:at + n].decode("utf-8")
        at += n
        return s

    assert take(">I") == MAGIC
    schema = take(">I")
    kind = take(">I")
    client = string()
    if kind == 4:
        fields = {"time": take(">I"), "snr": take(">i"), "dt": take(">d"), "df": take(">I"),
                  "mode": string(), "message": string(), "low_confidence": take(">B"),
                  "modifiers": take(">B")}
    elif kind == 8:
        fields = {"auto_only": take(">B")}
    else:
        fields = {}
    assert at == len(data), "bytes left over"
    return kind, client, schema, fields
