// What the Station Data screen leaves in RIG.LST and the rig definition (its speech is walked
// by the scenarios).
#include <gtest/gtest.h>

#include "station/StationData.h"
#include "support/Scripts.h"
#include "support/TestSupport.h"

namespace vl {
namespace {

TEST(StationScreens, BandsAreSavedOnEscapeAndThePortLineRewritten) {
    test::TempDir dir;
    dir.write("COUNTRY.LST", "G,G,England,1,52.77,-1.47\r\n");
    const std::string rig = "\r\nFEFE94E003FD\r\n6,5,3\r\n6,15,LSB,USB\r\n00\r\n1,2\r\n";
    dir.write("IC7300.RIG", "1:4800,N,8,1" + rig);
    // No serial ports in this run: the rig's port is reported at start-up and answered first.
    test::HeadlessRun result = test::run_program_headless(
        dir.path(), "key Enter\n" + test::open_menu_entry(7) +
                        "type FT-991A\nkey Enter\ntype Dipole\nkey Enter\ntype 100\nkey Enter\n"
                        "type SSB\nkey Enter\ntype Sam\nkey F12\nkey Tab\ntype 3\nkey Tab\n"
                        "type 9600\nkey Escape\nkey Escape\n");
    EXPECT_FALSE(result.script_ended) << "the script left windows open";
    EXPECT_NE(
        std::find(result.journal.begin(), result.journal.end(), "focus edit \"Rate:\" \" 4800\""),
        result.journal.end());
    StationData data = parse_station_data(dir.read("RIG.LST"));
    BandStation expected{"FT-991A", "100", "Dipole", "Sam", "SSB"};
    EXPECT_EQ(data.bands[0], expected);
    EXPECT_EQ(data.bands[1], expected);
    EXPECT_EQ(data.bands[2], BandStation{});
    // Typing replaced what moving into each box selected, the rate's leading blank with it.
    EXPECT_EQ(dir.read("IC7300.RIG"), "3:9600,N,8,1" + rig);
}

}  // namespace
}  // namespace vl
