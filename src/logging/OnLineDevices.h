// What on-line logging asks of the station's devices: the transceiver it follows, the
// rotator it turns and the call book it looks calls up in. The screen knows only this, so
// another kind of link goes beside the serial ones without the screen changing.
#pragma once

#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "logging/LoggingContext.h"
#include "logging/StationLinks.h"
#include "reference/CallBookRecords.h"

namespace vl {

// What a reading of the transceiver changed.
struct RigNews {
    int band = -1;              // the band to show, its frequency now the one read; -1: none
    bool band_changed = false;  // the log's current band moved to it
    std::string mode;           // empty when no mode was read
    std::string notice;         // a sentence about the link, said once; empty when none
};

class OnLineDevices {
public:
    // The links the settings name.
    explicit OnLineDevices(const LoggingContext& ctx);

    bool has_rotator() const { return m_rotator != nullptr; }
    // True without a rotator; false when its link could not be made.
    bool open_rotator() { return !m_rotator || m_rotator->open(); }
    void close_rotator();
    RotatorEvents poll_rotator();
    // False, and nothing sent, when the rotator is not open.
    bool turn_rotator(std::string_view bearing);
    // A path of a beam heading, sent as three digits.
    bool turn_rotator_to_path(int degrees);
    // A bearing the operator typed goes only when it is a whole number of up to three
    // digits, the rotator's largest at most; false, and nothing sent, otherwise.
    bool turn_rotator_to_typed(std::string_view bearing);
    // A whole number of up to three digits, the largest bearing at most: the bearings the
    // rotator takes (349 for the box, 359 through Hamlib).
    bool is_rotator_bearing(std::string_view bearing) const;
    int largest_bearing() const { return m_rotator ? m_rotator->largest_bearing() : 349; }

    // Every 100 ms; the transceiver is read on every tenth call. A frequency of a band other
    // than the one shown becomes that band's frequency name and the log's current band.
    // `shown_mode` is the mode box's text, the data mode in use for Hamlib's packet modes.
    RigNews follow_rig(std::string_view shown_mode);
    // "14.074 megahertz, USB.": what the radio last reported; nothing before it has been heard.
    std::optional<std::string> radio_said() const;
    bool has_rig() const { return m_rig->set_up(); }

    CallBookAnswer look_up(std::string_view call);
    // The on-line call book's answer, once, when it has come.
    std::optional<CallBookAnswer> call_book_answer();

private:
    LoggingContext m_ctx;
    std::unique_ptr<RigLink> m_rig;
    std::unique_ptr<RotatorLink> m_rotator;  // none without a rotator port
    int m_rig_ticks = 0;
    std::string m_heard_frequency;  // as the frequency list holds it
    std::string m_heard_mode;       // the radio's own name for it
};

}  // namespace vl
