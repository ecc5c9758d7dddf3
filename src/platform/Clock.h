// The clock: UTC and local time, injectable so tests can set any moment.
#pragma once

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

}  // namespace vl::platform
