// What every screen shares: the platform, the program's folder, the log, the settings and
// the main window. It only refers to them: the program's context owns them for the run and
// hands each subsystem this, or a context of its own built on it, by value.
#pragma once

#include <string>

#include "logstore/LogStore.h"
#include "platform/Platform.h"
#include "shell/Settings.h"

namespace vl {

// Which files were found but could not be read at start-up: they are not written back in
// that run, so what is in them is not replaced by empty fields.
struct UnreadableFiles {
    bool station = false;   // RIG.LST
    bool settings = false;  // DBNAMES.TXT
    bool callbook = false;  // CALLBOOK.TXT
};

struct ScreenContext {
    platform::Ui& ui() const { return platform.ui; }
    int date_format() const { return date_format_setting; }

    platform::Platform& platform;
    // The folder the program's files live in, with its trailing separator.
    const std::string& program_dir;
    const double& scale;  // screen width / 640
    LogStore& log;
    Settings& settings;
    UnreadableFiles& unreadable;
    const platform::WindowId& main_window;
    // Kept beside the station data in RIG.LST, read by every screen that takes a date.
    const int& date_format_setting;
};

}  // namespace vl
