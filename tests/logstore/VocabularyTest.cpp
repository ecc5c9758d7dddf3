// Bands, modes, QSL codes, default reports and base calls.
#include <gtest/gtest.h>

#include "logstore/Bands.h"
#include "logstore/CallSigns.h"
#include "logstore/Text.h"

namespace vl {
namespace {

TEST(BandOfFrequency, ThresholdsAndTheFiveMegahertzException) {
    struct Case {
        const char* megahertz;
        int band;
    };
    static const Case kCases[] = {
        {"1.8", 0},  {"3", 0},  {"3.5", 1},  {"4.0", 1},  {"4.5", 13},  {"5.3", 13},   {"6", 1},
        {"6.01", 2}, {"7", 2},  {"10.1", 3}, {"14.2", 4}, {"18.1", 5},  {"21", 6},     {"24.9", 7},
        {"28.5", 8}, {"50", 9}, {"70", 10},  {"145", 11}, {"150", 11},  {"150.1", 12}, {"432", 12},
        {"", 19},    {"0", 19}, {"abc", 19}, {" 14", 4},  {"14MHz", 4}, {"3.5.7", 1},  {"-7", 0},
    };
    for (const Case& c : kCases) {
        EXPECT_EQ(band_of_frequency(c.megahertz), c.band) << "frequency \"" << c.megahertz << "\"";
    }
}

TEST(BandOfBandField, BinaryAndOlderTextForms) {
    EXPECT_EQ(band_of_band_field(std::string("\0\0\x08", 3)), 8);
    EXPECT_EQ(band_of_band_field(std::string("\0\0\x0c", 3)), 12);
    EXPECT_EQ(band_of_band_field("14 "), 4);
    EXPECT_EQ(band_of_band_field("3.5"), 1);
    EXPECT_EQ(band_of_band_field("144"), 11);
    EXPECT_EQ(band_of_band_field("   "), 19);
    // One NUL only is not the binary form: the text before it is the frequency.
    EXPECT_EQ(band_of_band_field(std::string("7\0\0", 3)), 2);
}

TEST(ModeClass, TrimmedAndCaseFolded) {
    struct Case {
        const char* mode;
        int mode_class;
    };
    static const Case kCases[] = {
        {"A1A", 0}, {" cw", 0}, {"CW ", 0}, {"J3E", 1}, {"ssb", 1}, {"F3E", 2},
        {"FM", 2},  {"RTY", 3}, {"J2B", 3}, {"", 3},    {"C W", 3},
    };
    for (const Case& c : kCases) {
        EXPECT_EQ(mode_class(c.mode), c.mode_class) << "mode \"" << c.mode << "\"";
    }
}

// The reports the on-line and net forms fill in for A1A, CW, RTY, CQC and the rest are in the
// scenarios' journals; no form there is given a padded mode or J2B.
TEST(DefaultReport, ByMode) {
    EXPECT_EQ(default_report("CW "), "599");
    EXPECT_EQ(default_report("J2B"), "599");
}

TEST(BaseCall, SuffixesAndRegionalLetters) {
    struct Case {
        const char* call;  // padded to 12 before the rule runs
        const char* base;  // shown without trailing blanks
    };
    static const Case kCases[] = {
        {"G9ZZA/M", "G9ZZA"},     {"G9ZZA/MM", "G9ZZA"},
        {"G9ZZA/P", "G9ZZA"},     {"GW9ZZA/P", "G9ZZA"},
        {"GB9ZZD", "GB9ZZD"},     {"GR9ZZA", "GR9ZZA"},
        {"G9ZZA", "G9ZZA"},       {"MW9ZZE/A", "M9ZZE"},
        {"MM9ZZC", "M9ZZC"},      {"GM9ZZB/P", "G9ZZB"},
        {"2E9ZZF", "2E9ZZF"},     {"G9ZZA/QRP", "G9ZZA/QRP"},
        {"/DATA", "/DATA"},       {"DL9ZZ/P", "DL9ZZ"},
        {"G9ZZA/P/M", "G9ZZA/P"},  // "/P " only appears once "/M " is gone
        {"GW9ZZ/M/P", "G9ZZ"},
    };
    for (const Case& c : kCases) {
        std::string field = fit(c.call, kCallWidth);
        EXPECT_EQ(trim_right(base_call(field)), c.base) << "call " << c.call;
        EXPECT_EQ(base_call_slot(field), fit(c.base, kCallWidth)) << "call " << c.call;
    }
}

TEST(BaseCall, ASuffixThatFillsTheFieldStays) {
    // Twelve characters ending in /P: no blank follows the suffix.
    EXPECT_EQ(base_call("DL9ZZZZZZZ/P"), "DL9ZZZZZZZ/P");
    EXPECT_EQ(base_call("GW9ZZZZZZZ/P"), "G9ZZZZZZZ/P");
}

TEST(Text, ConventionsForNumbersAndFields) {
    EXPECT_EQ(plain_number(12), " 12");
    EXPECT_EQ(plain_number(0), " 0");
    EXPECT_EQ(plain_number(-3), "-3");
    EXPECT_EQ(two_digits(7), "07");
    EXPECT_EQ(two_digits(104), "04");
    EXPECT_EQ(two_digits(-93), "07");  // a damaged time code must not crash the speech
    EXPECT_EQ(two_digits(-200), "00");
    EXPECT_EQ(fit("G9ZZA", 7), "G9ZZA  ");
    EXPECT_EQ(fit("123456789", 5), "12345");
    EXPECT_DOUBLE_EQ(leading_number("  3.5MHz"), 3.5);

    // Lines end in CR LF, LF or CR alone; a last line without its end still counts.
    std::string_view text = "one\r\ntwo\n\r\nold\rmac\r\rlast";
    for (std::string_view line : {"one", "two", "", "old", "mac", "", "last"}) {
        EXPECT_EQ(take_line(text), line);
    }
    EXPECT_TRUE(text.empty());
}

}  // namespace
}  // namespace vl
