// Calendar reckoning shared by the clocks that count time themselves.
#include "platform/Clock.h"

namespace vl::platform {

namespace {

// Days since 1 January 1970 of a civil date.
int64_t days_from_civil(int64_t y, int m, int d) {
    y -= m <= 2;
    const int64_t era = (y >= 0 ? y : y - 399) / 400;
    const int64_t yoe = y - era * 400;
    const int64_t doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
    const int64_t doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + doe - 719468;
}

}  // namespace

int64_t epoch_ms(const DateTime& utc) {
    return ((days_from_civil(utc.year, utc.month, utc.day) * 24 + utc.hour) * 60 + utc.minute) *
               60000 +
           utc.second * 1000 + utc.millisecond;
}

}  // namespace vl::platform
