// RIG.LST and DBNAMES.TXT, byte for byte.
#include <gtest/gtest.h>

#include "shell/Settings.h"
#include "station/StationData.h"

namespace vl {
namespace {

// RIG.LST as the screens write it is the station_rig and settings.date_format scenarios'; the
// rig definition found among other files and its port line rewritten, station_rigfile's.
TEST(StationFiles, RigListReadsShortDamagedAndLooseFiles) {
    // A comma inside a value stays within its own band's line; a short file is the first bands.
    StationData comma =
        parse_station_data("FT,991,100,Dipole,Sam,SSB\r\nIC-7300,50,Loop,Jo,CW\r\n");
    EXPECT_EQ(comma.bands[0].transceiver + "|" + comma.bands[0].mode, "FT|Sam,SSB");
    EXPECT_EQ(comma.bands[1].transceiver + "|" + comma.bands[2].transceiver, "IC-7300|");
    EXPECT_EQ(comma.date_format, 0);
    std::string lines;
    for (int band = 0; band < 13; ++band) {
        lines += " T , P,A,O,M \n";  // LF alone and blanks round the fields
    }
    StationData loose = parse_station_data(lines + "7\n");
    EXPECT_EQ(loose.bands[12].transceiver + loose.bands[12].mode, "TM");
    EXPECT_EQ(loose.date_format, 0);  // only 0, 1 and 2 exist
    EXPECT_EQ(parse_station_data(lines + "1\r\n").date_format, 1);
}

TEST(StationFiles, SettingsAreSixteenLines) {
    const std::string text =
        "ISLANDS.TXT\r\n\r\n\r\n\r\n\r\n\r\n\r\n\r\n\r\nCOUNTIES,UK.TXT\r\n52.5\r\n-1."
        "9\r\nE\r\n2\r\nD\r\n 3\r\n";
    Settings settings = parse_settings(text);
    EXPECT_EQ(settings.database_names[0] + settings.database_names[9],
              "ISLANDS.TXTCOUNTIES,UK.TXT");
    EXPECT_EQ(format_settings(settings), text);
    EXPECT_EQ(settings.latitude + settings.longitude + settings.backup_drive +
                  settings.rotator_port + settings.callbook_drive +
                  std::to_string(settings.callbook_choice),
              "52.5-1.9E2D3");
    EXPECT_EQ(parse_settings(std::string(15, '\n') + "9\n").callbook_choice, 0);
}

}  // namespace
}  // namespace vl
