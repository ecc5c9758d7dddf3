// The station's devices as on-line logging uses them.
#include "logging/OnLineDevices.h"

#include <cstdio>

#include "hamlib/HamlibReplies.h"
#include "logging/LoggingContext.h"
#include "logstore/Bands.h"
#include "reference/CallBook.h"

namespace vl {

// HAMLIB.TXT, when it names a daemon, takes the place of the rig definition or the rotator
// port for that device.
OnLineDevices::OnLineDevices(const LoggingContext& ctx) : m_ctx(ctx) {
    m_rig = ctx.hamlib.rig ? hamlib_rig(ctx, *ctx.hamlib.rig) : serial_rig(ctx);
    if (ctx.hamlib.rotator) {
        m_rotator = hamlib_rotator(ctx, *ctx.hamlib.rotator);
    } else if (!ctx.settings.rotator_port.empty()) {
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

bool OnLineDevices::is_rotator_bearing(std::string_view bearing) const {
    int value = 0;
    bool digits = !bearing.empty() && bearing.size() <= 3;
    for (const char c : bearing) {
        digits = digits && c >= '0' && c <= '9';
        value = value * 10 + (c - '0');
    }
    return digits && value <= largest_bearing();
}

bool OnLineDevices::turn_rotator_to_typed(std::string_view bearing) {
    return is_rotator_bearing(bearing) && turn_rotator(bearing);
}

RigNews OnLineDevices::follow_rig(std::string_view shown_mode) {
    RigNews news;
    if (m_rig_ticks++ % 10 != 0) {
        return news;
    }
    const RigReading reading = m_rig->poll();
    news.notice = m_rig->take_notice();
    if (!news.notice.empty()) {
        // What was heard before the link failed is no longer the radio's state.
        m_heard_frequency.clear();
        m_heard_mode.clear();
    }
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
    if (!reading.radio_mode.empty()) {
        const int band = m_ctx.log.current_band();
        const std::string_view band_mode =
            band >= 0 && band < kBandCount
                ? std::string_view(m_ctx.station.bands[static_cast<std::size_t>(band)].mode)
                : std::string_view();
        news.mode = hamlib::log_mode_of(reading.radio_mode, band_mode, shown_mode);
    }
    if (!reading.frequency.empty()) {
        m_heard_frequency = reading.frequency;
    }
    if (!reading.radio_mode.empty() || !reading.mode.empty()) {
        m_heard_mode = reading.radio_mode.empty() ? reading.mode : reading.radio_mode;
    }
    return news;
}

std::optional<std::string> OnLineDevices::radio_said() const {
    if (m_heard_frequency.empty()) {
        return std::nullopt;
    }
    // "14.0740" is said "14.074": the zeros after the last figure that counts are dropped.
    std::string frequency = m_heard_frequency;
    if (frequency.find('.') != std::string::npos) {
        while (frequency.back() == '0') {
            frequency.pop_back();
        }
        if (frequency.back() == '.') {
            frequency.pop_back();
        }
    }
    std::string sentence = frequency + " megahertz";
    if (!m_heard_mode.empty()) {
        sentence += ", " + m_heard_mode;
    }
    return sentence + ".";
}

CallBookAnswer OnLineDevices::look_up(std::string_view call) {
    return look_up_call(m_ctx.settings, m_ctx.platform.libraries, m_ctx.program_dir,
                        m_ctx.call_book, m_ctx.callbook_account, m_ctx.callbook_lookup, call);
}

std::optional<CallBookAnswer> OnLineDevices::call_book_answer() {
    return take_call_book_answer(m_ctx.callbook_lookup);
}

}  // namespace vl
