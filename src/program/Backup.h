// The backup copy of the log, made when the program ends, and its restore.
//
// The backup drive setting names where the copy goes. On Windows it is a drive letter and
// the copy is that drive's MYLOG.LOG. Where there are no drive letters, a single letter X
// names the folder DRIVES/X beside the program's files (make it a link to a USB stick's
// mount point, for example). A full path starting with "/", or on Windows with a drive
// ("E:\\Logs"), names a folder directly. Any other text, "E:" included, names no folder and
// the copy fails.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "program/AppContext.h"

namespace vl {

// Where the backup copy of the log is kept for this backup drive setting, or nothing.
std::optional<std::string> backup_path(const std::string& program_dir,
                                       std::string_view backup_drive);

// Why a copy cannot be made with this backup drive setting, as a sentence for the
// operator; empty when its folder is there.
std::string backup_drive_problem(AppContext& ctx, std::string_view backup_drive);

// Exit step: a log with entries is copied as the log store holds it, replacing an older
// copy. "Log not saved", with the reason, when that fails. An empty log leaves the older
// copy alone.
void back_up_log(AppContext& ctx);

// "Restore Log": after a Yes, the backup copy replaces the log and the indexes are built
// again; the log is left as it was, and the message says why, when there is no copy, the
// copy is one the log could not hold, or it cannot be copied.
void restore_log(AppContext& ctx, platform::WindowId owner);

}  // namespace vl
