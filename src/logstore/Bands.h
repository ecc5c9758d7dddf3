// Band numbers, their three name tables, the frequency-to-band rule, mode classes,
// QSL status codes and default signal reports.
#pragma once

#include <array>
#include <string>
#include <string_view>

namespace vl {

constexpr int kBandCount = 13;  // 0..12: 160 m to 70 cm
constexpr int kBand5MHz = 13;
constexpr int kBandNone = 14;         // the blank slot of the frequency names
constexpr int kBandNoFrequency = 19;  // empty or zero frequency

// Slots 0..13; slot 13 is the caption of the reports' totals row.
extern const std::array<std::string_view, 14> kSpokenBandNames;
// Slots 0..12, four characters each.
extern const std::array<std::string_view, 13> kShortBandNames;
// Slots 0..14, six characters each; slot 14 is six blanks.
extern const std::array<std::string_view, 15> kFrequencyNames;

int band_of_frequency(std::string_view megahertz);
// The 3-byte band field of a QSO entry: NUL, NUL, band number, or older entries' MHz text.
int band_of_band_field(std::string_view field);

enum ModeClass { kModeCw = 0, kModeSsb = 1, kModeFm = 2, kModeOther = 3 };
int mode_class(std::string_view mode);

// The report given to an empty report box: "599", "N" or "59".
std::string_view default_report(std::string_view mode);

}  // namespace vl
