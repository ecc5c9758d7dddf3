// The entry editor ("Off Line Logging" and " Edit Entry "), on-line logging and the log
// browser.
#pragma once

#include "logging/LoggingContext.h"

namespace vl {

// New entries when `edit_entry` is 0; otherwise that entry is edited and the first save
// closes the screen. Returns the edited entry's new number, or 0 when it was not saved.
int show_entry_editor(const LoggingContext& ctx, platform::WindowId owner, int edit_entry = 0);
void show_off_line_logging(const LoggingContext& ctx, platform::WindowId owner);
void show_on_line_logging(const LoggingContext& ctx, platform::WindowId owner);
void show_log_browser(const LoggingContext& ctx, platform::WindowId owner);

}  // namespace vl
