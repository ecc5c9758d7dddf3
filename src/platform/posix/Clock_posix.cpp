// The system clock on POSIX systems.
#include <sys/time.h>
#include <time.h>

#include "platform/Clock.h"

namespace vl::platform {

namespace {

DateTime from_tm(const struct tm& t, long microseconds) {
    return {t.tm_year + 1900,
            t.tm_mon + 1,
            t.tm_mday,
            t.tm_hour,
            t.tm_min,
            t.tm_sec,
            static_cast<int>(microseconds / 1000)};
}

class PosixClock final : public Clock {
public:
    DateTime utc_now() override {
        struct timeval now {};
        gettimeofday(&now, nullptr);
        struct tm t {};
        gmtime_r(&now.tv_sec, &t);
        return from_tm(t, now.tv_usec);
    }
    DateTime local_now() override {
        struct timeval now {};
        gettimeofday(&now, nullptr);
        struct tm t {};
        localtime_r(&now.tv_sec, &t);
        return from_tm(t, now.tv_usec);
    }
};

}  // namespace

Clock& system_clock() {
    static PosixClock clock;
    return clock;
}

}  // namespace vl::platform
