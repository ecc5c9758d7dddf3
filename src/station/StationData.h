// Station data, band by band (0..12): transceiver, power, antenna, operator and mode, kept
// in RIG.LST with the date format setting. Thirteen lines of five comma-separated fields in
// the order transceiver, power, antenna, operator, mode; then the date format; CR LF ends.
#pragma once

#include <array>
#include <string>
#include <string_view>

namespace vl {

inline constexpr std::string_view kStationFile = "RIG.LST";

struct BandStation {
    std::string transceiver;
    std::string power;
    std::string antenna;
    std::string operator_name;
    std::string mode;
    bool operator==(const BandStation&) const = default;
};

struct StationData {
    std::array<BandStation, 13> bands;
    int date_format = 0;
};

// Each line gives its own band. A value with a comma (which the screens refuse) cannot be
// told from a field separator; the line's first four commas separate its fields and the
// mode keeps the rest, so no other band is disturbed.
StationData parse_station_data(std::string_view text);
std::string format_station_data(const StationData& data);

}  // namespace vl
