// One 84-byte record of MYLOG.LOG and its three kinds: QSO, DATA and Text entries.
// Numbers are little-endian 16-bit; text fields are blank-padded and cut to width.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

namespace vl {

constexpr std::size_t kRecordSize = 84;

struct LogRecord {
    std::array<char, kRecordSize> bytes{};

    std::string_view view(std::size_t offset, std::size_t width) const {
        return {bytes.data() + offset, width};
    }
    int16_t date() const;
    int16_t time() const;  // time on for a QSO
    std::string_view call_field() const { return view(6, 12); }
    bool operator==(const LogRecord&) const = default;
};

static_assert(sizeof(LogRecord) == kRecordSize, "records are read and written as raw blocks");

enum class EntryKind { Qso, Data, Text };
EntryKind entry_kind(const LogRecord& record);

inline constexpr std::string_view kDataCallField = "/DATA       ";
inline constexpr std::string_view kTextCallField = "/           ";

struct QsoEntry {
    int16_t date = 0;
    int16_t time_on = 0;
    int16_t time_off = 0;
    std::string call;          // 12
    std::string rst_sent;      // 7
    std::string rst_received;  // 7
    std::string band_field;    // 3 raw bytes: NUL NUL band, or MHz text
    std::string mode;          // 3
    std::string power;         // 5
    std::string comment;       // 40
    uint8_t qsl_flags = 0;     // bit 0 sent, bit 1 received
};

struct DataEntry {
    int16_t date = 0;
    int16_t time = 0;
    std::string operator_name;  // 12
    std::string transceiver;    // 12
    std::string antenna;        // 12
    int16_t band = 0;
};

struct TextEntry {
    int16_t date = 0;
    int16_t time = 0;
    std::string text;  // 64
};

// The band field that the logging screens write: NUL, NUL, band number.
std::string band_field_of(int band);

LogRecord encode(const QsoEntry& entry);
LogRecord encode(const DataEntry& entry);
LogRecord encode(const TextEntry& entry);

// Fields keep their padding, so encode(decode_qso(r)) gives r back byte for byte.
QsoEntry decode_qso(const LogRecord& record);
DataEntry decode_data(const LogRecord& record);
TextEntry decode_text(const LogRecord& record);

}  // namespace vl
