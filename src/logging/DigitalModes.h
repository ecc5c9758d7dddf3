// The link to a digital-mode program (WSJT-X, JTDX) as the screens see it. It lives for the
// whole run at the program's level; the screen on top attaches itself to say what arrives.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "logging/ContactChecks.h"
#include "platform/Ui.h"
#include "shell/Screen.h"

namespace vl {

class DigitalView {
public:
    virtual ~DigitalView() = default;
    virtual void say(std::string_view sentence) = 0;
    // A contact the program logged, with the checks made before it was written.
    virtual void contact_logged(const PreviousContact&, const CountryCheck&) {}
    // The program's dial frequency and mode, for a screen that follows no transceiver.
    virtual void dial_changed(uint64_t /*hertz*/, std::string_view /*mode*/) {}
};

class DigitalModes {
public:
    virtual ~DigitalModes() = default;
    // The view that says what arrives from now on; the one it replaces is returned, to be
    // attached again when the screen closes.
    virtual DigitalView* attach(DigitalView* view) = 0;
    // The keys every screen that offers them shares: what each did, in a sentence, and
    // false when it was refused (the caller beeps).
    virtual bool toggle_announcements(std::string& said) = 0;
    virtual bool halt(std::string& said) = 0;
    virtual void show_needed_callers(platform::WindowId owner) = 0;
    // Takes what has arrived; called by the main menu's timer, which runs under every screen.
    virtual void poll() = 0;
};

// The keys' lines of a screen's key help.
inline constexpr std::string_view kDigitalKeyHelp =
    "CONTROL plus A to turn the needed callers' announcements on or off,"
    "CONTROL plus H to stop WSJT-X transmitting,"
    "F9 or CONTROL plus K for the needed callers";

// The keys of a screen that offers them: Control+A (0), Control+H (1) and F9 or Control+K
// (2). Without the link each is refused with its reason.
void digital_key(DigitalModes* link, const ScreenContext& ctx, platform::WindowId window, int key,
                 int label = kAnnouncementLabel);

}  // namespace vl
