// The clock: UTC and local time, injectable so tests can set any moment.
#pragma once

#include <cstdint>

namespace vl::platform {

struct DateTime {
    int year = 2000;
    int month = 1;
    int day = 1;
    int hour = 0;
    int minute = 0;
    int second = 0;
    int millisecond = 0;
};

class Clock {
public:
    virtual ~Clock() = default;
    virtual DateTime utc_now() = 0;
    virtual DateTime local_now() = 0;
};

Clock& system_clock();

// Milliseconds since 1 January 1970 of a UTC date and time (proleptic Gregorian calendar).
int64_t epoch_ms(const DateTime& utc);

}  // namespace vl::platform
