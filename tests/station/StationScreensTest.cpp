// The station data and Beam Heading screens as an operator meets them.
#include <gtest/gtest.h>

#include "station/StationData.h"
#include "support/Scripts.h"
#include "support/TestSupport.h"

namespace vl {
namespace {

using Lines = std::vector<std::string>;
using test::lines_from;
using test::open_menu_entry;

constexpr int kRigData = 7, kBeamHeading = 13;

class StationScreensTest : public ::testing::Test {
protected:
    void SetUp() override {
        dir.write(
            "COUNTRY.LST",
            "G,G,England,1,52.77,-1.47\r\nJA,JS,Japan,2,36.4,138.38\r\n1A,1A,Nowhere,0,0,0\r\n");
    }
    Lines run(const std::string& script) {
        test::HeadlessRun result = test::run_program_headless(dir.path(), script);
        EXPECT_FALSE(result.script_ended) << "the script left windows open";
        return result.journal;
    }
    test::TempDir dir;
};

TEST_F(StationScreensTest, BandsStepCopyAndAreSavedOnEscape) {
    Lines journal = run(open_menu_entry(kRigData) +
                        "type FT-991A\nkey Enter\ntype Dipole\nkey Enter\ntype 100\nkey "
                        "Enter\ntype SSB\nkey Enter\ntype Sam\n"
                        "key Down\nkey F12\nkey Up\nkey Escape\nkey Escape\n");
    Lines got = lines_from(journal, "window \"STATION DATA \"");
    ASSERT_GE(got.size(), 2u);
    EXPECT_EQ(got[1], "focus edit \"one sixty metres, Tranceiver:\" \"\"");
    EXPECT_NE(std::find(got.begin(), got.end(), "focus edit \" Operator:\" \"\""), got.end());
    // Down on band 0 does nothing; F12 copies to band 1 and names it with a comma.
    EXPECT_NE(std::find(got.begin(), got.end(), "static \"eighty metres, Tranceiver\""), got.end());
    // Up then goes to band 2, spoken without the comma, and the focus returns to its box.
    EXPECT_NE(std::find(got.begin(), got.end(), "focus edit \"forty metres Tranceiver\" \"\""),
              got.end());
    StationData data = parse_station_data(dir.read("RIG.LST"));
    BandStation expected{"FT-991A", "100", "Dipole", "Sam", "SSB"};
    EXPECT_EQ(data.bands[0], expected);
    EXPECT_EQ(data.bands[1], expected);
    EXPECT_EQ(data.bands[2], BandStation{});
}

TEST_F(StationScreensTest, TheTopBandStopsUpAndCopy) {
    std::string ups;
    for (int i = 0; i < 12; ++i) {
        ups += "key Up\n";
    }
    Lines journal = run(open_menu_entry(kRigData) + ups +
                        "key Up\nkey F12\nkey Ctrl+C\ntype X\nkey Escape\nkey Escape\n");
    Lines got = lines_from(journal, "static \"seventy sems Tranceiver\"");
    ASSERT_GE(got.size(), 2u);
    EXPECT_EQ(got[1], "text \"X\"");  // Up, F12 and Control+C did nothing on band 12
    EXPECT_EQ(parse_station_data(dir.read("RIG.LST")).bands[12].transceiver, "X");
}

TEST_F(StationScreensTest, ACommaIsRefusedAndTheRestKept) {
    Lines journal = run(open_menu_entry(kRigData) + "type FT,991\nkey Escape\nkey Escape\n");
    Lines got = lines_from(journal, "text \"FT,991\"");
    ASSERT_GE(got.size(), 3u);
    EXPECT_EQ(got[1], "text \"FT991\"");
    EXPECT_EQ(got[2], "beep default");
    EXPECT_EQ(parse_station_data(dir.read("RIG.LST")).bands[0].transceiver, "FT991");
}

TEST_F(StationScreensTest, PortAndRateShowAndRewriteTheRigDefinition) {
    dir.write("IC7300.RIG",
              "1:4800,N,8,1\r\nFEFE94E003FD\r\n6,5,3\r\n6,15,LSB,USB\r\n00\r\n1,2\r\n");
    // No serial ports in this run: the rig's port is reported at start-up and the message
    // answered first.
    Lines journal =
        run("key Enter\n" + open_menu_entry(kRigData) + "key Escape\n" + open_menu_entry(kRigData) +
            "key Tab Tab Tab Tab Tab\ntype 3\nkey Tab\ntype 9600\nkey Escape\nkey Escape\n");
    EXPECT_NE(std::find(journal.begin(), journal.end(),
                        "message \"Rig Control Port\" \"COM1 not available\" ok"),
              journal.end());
    EXPECT_NE(std::find(journal.begin(), journal.end(), "focus edit \"CAT Port:\" \"1\""),
              journal.end());
    EXPECT_NE(std::find(journal.begin(), journal.end(), "focus edit \"Rate:\" \" 4800\""),
              journal.end());
    // Typing replaced what moving into each box selected, the rate's leading blank with it.
    EXPECT_EQ(dir.read("IC7300.RIG"),
              "3:9600,N,8,1\r\nFEFE94E003FD\r\n6,5,3\r\n6,15,LSB,USB\r\n00\r\n1,2\r\n");
}

TEST_F(StationScreensTest, BeamHeadingSpeaksTheCountryAndBearings) {
    // Without a location the operator is told to set it (the bare country name was all once).
    Lines journal = run(open_menu_entry(kBeamHeading) +
                        "key Enter\ntype ja1abc\nkey Enter\nkey Escape\nkey Escape\n");
    Lines got = lines_from(journal, "window \"Beam Heading\"");
    EXPECT_EQ(got, (Lines{"window \"Beam Heading\"", "focus edit \"Call sign:\" \"\"",
                          "text \"JA1ABC\"", "static \"Set your location first\"",
                          "focus readonly \"Bearing:\" \"Set your location first\"",
                          "window \"Varrow Log version 1 point 3 7 by Q 0 Z Z Z.\"",
                          "focus list \"\" \"Beam Heading\""}));

    dir.write("DBNAMES.TXT", std::string(10, '\n') + "52.77\n-1.47\n");
    journal = run(open_menu_entry(kBeamHeading) +
                  "type 1a0km\nkey Enter\nkey Backspace Backspace Backspace Backspace Backspace\n"
                  "type JA1ABC\nkey Enter\nkey Escape\nkey Escape\n");
    got = lines_from(journal, "static \"Not a recognised Country\"");
    ASSERT_GE(got.size(), 2u);
    EXPECT_EQ(got[1], "text \"1A0K\"");  // the focus stayed in the call sign box
    auto answer = std::find_if(journal.begin(), journal.end(), [](const std::string& line) {
        return line.rfind("focus readonly \"Bearing:\" \"Japan, Short path 0", 0) == 0;
    });
    ASSERT_NE(answer, journal.end());
    EXPECT_NE(answer->find("Degrees  Long Path "), std::string::npos);
    EXPECT_NE(answer->find("MILES\""), std::string::npos);
}

}  // namespace
}  // namespace vl
