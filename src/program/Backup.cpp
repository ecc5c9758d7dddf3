// Backup and restore of the log.
#include "program/Backup.h"

#include "platform/Files.h"
#include "shell/Screen.h"

namespace vl {

std::optional<std::string> backup_path(const std::string& program_dir,
                                       std::string_view backup_drive) {
    if (backup_drive.size() == 1) {
        char letter = backup_drive[0];
        if (letter >= 'a' && letter <= 'z') {
            letter = static_cast<char>(letter - 32);
        }
        if (letter >= 'A' && letter <= 'Z') {
            std::string root = platform::drive_root(letter);
            return (root.empty() ? program_dir + "DRIVES/" + letter + "/" : root) + "MYLOG.LOG";
        }
        return std::nullopt;
    }
    // A full path: "/..." anywhere, and "X:\\..." where there are drive letters.
    const bool drive_path = backup_drive.size() >= 3 && backup_drive[1] == ':' &&
                            (backup_drive[2] == '\\' || backup_drive[2] == '/') &&
                            !platform::drive_root(backup_drive[0]).empty();
    if (drive_path || (!backup_drive.empty() && backup_drive.front() == '/')) {
        std::string folder(backup_drive);
        if (folder.back() != '/' && folder.back() != '\\') {
            folder += drive_path ? '\\' : '/';
        }
        return folder + "MYLOG.LOG";
    }
    return std::nullopt;
}

std::string backup_drive_problem(AppContext& ctx, std::string_view backup_drive) {
    if (backup_drive.empty()) {
        return "No backup drive is set.";
    }
    auto target = backup_path(ctx.program_dir, backup_drive);
    if (!target) {
        return std::string(backup_drive) + " names no folder: type a drive letter or a full path.";
    }
    std::string folder = platform::folder_of(*target);
    if (!ctx.platform.files.is_folder(folder)) {
        return "The folder " + folder + " does not exist.";
    }
    return {};
}

void back_up_log(AppContext& ctx) {
    platform::FileSystem& fs = ctx.platform.files;
    platform::Ui& ui = ctx.ui();
    LogStore& log = ctx.log;
    // A change the log file is still owed (the disk filled) is written now if it can be;
    // either way the copy is made from the log as the store holds it, every confirmed
    // entry included, never from a file that lacks one.
    if (log.is_open()) {
        log.flush();
    }
    if (log.is_open() && log.count() == 0) {
        return;  // an empty log is not copied
    }
    // The message says why, so the operator knows what to mend.
    std::string problem = log.is_open() ? backup_drive_problem(ctx, ctx.settings.backup_drive)
                                        : std::string("The log could not be read.");
    if (!problem.empty()) {
        ui.message_box(platform::kNoWindow, "Back up error", "Log not saved. " + problem,
                       platform::MessageButtons::Ok);
        return;
    }
    auto target = backup_path(ctx.program_dir, ctx.settings.backup_drive);
    // Written under a temporary name and renamed, so a failed copy never spoils the copy
    // that was there before.
    const std::string temporary = *target + ".NEW";
    if (!log.write_copy(temporary) || !fs.rename(temporary, *target)) {
        fs.remove(temporary);
        ui.message_box(platform::kNoWindow, "Back up error",
                       "Log not saved. The copy could not be written.",
                       platform::MessageButtons::Ok);
        return;
    }
    fs.sync_directory(platform::folder_of(*target));
}

namespace {

// Why a restore was refused; the log is as it was.
std::string refusal_text(ReplaceReport::Outcome outcome) {
    switch (outcome) {
        case ReplaceReport::Outcome::CannotRead:
            return "Log not restored. The backup copy could not be read. Your log has not been "
                   "changed.";
        case ReplaceReport::Outcome::TooLarge:
            return "Log not restored. The backup copy holds more than 120000 entries, more than "
                   "Varrow Log can keep. Your log has not been changed.";
        case ReplaceReport::Outcome::ChangePending:
            return "Log not restored. The last change to your log could not yet be written to "
                   "disk; the disk may be full. Your log has not been changed.";
        case ReplaceReport::Outcome::Replaced:
        case ReplaceReport::Outcome::WriteFailed:
            break;
    }
    return "Log not restored";
}

}  // namespace

void restore_log(AppContext& ctx, platform::WindowId owner) {
    platform::Ui& ui = ctx.ui();
    if (ui.message_box(owner, "Restore the Log", "This will overwrite your log, continue?",
                       platform::MessageButtons::YesNoDefaultNo) != platform::Answer::Yes) {
        return;
    }
    auto source = backup_path(ctx.program_dir, ctx.settings.backup_drive);
    if (!source || !ctx.platform.files.exists(*source)) {
        ui.message_box(owner, "Restore Fail", "Log not found", platform::MessageButtons::Ok);
        return;
    }
    ReplaceReport report = ctx.log.replace_with(*source);
    if (report.outcome != ReplaceReport::Outcome::Replaced) {
        ui.message_box(owner, "Restore Fail", refusal_text(report.outcome),
                       platform::MessageButtons::Ok);
        return;
    }
    if (report.stray_bytes > 0) {
        ui.message_box(owner, "Log File", stray_bytes_text("The backup copy", report.stray_bytes),
                       platform::MessageButtons::Ok);
    }
}

}  // namespace vl
