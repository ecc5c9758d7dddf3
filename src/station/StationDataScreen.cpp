// The station data screen. Up and Down step through the bands, F12 copies the boxes to the
// next band, Escape stores everything and writes RIG.LST (and the rig definition when its
// port or speed was edited).
#include "station/StationDataScreen.h"

#include "logstore/Bands.h"
#include "logstore/Text.h"
#include "shell/KeyHelpBox.h"
#include "shell/Screen.h"

namespace vl {

namespace {

using platform::ControlKind;

constexpr int kFirstLabel = 100;
constexpr int kTransceiver = 101, kAntenna = 102, kPower = 103, kMode = 104, kOperator = 105;
constexpr int kPort = 106, kRate = 107;
constexpr int kCmdUp = 20, kCmdDown = 21, kCmdCopy = 22, kCmdKeyHelp = 23;

class StationDataScreen final : public platform::WindowEvents {
public:
    explicit StationDataScreen(const StationContext& ctx) : m_ctx(ctx) {}

    void run(platform::WindowId owner) {
        platform::Ui& ui = m_ctx.ui();
        platform::WindowSpec shape = window_shape("STATION DATA ", 220, 120, owner);
        m_window = ui.create_window(shape, *this);
        add_announcement_label(m_ctx, m_window, 5, 108, 210);
        struct Row {
            int label;
            int box;
            std::string text;
        };
        const Row rows[] = {
            {kFirstLabel, kTransceiver, band_name(0) + ", Tranceiver:"},
            {110, kAntenna, " Antenna:"},
            {111, kPower, " Power:"},
            {112, kMode, " Mode:"},
            {113, kOperator, " Operator:"},
            {114, kPort, "CAT Port:"},
            {115, kRate, "Rate:"},
        };
        int y = 5;
        for (const Row& row : rows) {
            ui.add_control(m_window,
                           control(ControlKind::Label, row.label, row.text, 5, y, 100, 12));
            ui.add_control(m_window, control(ControlKind::Edit, row.box, "", 110, y, 100, 12));
            y += 15;
        }
        if (m_ctx.rig) {
            ui.set_text(m_window, kPort, m_ctx.rig->port);
            ui.set_text(m_window, kRate, plain_number(m_ctx.rig->speed));
        }
        using platform::ctrl;
        using platform::plain;
        ui.set_key_table(m_window, {{plain(platform::kKeyUp), kCmdUp},
                                    {plain(platform::kKeyDown), kCmdDown},
                                    {plain(platform::kKeyF12), kCmdCopy},
                                    {ctrl('C'), kCmdCopy},
                                    {plain(platform::kKeyF1), kCmdKeyHelp}});
        show_band();
        ui.set_focus(m_window, kTransceiver);
        ui.run_modal(m_window);
    }

    void on_command(int command) override {
        platform::Ui& ui = m_ctx.ui();
        switch (command) {
            case kCmdUp:
                if (m_band < 12) {
                    change_band(m_band + 1);
                }
                break;
            case kCmdDown:
                if (m_band > 0) {
                    change_band(m_band - 1);
                }
                break;
            case kCmdCopy:
                // The boxes go to this band and to the next, which is then shown.
                if (m_band < 12) {
                    store_band();
                    ++m_band;
                    store_band();
                    ui.set_text(m_window, kFirstLabel, band_name(m_band) + ", Tranceiver");
                }
                break;
            case kCmdKeyHelp:
                show_key_help(m_ctx, m_window, "Key help",
                              "F12 or Control plus C to copy to next band,TAB to select edit box,"
                              "Arrow keys to select band");
                break;
            case platform::kCmdOk:
                ui.focus_next(m_window, false);
                break;
            case platform::kCmdCancel:
                leave();
                break;
            default:
                break;
        }
    }

    void on_text_changed(int control_id) override {
        refuse_commas(m_ctx, m_window, control_id);
        if (control_id == kPort || control_id == kRate) {
            m_port_edited = true;
        }
    }

private:
    static std::string band_name(int band) { return std::string(kSpokenBandNames[band]); }

    void change_band(int band) {
        store_band();
        m_band = band;
        m_ctx.ui().set_text(m_window, kFirstLabel, band_name(m_band) + " Tranceiver");
        show_band();
        m_ctx.ui().set_focus(m_window, kTransceiver);
    }

    void show_band() {
        const BandStation& b = m_ctx.station.bands[m_band];
        platform::Ui& ui = m_ctx.ui();
        ui.set_text(m_window, kAntenna, b.antenna);
        ui.set_text(m_window, kPower, b.power);
        ui.set_text(m_window, kMode, b.mode);
        ui.set_text(m_window, kOperator, b.operator_name);
        ui.set_text(m_window, kTransceiver, b.transceiver);
    }

    void store_band() {
        BandStation& b = m_ctx.station.bands[m_band];
        platform::Ui& ui = m_ctx.ui();
        b.transceiver = ui.text(m_window, kTransceiver);
        b.antenna = ui.text(m_window, kAntenna);
        b.power = ui.text(m_window, kPower);
        b.mode = ui.text(m_window, kMode);
        b.operator_name = ui.text(m_window, kOperator);
    }

    void leave() {
        store_band();
        save_station_data(m_ctx, m_window);
        if (m_port_edited && m_ctx.rig) {
            // Takes effect at the next start; the open port is not changed.
            m_ctx.rig->set_port_and_speed(m_ctx.ui().text(m_window, kPort),
                                          m_ctx.ui().text(m_window, kRate));
            if (!save_rig_definition(m_ctx.platform.files, *m_ctx.rig)) {
                m_ctx.ui().message_box(m_window, "File Error",
                                       m_ctx.rig->name + " could not be written",
                                       platform::MessageButtons::Ok);
            }
            m_port_edited = false;
        }
        m_ctx.ui().close_window(m_window, 0);
    }

    StationContext m_ctx;
    platform::WindowId m_window = platform::kNoWindow;
    int m_band = 0;
    bool m_port_edited = false;
};

}  // namespace

bool save_station_data(const StationContext& ctx, platform::WindowId owner) {
    if (ctx.unreadable.station) {
        tell_unreadable(ctx, owner, kStationFile);
        return false;
    }
    if (platform::replace_file(ctx.platform.files, ctx.program_dir + std::string(kStationFile),
                               format_station_data(ctx.station))) {
        return true;
    }
    ctx.ui().message_box(owner, "File Error", "RIG.LST could not be written",
                         platform::MessageButtons::Ok);
    return false;
}

void show_station_data(const StationContext& ctx, platform::WindowId owner) {
    StationDataScreen screen(ctx);
    screen.run(owner);
}

}  // namespace vl
