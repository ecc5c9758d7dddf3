// What the DX Data screens use besides the shared screen state: the country list, the DXCC
// chart and the state of its file.
#pragma once

#include <cstdint>

#include "dxdata/CountryList.h"
#include "dxdata/DxccChart.h"
#include "shell/ScreenContext.h"

namespace vl {

// Which change of the DXCC chart DXCC.CHT holds, and when it was written.
struct ChartFileState {
    uint64_t saved_version = 0;
    long long saved_at_ms = 0;
    bool saved_once = false;
    // DXCC.CHT was missing at start-up: it is written even when nothing is marked.
    bool missing = false;
};

struct DxContext : ScreenContext {
    CountryList& countries;
    DxccChart& chart;
    ChartFileState& chart_file;
};

// Writes DXCC.CHT when the chart has changed since it was last written: at once when the
// last write is a second old or more (or `now` is set), otherwise at the next call, so a
// run of quick changes is written about once a second. False when a write failed.
bool keep_chart(const DxContext& ctx, bool now = false);

}  // namespace vl
