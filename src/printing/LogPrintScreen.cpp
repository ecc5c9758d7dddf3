// The "PRINT LOG " screen: a print from a page or from a date, one page at a time with a
// spoken question between pages.
#include "logstore/Dates.h"
#include "logstore/Text.h"
#include "printing/LogPrint.h"
#include "printing/PrinterJobs.h"
#include "printing/PrintingScreens.h"
#include "shell/Screen.h"

namespace vl {

namespace {

using platform::ControlKind;

constexpr int kStartDateBox = 101;
constexpr int kPageBox = 102;
constexpr std::string_view kFailTitle = "Log Print";

class LogPrintScreen final : public platform::WindowEvents {
public:
    explicit LogPrintScreen(const PrintingContext& ctx) : m_ctx(ctx) {}

    void run(platform::WindowId owner) {
        platform::Ui& ui = m_ctx.ui();
        m_window = ui.create_window(window_shape("PRINT LOG ", 200, 80, owner, "MS Sans Serif", 10),
                                    *this);
        ui.add_control(m_window, control(ControlKind::Label, 201, "&Start Date:", 5, 5, 60, 12));
        ui.add_control(m_window, control(ControlKind::Edit, kStartDateBox, "", 70, 5, 60, 12));
        ui.add_control(m_window,
                       control(ControlKind::Label, 202,
                               "Number of Pages" + plain_number(log_page_count(m_ctx.log.count())),
                               5, 22, 120, 12));
        ui.add_control(m_window, control(ControlKind::Label, 203, "&Page:", 5, 39, 60, 12));
        ui.add_control(m_window, control(ControlKind::Edit, kPageBox, "", 70, 39, 60, 12));
        ui.add_control(m_window, control(ControlKind::Label, 204,
                                         "Press Enter to Print or ESC to Exit", 5, 56, 190, 12));
        ui.set_focus(m_window, kStartDateBox);
        ui.run_modal(m_window);
    }

    void on_command(int command) override {
        if (command == platform::kCmdOk) {
            print();
            m_ctx.ui().close_window(m_window, 0);
        } else if (command == platform::kCmdCancel) {
            m_ctx.ui().close_window(m_window, 0);
        }
    }

    // Only one of the two boxes holds a value: the one the operator is in.
    void on_focus(int control) override {
        if (control == kStartDateBox) {
            m_ctx.ui().set_text(m_window, kPageBox, "");
        } else if (control == kPageBox) {
            m_ctx.ui().set_text(m_window, kStartDateBox, "");
        }
    }

private:
    std::optional<LogPrintStart> chosen_start() {
        platform::Ui& ui = m_ctx.ui();
        std::string page = ui.text(m_window, kPageBox);
        if (!page.empty()) {
            return log_start_from_page(page, m_ctx.log.count());
        }
        std::string date = ui.text(m_window, kStartDateBox);
        if (date.empty()) {
            return std::nullopt;
        }
        auto tidied = tidy_date_or_warn(m_ctx, m_window, date);
        if (!tidied) {
            return std::nullopt;
        }
        auto code = date_code_of_text(*tidied, m_ctx.date_format());
        if (!code) {
            return std::nullopt;
        }
        return log_start_from_date(m_ctx.log, *code);
    }

    void print() {
        auto start = chosen_start();
        if (!start) {
            return;
        }
        platform::Ui& ui = m_ctx.ui();
        auto job = start_print_job(m_ctx, m_window, kFailTitle, "Print Log",
                                   platform::Orientation::Landscape);
        if (!job) {
            return;
        }
        print_log_pages(*job, m_ctx.log, *start, m_ctx.date_format(), m_ctx.frequency_names, [&] {
            return ui.message_box(m_window, "End of Page", "Print next page?",
                                  platform::MessageButtons::YesNo) == platform::Answer::Yes;
        });
        end_print_job(m_ctx, m_window, kFailTitle, *job);
    }

    PrintingContext m_ctx;
    platform::WindowId m_window = platform::kNoWindow;
};

}  // namespace

void show_print_log(const PrintingContext& ctx, platform::WindowId owner) {
    LogPrintScreen screen(ctx);
    screen.run(owner);
}

}  // namespace vl
