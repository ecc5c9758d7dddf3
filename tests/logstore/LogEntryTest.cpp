// The three entry kinds: fields cut to their widths, the kind told by the call field, every
// byte kept through decoding. Their layouts byte for byte are the MYLOG.LOG files the
// scenarios keep, QSO, DATA and Text entries written by the forms (net_entry_rules holds all
// three).
#include <gtest/gtest.h>

#include "logstore/LogEntry.h"

namespace vl {
namespace {

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
