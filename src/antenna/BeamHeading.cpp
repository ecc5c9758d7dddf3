// Bearings and range, with the program's own constants: 57.29577 degrees a radian, 6394 km a
// radian, 1.6 km a mile held in single precision, and rounding of halves to even.
#include "antenna/BeamHeading.h"

#include <cmath>
#include <cstdio>

#include "logstore/Text.h"

namespace vl {

namespace {

constexpr long double kDegreesPerRadian = 57.29577L;
constexpr long double kKilometresPerRadian = 6394.0L;
constexpr float kKilometresPerMile = 1.6f;  // 1.60000002384185791015625
constexpr long double kHalfPi = 1.570796L;

long double arc_cosine(long double x) {
    if (!(x < 1.0L)) {
        return 0.0L;
    }
    if (x <= -1.0L) {
        return 3.14159265358979323846L;
    }
    return kHalfPi - std::atan(x / std::sqrt(1.0L - x * x));
}

int round_even(long double value) {
    return static_cast<int>(std::nearbyint(value));
}

std::string three_digits(int value) {
    char text[16];
    std::snprintf(text, sizeof text, "%03d", value);
    return text;
}

}  // namespace

double beam_arc_cosine(double x) {
    return static_cast<double>(arc_cosine(x));
}

std::optional<BeamAndRange> beam_and_range(std::string_view home_latitude,
                                           std::string_view home_longitude, float country_latitude,
                                           float country_longitude) {
    const long double phi1 =
        static_cast<long double>(leading_number(home_latitude)) / kDegreesPerRadian;
    const long double lambda1 =
        static_cast<long double>(leading_number(home_longitude)) / kDegreesPerRadian;
    if (phi1 + lambda1 == 0.0L) {
        return std::nullopt;
    }
    const long double phi2 = static_cast<long double>(country_latitude) / kDegreesPerRadian;
    const long double delta_lambda =
        static_cast<long double>(country_longitude) / kDegreesPerRadian - lambda1;
    const long double c =
        std::sin(phi2) * std::sin(phi1) + std::cos(phi2) * std::cos(phi1) * std::cos(delta_lambda);
    const long double d = arc_cosine(c);
    // The same point gives 0 / 0 here; the arc cosine turns the result into 0.
    const long double cos_a =
        (std::sin(phi2) - c * std::sin(phi1)) / (std::sin(d) * std::cos(phi1));

    BeamAndRange result;
    result.kilometres = round_even(kKilometresPerRadian * d);
    result.miles = round_even(static_cast<long double>(result.kilometres) /
                              static_cast<long double>(kKilometresPerMile));
    result.short_path = round_even(arc_cosine(cos_a) * kDegreesPerRadian);
    if (std::sin(delta_lambda) < 0.0L) {
        result.short_path = 360 - result.short_path;
    }
    result.long_path = 180 + result.short_path;
    if (result.long_path > 359) {
        result.long_path -= 360;
    }
    result.range_text = plain_number(result.kilometres);
    result.sentence = "Short path " + three_digits(result.short_path) + " Degrees" +
                      "  Long Path " + three_digits(result.long_path) + " Degrees" + "  Range " +
                      std::to_string(result.kilometres) + "KM, " + std::to_string(result.miles) +
                      "MILES";
    return result;
}

}  // namespace vl
