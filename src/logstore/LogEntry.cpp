// Encoding and decoding of log records.
#include "logstore/LogEntry.h"

#include <cstring>

#include "logstore/Text.h"

namespace vl {

namespace {

int16_t get16(const LogRecord& r, std::size_t offset) {
    auto lo = static_cast<uint8_t>(r.bytes[offset]);
    auto hi = static_cast<uint8_t>(r.bytes[offset + 1]);
    return static_cast<int16_t>(static_cast<uint16_t>(lo | (hi << 8)));
}

void put16(LogRecord& r, std::size_t offset, int16_t value) {
    auto v = static_cast<uint16_t>(value);
    r.bytes[offset] = static_cast<char>(v & 0xFF);
    r.bytes[offset + 1] = static_cast<char>(v >> 8);
}

void put_text(LogRecord& r, std::size_t offset, std::size_t width, std::string_view text) {
    std::string field = fit(text, width);
    std::memcpy(r.bytes.data() + offset, field.data(), width);
}

}  // namespace

int16_t LogRecord::date() const {
    return get16(*this, 0);
}
int16_t LogRecord::time() const {
    return get16(*this, 2);
}

EntryKind entry_kind(const LogRecord& record) {
    std::string_view call = record.call_field();
    if (call == kDataCallField) {
        return EntryKind::Data;
    }
    return call.front() == '/' ? EntryKind::Text : EntryKind::Qso;
}

std::string band_field_of(int band) {
    return std::string{'\0', '\0', static_cast<char>(band)};
}

LogRecord encode(const QsoEntry& e) {
    LogRecord r;
    put16(r, 0, e.date);
    put16(r, 2, e.time_on);
    put16(r, 4, e.time_off);
    put_text(r, 6, 12, e.call);
    put_text(r, 18, 7, e.rst_sent);
    put_text(r, 25, 7, e.rst_received);
    // The band field is binary in its usual form, so it is copied, not padded with blanks.
    std::string band = e.band_field.substr(0, 3);
    band.resize(3, ' ');
    std::memcpy(r.bytes.data() + 32, band.data(), 3);
    put_text(r, 35, 3, e.mode);
    put_text(r, 38, 5, e.power);
    put_text(r, 43, 40, e.comment);
    r.bytes[83] = static_cast<char>(e.qsl_flags);
    return r;
}

LogRecord encode(const DataEntry& e) {
    LogRecord r;
    put16(r, 0, e.date);
    put16(r, 2, e.time);
    put_text(r, 6, 12, kDataCallField);
    put_text(r, 18, 12, e.operator_name);
    put_text(r, 30, 12, e.transceiver);
    put_text(r, 42, 12, e.antenna);
    put16(r, 54, e.band);
    return r;
}

LogRecord encode(const TextEntry& e) {
    LogRecord r;
    put16(r, 0, e.date);
    put16(r, 2, e.time);
    put_text(r, 6, 12, kTextCallField);
    put_text(r, 18, 64, e.text);
    return r;
}

QsoEntry decode_qso(const LogRecord& r) {
    QsoEntry e;
    e.date = get16(r, 0);
    e.time_on = get16(r, 2);
    e.time_off = get16(r, 4);
    e.call = r.view(6, 12);
    e.rst_sent = r.view(18, 7);
    e.rst_received = r.view(25, 7);
    e.band_field = r.view(32, 3);
    e.mode = r.view(35, 3);
    e.power = r.view(38, 5);
    e.comment = r.view(43, 40);
    e.qsl_flags = static_cast<uint8_t>(r.bytes[83]);
    return e;
}

DataEntry decode_data(const LogRecord& r) {
    DataEntry e;
    e.date = get16(r, 0);
    e.time = get16(r, 2);
    e.operator_name = r.view(18, 12);
    e.transceiver = r.view(30, 12);
    e.antenna = r.view(42, 12);
    e.band = get16(r, 54);
    return e;
}

TextEntry decode_text(const LogRecord& r) {
    TextEntry e;
    e.date = get16(r, 0);
    e.time = get16(r, 2);
    e.text = r.view(18, 64);
    return e;
}

}  // namespace vl
