// A record of every focus move a backend tells its screens of, one line each:
// "WINDOW CAPTION" CONTROL. Written only when VARROW_FOCUS_LOG names a file, so that the
// same key script run on the key-script backend and on the desktop can be compared. The
// backends pass the system's files: the log is theirs, not the screens'.
#pragma once

#include <string_view>

namespace vl::platform {

class FileSystem;

void log_focus(FileSystem& files, std::string_view caption, int control);

}  // namespace vl::platform
