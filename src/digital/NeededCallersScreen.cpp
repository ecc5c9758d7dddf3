// The needed callers' screen: the stations heard calling CQ whose country is needed,
// newest first; Enter makes WSJT-X call the chosen one.
#include <cstdio>

#include "digital/DigitalLink.h"
#include "shell/KeyHelpBox.h"
#include "shell/Screen.h"

namespace vl {

namespace {

constexpr int kCallerList = 101;
constexpr int kListenerBox = 102;
constexpr int kCmdKeyHelp = 20, kCmdRefresh = 21, kCmdHalt = 22, kCmdAnnouncements = 23;

constexpr std::string_view kKeyHelp =
    "Arrow keys to choose a caller,ENTER to make WSJT-X call the station,F5 to read the list "
    "again,TAB for the listener's state,CONTROL plus A to turn the needed callers' announcements "
    "on or off,CONTROL plus H "
    "to stop WSJT-X transmitting,ESCAPE to leave";

// Minutes are what matters to a caller's age: a station heard in the last minute or two is
// still there.
std::string age_text(int64_t ms) {
    const int64_t minutes = std::max<int64_t>(0, ms / 60000);
    if (minutes == 0) {
        return "under a minute ago";
    }
    return std::to_string(minutes) + (minutes == 1 ? " minute ago" : " minutes ago");
}

class NeededCallersScreen final : public platform::WindowEvents, public DigitalView {
public:
    NeededCallersScreen(const ScreenContext& ctx, DigitalLink& link) : m_ctx(ctx), m_link(link) {}

    void run(platform::WindowId owner) {
        platform::Ui& ui = m_ctx.ui();
        m_window = ui.create_window(window_shape("Needed Callers", 250, 140, owner), *this);
        add_announcement_label(m_ctx, m_window, 5, 125, 240);
        ui.add_control(m_window,
                       control(platform::ControlKind::Label, 201, "Callers:", 5, 5, 40, 10));
        ui.add_control(m_window,
                       control(platform::ControlKind::List, kCallerList, "", 50, 5, 195, 95));
        ui.add_control(m_window,
                       control(platform::ControlKind::Label, 202, "Listener:", 5, 105, 40, 10));
        ui.add_control(m_window, control(platform::ControlKind::Edit, kListenerBox, "", 50, 105,
                                         195, 12, platform::EditStyle::ReadOnly));
        ui.set_key_table(m_window, {{platform::plain(platform::kKeyF1), kCmdKeyHelp},
                                    {platform::plain(platform::kKeyF5), kCmdRefresh},
                                    {platform::ctrl('H'), kCmdHalt},
                                    {platform::ctrl('A'), kCmdAnnouncements}});
        fill();
        ui.set_focus(m_window, kCallerList);
        DigitalView* before = m_link.attach(this);
        ui.run_modal(m_window);
        m_link.attach(before);
    }

    void say(std::string_view sentence) override { announce(m_ctx, m_window, sentence); }

    void on_command(int command) override {
        std::string said;
        switch (command) {
            case platform::kCmdOk:
                call_chosen();
                break;
            case platform::kCmdCancel:
                m_ctx.ui().close_window(m_window, 0);
                break;
            case kCmdKeyHelp:
                show_key_help(m_ctx, m_window, "Key help", kKeyHelp);
                break;
            case kCmdRefresh:
                fill();
                break;
            case kCmdHalt:
                if (m_link.halt(said)) {
                    say(said);
                } else {
                    refuse(m_ctx, m_window, said);
                }
                break;
            case kCmdAnnouncements:
                m_link.toggle_announcements(said);
                say(said);
                break;
            default:
                break;
        }
    }

private:
    void fill() {
        platform::Ui& ui = m_ctx.ui();
        m_shown.assign(m_link.needed().begin(), m_link.needed().end());
        std::vector<std::string> items;
        const int64_t now = m_link.now_ms();
        for (const NeededCaller& c : m_shown) {
            char snr[16];
            std::snprintf(snr, sizeof snr, "%+d dB", c.decode.snr);
            items.push_back(c.call + ", " + c.country + ", " + snr + ", " +
                            age_text(now - c.heard_ms));
        }
        if (items.empty()) {
            items.push_back("No needed caller heard yet.");
        }
        ui.set_items(m_window, kCallerList, items);
        ui.select_item(m_window, kCallerList, 0);
        ui.set_text(m_window, kListenerBox, m_link.listening_text());
    }

    void call_chosen() {
        const int chosen = m_ctx.ui().selected_item(m_window, kCallerList);
        if (chosen < 0 || chosen >= static_cast<int>(m_shown.size())) {
            refuse(m_ctx, m_window, "No caller to call.");
            return;
        }
        std::string said;
        if (m_link.reply(m_shown[chosen], said)) {
            say(said);
        } else {
            refuse(m_ctx, m_window, said);
        }
    }

    ScreenContext m_ctx;
    DigitalLink& m_link;
    platform::WindowId m_window = platform::kNoWindow;
    std::vector<NeededCaller> m_shown;
};

}  // namespace

void DigitalLink::show_needed_callers(platform::WindowId owner) {
    NeededCallersScreen screen(m_ctx, *this);
    screen.run(owner);
}

}  // namespace vl
