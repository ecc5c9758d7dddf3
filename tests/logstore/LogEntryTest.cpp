// The three entry kinds byte for byte.
#include <gtest/gtest.h>

#include "logstore/LogEntry.h"

namespace vl {
namespace {

std::string bytes_of(const LogRecord& r) {
    return std::string(r.bytes.data(), r.bytes.size());
}

TEST(LogEntry, QsoBytes) {
    QsoEntry e;
    e.date = 18036;   // 0x4674
    e.time_on = 570;  // 0x023A
    e.time_off = -1;
    e.call = "G9ZZA/P";
    e.rst_sent = "599";
    e.rst_received = "57";
    e.band_field = band_field_of(4);
    e.mode = "A1A";
    e.power = "100";
    e.comment = "Name Bob";
    e.qsl_flags = 3;
    std::string expected = std::string("\x74\x46\x3A\x02\xFF\xFF", 6) + "G9ZZA/P     " + "599    " +
                           "57     " + std::string("\0\0\x04", 3) + "A1A" + "100  " + "Name Bob" +
                           std::string(32, ' ') + "\x03";
    ASSERT_EQ(expected.size(), kRecordSize);
    EXPECT_EQ(bytes_of(encode(e)), expected);
    EXPECT_EQ(entry_kind(encode(e)), EntryKind::Qso);
}

TEST(LogEntry, FieldsAreCutToTheirWidths) {
    QsoEntry e;
    e.call = "ABCDEFGHIJKLMNOP";
    e.power = "1234567";
    e.comment = std::string(50, 'x');
    LogRecord r = encode(e);
    EXPECT_EQ(r.call_field(), "ABCDEFGHIJKL");
    EXPECT_EQ(r.power_field(), "12345");
    EXPECT_EQ(r.comment_field(), std::string(40, 'x'));
    EXPECT_EQ(r.qsl_flags(), 0);
}

TEST(LogEntry, DataBytes) {
    DataEntry e;
    e.date = 1;
    e.time = 2;
    e.operator_name = "Bob";
    e.transceiver = "FT-991";
    e.antenna = "Dipole";
    e.band = 6;
    LogRecord r = encode(e);
    std::string expected = std::string("\x01\0\x02\0\0\0", 6) + "/DATA       " + "Bob         " +
                           "FT-991      " + "Dipole      " + std::string("\x06\0", 2) +
                           std::string(28, '\0');
    ASSERT_EQ(expected.size(), kRecordSize);
    EXPECT_EQ(bytes_of(r), expected);
    EXPECT_EQ(entry_kind(r), EntryKind::Data);
}

TEST(LogEntry, TextBytes) {
    TextEntry e;
    e.date = -16964;  // 0xBDBC
    e.time = 1439;    // 0x059F
    e.text = "Contest weekend";
    LogRecord r = encode(e);
    std::string expected = std::string("\xBC\xBD\x9F\x05\0\0", 6) + "/           " +
                           "Contest weekend" + std::string(49, ' ') + std::string(2, '\0');
    ASSERT_EQ(expected.size(), kRecordSize);
    EXPECT_EQ(bytes_of(r), expected);
    EXPECT_EQ(entry_kind(r), EntryKind::Text);
}

TEST(LogEntry, KindIsToldByTheStoredCallField) {
    struct Case {
        const char* call_field;
        EntryKind kind;
    };
    static const Case kCases[] = {
        {"/DATA       ", EntryKind::Data}, {"/DATA  X    ", EntryKind::Text},
        {"/           ", EntryKind::Text}, {"/NOTE       ", EntryKind::Text},
        {"CQ          ", EntryKind::Qso},  {" /DATA      ", EntryKind::Qso},
        {"G9ZZA       ", EntryKind::Qso},
    };
    for (const Case& c : kCases) {
        LogRecord r;
        r.set_call(c.call_field);
        EXPECT_EQ(entry_kind(r), c.kind) << c.call_field;
    }
}

TEST(LogEntry, DecodeThenEncodeGivesTheSameBytes) {
    // Every byte value in every position: decoding keeps padding and binary fields as stored.
    for (int seed = 0; seed < 256; ++seed) {
        LogRecord r;
        for (std::size_t i = 0; i < kRecordSize; ++i) {
            r.bytes[i] = static_cast<char>((seed * 31 + i * 7) & 0xFF);
        }
        r.set_call("G9ZZA/P");
        EXPECT_EQ(encode(decode_qso(r)), r) << "seed " << seed;
    }
    TextEntry text;
    text.text = "note";
    EXPECT_EQ(encode(decode_text(encode(text))), encode(text));
    DataEntry data;
    data.antenna = "Yagi";
    data.band = -1;  // no band: both bytes of the field are set
    EXPECT_EQ(encode(decode_data(encode(data))), encode(data));
}

}  // namespace
}  // namespace vl
