// The headless backend's clock: set by the key script and moved on by its ticks, so a
// journal never depends on when it was played.
#pragma once

#include <cstdint>

#include "platform/Clock.h"

namespace vl::headless {

class HeadlessClock final : public platform::Clock {
public:
    platform::DateTime utc_now() override;
    platform::DateTime local_now() override;
    void set(const platform::DateTime& utc, int local_offset_minutes);
    void advance(int64_t milliseconds) { m_utc_ms += milliseconds; }

private:
    int64_t m_utc_ms = 0;  // since 1 January 1970
    int m_local_offset_minutes = 0;
};

}  // namespace vl::headless
