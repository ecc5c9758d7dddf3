// "IMPORT A LOG IN ADIF FORMAT": file name, transmit power and comment; F12 imports and the
// screen stays open for the next file.
#include "interchange/AdifFiles.h"
#include "interchange/InterchangeScreens.h"
#include "logstore/Text.h"
#include "shell/KeyHelpBox.h"
#include "shell/Screen.h"

namespace vl {

namespace {

using platform::ControlKind;

constexpr int kFileBox = 101, kPowerBox = 102, kCommentBox = 103;
constexpr int kCmdImport = 40, kCmdKeyHelp = 41;

constexpr std::string_view kImportKeyHelp =
    "TAB or ENTER to move between the boxes,Transmit Power is used where the file has none,"
    "F twelve to start importing,ESCAPE to exit";

std::string counted(int count, std::string_view one, std::string_view many) {
    return plain_number(count) + " " + std::string(count == 1 ? one : many);
}

class ImportScreen final : public platform::WindowEvents {
public:
    explicit ImportScreen(const ScreenContext& ctx) : m_ctx(ctx) {}

    void run(platform::WindowId owner) {
        platform::Ui& ui = m_ctx.ui();
        m_window = ui.create_window(
            window_shape("IMPORT A LOG IN ADIF FORMAT", 200, 75, owner, "Courier", 8), *this);
        add_announcement_label(m_ctx, m_window, 5, 68, 190);
        ui.add_control(m_window, control(ControlKind::Label, 201, "Import Log: ", 5, 5, 60, 12));
        ui.add_control(m_window, control(ControlKind::Edit, kFileBox, "", 70, 5, 120, 12));
        ui.add_control(m_window,
                       control(ControlKind::Label, 202, "Transmit Power:", 5, 20, 60, 12));
        ui.add_control(m_window, control(ControlKind::Edit, kPowerBox, "", 70, 20, 60, 12));
        ui.add_control(m_window, control(ControlKind::Label, 203, "Comment:", 5, 35, 60, 12));
        ui.add_control(m_window, control(ControlKind::Edit, kCommentBox, "", 70, 35, 120, 12));
        ui.add_control(
            m_window, control(ControlKind::Label, 204,
                              "Press F twelve to start importing, Escape to exit", 5, 55, 190, 12));
        ui.set_key_table(m_window, {{platform::plain(platform::kKeyF12), kCmdImport},
                                    {platform::ctrl('I'), kCmdImport},
                                    {platform::plain(platform::kKeyF1), kCmdKeyHelp}});
        ui.set_focus(m_window, kFileBox);
        ui.run_modal(m_window);
    }

    void on_command(int command) override {
        switch (command) {
            case kCmdImport:
                import_file();
                break;
            case kCmdKeyHelp:
                show_key_help(m_ctx, m_window, "Key help", kImportKeyHelp);
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
    // The named file: a bare name in capitals, or as typed when only that form exists.
    std::optional<std::string> find_file(const std::string& typed) {
        platform::FileSystem& files = m_ctx.platform.files;
        if (typed.empty()) {
            return std::nullopt;
        }
        std::string path = adif_file_path(m_ctx.program_dir, typed);
        if (files.exists(path) && !files.is_folder(path)) {
            return path;
        }
        if (!is_path_name(typed) && files.exists(m_ctx.program_dir + typed) &&
            !files.is_folder(m_ctx.program_dir + typed)) {
            return m_ctx.program_dir + typed;
        }
        return std::nullopt;
    }

    void import_file() {
        platform::Ui& ui = m_ctx.ui();
        std::string typed = ui.text(m_window, kFileBox);
        auto path = find_file(typed);
        if (!path) {
            m_ctx.platform.sound.beep(platform::Beep::CriticalStop);
            announce(m_ctx, m_window,
                     typed.empty() ? std::string("Import Log is empty.")
                                   : "No file named " + typed + " found.");
            return;
        }
        auto batch = read_adif_file(m_ctx.platform.files, *path, ui.text(m_window, kPowerBox),
                                    ui.text(m_window, kCommentBox));
        if (!batch) {
            ui.message_box(m_window, "File Error",
                           typed + " could not be read. Nothing was imported.",
                           platform::MessageButtons::Ok);
            return;
        }
        // The whole file goes in or nothing does.
        const int room = kMaxLogEntries - m_ctx.log.count();
        const int wanted = static_cast<int>(batch->entries.size());
        if (batch->too_many || wanted > room) {
            std::string holds =
                batch->too_many ? "more than" + plain_number(kMaxLogEntries) : plain_number(wanted);
            ui.message_box(m_window, "Log Full",
                           "The log keeps at most 120000 entries, so only" +
                               counted(room, "more entry fits", "more entries fit") +
                               ". This file holds " + std::string(trim(holds)) +
                               ". Nothing was imported.",
                           platform::MessageButtons::Ok);
            return;
        }
        if (wanted > 0) {
            LogStatus status = merge_into_log(m_ctx.log, std::move(batch->entries));
            if (status != LogStatus::Ok) {
                report_log_status(m_ctx, m_window, status);
                return;
            }
        }
        ui.message_box(m_window, "Import Log Complete", import_summary(wanted, *batch),
                       platform::MessageButtons::Ok);
    }

    ScreenContext m_ctx;
    platform::WindowId m_window = platform::kNoWindow;
};

}  // namespace

std::string import_summary(int imported, const ImportBatch& batch) {
    std::string text = plain_number(imported) + " Entries imported";
    if (batch.skipped_no_call > 0) {
        text += "," + counted(batch.skipped_no_call, "record", "records") +
                " skipped for having no call sign";
    }
    if (batch.skipped_no_date > 0) {
        text += "," + counted(batch.skipped_no_date, "record", "records") +
                " skipped for having no date";
    }
    if (batch.skipped_bad_date > 0) {
        text += "," + counted(batch.skipped_bad_date, "record", "records") +
                " skipped for a date before 1930 or after 22 July 2029";
    }
    return text;
}

void show_import_log(const ScreenContext& ctx, platform::WindowId owner) {
    ImportScreen screen(ctx);
    screen.run(owner);
}

}  // namespace vl
