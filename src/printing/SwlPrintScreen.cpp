// The "Print SWL QSLs" screen: one label for a listener's report per F12, at the next free
// place on the sheet; the job stays open while the screen is open.
#include <optional>

#include "logstore/Bands.h"
#include "logstore/Text.h"
#include "printing/LabelPrinter.h"
#include "printing/PrinterJobs.h"
#include "printing/PrintingScreens.h"
#include "shell/KeyHelpBox.h"
#include "shell/Screen.h"

namespace vl {

namespace {

using platform::ControlKind;
using platform::EditStyle;

constexpr int kSwlBox = 101;
constexpr int kStationBox = 102;
constexpr int kDateBox = 103;
constexpr int kTimeBox = 104;
constexpr int kBandBox = 105;
constexpr int kModeBox = 106;
constexpr int kCmdKeyHelp = 20;
constexpr int kCmdPrint = 31;

// Every "station" of the text, as "SWL".
std::string station_to_swl(std::string text) {
    for (std::size_t at = text.find("station"); at != std::string::npos;
         at = text.find("station", at + 3)) {
        text.replace(at, 7, "SWL");
    }
    return text;
}

}  // namespace

// The band whose short name has the number typed ("20" is " 20m", "70" is "70cm"); 13,
// which has no station data or short name, when none has.
int swl_band(std::string_view metres) {
    double typed = leading_number(metres);
    for (int band = 0; band < kBandCount; ++band) {
        if (leading_number(kShortBandNames[band]) == typed) {
            return band;
        }
    }
    return kBand5MHz;
}

namespace {

class SwlPrintScreen final : public platform::WindowEvents {
public:
    explicit SwlPrintScreen(const PrintingContext& ctx) : m_ctx(ctx) {}

    void run(platform::WindowId owner) {
        platform::Ui& ui = m_ctx.ui();
        m_window = ui.create_window(
            window_shape("Print SWL QSLs", 220, 100, owner, "MS Sans Serif", 10), *this);
        const struct {
            const char* caption;
            int id;
            EditStyle style;
        } kBoxes[] = {
            {"SWL number or name:", kSwlBox, EditStyle::Plain},
            {"Station Worked:", kStationBox, EditStyle::UpperCase},
            {"QSO Date:", kDateBox, EditStyle::Plain},
            {"QSO Time:", kTimeBox, EditStyle::Plain},
            {"Band (metres):", kBandBox, EditStyle::Plain},
            {"Mode:", kModeBox, EditStyle::UpperCase},
        };
        int y = 5;
        for (const auto& box : kBoxes) {
            ui.add_control(m_window,
                           control(ControlKind::Label, box.id + 100, box.caption, 5, y, 90, 12));
            ui.add_control(m_window,
                           control(ControlKind::Edit, box.id, "", 100, y, 110, 12, box.style));
            y += 15;
        }
        ui.set_key_table(m_window, {{platform::plain(platform::kKeyF12), kCmdPrint},
                                    {platform::ctrl('P'), kCmdPrint},
                                    {platform::plain(platform::kKeyF1), kCmdKeyHelp}});
        ui.set_focus(m_window, kSwlBox);
        ui.run_modal(m_window);
    }

    void on_command(int command) override {
        switch (command) {
            case platform::kCmdOk:
                m_ctx.ui().focus_next(m_window, false);
                break;
            case platform::kCmdCancel:
                finish();
                break;
            case kCmdKeyHelp:
                show_key_help(m_ctx, m_window, "Key help",
                              "F12 or Control plus P to print, ESCAPE to finish printing");
                break;
            case kCmdPrint:
                print_label();
                break;
            default:
                break;
        }
    }

private:
    void print_label() {
        platform::Ui& ui = m_ctx.ui();
        if (!m_job) {
            m_job = start_print_job(m_ctx, m_window, "Printer Report", "Print SWL QSLs",
                                    platform::Orientation::Portrait);
            if (!m_job) {
                return;
            }
            m_sheet.emplace(*m_job, m_ctx.labels.settings, 0, 0);
        }
        std::string listener = ui.text(m_window, kSwlBox);
        if (listener.empty()) {
            return;
        }
        LabelValues& values = m_ctx.labels.values;
        int band = swl_band(ui.text(m_window, kBandBox));
        bool has_band = band < kBandCount;
        values['A'] = listener;
        values['B'] = fit(ui.text(m_window, kDateBox), 9);
        values['C'] = fit(ui.text(m_window, kTimeBox), 5);
        values['D'] = "---";
        values['E'] = fit(ui.text(m_window, kModeBox), 3);
        values['F'] = has_band ? std::string(kShortBandNames[band]) : "";
        const BandStation none;
        const BandStation& station = has_band ? m_ctx.station.bands[band] : none;
        values['I'] = has_band ? fit(station.transceiver, 12) : "";
        values['J'] = has_band ? fit(station.antenna, 12) : "";
        values['K'] = has_band ? fit(station.power, 5) : "";
        values['L'] = has_band ? fit(station.operator_name, 12) : "";

        LabelTemplate layout = m_ctx.labels.layout;
        layout.part1 = station_to_swl(layout.part1) + "#LConfirming my QSO with " +
                       ui.text(m_window, kStationBox) + "#L";
        // A full sheet is ejected without a prompt: the operator is at the keyboard.
        m_sheet->print_label(layout, values, {});

        for (int box = kSwlBox; box <= kModeBox; ++box) {
            ui.set_text(m_window, box, "");
        }
        ui.set_focus(m_window, kSwlBox);
    }

    void finish() {
        if (m_job) {
            if (!m_sheet->at_sheet_start()) {
                m_job->end_page();
            }
            end_print_job(m_ctx, m_window, "Printer Report", *m_job);
            m_sheet.reset();
            m_job.reset();
        }
        m_ctx.ui().close_window(m_window, 0);
    }

    PrintingContext m_ctx;
    platform::WindowId m_window = platform::kNoWindow;
    std::unique_ptr<platform::PrintJob> m_job;
    std::optional<LabelSheet> m_sheet;
};

}  // namespace

void show_print_swl_qsls(const PrintingContext& ctx, platform::WindowId owner) {
    SwlPrintScreen screen(ctx);
    screen.run(owner);
}

}  // namespace vl
