// The "PRINT QSLs " screen with its label settings, the test print, and the print run over
// the selected contacts, paused at every label or unattended with a stop at each sheet end.
#include <cmath>

#include "logstore/Dates.h"
#include "logstore/Text.h"
#include "printing/LabelPrinter.h"
#include "printing/PrinterJobs.h"
#include "printing/PrintingScreens.h"
#include "printing/QslSelection.h"
#include "shell/KeyHelpBox.h"
#include "shell/Screen.h"

namespace vl {

namespace {

using platform::ControlKind;
using platform::EditStyle;

constexpr int kStartDateBox = 101;
constexpr int kCallBox = 102;
constexpr int kRowsBox = 103;  // the eight settings follow in order
constexpr int kPauseBox = 109;
constexpr int kReceivedOnlyBox = 110;
constexpr int kStartRowBox = 111;
constexpr int kStartColumnBox = 112;

constexpr int kRunTextBox = 101;
constexpr int kRunCommentBox = 102;

constexpr int kCmdKeyHelp = 20;
constexpr int kCmdTestPrint = 30;
constexpr int kCmdPrint = 31;
constexpr int kCmdNextQso = 32;

constexpr std::string_view kFailTitle = "Printer Report";

const char* const kSettingCaptions[] = {
    "Labels down page:", "Labels across page:", "Label width (m m):",     "Label height (m m):",
    "Left margin (mm):", "Top margin (mm):",    " Pause between labels:", "QSL for received only:"};

// The answer at a full sheet: Enter carries on, Escape ends the run after this label.
bool ask_end_of_sheet(const PrintingContext& ctx, platform::WindowId owner) {
    return show_key_help(ctx, owner, "End of sheet", "ENTER to Continue ESCAPE to end printing") ==
           kKeyHelpClosedByEnter;
}

std::string spelled(std::string_view text) {
    std::string out;
    for (char c : text) {
        out += c;
        out += ' ';
    }
    return out;
}

int whole_number(std::string_view text) {
    double value = leading_number(text);
    return std::isfinite(value) ? static_cast<int>(std::clamp(value, -1e6, 1e6)) : 0;
}

class QslRunScreen final : public platform::WindowEvents {
public:
    QslRunScreen(const PrintingContext& ctx, platform::PrintJob& job, QslSelection selection,
                 int row, int column)
        : m_ctx(ctx),
          m_job(job),
          m_selection(std::move(selection)),
          m_sheet(job, ctx.labels.settings, row, column),
          m_pause(ctx.labels.settings.pause == "Y") {}

    void run(platform::WindowId owner) {
        platform::Ui& ui = m_ctx.ui();
        int labels = static_cast<int>(m_selection.home.size() + m_selection.other.size());
        m_window = ui.create_window(window_shape(plain_number(labels) + " QSL to print", 250, 90,
                                                 owner, "MS Sans Serif", 10),
                                    *this);
        ui.add_control(m_window, control(ControlKind::Edit, kRunTextBox, "", 5, 5, 240, 50,
                                         EditStyle::ReadOnlyMultiLine));
        if (m_pause) {
            ui.add_control(m_window, control(ControlKind::Label, 201, "Comment", 5, 60, 40, 12));
            ui.add_control(m_window,
                           control(ControlKind::Edit, kRunCommentBox, "", 50, 60, 195, 12));
        }
        ui.set_key_table(m_window, {{platform::plain(platform::kKeyF12), kCmdPrint},
                                    {platform::ctrl('P'), kCmdPrint}});
        ui.post_command(m_window, kCmdNextQso);
        ui.run_modal(m_window);
    }

    void on_command(int command) override {
        switch (command) {
            case kCmdNextQso:
            case platform::kCmdOk:  // Enter misses this QSO
                next_qso();
                break;
            case kCmdPrint:
                print_label();
                break;
            case platform::kCmdCancel:
                abort_run();
                break;
            default:
                break;
        }
    }

private:
    void next_qso() {
        if (m_finished) {
            return;
        }
        bool home = m_next < m_selection.home.size();
        std::size_t other = m_next - m_selection.home.size();
        if (!home && other >= m_selection.other.size()) {
            abort_run();
            return;
        }
        m_item = home ? m_selection.home[m_next] : m_selection.other[other];
        m_home = home;
        ++m_next;
        ++m_count;
        if (!m_pause) {
            m_ctx.ui().post_command(m_window, kCmdPrint);
            return;
        }
        const LogRecord& record = m_ctx.log.entry(m_item.qso);
        std::string text = "QSO number " + plain_number(m_count) + ",\r\n" +
                           spelled(trim_right(record.call_field())) + ", " +
                           spoken_date(record.date(), m_ctx.date_format()) + " " +
                           std::string(record.comment_field()) + ",\r\n" +
                           "F12 or Control P to print, RETURN to miss, ESCAPE to abort";
        m_ctx.ui().set_text(m_window, kRunTextBox, text);
        m_ctx.ui().set_focus(m_window, kRunTextBox);
    }

    void print_label() {
        if (m_finished || m_item.qso == 0) {
            return;
        }
        LabelState& labels = m_ctx.labels;
        if (m_pause) {
            labels.values['M'] = m_ctx.ui().text(m_window, kRunCommentBox);
            m_ctx.ui().set_text(m_window, kRunCommentBox, "");
        }
        set_qso_label_values(labels.values, m_ctx.log, m_item, m_home, m_ctx.station);
        std::function<bool()> end_of_sheet;
        if (!m_pause && !labels.single_label_mode) {
            end_of_sheet = [this] { return ask_end_of_sheet(m_ctx, m_window); };
        }
        bool go_on = m_sheet.print_label(labels.layout, labels.values, end_of_sheet);
        LogRecord record = m_ctx.log.entry(m_item.qso);
        record.set_qsl_flags(static_cast<uint8_t>(record.qsl_flags() | kQslSentFlag));
        report_log_status(m_ctx, m_window, m_ctx.log.write_entry(m_item.qso, record));
        m_item = {};
        if (!go_on) {
            abort_run();
            return;
        }
        m_ctx.ui().post_command(m_window, kCmdNextQso);
    }

    void abort_run() {
        if (m_finished) {
            return;
        }
        m_finished = true;
        if (!m_sheet.at_sheet_start()) {
            m_job.end_page();
        }
        end_print_job(m_ctx, m_window, kFailTitle, m_job);
        m_ctx.ui().close_window(m_window, 0);
    }

    PrintingContext m_ctx;
    platform::PrintJob& m_job;
    QslSelection m_selection;
    LabelSheet m_sheet;
    bool m_pause;
    platform::WindowId m_window = platform::kNoWindow;
    std::size_t m_next = 0;
    QslItem m_item;
    bool m_home = false;
    int m_count = 0;
    bool m_finished = false;
};

class QslPrintScreen final : public platform::WindowEvents {
public:
    explicit QslPrintScreen(const PrintingContext& ctx) : m_ctx(ctx) {}

    void run(platform::WindowId owner) {
        platform::Ui& ui = m_ctx.ui();
        m_window = ui.create_window(
            window_shape("PRINT QSLs ", 220, 215, owner, "MS Sans Serif", 10), *this);
        const LabelSettings& s = m_ctx.labels.settings;
        add_box(201, "Start Date:", kStartDateBox, "", 5);
        add_box(202, "Call sign:", kCallBox, "", 20, EditStyle::UpperCase);
        const int numbers[] = {s.rows,         s.columns,     s.label_width,
                               s.label_height, s.left_margin, s.top_margin};
        for (int i = 0; i < 6; ++i) {
            add_box(203 + i, kSettingCaptions[i], kRowsBox + i, std::to_string(numbers[i]),
                    35 + 15 * i);
        }
        add_box(209, kSettingCaptions[6], kPauseBox, s.pause, 125, EditStyle::UpperCase);
        add_box(210, kSettingCaptions[7], kReceivedOnlyBox, s.received_only, 140,
                EditStyle::UpperCase);
        add_box(211, "Start at label, row:", kStartRowBox, "1", 155);
        add_box(212, "Column:", kStartColumnBox, "1", 170);
        ui.set_key_table(m_window, {{platform::plain(platform::kKeyF2), kCmdTestPrint},
                                    {platform::ctrl('T'), kCmdTestPrint},
                                    {platform::plain(platform::kKeyF12), kCmdPrint},
                                    {platform::ctrl('P'), kCmdPrint},
                                    {platform::plain(platform::kKeyF1), kCmdKeyHelp}});
        ui.set_focus(m_window, kStartDateBox);
        ui.run_modal(m_window);
    }

    void on_command(int command) override {
        switch (command) {
            case platform::kCmdOk:
                m_ctx.ui().focus_next(m_window, false);
                break;
            case platform::kCmdCancel:
                m_ctx.ui().close_window(m_window, 0);
                break;
            case kCmdKeyHelp:
                show_key_help(m_ctx, m_window, "Key help",
                              "F2 or Control plus T for test print,"
                              "F12 or Control plus P to print the QSLs,"
                              " ESCAPE to end printing");
                break;
            case kCmdTestPrint:
                test_print();
                break;
            case kCmdPrint:
                print_qsls();
                break;
            default:
                break;
        }
    }

private:
    void add_box(int label_id, std::string caption, int box_id, std::string text, int y,
                 EditStyle style = EditStyle::Plain) {
        platform::Ui& ui = m_ctx.ui();
        ui.add_control(m_window,
                       control(ControlKind::Label, label_id, std::move(caption), 5, y, 110, 12));
        ui.add_control(m_window,
                       control(ControlKind::Edit, box_id, std::move(text), 120, y, 90, 12, style));
    }

    int number_in(int box) { return whole_number(m_ctx.ui().text(m_window, box)); }

    // Reads the settings boxes and keeps them in QSL.DAT; false when the sheet is not
    // described well enough to print on.
    bool check_and_save() {
        platform::Ui& ui = m_ctx.ui();
        LabelSettings s;
        s.rows = number_in(kRowsBox);
        s.columns = number_in(kRowsBox + 1);
        s.label_width = number_in(kRowsBox + 2);
        s.label_height = number_in(kRowsBox + 3);
        s.left_margin = number_in(kRowsBox + 4);
        s.top_margin = number_in(kRowsBox + 5);
        s.pause = ui.text(m_window, kPauseBox);
        s.received_only = ui.text(m_window, kReceivedOnlyBox);
        if (s.columns > 1 && s.label_width == 0) {
            ui.message_box(m_window, "Selection error", "No label width specified",
                           platform::MessageButtons::Ok);
            return false;
        }
        if (s.rows > 1 && s.label_height == 0) {
            ui.message_box(m_window, "Selection error", "No label height specified",
                           platform::MessageButtons::Ok);
            return false;
        }
        // QSL.DAT keeps a byte for each number, so what is used is what the file keeps.
        for (int* value : {&s.rows, &s.columns, &s.label_width, &s.label_height, &s.left_margin,
                           &s.top_margin}) {
            *value = std::clamp(*value, 0, 255);
        }
        m_ctx.labels.settings = s;
        if (!save_label_settings(m_ctx.platform.files, m_ctx.program_dir, s)) {
            ui.message_box(m_window, "File Error", "QSL.DAT could not be written",
                           platform::MessageButtons::Ok);
        }
        return true;
    }

    std::unique_ptr<platform::PrintJob> attach_printer(std::string_view job_name) {
        return start_print_job(m_ctx, m_window, kFailTitle, job_name,
                               platform::Orientation::Portrait);
    }

    void test_print() {
        if (!check_and_save()) {
            return;
        }
        LabelValues& values = m_ctx.labels.values;
        values['A'] = "Q0ZZZ.......";
        values['B'] = "01 Jan 05";
        values['C'] = "2359";
        values['D'] = "599";
        values['E'] = "A1A";
        values['F'] = " 80m";
        values['H'] = "Thanks for your QSL";
        values['I'] = "FT920";
        values['J'] = "Dipole";
        values['K'] = "1500w";
        values['L'] = "Ezo.......";
        values['M'] = "Your Comment";
        auto job = attach_printer("QSL test print");
        if (!job) {
            return;
        }
        const LabelState& labels = m_ctx.labels;
        LabelSheet sheet(*job, labels.settings, 0, 0);
        job->select_font(platform::PrintFont{"Courier New", 10});
        std::function<bool()> end_of_sheet;
        if (labels.settings.pause != "Y" && !labels.single_label_mode) {
            end_of_sheet = [this] { return ask_end_of_sheet(m_ctx, m_window); };
        }
        int positions = std::max(labels.settings.rows, 1) * std::max(labels.settings.columns, 1);
        for (int i = 0; i < positions; ++i) {
            sheet.print_label(labels.layout, values, end_of_sheet);
        }
        end_print_job(m_ctx, m_window, kFailTitle, *job);
    }

    void print_qsls() {
        if (!check_and_save()) {
            return;
        }
        platform::Ui& ui = m_ctx.ui();
        QslFilter filter;
        std::string start = ui.text(m_window, kStartDateBox);
        if (!start.empty()) {
            auto tidied = tidy_date_or_warn(m_ctx, m_window, start);
            auto code = tidied ? date_code_of_text(*tidied, m_ctx.date_format()) : std::nullopt;
            if (!code) {
                ui.set_text(m_window, kStartDateBox, "");
                ui.set_focus(m_window, kStartDateBox);
                return;
            }
            filter.start_code = *code;
        }
        filter.call = ui.text(m_window, kCallBox);
        filter.received_only = m_ctx.labels.settings.received_only == "Y";
        QslSelection selection = select_qsls(m_ctx.log, m_ctx.countries, filter);
        if (selection.empty()) {
            ui.message_box(m_window, "QSL check complete", "No QSLs to print",
                           platform::MessageButtons::Ok);
            return;
        }
        auto job = attach_printer("Print QSLs");
        if (!job) {
            return;
        }
        QslRunScreen run(m_ctx, *job, std::move(selection), number_in(kStartRowBox) - 1,
                         number_in(kStartColumnBox) - 1);
        run.run(m_window);
    }

    PrintingContext m_ctx;
    platform::WindowId m_window = platform::kNoWindow;
};

}  // namespace

void show_print_qsls(const PrintingContext& ctx, platform::WindowId owner) {
    QslPrintScreen screen(ctx);
    screen.run(owner);
}

}  // namespace vl
