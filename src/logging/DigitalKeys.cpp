// The digital-mode keys, shared by the main menu and on-line logging.
#include "logging/DigitalModes.h"

namespace vl {

void digital_key(DigitalModes* link, const ScreenContext& ctx, platform::WindowId window, int key,
                 int label) {
    if (link == nullptr) {
        refuse(ctx, window, "WSJT-X is not listened to in this version.", label);
        return;
    }
    std::string said;
    switch (key) {
        case 0:
            link->toggle_announcements(said);
            announce(ctx, window, said, label);
            break;
        case 1:
            if (link->halt(said)) {
                announce(ctx, window, said, label);
            } else {
                refuse(ctx, window, said, label);
            }
            break;
        default:
            link->show_needed_callers(window);
            break;
    }
}

}  // namespace vl
