// The DX reports. Every country from 1 to the highest DXCC number is listed, the highest
// included.
#include "dxdata/DxReports.h"

#include <algorithm>
#include <unordered_map>

#include "logstore/Text.h"

namespace vl {

std::vector<SortedCountry> sorted_countries(const CountryList& countries) {
    std::vector<SortedCountry> sorted;
    for (int n = 1; n <= countries.highest(); ++n) {
        // A number no record carries gives an empty name and number 0.
        bool carried = countries.carries(n);
        sorted.push_back({std::string(countries.name_of(n)), carried ? n : 0});
    }
    std::stable_sort(
        sorted.begin(), sorted.end(),
        [](const SortedCountry& a, const SortedCountry& b) { return a.name < b.name; });
    return sorted;
}

namespace {

// Row 0 of the chart holds contacts of no country; an unnamed gap in the numbering is never
// worked, whatever that row holds.
uint8_t cell_of(const DxccChart& chart, const SortedCountry& entry, int band) {
    return entry.dxcc == 0 ? 0 : chart.cell(entry.dxcc, band);
}

bool worked(const DxccChart& chart, const SortedCountry& entry) {
    return entry.dxcc != 0 && chart.worked(entry.dxcc);
}

Report countries_report(const CountryList& countries, const DxccChart& chart, bool want_worked) {
    Report report;
    for (const SortedCountry& entry : sorted_countries(countries)) {
        if (worked(chart, entry) == want_worked) {
            report.lines.push_back(entry.name);
        }
    }
    report.title = plain_number(static_cast<long>(report.lines.size())) + " Countries" +
                   (want_worked ? " Worked" : " Needed");
    report.label = "Country";
    return report;
}

}  // namespace

Report countries_wanted_report(const CountryList& countries, const DxccChart& chart) {
    return countries_report(countries, chart, false);
}

Report countries_worked_report(const CountryList& countries, const DxccChart& chart) {
    return countries_report(countries, chart, true);
}

Report qsls_needed_report(CountryList& countries, const DxccChart& chart, const LogStore& log) {
    std::vector<SortedCountry> sorted = sorted_countries(countries);
    // One pass over the log finds the first entry of every country that needs a QSL.
    std::unordered_map<int, std::string> first_call;
    std::size_t wanted = 0;
    for (const SortedCountry& entry : sorted) {
        if (worked(chart, entry) && !chart.confirmed(entry.dxcc) &&
            first_call.emplace(entry.dxcc, "").second) {
            ++wanted;
        }
    }
    std::size_t found = 0;
    for (int i = 1; i <= log.count() && found < wanted; ++i) {
        std::string_view call = log.entry(i).call_field();
        auto slot = first_call.find(countries.find(call));
        if (slot != first_call.end() && slot->second.empty()) {
            slot->second = call;
            ++found;
        }
    }
    Report report;
    for (const SortedCountry& entry : sorted) {
        auto slot = first_call.find(entry.dxcc);
        if (slot == first_call.end()) {
            continue;
        }
        std::string call = slot->second.empty() ? "NONE FOUND  " : slot->second;
        report.lines.push_back(call + " " + entry.name);
    }
    report.title = plain_number(static_cast<long>(report.lines.size())) + " QSLs  Needed";
    report.label = "Call Sign";
    return report;
}

std::vector<std::string> band_status_lines(const CountryList& countries, const DxccChart& chart) {
    std::vector<std::string> lines;
    for (const SortedCountry& entry : sorted_countries(countries)) {
        std::string line = fit(entry.name, 35) + ",";
        for (int band = 0; band < 13; ++band) {
            uint8_t cell = cell_of(chart, entry, band);
            line += cell == 0 ? "Wanted on this band," : (cell & 0xAA) ? "Confirmed," : "Worked,";
        }
        lines.push_back(std::move(line));
    }
    return lines;
}

}  // namespace vl
