// The reader checks every length against what is left before it reads, so any bytes from
// the network give a message or nothing.
#include "digital/WsjtxMessages.h"

#include <cstring>

namespace vl::wsjtx {

namespace {

class Reader {
public:
    explicit Reader(std::span<const uint8_t> bytes) : m_bytes(bytes) {}

    bool ok() const { return m_ok; }
    bool at_end() const { return m_at >= m_bytes.size(); }

    uint64_t number(std::size_t width) {
        if (!m_ok || m_bytes.size() - m_at < width) {
            m_ok = false;
            return 0;
        }
        uint64_t v = 0;
        for (std::size_t i = 0; i < width; ++i) {
            v = (v << 8) | m_bytes[m_at++];
        }
        return v;
    }
    uint8_t u8() { return static_cast<uint8_t>(number(1)); }
    uint32_t u32() { return static_cast<uint32_t>(number(4)); }
    int32_t i32() { return static_cast<int32_t>(u32()); }
    uint64_t u64() { return number(8); }
    bool boolean() { return u8() != 0; }
    double real() {
        const uint64_t bits = u64();
        double v;
        std::memcpy(&v, &bits, sizeof v);
        return v;
    }
    // A null string (length 0xffffffff) reads as an empty one.
    std::string utf8() {
        const uint32_t length = u32();
        if (!m_ok || length == 0xffffffffu) {
            return {};
        }
        if (m_bytes.size() - m_at < length) {
            m_ok = false;
            return {};
        }
        std::string s(reinterpret_cast<const char*>(m_bytes.data() + m_at), length);
        m_at += length;
        return s;
    }
    // QDate as a Julian day, QTime in milliseconds, then the kind of time. Only UTC, local and
    // offset times are read: WSJT-X sends UTC, and a zone's name is not worth the parse.
    UtcTime date_time() {
        const auto julian = static_cast<int64_t>(u64());
        const uint32_t ms = u32();
        const uint8_t kind = u8();
        int32_t offset = 0;
        if (kind == 2) {
            offset = i32();
        } else if (kind > 2) {
            m_ok = false;
        }
        UtcTime t;
        // Qt's null date is far outside; the log holds 1900 to 2079 at most anyway.
        if (!m_ok || julian < 2415021 || julian > 2488070 || ms >= 86400000u) {
            return t;
        }
        int64_t seconds = julian * 86400 + ms / 1000 - offset;
        return from_seconds(seconds);
    }

private:
    static UtcTime from_seconds(int64_t seconds) {
        UtcTime t;
        int64_t jd = seconds / 86400;
        int64_t rest = seconds % 86400;
        if (rest < 0) {
            rest += 86400;
            --jd;
        }
        // Julian day to the Gregorian calendar (Richards' algorithm).
        const int64_t f = jd + 1401 + (((4 * jd + 274277) / 146097) * 3) / 4 - 38;
        const int64_t e = 4 * f + 3;
        const int64_t g = (e % 1461) / 4;
        const int64_t h = 5 * g + 2;
        t.day = static_cast<int>((h % 153) / 5 + 1);
        t.month = static_cast<int>((h / 153 + 2) % 12 + 1);
        t.year = static_cast<int>(e / 1461 - 4716 + (12 + 2 - t.month) / 12);
        t.hour = static_cast<int>(rest / 3600);
        t.minute = static_cast<int>(rest / 60 % 60);
        t.second = static_cast<int>(rest % 60);
        t.valid = true;
        return t;
    }

    std::span<const uint8_t> m_bytes;
    std::size_t m_at = 0;
    bool m_ok = true;
};

Status read_status(Reader& r) {
    Status s;
    s.dial_hz = r.u64();
    s.mode = r.utf8();
    s.dx_call = r.utf8();
    s.report = r.utf8();
    s.tx_mode = r.utf8();
    s.tx_enabled = r.boolean();
    s.transmitting = r.boolean();
    s.decoding = r.boolean();
    return s;
}

Decode read_decode(Reader& r) {
    Decode d;
    d.is_new = r.boolean();
    d.time_ms = r.u32();
    d.snr = r.i32();
    d.delta_time = r.real();
    d.delta_frequency = r.u32();
    d.mode = r.utf8();
    d.message = r.utf8();
    d.low_confidence = r.boolean();
    return d;
}

QsoLogged read_qso_logged(Reader& r) {
    QsoLogged q;
    q.time_off = r.date_time();
    q.dx_call = r.utf8();
    q.dx_grid = r.utf8();
    q.tx_hz = r.u64();
    q.mode = r.utf8();
    q.report_sent = r.utf8();
    q.report_received = r.utf8();
    q.tx_power = r.utf8();
    q.comments = r.utf8();
    q.name = r.utf8();
    if (r.ok() && !r.at_end()) {
        q.time_on = r.date_time();
    }
    return q;
}

}  // namespace

std::optional<Message> read_message(std::span<const uint8_t> datagram) {
    Reader r(datagram);
    if (r.u32() != kMagic) {
        return std::nullopt;
    }
    Message m;
    m.schema = r.u32();
    m.type = r.u32();
    m.id = r.utf8();
    if (!r.ok()) {
        return std::nullopt;
    }
    switch (m.type) {
        case kStatus:
            m.body = read_status(r);
            break;
        case kDecode:
            m.body = read_decode(r);
            break;
        case kQsoLogged:
            m.body = read_qso_logged(r);
            break;
        case kLoggedAdif:
            m.body = LoggedAdif{r.utf8()};
            break;
        case kClear:
            m.body = Clear{};
            break;
        default:
            break;
    }
    if (!r.ok()) {
        return std::nullopt;
    }
    return m;
}

Writer::Writer(uint32_t type, std::string_view id, uint32_t schema) {
    u32(kMagic).u32(schema).u32(type).utf8(id);
}

Writer& Writer::u8(uint8_t v) {
    m_bytes.push_back(static_cast<char>(v));
    return *this;
}

Writer& Writer::u32(uint32_t v) {
    for (int shift = 24; shift >= 0; shift -= 8) {
        u8(static_cast<uint8_t>(v >> shift));
    }
    return *this;
}

Writer& Writer::u64(uint64_t v) {
    u32(static_cast<uint32_t>(v >> 32));
    return u32(static_cast<uint32_t>(v));
}

Writer& Writer::real(double v) {
    uint64_t bits;
    std::memcpy(&bits, &v, sizeof bits);
    return u64(bits);
}

Writer& Writer::utf8(std::string_view s) {
    u32(static_cast<uint32_t>(s.size()));
    m_bytes.append(s);
    return *this;
}

std::string reply_datagram(std::string_view id, uint32_t schema, const Decode& decode) {
    Writer w(kReply, id, schema);
    w.u32(decode.time_ms)
        .i32(decode.snr)
        .real(decode.delta_time)
        .u32(decode.delta_frequency)
        .utf8(decode.mode)
        .utf8(decode.message)
        .boolean(decode.low_confidence)
        .u8(0);  // no modifier keys
    return w.bytes();
}

std::string halt_datagram(std::string_view id, uint32_t schema, bool auto_only) {
    Writer w(kHaltTx, id, schema);
    w.boolean(auto_only);
    return w.bytes();
}

}  // namespace vl::wsjtx
