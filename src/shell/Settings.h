// The operator's settings in DBNAMES.TXT: the ten database names, the station's latitude
// and longitude, the backup drive, the rotator port, the call-book drive and choice.
// Sixteen lines, each ended by CR LF.
#pragma once

#include <array>
#include <string>
#include <string_view>

namespace vl {

inline constexpr std::string_view kSettingsFile = "DBNAMES.TXT";
// The call-book choice of the on-line XML call book (CALLBOOK.TXT holds its account).
inline constexpr int kOnlineCallBook = 4;

struct Settings {
    std::array<std::string, 10> database_names;
    std::string latitude;
    std::string longitude;
    std::string backup_drive;
    std::string rotator_port;
    std::string callbook_drive;
    int callbook_choice = 0;  // 0 none, 1 Buckmaster, 2 Flying Horse, 3 QRZ, 4 on-line
};

// Lines 1 to 15 are whole lines, commas included; line 16 is read as a number. Lines the
// file does not have leave their settings empty.
Settings parse_settings(std::string_view text);
std::string format_settings(const Settings& settings);

}  // namespace vl
