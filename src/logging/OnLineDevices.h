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
    // digits, 349 at most; false, and nothing sent, otherwise.
    bool turn_rotator_to_typed(std::string_view bearing);
    // A whole number of up to three digits, 349 at most: the bearings the rotator box takes.
    static bool is_rotator_bearing(std::string_view bearing);

    // Every 100 ms; the transceiver is read on every tenth call. A frequency of a band other
    // than the one shown becomes that band's frequency name and the log's current band.
    RigNews follow_rig();

    CallBookAnswer look_up(std::string_view call);
    // The on-line call book's answer, once, when it has come.
    std::optional<CallBookAnswer> call_book_answer();

private:
    LoggingContext m_ctx;
    std::unique_ptr<RigLink> m_rig;
    std::unique_ptr<RotatorLink> m_rotator;  // none without a rotator port
    int m_rig_ticks = 0;
};

}  // namespace vl
