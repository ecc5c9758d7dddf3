// The four DX reports, built from the chart and the country list in alphabetical order of
// country name: countries wanted, countries worked, QSLs needed and band status.
#pragma once

#include <string>
#include <vector>

#include "dxdata/CountryList.h"
#include "dxdata/DxccChart.h"
#include "logstore/LogStore.h"

namespace vl {

struct SortedCountry {
    std::string name;  // empty for a number that no record carries
    int dxcc = 0;      // 0 for such a number
};

// Every DXCC number from 1 to the highest, named by its first record, sorted by name in
// byte order.
std::vector<SortedCountry> sorted_countries(const CountryList& countries);

struct Report {
    std::string title;
    std::string label;
    std::vector<std::string> lines;
};

Report countries_wanted_report(const CountryList& countries, const DxccChart& chart);
Report countries_worked_report(const CountryList& countries, const DxccChart& chart);
// Each country worked but confirmed nowhere, with the call of its first entry in the log
// (12 characters) or "NONE FOUND  ".
Report qsls_needed_report(CountryList& countries, const DxccChart& chart, const LogStore& log);
// One line a country: the name in 35 characters, then the status of each band 0..12.
std::vector<std::string> band_status_lines(const CountryList& countries, const DxccChart& chart);

}  // namespace vl
