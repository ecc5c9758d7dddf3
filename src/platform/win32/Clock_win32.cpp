// The system clock on Windows.
#include <windows.h>

#include "platform/Clock.h"

namespace vl::platform {

namespace {

DateTime from_system_time(const SYSTEMTIME& t) {
    return {t.wYear, t.wMonth, t.wDay, t.wHour, t.wMinute, t.wSecond, t.wMilliseconds};
}

class Win32Clock final : public Clock {
public:
    DateTime utc_now() override {
        SYSTEMTIME now;
        GetSystemTime(&now);
        return from_system_time(now);
    }
    DateTime local_now() override {
        SYSTEMTIME now;
        GetLocalTime(&now);
        return from_system_time(now);
    }
};

}  // namespace

Clock& system_clock() {
    static Win32Clock clock;
    return clock;
}

}  // namespace vl::platform
