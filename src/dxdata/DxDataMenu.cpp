// The "DX Data Facilities" menu: Log Check, the status views and the four reports.
#include <array>

#include "dxdata/DxReports.h"
#include "dxdata/DxScreens.h"
#include "shell/KeyHelpBox.h"
#include "shell/Screen.h"

namespace vl {

namespace {

constexpr int kList = 101;
constexpr int kCmdKeyHelp = 20;
constexpr uint32_t kLightGrey = 0xC0C0C0;

constexpr std::array<std::string_view, 7> kEntries = {
    "Log Check",        "DXCC Status", "Single Country",        "Countries wanted",
    "Countries worked", "QSLs needed", "Band status by country"};

constexpr std::string_view kKeyHelp =
    "Arrow keys to choose a facility,ENTER to open it,ESCAPE to return to the main menu";

class DxDataMenu final : public platform::WindowEvents {
public:
    explicit DxDataMenu(const DxContext& ctx) : m_ctx(ctx) {}

    void run(platform::WindowId owner) {
        platform::Ui& ui = m_ctx.ui();
        platform::WindowSpec shape =
            window_shape(std::string(kDxMenuCaption), 170, 110, owner, "Times New Roman Bold", 14);
        shape.background = kLightGrey;
        m_window = ui.create_window(shape, *this);
        ui.add_control(m_window, control(platform::ControlKind::List, kList, "", 5, 5, 160, 100));
        ui.set_items(m_window, kList, {kEntries.begin(), kEntries.end()});
        ui.select_item(m_window, kList, 0);
        ui.set_focus(m_window, kList);
        ui.set_key_table(m_window, {{platform::plain(platform::kKeyF1), kCmdKeyHelp}});
        ui.run_modal(m_window);
    }

    void on_command(int command) override {
        switch (command) {
            case platform::kCmdOk:
                open(m_ctx.ui().selected_item(m_window, kList));
                break;
            case platform::kCmdCancel:
                m_ctx.ui().close_window(m_window, 0);
                break;
            case kCmdKeyHelp:
                show_key_help(m_ctx, m_window, "Key help", kKeyHelp);
                break;
            default:
                break;
        }
    }

    void on_double_click(int) override { m_ctx.ui().post_command(m_window, platform::kCmdOk); }

private:
    void open(int entry) {
        const DxContext& ctx = m_ctx;
        const std::string all_countries = "DXCC Status for all countries";
        switch (entry) {
            case 0:
                ctx.chart.rebuild_from_log(ctx.log, ctx.countries);
                keep_chart(ctx);
                show_status_view(ctx, m_window, 1, ctx.countries.highest(), all_countries);
                break;
            case 1:
                show_status_view(ctx, m_window, 1, ctx.countries.highest(), all_countries);
                break;
            case 2:
                show_single_country(ctx, m_window);
                break;
            case 3:
                show_report(ctx, m_window, countries_wanted_report(ctx.countries, ctx.chart));
                break;
            case 4:
                show_report(ctx, m_window, countries_worked_report(ctx.countries, ctx.chart));
                break;
            case 5:
                show_report(ctx, m_window, qsls_needed_report(ctx.countries, ctx.chart, ctx.log));
                break;
            case 6:
                show_band_status(ctx, m_window);
                break;
            default:
                refuse(ctx);
                break;
        }
    }

    DxContext m_ctx;
    platform::WindowId m_window = platform::kNoWindow;
};

}  // namespace

void show_dx_data_facilities(const DxContext& ctx, platform::WindowId owner) {
    DxDataMenu menu(ctx);
    menu.run(owner);
}

}  // namespace vl
