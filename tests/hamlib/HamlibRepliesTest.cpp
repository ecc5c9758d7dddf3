// Hamlib's reply lines read as untrusted text, its mode names in the log, and HAMLIB.TXT.
#include <gtest/gtest.h>

#include "hamlib/HamlibReplies.h"
#include "hamlib/HamlibSettings.h"

namespace vl::hamlib {
namespace {

std::span<const std::uint8_t> bytes_of(std::string_view text) {
    return {reinterpret_cast<const std::uint8_t*>(text.data()), text.size()};
}

TEST(HamlibReplies, LinesAreWholeAndBounded) {
    ReplyLines lines;
    EXPECT_TRUE(lines.add(bytes_of("1407")));
    EXPECT_FALSE(lines.next());
    EXPECT_TRUE(lines.add(bytes_of("4000\r\nUSB\n24")));
    EXPECT_EQ(lines.next(), "14074000");
    EXPECT_EQ(lines.next(), "USB");
    EXPECT_FALSE(lines.next());
    EXPECT_FALSE(lines.add(bytes_of(std::string(ReplyLines::kLongestLine, '0'))));
    ReplyLines nul;
    EXPECT_FALSE(nul.add(bytes_of(std::string_view("1\0\n", 3))));
}

TEST(HamlibReplies, EachLineIsReadOnlyWhenItIsWhatItShouldBe) {
    struct Row {
        std::string_view line;
        std::optional<int> report;
        std::optional<std::int64_t> hertz;
        std::optional<std::string> mode;
        std::optional<double> degrees;
    } rows[] = {
        {"RPRT 0", 0, {}, {}, {}},
        {"RPRT -11", -11, {}, {}, {}},
        {"RPRT", {}, {}, "RPRT", {}},
        {"RPRT x", {}, {}, {}, {}},
        {"14074000", {}, 14074000, {}, {}},
        {"14074000.000000", {}, 14074000, {}, {}},
        {"0", {}, {}, {}, 0.0},
        {"-7074000", {}, {}, {}, {}},
        {"99999999999999999999", {}, {}, {}, {}},
        {"1e9", {}, {}, {}, {}},
        {"USB", {}, {}, "USB", {}},
        {"PKTUSB", {}, {}, "PKTUSB", {}},
        {"usb", {}, {}, {}, {}},
        {"USB 2400", {}, {}, {}, {}},
        {"220.000000", {}, 220, {}, 220.0},
        {"-0.50", {}, {}, {}, -0.5},
        {"nan", {}, {}, {}, {}},
        {"1.2.3", {}, {}, {}, {}},
        {"", {}, {}, {}, {}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(std::string(row.line));
        EXPECT_EQ(report_code(row.line), row.report);
        EXPECT_EQ(hertz_of(row.line), row.hertz);
        EXPECT_EQ(mode_name_of(row.line), row.mode);
        EXPECT_EQ(degrees_of(row.line), row.degrees);
    }
}

TEST(HamlibReplies, FrequencyTextIsTheListsOwn) {
    EXPECT_EQ(megahertz_text(14074000), "14.0740");
    EXPECT_EQ(megahertz_text(7074049), "7.0740");
    EXPECT_EQ(megahertz_text(1840950), "1.8410");
    EXPECT_EQ(megahertz_text(432100000), "432.1000");
}

// The sideband and data modes as the station logs them; of the fixed names, two.
TEST(HamlibReplies, ModesInTheLog) {
    struct Row {
        std::string_view hamlib, band_mode, shown, log;
    } rows[] = {
        {"USB", "SSB", "", "SSB"},       {"LSB", "USB", "", "LSB"},
        {"USB", "LSB", "", "USB"},       {"USB", "FT8", "FT8", "SSB"},
        {"USB", "J3E", "", "J3E"},       {"ECSSLSB", "LSB", "", "LSB"},
        {"PKTUSB", "USB", "FT4", "FT4"}, {"PKTUSB", "FT8", "USB", "FT8"},
        {"PKTUSB", "USB", "USB", "PKT"}, {"PKTLSB", "", "CW", "PKT"},
        {"CWR", "", "", "CW"},           {"C4FM", "", "", "C4F"},
        {"NONE", "SSB", "SSB", ""},      {"PKTUSB", "OLIVIA", "", "OLI"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(std::string(row.hamlib) + " " + std::string(row.band_mode) + " " +
                     std::string(row.shown));
        EXPECT_EQ(log_mode_of(row.hamlib, row.band_mode, row.shown), row.log);
    }
}

TEST(HamlibSettings, DaemonsAndTheirDefaults) {
    const Settings none = parse_settings("# nothing\r\nrigs=1\r\nrig\r\n");
    EXPECT_FALSE(none.rig);
    EXPECT_FALSE(none.rotator);
    const Settings both = parse_settings(
        "rig=192.168.1.5:4600\r\nrotator = localhost\r\nrotator model=202\nrotator device = "
        "/dev/ttyUSB1\nROTATOR SPEED=9600\n");
    ASSERT_TRUE(both.rig && both.rotator);
    EXPECT_EQ(both.rig->address.spoken(), "192.168.1.5 port 4600");
    EXPECT_TRUE(both.rig->model.empty());
    EXPECT_EQ(both.rotator->address.spoken(), "localhost port 4533");
    EXPECT_EQ(both.rotator->model, "202");
    EXPECT_EQ(both.rotator->device, "/dev/ttyUSB1");
    EXPECT_EQ(both.rotator->speed, "9600");
    const Settings bad_port = parse_settings("rig=localhost:99999\n");
    ASSERT_TRUE(bad_port.rig);
    EXPECT_EQ(bad_port.rig->address.port, kRigPort);
    const Settings started = parse_settings("rig model=3073\nrig device=/dev/ttyUSB0\n");
    ASSERT_TRUE(started.rig);
    EXPECT_EQ(started.rig->address.spoken(), "localhost port 4532");
    EXPECT_EQ(started.rig->model, "3073");
}

}  // namespace
}  // namespace vl::hamlib
