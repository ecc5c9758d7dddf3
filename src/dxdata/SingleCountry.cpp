// "BANDS WORKED": the status of one country, found from a call sign or prefix.
#include "dxdata/DxScreens.h"
#include "shell/KeyHelpBox.h"
#include "shell/Screen.h"

namespace vl {

namespace {

constexpr int kPrefixBox = 102;
constexpr int kCmdKeyHelp = 20;

class SingleCountry final : public platform::WindowEvents {
public:
    explicit SingleCountry(const DxContext& ctx) : m_ctx(ctx) {}

    void run(platform::WindowId owner) {
        platform::Ui& ui = m_ctx.ui();
        platform::WindowSpec shape = window_shape("BANDS WORKED", 200, 40, owner);
        m_window = ui.create_window(shape, *this);
        using platform::ControlKind;
        ui.add_control(m_window,
                       control(ControlKind::Label, 101, "Country Prefix:", 5, 10, 70, 12));
        ui.add_control(m_window, control(ControlKind::Edit, kPrefixBox, "", 80, 10, 100, 12,
                                         platform::EditStyle::UpperCase));
        ui.set_key_table(m_window, {{platform::plain(platform::kKeyF1), kCmdKeyHelp}});
        ui.set_focus(m_window, kPrefixBox);
        ui.run_modal(m_window);
    }

    void on_command(int command) override {
        switch (command) {
            case platform::kCmdOk:
                show_country();
                break;
            case platform::kCmdCancel:
                m_ctx.ui().close_window(m_window, 0);
                break;
            case kCmdKeyHelp:
                show_key_help(
                    m_ctx, m_window, "Key help",
                    "Type a call sign or prefix,ENTER to hear its status,ESCAPE to leave");
                break;
            default:
                break;
        }
    }

private:
    void show_country() {
        platform::Ui& ui = m_ctx.ui();
        int dxcc = m_ctx.countries.find(ui.text(m_window, kPrefixBox));
        if (dxcc < 1) {
            ui.message_box(m_window, "Country check", "Not a DXCC country",
                           platform::MessageButtons::Ok);
            return;
        }
        show_status_view(m_ctx, m_window, dxcc, dxcc,
                         "COUNTRY STATUS for " + m_ctx.countries.current_record()->name);
        ui.set_focus(m_window, kPrefixBox);
    }

    DxContext m_ctx;
    platform::WindowId m_window = platform::kNoWindow;
};

}  // namespace

void show_single_country(const DxContext& ctx, platform::WindowId owner) {
    SingleCountry screen(ctx);
    screen.run(owner);
}

}  // namespace vl
