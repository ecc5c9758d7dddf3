// The report screens: a list of lines read one at a time in a read-only box, moved with the
// arrow keys; and the band-status screen, one country with a box for each band.
#include "dxdata/DxReports.h"
#include "dxdata/DxScreens.h"
#include "logstore/Bands.h"
#include "logstore/Text.h"
#include "shell/KeyHelpBox.h"
#include "shell/Screen.h"

namespace vl {

namespace {

constexpr int kLineBox = 102;
constexpr int kCmdUp = 20;
constexpr int kCmdDown = 21;
constexpr int kCmdKeyHelp = 22;
constexpr std::string_view kReportKeyHelp = "Arrow keys to move through the list,ESCAPE to leave";

platform::KeyTable walk_keys() {
    using platform::plain;
    return {{plain(platform::kKeyUp), kCmdUp},
            {plain(platform::kKeyDown), kCmdDown},
            {plain(platform::kKeyF1), kCmdKeyHelp}};
}

// What both screens share: a cursor over the lines, moved by Up and Down, and Escape.
class LineWalker : public platform::WindowEvents {
public:
    LineWalker(AppContext& ctx, std::vector<std::string> lines)
        : m_ctx(ctx), m_lines(std::move(lines)) {}

    void on_command(int command) override {
        switch (command) {
            case kCmdUp:
                if (m_cursor > 0) {
                    --m_cursor;
                    show_line();
                }
                break;
            case kCmdDown:
                if (m_cursor + 1 < static_cast<int>(m_lines.size())) {
                    ++m_cursor;
                    show_line();
                }
                break;
            case kCmdKeyHelp:
                show_key_help(m_ctx, m_window, "Key help", kReportKeyHelp);
                break;
            case platform::kCmdCancel:
                m_ctx.ui().close_window(m_window, 0);
                break;
            default:
                break;
        }
    }

protected:
    virtual void show_line() = 0;
    std::string_view line() const {
        if (m_cursor >= static_cast<int>(m_lines.size())) {
            return {};
        }
        return m_lines[m_cursor];
    }

    AppContext& m_ctx;
    std::vector<std::string> m_lines;
    platform::WindowId m_window = platform::kNoWindow;
    int m_cursor = 0;
};

class ReportScreen final : public LineWalker {
public:
    ReportScreen(AppContext& ctx, const Report& report) : LineWalker(ctx, report.lines) {}

    void run(platform::WindowId owner, const Report& report) {
        platform::Ui& ui = m_ctx.ui();
        platform::WindowSpec shape = window_shape(report.title, 250, 40, owner, "Times New Roman");
        m_window = ui.create_window(shape, *this);
        add_labelled_box(m_ctx, m_window, 101, kLineBox, report.label, 10, 50, 180);
        ui.set_key_table(m_window, walk_keys());
        show_line();
        ui.run_modal(m_window);
    }

private:
    void show_line() override {
        m_ctx.ui().set_text(m_window, kLineBox, line());
        m_ctx.ui().set_focus(m_window, kLineBox);
    }
};

constexpr int kNameBox = 102;
constexpr int kFirstBandBox = 104;  // then every second identifier, one a band

class BandStatusScreen final : public LineWalker {
public:
    using LineWalker::LineWalker;

    void run(platform::WindowId owner) {
        platform::Ui& ui = m_ctx.ui();
        platform::WindowSpec shape =
            window_shape("Band Status by country", 250, 230, owner, "Times New Roman");
        m_window = ui.create_window(shape, *this);
        add_labelled_box(m_ctx, m_window, 101, kNameBox, "Country", 5, 70, 160);
        for (int band = 0; band < 13; ++band) {
            add_labelled_box(m_ctx, m_window, kFirstBandBox - 1 + 2 * band,
                             kFirstBandBox + 2 * band, std::string(kSpokenBandNames[band]),
                             22 + 16 * band, 70, 160);
        }
        ui.set_key_table(m_window, walk_keys());
        show_line();
        ui.run_modal(m_window);
    }

private:
    // The line is the name and 13 band states, separated by commas.
    void show_line() override {
        std::string_view text = line();
        std::string fields[14];
        for (std::string& field : fields) {
            std::size_t comma = text.find(',');
            field = trim(text.substr(0, comma));
            text = comma == std::string_view::npos ? std::string_view() : text.substr(comma + 1);
        }
        platform::Ui& ui = m_ctx.ui();
        for (int band = 0; band < 13; ++band) {
            ui.set_text(m_window, kFirstBandBox + 2 * band, fields[band + 1]);
        }
        ui.set_text(m_window, kNameBox, fields[0]);
        ui.set_focus(m_window, kNameBox);
    }
};

}  // namespace

void show_report(AppContext& ctx, platform::WindowId owner, const Report& report) {
    ReportScreen screen(ctx, report);
    screen.run(owner, report);
}

void show_band_status(AppContext& ctx, platform::WindowId owner) {
    BandStatusScreen screen(ctx, band_status_lines(ctx.countries, ctx.chart));
    screen.run(owner);
}

}  // namespace vl
