// CAT decoding from real reply bytes, one row per case, including replies split across polls,
// doubled and garbled, and the commands each reply leads to. The shipped definitions' plain,
// split and noisy replies are RadioFamilies' (IC7300, TS590, FT991, FT817, FT847).
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "station/CatFrames.h"

namespace vl {
namespace {

using Bytes = std::vector<std::uint8_t>;

Bytes hex(const std::string& s) {
    return cat_bytes_of_hex(s).value();
}
Bytes text(const std::string& s) {
    return Bytes(s.begin(), s.end());
}

const CatFormat kCiv{hex("FEFE94E003FD"), 10, 5, 3, 6, 0xFF};
const CatFormat kFt817{hex("0000000003"), 1, 4, 4, 5, 0x0F};
const CatFormat kKenwood{text("FA;"), 3, 11, 1, 0, 0x0F};
const CatFormat kYaesu{text("FA;"), 3, 9, 1, 0, 0x0F};
const CatFormat kVfo{hex("0000000000000000"), 1, 4, 9, 0, 0x0F};

struct Case {
    const char* name;
    CatFormat format;
    std::vector<Bytes> chunks;  // what each poll finds waiting
    const char* frequency;      // after the last poll; "" for none
    int mode;                   // -1 for none
};

const Case kCases[] = {
    {"format2_x0_625", {hex("0000000210"), 2, 4, 2, 8, 7}, {hex("00001A2B3C000001")}, "1.0719", 1},
    {"three_byte_field_times_ten", {hex("0000000010"), 1, 3, 0}, {hex("015F90")}, "0.9000", -1},
    {"format0_four_bytes_in_hertz", {hex("3F410D"), 2, 4, 0}, {hex("4100D6C0900D")}, "14.0740", -1},
    {"mode_in_first_byte", {hex("01"), 2, 4, 0, 1, 0x0F}, {hex("0200D6C090")}, "14.0740", 2},
    {"format8_times_320", {hex("01"), 1, 2, 8}, {hex("ABE0")}, "14.0800", -1},
    {"format6_divided_by_160", {hex("01"), 1, 4, 6}, {hex("86385A00")}, "14.0740", -1},
    {"format4_half_reply_waits", kFt817, {hex("014250")}, "", -1},
    {"format4_stale_half_dropped", kFt817, {hex("0142"), {}, hex("0142500001")}, "14.2500", 1},
    {"format9_vfo_a_mode", kVfo, {hex("00D6C090004100000000000203")}, "14.0740", 2},
    {"format9_vfo_b_mode", kVfo, {hex("00D6C090004200000000000203")}, "14.0740", 3},
    {"format4_not_bcd_is_garbled", kFt817, {hex("014F500001")}, "", -1},
    {"format7_bcd_back",
     {kFt817.query, 6, 4, 7, 10, 7},
     {hex("00000000000050420101")},
     "14.2500",
     1},
    {"format5_bcd", {hex("0000000100"), 1, 4, 5}, {hex("005042010000")}, "14.2500", -1},
    {"below_100_khz_shows_nothing", {kFt817.query, 1, 4, 4}, {hex("0000999900")}, "", -1},
    {"from_100_khz_shown", {kFt817.query, 1, 4, 4}, {hex("0001000000")}, "0.1000", -1},
    {"unknown_code_decodes_nothing", {kFt817.query, 1, 4, 12}, {hex("0142500001")}, "", -1},
    {"text_kenwood_eleven_digits", kKenwood, {text("FA00014074000;")}, "14.0740", -1},
    {"text_doubled_reply_then_mode", kYaesu, {text("FA014074000;FA007074000;MD0C;")}, "7.0740", 12},
    {"text_older_mode_reply", kKenwood, {text("MD2;")}, "", 2},
    {"text_garbled_digits", kYaesu, {text("FA01407400:;")}, "", -1},
    {"text_short_frame", kYaesu, {text("FA01;")}, "", -1},
    {"civ_other_radio_ignored", kCiv, {hex("FEFEE098030040071400FD")}, "", -1},
    {"civ_short_frame", kCiv, {hex("FEFEE0940300FD")}, "", -1},
    // Our own echo, noise and a preamble of three FE bytes before the reply.
    {"civ_echo_noise_long_preamble",
     kCiv,
     {hex("12FEFE94E003FDFEFEFEE094030040071400FD")},
     "14.0740",
     -1},
    // A frame with nothing between its preamble and its end, then the reply.
    {"civ_empty_frame_then_reply", kCiv, {hex("FEFEFDFEFEE094030040071400FD")}, "14.0740", -1},
    // A frame that never ends is given up after 64 bytes; the next one is read.
    {"civ_runaway_frame_dropped",
     kCiv,
     {hex("FEFEE09403" + std::string(140, '1') + "FEFEE094030040071400FD")},
     "14.0740",
     -1}};

TEST(CatDecoding, GivesTheFrequencyAndModeOfWholeFrames) {
    for (const Case& c : kCases) {
        CatSession session(c.format);
        CatPollResult result;
        for (const Bytes& chunk : c.chunks) {
            session.receive(chunk);
            result = session.poll();
        }
        EXPECT_EQ(result.hertz ? cat_frequency_text(*result.hertz) : "", c.frequency) << c.name;
        EXPECT_EQ(result.mode_index.value_or(-1), c.mode) << c.name;
    }
}

// After each reply, the command the next poll sends.
TEST(CatCommands, FollowTheReplies) {
    const struct {
        CatFormat format;
        std::vector<Bytes> replies;  // "" is a silent poll
        std::vector<Bytes> commands;
    } kReplies[] = {
        // Text radios are asked for the mode with the character 0, then the frequency again.
        {kYaesu, {text("FA014074000;"), text("MD02;")}, {text("MD0;"), text("FA;")}},
        // Addressed frames alternate only after a reply: a silent radio is asked again.
        {kCiv,
         {{}, hex("FEFEE094030040071400FD"), hex("FEFEE094040101FD")},
         {kCiv.query, hex("FEFE94E004FD"), kCiv.query}},
        // An echo of five bytes is acknowledged.
        {{hex("0000000100"), 82, 4, 5, 80, 7}, {hex("0000000100")}, {hex("000000000B")}},
        // The VFO letter of the reply goes into the next query.
        {kVfo, {hex("00D6C0900041")}, {hex("0000000000000041")}}};
    for (const auto& c : kReplies) {
        CatSession session(c.format);
        for (std::size_t i = 0; i < c.replies.size(); ++i) {
            session.receive(c.replies[i]);
            const CatPollResult result = session.poll();
            EXPECT_EQ(result.next_command, c.commands[i]) << i;
        }
    }
}

// A rig file's query in either case; one digit that is not hexadecimal spoils the whole text.
TEST(CatHex, ReadsPairsOfDigits) {
    EXPECT_EQ(cat_bytes_of_hex("fefe94e003fd"), kCiv.query);
    for (const char* bad : {"FEF", "GG", "FE 0G", "G0 FE"}) {
        EXPECT_FALSE(cat_bytes_of_hex(bad)) << bad;
    }
}

}  // namespace
}  // namespace vl
