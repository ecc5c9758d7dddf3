// DXCC.CHT kept up to date while the chart changes.
#include "dxdata/DxContext.h"

#include "platform/Files.h"

namespace vl {

namespace {

// Milliseconds since 1 March 2000 of a clock reading; only differences are used.
long long clock_ms(const platform::DateTime& t) {
    const int year = t.month <= 2 ? t.year - 1 : t.year;
    const int month_from_march = (t.month + 9) % 12;
    const long long days = 365LL * (year - 2000) + (year - 2000) / 4 - (year - 2000) / 100 +
                           (year - 2000) / 400 + (153 * month_from_march + 2) / 5 + t.day - 1;
    return ((days * 24 + t.hour) * 60 + t.minute) * 60000LL + t.second * 1000LL + t.millisecond;
}

}  // namespace

bool keep_chart(const DxContext& ctx, bool now) {
    ChartFileState& state = ctx.chart_file;
    if (ctx.chart.version() == state.saved_version && !state.missing) {
        return true;
    }
    const long long at = clock_ms(ctx.platform.clock.utc_now());
    if (!now && state.saved_once && at - state.saved_at_ms >= 0 && at - state.saved_at_ms < 1000) {
        return true;  // written within the last second; the change waits for the next call
    }
    if (!platform::replace_file(ctx.platform.files, ctx.program_dir + "DXCC.CHT",
                                ctx.chart.bytes())) {
        return false;
    }
    state.saved_version = ctx.chart.version();
    state.saved_at_ms = at;
    state.saved_once = true;
    state.missing = false;
    return true;
}

}  // namespace vl
