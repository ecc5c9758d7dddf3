// Encoding and decoding of log records.
#include "logstore/LogEntry.h"

#include <algorithm>
#include <cstring>

namespace vl {

namespace {

// The DATA entry's fields, which only encode and decode reach.
constexpr std::size_t kOperatorAt = 18, kTransceiverAt = 30, kAntennaAt = 42, kDataBandAt = 54;
constexpr std::size_t kDataTextWidth = 12;

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
    std::size_t used = std::min(width, text.size());
    std::memcpy(r.bytes.data() + offset, text.data(), used);
    std::memset(r.bytes.data() + offset + used, ' ', width - used);
}

}  // namespace

void LogRecord::put_text(std::size_t offset, std::size_t width, std::string_view text) {
    vl::put_text(*this, offset, width, text);
}

void LogRecord::zero_reports_and_mode() {
    std::fill(bytes.begin() + 18, bytes.begin() + 32, '\0');
    std::fill(bytes.begin() + 35, bytes.begin() + 38, '\0');
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
    r.set_date(e.date);
    r.set_time(e.time_on);
    r.set_time_off(e.time_off);
    r.set_call(e.call);
    r.set_rst_sent(e.rst_sent);
    r.set_rst_received(e.rst_received);
    // The band field is binary in its usual form: its bytes are copied, padded with blanks.
    r.set_band_field(e.band_field);
    r.set_mode(e.mode);
    r.set_power(e.power);
    r.set_comment(e.comment);
    r.set_qsl_flags(e.qsl_flags);
    return r;
}

LogRecord encode(const DataEntry& e) {
    LogRecord r;
    r.set_date(e.date);
    r.set_time(e.time);
    r.set_call(kDataCallField);
    put_text(r, kOperatorAt, kDataTextWidth, e.operator_name);
    put_text(r, kTransceiverAt, kDataTextWidth, e.transceiver);
    put_text(r, kAntennaAt, kDataTextWidth, e.antenna);
    put16(r, kDataBandAt, e.band);
    return r;
}

LogRecord encode(const TextEntry& e) {
    LogRecord r;
    r.set_date(e.date);
    r.set_time(e.time);
    r.set_call(kTextCallField);
    r.set_text(e.text);
    return r;
}

QsoEntry decode_qso(const LogRecord& r) {
    QsoEntry e;
    e.date = r.date();
    e.time_on = r.time();
    e.time_off = r.time_off();
    e.call = r.call_field();
    e.rst_sent = r.rst_sent_field();
    e.rst_received = r.rst_received_field();
    e.band_field = r.band_field();
    e.mode = r.mode_field();
    e.power = r.power_field();
    e.comment = r.comment_field();
    e.qsl_flags = r.qsl_flags();
    return e;
}

DataEntry decode_data(const LogRecord& r) {
    DataEntry e;
    e.date = r.date();
    e.time = r.time();
    e.operator_name = r.view(kOperatorAt, kDataTextWidth);
    e.transceiver = r.view(kTransceiverAt, kDataTextWidth);
    e.antenna = r.view(kAntennaAt, kDataTextWidth);
    e.band = get16(r, kDataBandAt);
    return e;
}

TextEntry decode_text(const LogRecord& r) {
    TextEntry e;
    e.date = r.date();
    e.time = r.time();
    e.text = r.text_field();
    return e;
}

}  // namespace vl
