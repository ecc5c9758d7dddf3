// The Beam Heading screen.
#include "antenna/BeamHeadingScreen.h"

#include "antenna/BeamHeading.h"
#include "shell/KeyHelpBox.h"
#include "shell/Screen.h"

namespace vl {

namespace {

using platform::ControlKind;

constexpr int kCallBox = 101;
constexpr int kAnswerBox = 102;
constexpr int kCmdKeyHelp = 20;

class BeamHeadingScreen final : public platform::WindowEvents {
public:
    BeamHeadingScreen(const ScreenContext& ctx, CountryList& countries)
        : m_ctx(ctx), m_countries(countries) {}

    void run(platform::WindowId owner) {
        platform::Ui& ui = m_ctx.ui();
        platform::WindowSpec shape = window_shape("Beam Heading", 250, 50, owner, "Courier", 10);
        m_window = ui.create_window(shape, *this);
        ui.add_control(m_window, control(ControlKind::Label, 201, "Call sign:", 5, 5, 40, 12));
        ui.add_control(m_window, control(ControlKind::Edit, kCallBox, "", 50, 5, 80, 12,
                                         platform::EditStyle::UpperCase));
        ui.add_control(m_window, control(ControlKind::Label, 202, "Bearing:", 5, 25, 40, 12));
        ui.add_control(m_window, control(ControlKind::Edit, kAnswerBox, "", 50, 25, 195, 12,
                                         platform::EditStyle::ReadOnly));
        ui.set_key_table(m_window, {{platform::plain(platform::kKeyF1), kCmdKeyHelp}});
        ui.set_focus(m_window, kCallBox);
        ui.run_modal(m_window);
    }

    void on_command(int command) override {
        switch (command) {
            case platform::kCmdOk:
                answer();
                break;
            case platform::kCmdCancel:
                m_ctx.ui().close_window(m_window, 0);
                break;
            case kCmdKeyHelp:
                show_key_help(m_ctx, m_window, "Key help",
                              "Type a call sign and press ENTER,TAB to read the bearing "
                              "again,ESCAPE to leave");
                break;
            default:
                break;
        }
    }

private:
    void answer() {
        platform::Ui& ui = m_ctx.ui();
        std::string call = ui.text(m_window, kCallBox);
        if (call.empty()) {
            return;
        }
        if (m_countries.find(call) < 1) {
            ui.set_text(m_window, kAnswerBox, "Not a recognised Country");
            return;
        }
        const CountryRecord& country = *m_countries.current_record();
        auto beam = beam_and_range(m_ctx.settings.latitude, m_ctx.settings.longitude,
                                   country.latitude, country.longitude);
        // Without a home location there is no bearing: the operator is told what to do.
        ui.set_text(m_window, kAnswerBox,
                    beam ? country.name + ", " + beam->sentence : "Set your location first");
        ui.set_focus(m_window, kAnswerBox);
    }

    ScreenContext m_ctx;
    CountryList& m_countries;
    platform::WindowId m_window = platform::kNoWindow;
};

}  // namespace

void show_beam_heading(const ScreenContext& ctx, CountryList& countries, platform::WindowId owner) {
    BeamHeadingScreen screen(ctx, countries);
    screen.run(owner);
}

}  // namespace vl
