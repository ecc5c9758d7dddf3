// Backup and restore of the log.
#include "shell/Backup.h"

namespace vl {

namespace {

// The copy is written under a temporary name beside its target and renamed over it, so a
// failed copy never spoils the copy that was there before.
bool copy_safely(platform::FileSystem& fs, const std::string& from, const std::string& to) {
    const std::string temporary = to + ".NEW";
    if (!platform::copy_file(fs, from, temporary) || !fs.rename(temporary, to)) {
        fs.remove(temporary);
        return false;
    }
    return fs.sync_directory(platform::folder_of(to));
}

}  // namespace

std::optional<std::string> backup_path(const std::string& program_dir,
                                       std::string_view backup_drive) {
    if (backup_drive.size() == 1) {
        char letter = backup_drive[0];
        if (letter >= 'a' && letter <= 'z') {
            letter = static_cast<char>(letter - 32);
        }
        if (letter >= 'A' && letter <= 'Z') {
            return program_dir + "DRIVES/" + letter + "/MYLOG.LOG";
        }
        return std::nullopt;
    }
    if (!backup_drive.empty() && backup_drive.front() == '/') {
        std::string folder(backup_drive);
        if (folder.back() != '/') {
            folder += '/';
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
    ctx.log.close();
    platform::FileSystem& fs = ctx.platform.files;
    const std::string log_path = ctx.program_dir + "MYLOG.LOG";
    auto log_file = fs.open(log_path, platform::OpenMode::ReadOnly);
    auto size = log_file ? log_file->size() : std::nullopt;
    log_file.reset();
    if (size && *size < kRecordSize) {
        return;  // an empty log is not copied
    }
    // The message says why, so the operator knows what to mend.
    std::string problem = size ? backup_drive_problem(ctx, ctx.settings.backup_drive)
                               : std::string("The log could not be read.");
    if (problem.empty() &&
        !copy_safely(fs, log_path, *backup_path(ctx.program_dir, ctx.settings.backup_drive))) {
        problem = "The copy could not be written.";
    }
    if (!problem.empty()) {
        ctx.ui().message_box(platform::kNoWindow, "Back up error", "Log not saved. " + problem,
                             platform::MessageButtons::Ok);
    }
}

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
    if (ctx.log.replace_with(*source) != LogStatus::Ok) {
        ui.message_box(owner, "Restore Fail", "Log not restored", platform::MessageButtons::Ok);
    }
}

}  // namespace vl
