// Band, mode and report vocabulary.
#include "logstore/Bands.h"

#include "logstore/Text.h"

namespace vl {

const std::array<std::string_view, 14> kSpokenBandNames = {
    "one sixty metres", "eighty metres",  "forty metres",  "thirty metres",   "twenty metres",
    "seventeen metres", "fifteen metres", "twelve metres", "ten metres",      "six metres",
    "four metres",      "two metres",     "seventy sems",  "All Bands totals"};

const std::array<std::string_view, 13> kShortBandNames = {"160m", " 80m", " 40m", " 30m", " 20m",
                                                          " 17m", " 15m", " 12m", " 10m", " 6m ",
                                                          " 4m ", " 2m ", "70cm"};

const std::array<std::string_view, 15> kFrequencyNames = {
    "1.8MHz", "3.5MHz", "7MHz  ", "10MHz ", "14MHz ", "18MHz ", "21MHz ", "24MHz ",
    "28MHz ", "50MHz ", "70MHz ", "144MHz", "430MHz", "5MHz  ", "      "};

int band_of_frequency(std::string_view megahertz) {
    static constexpr double kThresholds[] = {3, 6, 9, 13, 17, 19, 23, 27, 49, 69, 100, 150};
    double f = leading_number(megahertz);
    if (f == 0.0) {
        return kBandNoFrequency;
    }
    if (f > 4.0 && f < 6.0) {
        return kBand5MHz;
    }
    int band = 0;
    for (double threshold : kThresholds) {
        if (threshold < f) {
            ++band;
        }
    }
    return band;
}

int band_of_band_field(std::string_view field) {
    if (field.size() >= 3 && field[0] == '\0' && field[1] == '\0') {
        return static_cast<unsigned char>(field[2]);
    }
    // Older entries hold the frequency as text; a NUL ends it.
    return band_of_frequency(field.substr(0, field.find('\0')));
}

int mode_class(std::string_view mode) {
    std::string m = to_upper(trim(mode));
    if (m == "A1A" || m == "CW") {
        return kModeCw;
    }
    if (m == "J3E" || m == "SSB") {
        return kModeSsb;
    }
    if (m == "F3E" || m == "FM") {
        return kModeFm;
    }
    return kModeOther;
}

std::string_view default_report(std::string_view mode) {
    std::string_view m = trim(mode);
    if (m == "A1A" || m == "CW" || m == "RTY" || m == "J2B") {
        return "599";
    }
    if (m == "CQC") {
        return "N";
    }
    return "59";
}

}  // namespace vl
