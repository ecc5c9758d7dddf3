// "Export to ADIF file": file name and an optional range of dates, F12 exports and closes.
#include "interchange/AdifExport.h"
#include "interchange/AdifFiles.h"
#include "interchange/InterchangeScreens.h"
#include "logstore/Dates.h"
#include "logstore/Text.h"
#include "shell/KeyHelpBox.h"
#include "shell/Screen.h"

namespace vl {

namespace {

using platform::ControlKind;

constexpr int kFileBox = 101, kStartBox = 102, kEndBox = 103;
constexpr int kCmdExport = 40, kCmdKeyHelp = 41;

constexpr std::string_view kExportKeyHelp =
    "TAB or ENTER to move between the boxes,Dates may be left empty,"
    "F twelve to start exporting,ESCAPE to exit";

class ExportScreen final : public platform::WindowEvents {
public:
    explicit ExportScreen(const ScreenContext& ctx) : m_ctx(ctx) {}

    void run(platform::WindowId owner) {
        platform::Ui& ui = m_ctx.ui();
        m_window = ui.create_window(
            window_shape("Export to ADIF file", 200, 75, owner, "Courier", 10), *this);
        add_announcement_label(m_ctx, m_window, 5, 68, 190);
        ui.add_control(m_window, control(ControlKind::Label, 201, "File Name:", 5, 5, 60, 12));
        // A plain box: a bare name is taken in capitals, a path keeps its letters.
        ui.add_control(m_window, control(ControlKind::Edit, kFileBox, "", 70, 5, 120, 12));
        ui.add_control(m_window, control(ControlKind::Label, 202, "Start Date:", 5, 20, 60, 12));
        ui.add_control(m_window, control(ControlKind::Edit, kStartBox, "", 70, 20, 60, 12));
        ui.add_control(m_window, control(ControlKind::Label, 203, "End Date:", 5, 35, 60, 12));
        ui.add_control(m_window, control(ControlKind::Edit, kEndBox, "", 70, 35, 60, 12));
        ui.add_control(
            m_window, control(ControlKind::Label, 204,
                              "Press F twelve to start exporting, Escape to exit", 5, 55, 190, 12));
        ui.set_key_table(m_window, {{platform::plain(platform::kKeyF12), kCmdExport},
                                    {platform::ctrl('E'), kCmdExport},
                                    {platform::plain(platform::kKeyF1), kCmdKeyHelp}});
        ui.set_focus(m_window, kFileBox);
        ui.run_modal(m_window);
    }

    void on_command(int command) override {
        switch (command) {
            case kCmdExport:
                start_export();
                break;
            case kCmdKeyHelp:
                show_key_help(m_ctx, m_window, "Key help", kExportKeyHelp);
                break;
            case platform::kCmdOk:
                m_ctx.ui().focus_next(m_window, false);
                break;
            case platform::kCmdCancel:
                m_ctx.ui().close_window(m_window, 0);
                break;
            default:
                break;
        }
    }

private:
    void start_export() {
        std::string typed = m_ctx.ui().text(m_window, kFileBox);
        if (typed.empty()) {
            m_ctx.ui().set_focus(m_window, kFileBox);
            refuse(m_ctx, m_window, "File Name is empty.");
            return;
        }
        export_log(typed);
        m_ctx.ui().close_window(m_window, 0);
        refuse(m_ctx);  // the default beep marks the end of the export
    }

    // A date box: empty gives `no_limit`; nothing after a "Date Error".
    std::optional<int> date_limit(int box, int no_limit) {
        std::string typed = m_ctx.ui().text(m_window, box);
        if (typed.empty()) {
            return no_limit;
        }
        auto tidied = tidy_date_or_warn(m_ctx, m_window, typed);
        if (!tidied) {
            return std::nullopt;
        }
        return date_code_of_text(*tidied, m_ctx.date_format());
    }

    void export_log(const std::string& typed) {
        platform::Ui& ui = m_ctx.ui();
        if (m_ctx.log.count() == 0) {
            ui.message_box(m_window, "LOG EXPORT", "The log is Empty",
                           platform::MessageButtons::Ok);
            return;
        }
        ExportRange range;
        auto start = date_limit(kStartBox, range.start);
        if (!start) {
            return;
        }
        auto end = date_limit(kEndBox, range.end);
        if (!end) {
            return;
        }
        range = {*start, *end};
        std::string name = export_file_name(is_path_name(typed) ? typed : to_upper(typed));
        ExportResult result =
            export_adif(m_ctx.platform.files, m_ctx.log, adif_file_path(m_ctx.program_dir, name),
                        range, m_ctx.platform.clock.local_now());
        if (!result.written) {
            ui.message_box(m_window, "File Error",
                           name + " could not be written. An older file of that name is as it was.",
                           platform::MessageButtons::Ok);
            return;
        }
        ui.message_box(m_window, "EXPORT COMPLETE",
                       plain_number(result.count) + " Entries exported",
                       platform::MessageButtons::Ok);
    }

    ScreenContext m_ctx;
    platform::WindowId m_window = platform::kNoWindow;
};

}  // namespace

void show_export_log(const ScreenContext& ctx, platform::WindowId owner) {
    ExportScreen screen(ctx);
    screen.run(owner);
}

}  // namespace vl
