// The contact checks of on-line logging, apart from its screen.
#include "logging/ContactChecks.h"

#include <algorithm>
#include <cstdio>

#include "antenna/BeamHeading.h"
#include "logging/EntryRules.h"
#include "logstore/Bands.h"
#include "logstore/CallSigns.h"
#include "logstore/Dates.h"
#include "logstore/Text.h"

namespace vl {

namespace {

std::string_view qsl_phrase(unsigned flags) {
    switch (flags & 3) {
        case 1:
            return " QSL sent";
        case 2:
            return " QSL got";
        case 3:
            return " QSL got and sent";
        default:
            return " No QSL";
    }
}

}  // namespace

PreviousContact previous_contact(const LogStore& log, std::string_view call,
                                 std::span<const int> net_records, int date_format,
                                 const std::array<std::string, 15>& frequency_names) {
    std::string wanted(trim_right(base_call(std::string(call) + " ")));
    PreviousContact found;
    // Index slots are blank-padded to 12: the padded base call is compared whole, which is
    // the comparison without trailing blanks, at a fraction of the cost over a long log.
    std::string slot = wanted;
    if (slot.size() < kCallWidth) {
        slot.resize(kCallWidth, ' ');
    }
    for (int i = log.count(); i >= 1; --i) {
        if (log.call_slot(i) != slot ||
            std::find(net_records.begin(), net_records.end(), i) != net_records.end()) {
            continue;
        }
        const LogRecord& r = log.entry(i);
        found.record = i;
        found.text = spoken_date(r.date(), date_format) + "at " + time_text(r.time()) + " on " +
                     frequency_name(frequency_names, band_of_band_field(r.band_field())) +
                     std::string(r.mode_field()) + std::string(qsl_phrase(r.qsl_flags()));
        found.comment = trim_right(r.comment_field());
        return found;
    }
    found.text = "No previous contact";
    return found;
}

CountryCheck check_country(CountryList& countries, const DxccChart& chart, std::string_view call,
                           int band, std::string_view mode, std::string_view home_latitude,
                           std::string_view home_longitude) {
    CountryCheck check;
    check.dxcc = countries.find(call);
    const CountryRecord* record = countries.current_record();
    check.name = record != nullptr ? record->name : "";
    if (check.dxcc < 1 || record == nullptr) {
        check.text = check.name + " Not a DXCC Entity";
        return check;
    }
    check.text = check.name;
    if (band >= 0 && band < kBandCount) {
        int any_band = 0;
        for (int b = 0; b < kBandCount; ++b) {
            any_band |= chart.cell(check.dxcc, b);
        }
        uint8_t this_band = chart.cell(check.dxcc, band);
        if (any_band == 0) {
            check.news = CountryNews::NewCountry;
            check.text += " New Country";
        } else if (this_band == 0) {
            check.news = CountryNews::NewBand;
            check.text += " New Country this Band";
        } else if ((this_band & (1 << (2 * mode_class(mode)))) == 0) {
            check.news = CountryNews::NewMode;
            check.text += " New Country this Mode";
        }
    }
    if (auto beam =
            beam_and_range(home_latitude, home_longitude, record->latitude, record->longitude)) {
        if (!beam->range_text.empty()) {
            check.bearing = beam->sentence;
            check.short_path = beam->short_path;
            check.long_path = beam->long_path;
        }
    }
    return check;
}

void forget_news(CountryCheck& country) {
    if (country.dxcc >= 1 && country.news != CountryNews::None) {
        country.news = CountryNews::None;
        country.text = country.name;
    }
}

std::string contact_verdict(const LogStore& log, const PreviousContact& previous,
                            const CountryCheck& country) {
    std::string verdict;
    if (previous.record > 0) {
        const LogRecord& r = log.entry(previous.record);
        DateParts d = date_parts(r.date());
        int band = band_of_band_field(r.band_field());
        verdict = "Dupe, " + std::to_string(d.day) + std::string(kMonthNames[d.month]) +
                  std::to_string(1900 + d.year) + ", ";
        if (band >= 0 && band < kBandCount) {
            verdict += kSpokenBandNames[band];
        }
        std::string_view mode = trim_right(r.mode_field());
        verdict += std::string(mode.empty() ? "" : " ") + std::string(mode) + ". ";
    }
    if (country.dxcc < 1) {
        verdict +=
            country.name.empty() ? "Not a DXCC entity." : country.name + ", not a DXCC entity.";
        return verdict;
    }
    constexpr std::string_view kNews[] = {".", ", new country.", ", new band.", ", new mode."};
    verdict += country.name + std::string(kNews[static_cast<int>(country.news)]);
    if (country.bearing) {
        char beam[16];
        std::snprintf(beam, sizeof beam, " Beam %03d.", country.short_path % 360);
        verdict += beam;
    }
    return verdict;
}

}  // namespace vl
