// Great-circle bearing (short and long path) and range from the station to a country, and
// the sentence that speaks them.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace vl {

struct BeamAndRange {
    int short_path = 0;  // degrees, 0..360
    int long_path = 0;
    int kilometres = 0;
    int miles = 0;
    std::string range_text;  // kilometres with a leading blank
    std::string
        sentence;  // "Short path 045 Degrees  Long Path 225 Degrees  Range 1234KM, 771MILES"
};

// The arc cosine as the bearing rule takes it: 0 unless x is below 1 (so also for a value
// that is not a number), pi for -1 or less.
double beam_arc_cosine(double x);

// Nothing when the home location counts as not set (latitude + longitude exactly 0 in
// radians). Home position is the settings' text; the country's is its record's.
std::optional<BeamAndRange> beam_and_range(std::string_view home_latitude,
                                           std::string_view home_longitude, float country_latitude,
                                           float country_longitude);

}  // namespace vl
