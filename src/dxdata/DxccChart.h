// The DXCC chart: for each DXCC number (0..400) and band (0..12), in which mode classes
// the country was worked and confirmed. Kept in DXCC.CHT as 5,213 raw bytes, the byte of
// country c and band b at offset c + 401 x b.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

#include "dxdata/CountryList.h"
#include "logstore/LogStore.h"

namespace vl {

constexpr int kChartCountries = kMaxDxccNumber + 1;
constexpr std::size_t kChartFileSize = kChartCountries * 13;

class DxccChart {
public:
    uint8_t cell(int dxcc, int band) const { return m_cells[dxcc + kChartCountries * band]; }

    // The first 5,213 bytes of the file; a shorter file leaves the rest of the chart clear.
    void load(std::string_view file_bytes);
    std::string bytes() const;

    // Sets worked, and confirmed when bit 1 of the QSL flags is set. A band above 12 or a
    // number outside 0..400 (a failed lookup gives -1) marks nothing.
    void mark(int dxcc, int band, int mode_class, unsigned qsl_flags);

    // Clears countries 1..highest and marks every counted entry of the log again: not
    // DATA or Text entries, not contacts without a received report, not calls whose
    // country is 0 or unknown.
    void rebuild_from_log(const LogStore& log, CountryList& countries);
    // Sets every mark that Log Check would set and this chart lacks, clearing none. True
    // when a mark was missing.
    bool add_marks_from_log(const LogStore& log, CountryList& countries);

    bool worked(int dxcc) const;     // on any of bands 0..12
    bool confirmed(int dxcc) const;  // a confirmed bit on any band

    // Counts the changes since the chart was loaded, so its keeper knows when to write it.
    uint64_t version() const { return m_version; }

private:
    std::array<uint8_t, kChartFileSize> m_cells{};
    uint64_t m_version = 0;
};

// Counts of countries for the status view: rows 0..12 the bands and 13 all bands;
// columns 0..3 the mode classes and 4 any mode.
struct StatusCounts {
    std::array<std::array<int, 5>, 14> worked{};
    std::array<std::array<int, 5>, 14> confirmed{};
};

StatusCounts count_status(const DxccChart& chart, int first_dxcc, int last_dxcc);

// The texts of one row of the status view.
std::string status_band_text(int row);
std::string status_mode_text(const StatusCounts& counts, int row, int mode_class);
std::string status_total_text(const StatusCounts& counts, int row);

}  // namespace vl
