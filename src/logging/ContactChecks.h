// The checks made for each call sign typed on the air: the previous contact with the
// station, its country and whether that country is new (at all, on this band, in this mode),
// the beam heading, and the short verdict spoken at once from those answers.
#pragma once

#include <array>
#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "dxdata/CountryList.h"
#include "dxdata/DxccChart.h"
#include "logstore/LogStore.h"

namespace vl {

struct PreviousContact {
    std::string text;     // "Fourteenth  March Two thousand 25, at 1430 on 14MHz A1A No QSL"
    std::string comment;  // trailing blanks removed
    int record = 0;       // 0 when there is none
};

// The newest entry whose base call is that of `call`, passing over the records of the
// stations now on the net (`net_records`), so a station is never its own previous contact
// whatever order the net is logged off in.
PreviousContact previous_contact(const LogStore& log, std::string_view call,
                                 std::span<const int> net_records, int date_format,
                                 const std::array<std::string, 15>& frequency_names);

enum class CountryNews { None, NewCountry, NewBand, NewMode };

struct CountryCheck {
    int dxcc = -1;
    std::string name;
    std::string text;  // as the "Country:" box shows it
    CountryNews news = CountryNews::None;
    std::optional<std::string> bearing;  // the bearing sentence; none without a home location
    int short_path = 0;
    int long_path = 0;
};

CountryCheck check_country(CountryList& countries, const DxccChart& chart, std::string_view call,
                           int band, std::string_view mode, std::string_view home_latitude,
                           std::string_view home_longitude);

// A station on the net is being worked now: its country is not called new.
void forget_news(CountryCheck& country);

// "Dupe, 14 March 2025, twenty metres A1A. Japan, new band. Beam 035.": the answers that
// matter most first, for the operator who cannot tab through four boxes per caller.
std::string contact_verdict(const LogStore& log, const PreviousContact& previous,
                            const CountryCheck& country);

}  // namespace vl
