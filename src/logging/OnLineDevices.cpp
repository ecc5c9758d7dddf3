// The station's devices as on-line logging uses them.
#include "logging/OnLineDevices.h"

#include <cstdio>

#include "logging/LoggingContext.h"
#include "logstore/Bands.h"
#include "reference/CallBook.h"

namespace vl {

OnLineDevices::OnLineDevices(const LoggingContext& ctx) : m_ctx(ctx), m_rig(serial_rig(ctx)) {
    if (!ctx.settings.rotator_port.empty()) {
        m_rotator = serial_rotator(ctx);
    }
}

void OnLineDevices::close_rotator() {
    if (m_rotator) {
        m_rotator->close();
    }
}

RotatorEvents OnLineDevices::poll_rotator() {
    return m_rotator ? m_rotator->poll() : RotatorEvents{};
}

bool OnLineDevices::turn_rotator(std::string_view bearing) {
    if (!m_rotator || !m_rotator->is_open()) {
        return false;
    }
    m_rotator->turn(bearing);
    return true;
}

bool OnLineDevices::turn_rotator_to_path(int degrees) {
    char text[16];
    std::snprintf(text, sizeof text, "%03d", degrees);
    return turn_rotator(text);
}

bool OnLineDevices::is_rotator_bearing(std::string_view bearing) {
    // The largest bearing the rotator box is sent; 350 and above are refused.
    constexpr int kLargestBearing = 349;
    int value = 0;
    bool digits = !bearing.empty() && bearing.size() <= 3;
    for (const char c : bearing) {
        digits = digits && c >= '0' && c <= '9';
        value = value * 10 + (c - '0');
    }
    return digits && value <= kLargestBearing;
}

bool OnLineDevices::turn_rotator_to_typed(std::string_view bearing) {
    return is_rotator_bearing(bearing) && turn_rotator(bearing);
}

RigNews OnLineDevices::follow_rig() {
    RigNews news;
    if (m_rig_ticks++ % 10 != 0) {
        return news;
    }
    const RigReading reading = m_rig->poll();
    const int current = m_ctx.log.current_band();
    const bool shown =
        current >= 0 && current < kBandCount &&
        m_ctx.frequency_names[static_cast<std::size_t>(current)] == reading.frequency;
    if (!reading.frequency.empty() && !shown) {
        const int band = band_of_frequency(reading.frequency);
        if (band >= 0 && band < kBandCount) {
            news.band = band;
            news.band_changed = band != current;
            if (news.band_changed) {
                m_ctx.log.set_current_band(band);
            }
            m_ctx.frequency_names[static_cast<std::size_t>(band)] = reading.frequency;
        }
    }
    news.mode = reading.mode;
    return news;
}

CallBookAnswer OnLineDevices::look_up(std::string_view call) {
    return look_up_call(m_ctx.settings, m_ctx.platform.libraries, m_ctx.program_dir,
                        m_ctx.call_book, m_ctx.callbook_account, m_ctx.callbook_lookup, call);
}

std::optional<CallBookAnswer> OnLineDevices::call_book_answer() {
    return take_call_book_answer(m_ctx.callbook_lookup);
}

}  // namespace vl
