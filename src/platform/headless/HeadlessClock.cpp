// The script's clock.
#include "platform/headless/HeadlessClock.h"

namespace vl::headless {

namespace {

// The civil date and time of milliseconds since 1 January 1970 (proleptic Gregorian
// calendar); platform::epoch_ms goes the other way.
platform::DateTime civil_from_ms(int64_t ms) {
    int64_t days = ms >= 0 ? ms / 86400000 : (ms - 86399999) / 86400000;
    int64_t in_day = ms - days * 86400000;
    const int64_t z = days + 719468;
    const int64_t era = (z >= 0 ? z : z - 146096) / 146097;
    const int64_t doe = z - era * 146097;
    const int64_t yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const int64_t doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const int64_t mp = (5 * doy + 2) / 153;
    platform::DateTime t;
    t.day = static_cast<int>(doy - (153 * mp + 2) / 5 + 1);
    t.month = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
    t.year = static_cast<int>(yoe + era * 400 + (t.month <= 2));
    t.hour = static_cast<int>(in_day / 3600000);
    t.minute = static_cast<int>(in_day / 60000 % 60);
    t.second = static_cast<int>(in_day / 1000 % 60);
    t.millisecond = static_cast<int>(in_day % 1000);
    return t;
}

}  // namespace

platform::DateTime HeadlessClock::utc_now() {
    return civil_from_ms(m_utc_ms);
}

platform::DateTime HeadlessClock::local_now() {
    return civil_from_ms(m_utc_ms + int64_t{m_local_offset_minutes} * 60000);
}

void HeadlessClock::set(const platform::DateTime& utc, int local_offset_minutes) {
    m_utc_ms = platform::epoch_ms(utc);
    m_local_offset_minutes = local_offset_minutes;
}

}  // namespace vl::headless
