// CAT decoding from real reply bytes, one table row per case, including replies split across
// polls, doubled and garbled.
#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "station/CatFrames.h"

namespace vl {
namespace {

using Bytes = std::vector<std::uint8_t>;

Bytes text(const std::string& s) {
    return Bytes(s.begin(), s.end());
}

CatFormat format(const Bytes& query, int start, int length, int code, int mode_position = 0,
                 int mask = 0) {
    return CatFormat{query, start, length, code, mode_position, mask};
}

const Bytes kCivQuery{0xFE, 0xFE, 0x94, 0xE0, 0x03, 0xFD};
const Bytes kFt817Query{0, 0, 0, 0, 0x03};

struct Case {
    const char* name;
    CatFormat format;
    std::vector<Bytes> chunks;             // what each poll finds waiting
    std::optional<std::string> frequency;  // after the last poll
    std::optional<int> mode;
};

class CatDecoding : public ::testing::TestWithParam<Case> {};

TEST_P(CatDecoding, GivesTheFrequencyAndModeOfWholeFrames) {
    const Case& c = GetParam();
    CatSession session(c.format);
    CatPollResult result;
    for (const Bytes& chunk : c.chunks) {
        session.receive(chunk);
        result = session.poll();
    }
    std::optional<std::string> shown;
    if (result.hertz) {
        shown = cat_frequency_text(*result.hertz);
    }
    EXPECT_EQ(shown, c.frequency);
    EXPECT_EQ(result.mode_index, c.mode);
}

const Case kCases[] = {
    {"format2_big_endian_times_0_625",
     format(Bytes{0, 0, 0, 2, 0x10}, 2, 4, 2, 8, 7),
     {Bytes{0x00, 0x00, 0x1A, 0x2B, 0x3C, 0, 0, 0x01, 0, 0, 0, 0, 0, 0, 0, 0}},
     "1.0719",
     1},
    {"three_byte_field_times_ten",
     format(Bytes{0, 0, 0, 0, 0x10}, 1, 3, 0),
     {Bytes{0x01, 0x5F, 0x90}},
     "0.9000",
     std::nullopt},
    {"format0_four_bytes_in_hertz",
     format(Bytes{0x3F, 0x41, 0x0D}, 2, 4, 0),
     {Bytes{'A', 0x00, 0xD6, 0xC0, 0x90, 0x0D}},
     "14.0740",
     std::nullopt},
    {"format8_times_320", format(Bytes{1}, 1, 2, 8), {Bytes{0xAB, 0xE0}}, "14.0800", std::nullopt},
    {"format6_divided_by_160",
     format(Bytes{1}, 1, 4, 6),
     {Bytes{0x86, 0x38, 0x5A, 0x00}},
     "14.0740",
     std::nullopt},
    {"format4_bcd_with_mode",
     format(kFt817Query, 1, 4, 4, 5, 0x0F),
     {Bytes{0x01, 0x42, 0x50, 0x00, 0x01}},
     "14.2500",
     1},
    {"format4_split_across_two_polls",
     format(kFt817Query, 1, 4, 4, 5, 0x0F),
     {Bytes{0x01, 0x42}, Bytes{0x50, 0x00, 0x82}},
     "14.2500",
     2},
    {"format4_half_reply_waits",
     format(kFt817Query, 1, 4, 4, 5, 0x0F),
     {Bytes{0x01, 0x42, 0x50}},
     std::nullopt,
     std::nullopt},
    {"format4_not_bcd_is_garbled",
     format(kFt817Query, 1, 4, 4, 5, 0x0F),
     {Bytes{0x01, 0x4F, 0x50, 0x00, 0x01}},
     std::nullopt,
     std::nullopt},
    {"format7_little_endian_bcd",
     format(Bytes{0, 0, 0, 0, 0x10}, 6, 4, 7, 10, 7),
     {Bytes{0, 0, 0, 0, 0, 0x00, 0x50, 0x42, 0x01, 0x01}},
     "14.2500",
     1},
    {"format5_bcd",
     format(Bytes{0, 0, 0, 1, 0}, 1, 4, 5),
     {Bytes{0x00, 0x50, 0x42, 0x01, 0, 0}},
     "14.2500",
     std::nullopt},
    {"below_100_khz_shows_nothing",
     format(kFt817Query, 1, 4, 4),
     {Bytes{0, 0, 0x99, 0x99, 0}},
     std::nullopt,
     std::nullopt},
    {"unknown_code_decodes_nothing",
     format(kFt817Query, 1, 4, 12),
     {Bytes{0x01, 0x42, 0x50, 0x00, 0x01}},
     std::nullopt,
     std::nullopt},
    {"text_kenwood_eleven_digits",
     format(text("FA;"), 3, 11, 1, 0, 0x0F),
     {text("FA00014074000;")},
     "14.0740",
     std::nullopt},
    {"text_yaesu_nine_digits_split",
     format(text("FA;"), 3, 9, 1, 0, 0x0F),
     {text("FA0140"), text("74000;")},
     "14.0740",
     std::nullopt},
    {"text_doubled_reply_then_mode",
     format(text("FA;"), 3, 9, 1, 0, 0x0F),
     {text("FA014074000;FA007074000;MD0C;")},
     "7.0740",
     12},
    {"text_older_mode_reply",
     format(text("FA;"), 3, 11, 1, 0, 0x0F),
     {text("MD2;")},
     std::nullopt,
     2},
    {"text_info_reply_holds_the_mode",
     format(text("IF;"), 3, 11, 1, 30, 0x0F),
     {text("IF00014074000     +000000000020000000;")},
     "14.0740",
     2},
    {"text_garbled_digits",
     format(text("FA;"), 3, 9, 1, 0, 0x0F),
     {text("FA01\x80"
           "074000;")},
     std::nullopt,
     std::nullopt},
    {"text_short_frame",
     format(text("FA;"), 3, 9, 1, 0, 0x0F),
     {text("FA01;")},
     std::nullopt,
     std::nullopt},
    {"civ_frequency",
     format(kCivQuery, 10, 5, 3, 6, 0xFF),
     {Bytes{0xFE, 0xFE, 0xE0, 0x94, 0x03, 0x00, 0x40, 0x07, 0x14, 0x00, 0xFD}},
     "14.0740",
     std::nullopt},
    {"civ_echo_and_noise_before_the_reply",
     format(kCivQuery, 10, 5, 3, 6, 0xFF),
     {Bytes{0x55, 0xFE, 0xFE, 0x94, 0xE0, 0x03, 0xFD, 0xFE, 0xFE, 0xE0, 0x94, 0x03, 0x00, 0x40,
            0x07, 0x14, 0x00, 0xFD}},
     "14.0740",
     std::nullopt},
    {"civ_split_reply",
     format(kCivQuery, 10, 5, 3, 6, 0xFF),
     {Bytes{0xFE, 0xFE, 0xE0, 0x94, 0x03, 0x00}, Bytes{0x40, 0x07, 0x14, 0x00, 0xFD}},
     "14.0740",
     std::nullopt},
    {"civ_mode_reply",
     format(kCivQuery, 10, 5, 3, 6, 0xFF),
     {Bytes{0xFE, 0xFE, 0xE0, 0x94, 0x04, 0x03, 0x01, 0xFD}},
     std::nullopt,
     3},
    {"civ_other_radio_ignored",
     format(kCivQuery, 10, 5, 3, 6, 0xFF),
     {Bytes{0xFE, 0xFE, 0xE0, 0x98, 0x03, 0x00, 0x40, 0x07, 0x14, 0x00, 0xFD}},
     std::nullopt,
     std::nullopt},
    {"civ_short_frame",
     format(kCivQuery, 10, 5, 3, 6, 0xFF),
     {Bytes{0xFE, 0xFE, 0xE0, 0x94, 0x03, 0x00, 0xFD}},
     std::nullopt,
     std::nullopt},
};

INSTANTIATE_TEST_SUITE_P(Replies, CatDecoding, ::testing::ValuesIn(kCases),
                         [](const auto& row) { return std::string(row.param.name); });

TEST(CatCommands, TextAsksForTheModeWithTheCharacterZeroThenTheFrequencyAgain) {
    CatSession session(format(text("FA;"), 3, 9, 1, 0, 0x0F));
    session.receive(text("FA014074000;"));
    EXPECT_EQ(session.poll().next_command, text("MD0;"));
    session.receive(text("MD02;"));
    EXPECT_EQ(session.poll().next_command, text("FA;"));
}

TEST(CatCommands, AddressedFramesAlternateFrequencyAndModeOnlyAfterAReply) {
    CatSession session(format(kCivQuery, 10, 5, 3, 6, 0xFF));
    EXPECT_EQ(session.poll().next_command[4], 0x03);  // silent radio: ask again
    session.receive(Bytes{0xFE, 0xFE, 0xE0, 0x94, 0x03, 0x00, 0x40, 0x07, 0x14, 0x00, 0xFD});
    EXPECT_EQ(session.poll().next_command[4], 0x04);
    session.receive(Bytes{0xFE, 0xFE, 0xE0, 0x94, 0x04, 0x01, 0x01, 0xFD});
    EXPECT_EQ(session.poll().next_command[4], 0x03);
}

TEST(CatCommands, EchoOfFiveBytesIsAcknowledged) {
    CatSession session(format(Bytes{0, 0, 0, 1, 0}, 82, 4, 5, 80, 7));
    session.receive(Bytes{0, 0, 0, 1, 0});
    const CatPollResult result = session.poll();
    EXPECT_EQ(result.next_command, (Bytes{0, 0, 0, 0, 0x0B}));
    EXPECT_FALSE(result.hertz);
}

TEST(CatCommands, HexQueryLines) {
    EXPECT_EQ(cat_bytes_of_hex("FEFE94E003FD"), kCivQuery);
    EXPECT_EQ(cat_bytes_of_hex("0000000003"), kFt817Query);
    EXPECT_FALSE(cat_bytes_of_hex("FEF"));
    EXPECT_FALSE(cat_bytes_of_hex("GG"));
}

}  // namespace
}  // namespace vl
