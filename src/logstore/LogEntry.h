// One 84-byte record of MYLOG.LOG and its three kinds: QSO, DATA and Text entries.
// Numbers are little-endian 16-bit; text fields are blank-padded and cut to width.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

namespace vl {

constexpr std::size_t kRecordSize = 84;

// Only this folder knows where a field lies: every other reader and writer of a record goes
// through these accessors, which neither copy nor allocate.
struct LogRecord {
    std::array<char, kRecordSize> bytes{};

    std::string_view view(std::size_t offset, std::size_t width) const {
        return {bytes.data() + offset, width};
    }

    // Every kind of entry.
    int16_t date() const { return get16(0); }
    int16_t time() const { return get16(2); }  // time on for a QSO
    std::string_view call_field() const { return view(6, 12); }
    // DATA and Text entries keep '/' at the front of the call field.
    bool is_qso() const { return bytes[6] != '/'; }

    // A QSO entry's fields as stored: blank padded, or zero bytes where a CQ entry has no
    // reports or mode.
    int16_t time_off() const { return get16(4); }
    std::string_view rst_sent_field() const { return view(18, 7); }
    std::string_view rst_received_field() const { return view(25, 7); }
    std::string_view band_field() const { return view(32, 3); }
    std::string_view mode_field() const { return view(35, 3); }
    std::string_view power_field() const { return view(38, 5); }
    std::string_view comment_field() const { return view(43, 40); }
    uint8_t qsl_flags() const { return static_cast<uint8_t>(bytes[83]); }

    // A Text entry's text.
    std::string_view text_field() const { return view(18, 64); }

    void set_date(int16_t date) { put16(0, date); }
    void set_time(int16_t time) { put16(2, time); }
    void set_time_off(int16_t time) { put16(4, time); }
    // Text is cut to the field's width and padded with blanks.
    void set_call(std::string_view call) { put_text(6, 12, call); }
    void set_rst_sent(std::string_view rst) { put_text(18, 7, rst); }
    void set_rst_received(std::string_view rst) { put_text(25, 7, rst); }
    // The logging screens' form is binary (band_field_of); an imported entry's is MHz text.
    void set_band_field(std::string_view band) { put_text(32, 3, band); }
    void set_mode(std::string_view mode) { put_text(35, 3, mode); }
    void set_power(std::string_view power) { put_text(38, 5, power); }
    void set_comment(std::string_view comment) { put_text(43, 40, comment); }
    void set_qsl_flags(uint8_t flags) { bytes[83] = static_cast<char>(flags); }
    void set_text(std::string_view text) { put_text(18, 64, text); }
    // A CQ entry keeps no reports and no mode: those fields are zero bytes.
    void zero_reports_and_mode();

    bool operator==(const LogRecord&) const = default;

private:
    // Numbers are little-endian whatever the machine.
    int16_t get16(std::size_t offset) const {
        auto lo = static_cast<uint8_t>(bytes[offset]);
        auto hi = static_cast<uint8_t>(bytes[offset + 1]);
        return static_cast<int16_t>(static_cast<uint16_t>(lo | (hi << 8)));
    }
    void put16(std::size_t offset, int16_t value) {
        auto v = static_cast<uint16_t>(value);
        bytes[offset] = static_cast<char>(v & 0xFF);
        bytes[offset + 1] = static_cast<char>(v >> 8);
    }
    void put_text(std::size_t offset, std::size_t width, std::string_view text);
};

// Bits of qsl_flags().
inline constexpr uint8_t kQslSentFlag = 1;
inline constexpr uint8_t kQslReceivedFlag = 2;

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
