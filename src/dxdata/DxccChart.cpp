// The DXCC chart and its status counts.
#include "dxdata/DxccChart.h"

#include <algorithm>
#include <cstring>

#include "logstore/Bands.h"
#include "logstore/Text.h"

namespace vl {

void DxccChart::load(std::string_view file_bytes) {
    m_cells.fill(0);
    std::memcpy(m_cells.data(), file_bytes.data(), std::min(file_bytes.size(), m_cells.size()));
}

std::string DxccChart::bytes() const {
    return std::string(reinterpret_cast<const char*>(m_cells.data()), m_cells.size());
}

void DxccChart::mark(int dxcc, int band, int mode_class, unsigned qsl_flags) {
    if (band < 0 || band > 12 || dxcc < 0 || dxcc > kMaxDxccNumber || mode_class < 0 ||
        mode_class > 3) {
        return;
    }
    uint8_t& cell = m_cells[dxcc + kChartCountries * band];
    const uint8_t before = cell;
    cell |= static_cast<uint8_t>(1u << (2 * mode_class));
    if (qsl_flags & 2u) {
        cell |= static_cast<uint8_t>(1u << (2 * mode_class + 1));
    }
    m_version += cell != before ? 1 : 0;
}

void DxccChart::rebuild_from_log(const LogStore& log, CountryList& countries) {
    ++m_version;
    for (int band = 0; band < 13; ++band) {
        for (int n = 1; n <= countries.highest(); ++n) {
            m_cells[n + kChartCountries * band] = 0;
        }
    }
    for (int i = 1; i <= log.count(); ++i) {
        const LogRecord& r = log.entry(i);
        if (!r.is_qso() || leading_number(r.rst_received_field()) < 1) {
            continue;
        }
        int dxcc = countries.find(r.call_field());
        if (dxcc <= 0) {
            continue;
        }
        mark(dxcc, band_of_band_field(r.band_field()), mode_class(r.mode_field()), r.qsl_flags());
    }
}

// Marks from deleted or edited entries stay, as only Log Check clears them.
bool DxccChart::add_marks_from_log(const LogStore& log, CountryList& countries) {
    DxccChart from_log;
    from_log.rebuild_from_log(log, countries);
    bool missing = false;
    for (std::size_t i = 0; i < m_cells.size(); ++i) {
        missing = missing || (from_log.m_cells[i] & ~m_cells[i]) != 0;
        m_cells[i] |= from_log.m_cells[i];
    }
    m_version += missing ? 1 : 0;
    return missing;
}

bool DxccChart::worked(int dxcc) const {
    for (int band = 0; band < 13; ++band) {
        if (cell(dxcc, band) != 0) {
            return true;
        }
    }
    return false;
}

bool DxccChart::confirmed(int dxcc) const {
    for (int band = 0; band < 13; ++band) {
        if (cell(dxcc, band) & 0xAA) {
            return true;
        }
    }
    return false;
}

StatusCounts count_status(const DxccChart& chart, int first_dxcc, int last_dxcc) {
    StatusCounts counts;
    for (int c = std::max(first_dxcc, 0); c <= std::min(last_dxcc, kMaxDxccNumber); ++c) {
        bool worked_any = false, confirmed_any = false;
        std::array<bool, 4> worked_mode{}, confirmed_mode{};
        for (int b = 0; b < 13; ++b) {
            uint8_t cell = chart.cell(c, b);
            for (int m = 0; m < 4; ++m) {
                if (cell & (1u << (2 * m))) {
                    ++counts.worked[b][m];
                    worked_mode[m] = true;
                }
                if (cell & (1u << (2 * m + 1))) {
                    ++counts.confirmed[b][m];
                    confirmed_mode[m] = true;
                }
            }
            if (cell & 0x55) {
                ++counts.worked[b][4];
                worked_any = true;
            }
            if (cell & 0xAA) {
                ++counts.confirmed[b][4];
                confirmed_any = true;
            }
        }
        counts.worked[13][4] += worked_any ? 1 : 0;
        counts.confirmed[13][4] += confirmed_any ? 1 : 0;
        for (int m = 0; m < 4; ++m) {
            counts.worked[13][m] += worked_mode[m] ? 1 : 0;
            counts.confirmed[13][m] += confirmed_mode[m] ? 1 : 0;
        }
    }
    return counts;
}

std::string status_band_text(int row) {
    return std::string(kSpokenBandNames[row]) + ".";
}

std::string status_mode_text(const StatusCounts& counts, int row, int mode_class) {
    int worked = counts.worked[row][mode_class];
    int confirmed = counts.confirmed[row][mode_class];
    if (worked == 0) {
        return "None Worked.";
    }
    if (confirmed == 0) {
        return plain_number(worked) + " Worked" + " but not confirmed.";
    }
    return plain_number(worked) + " Worked" + " and" + plain_number(confirmed) + " confirmed.";
}

std::string status_total_text(const StatusCounts& counts, int row) {
    return plain_number(counts.worked[row][4]) + " worked and" +
           plain_number(counts.confirmed[row][4]) + " confirmed.";
}

}  // namespace vl
