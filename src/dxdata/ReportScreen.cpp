// The report screens: a list of lines read one at a time in a read-only box, moved with the
// arrow keys; and the band-status screen, one country with a box for each band.
#include <algorithm>

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
constexpr int kCmdHome = 23, kCmdEnd = 24, kCmdPageUp = 25, kCmdPageDown = 26;
constexpr int kCmdFirstLetter = 30;  // then one command for each letter, A to Z
constexpr int kPage = 20;
constexpr std::string_view kReportKeyHelp = "Arrow keys to move through the list,ESCAPE to leave";

// A long list is walked as the log browser is: a line at a time, a page of 20, either end,
// and a letter jumps to the next line starting with it.
platform::KeyTable walk_keys() {
    using platform::plain;
    platform::KeyTable keys = {
        {plain(platform::kKeyUp), kCmdUp},         {plain(platform::kKeyDown), kCmdDown},
        {plain(platform::kKeyHome), kCmdHome},     {plain(platform::kKeyEnd), kCmdEnd},
        {plain(platform::kKeyPageUp), kCmdPageUp}, {plain(platform::kKeyPageDown), kCmdPageDown},
        {plain(platform::kKeyF1), kCmdKeyHelp}};
    for (int letter = 'A'; letter <= 'Z'; ++letter) {
        keys.push_back({plain(letter), kCmdFirstLetter + letter - 'A'});
    }
    return keys;
}

// What both screens share: a cursor over the lines, moved by Up and Down, and Escape.
class LineWalker : public platform::WindowEvents {
public:
    LineWalker(const DxContext& ctx, std::vector<std::string> lines)
        : m_ctx(ctx), m_lines(std::move(lines)) {}

    void on_command(int command) override {
        const int last = std::max(0, static_cast<int>(m_lines.size()) - 1);
        if (command >= kCmdFirstLetter && command < kCmdFirstLetter + 26) {
            jump_to_letter(static_cast<char>('A' + command - kCmdFirstLetter));
            return;
        }
        switch (command) {
            case kCmdUp:
                move_to(m_cursor - 1);
                break;
            case kCmdDown:
                move_to(m_cursor + 1);
                break;
            case kCmdHome:
                move_to(0);
                break;
            case kCmdEnd:
                move_to(last);
                break;
            case kCmdPageUp:
                move_to(std::max(0, m_cursor - kPage));
                break;
            case kCmdPageDown:
                move_to(std::min(last, m_cursor + kPage));
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
    void move_to(int index) {
        if (index >= 0 && index < static_cast<int>(m_lines.size()) && index != m_cursor) {
            m_cursor = index;
            show_line();
        }
    }
    // The next line after the cursor starting with the letter, round the end; a beep when
    // there is none.
    void jump_to_letter(char letter) {
        const int count = static_cast<int>(m_lines.size());
        for (int step = 1; step <= count; ++step) {
            int index = (m_cursor + step) % count;
            std::string_view text = trim(m_lines[index]);
            if (!text.empty() && to_upper(text.substr(0, 1))[0] == letter) {
                move_to(index);
                return;
            }
        }
        refuse(m_ctx, m_window, "No line starts with " + std::string(1, letter) + ".");
    }
    std::string_view line() const {
        if (m_cursor >= static_cast<int>(m_lines.size())) {
            return {};
        }
        return m_lines[m_cursor];
    }

    DxContext m_ctx;
    std::vector<std::string> m_lines;
    platform::WindowId m_window = platform::kNoWindow;
    int m_cursor = 0;
};

class ReportScreen final : public LineWalker {
public:
    ReportScreen(const DxContext& ctx, const Report& report) : LineWalker(ctx, report.lines) {}

    void run(platform::WindowId owner, const Report& report) {
        platform::Ui& ui = m_ctx.ui();
        platform::WindowSpec shape = window_shape(report.title, 250, 40, owner, "Times New Roman");
        m_window = ui.create_window(shape, *this);
        add_announcement_label(m_ctx, m_window, 5, 26, 240);
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
        add_announcement_label(m_ctx, m_window, 5, 218, 240);
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
        // The country is spoken before the states of its bands.
        platform::Ui& ui = m_ctx.ui();
        ui.set_text(m_window, kNameBox, fields[0]);
        for (int band = 0; band < 13; ++band) {
            ui.set_text(m_window, kFirstBandBox + 2 * band, fields[band + 1]);
        }
        ui.set_focus(m_window, kNameBox);
    }
};

}  // namespace

void show_report(const DxContext& ctx, platform::WindowId owner, const Report& report) {
    ReportScreen screen(ctx, report);
    screen.run(owner, report);
}

void show_band_status(const DxContext& ctx, platform::WindowId owner) {
    BandStatusScreen screen(ctx, band_status_lines(ctx.countries, ctx.chart));
    screen.run(owner);
}

}  // namespace vl
