// The DXCC status view: one band at a time (and the all-bands totals), the worked and
// confirmed counts of each mode class, read from the chart when the view opens.
#include "dxdata/DxScreens.h"
#include "shell/KeyHelpBox.h"
#include "shell/Screen.h"

namespace vl {

namespace {

constexpr int kBandBox = 102;
constexpr int kModeBoxes[4] = {104, 106, 108, 110};
constexpr int kTotalBox = 112;
constexpr int kCmdUp = 20;
constexpr int kCmdDown = 21;
constexpr int kCmdKeyHelp = 22;
constexpr int kTotalsRow = 13;

class StatusView final : public platform::WindowEvents {
public:
    StatusView(const DxContext& ctx, int first, int last)
        : m_ctx(ctx), m_counts(count_status(ctx.chart, first, last)), m_with_total(first != last) {}

    void run(platform::WindowId owner, const std::string& title) {
        platform::Ui& ui = m_ctx.ui();
        platform::WindowSpec shape =
            window_shape(title, 250, m_with_total ? 100 : 85, owner, "Courier Bold", 10);
        m_window = ui.create_window(shape, *this);
        static constexpr const char* kLabels[] = {"Band.", "CW.",    "SSB.",
                                                  "FM.",   "Other.", "Total."};
        for (int row = 0; row < (m_with_total ? 6 : 5); ++row) {
            add_labelled_box(m_ctx, m_window, 101 + 2 * row, 102 + 2 * row, kLabels[row],
                             5 + 15 * row, 40, 195);
        }
        using platform::plain;
        ui.set_key_table(m_window, {{plain(platform::kKeyUp), kCmdUp},
                                    {plain(platform::kKeyDown), kCmdDown},
                                    {plain(platform::kKeyF1), kCmdKeyHelp}});
        show_row();
        ui.run_modal(m_window);
    }

    void on_command(int command) override {
        switch (command) {
            case kCmdUp:  // towards the higher bands and the totals
                if (m_row < kTotalsRow) {
                    ++m_row;
                    show_row();
                }
                break;
            case kCmdDown:
                if (m_row > 0) {
                    --m_row;
                    show_row();
                }
                break;
            case kCmdKeyHelp:
                show_key_help(m_ctx, m_window, "Key help",
                              "TAB to select mode total,Arrow keys to select band");
                break;
            case platform::kCmdCancel:
                m_ctx.ui().close_window(m_window, 0);
                break;
            default:
                break;
        }
    }

private:
    // The row is spoken from its start: the band's name first, then its counts, and the
    // focus goes to the band box after each change.
    void show_row() {
        platform::Ui& ui = m_ctx.ui();
        ui.set_text(m_window, kBandBox, status_band_text(m_row));
        for (int m = 0; m < 4; ++m) {
            ui.set_text(m_window, kModeBoxes[m], status_mode_text(m_counts, m_row, m));
        }
        if (m_with_total) {
            ui.set_text(m_window, kTotalBox, status_total_text(m_counts, m_row));
        }
        ui.set_focus(m_window, kBandBox);
    }

    DxContext m_ctx;
    StatusCounts m_counts;
    bool m_with_total;
    platform::WindowId m_window = platform::kNoWindow;
    int m_row = 0;
};

}  // namespace

void show_status_view(const DxContext& ctx, platform::WindowId owner, int first_dxcc, int last_dxcc,
                      const std::string& title) {
    StatusView view(ctx, first_dxcc, last_dxcc);
    view.run(owner, title);
}

}  // namespace vl
