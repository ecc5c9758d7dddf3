// Helpers every screen shares: the refused-action beep, the date check with its
// "Date Error" box, and the messages for log operations that could not be done.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "shell/ScreenContext.h"

namespace vl {

// A captioned window owned by `owner`, sized in layout units (times the scale factor).
platform::WindowSpec window_shape(std::string caption, int width, int height,
                                  platform::WindowId owner, std::string font = "Courier",
                                  int points = 8);

// A control of a screen, placed in layout units.
platform::ControlSpec control(platform::ControlKind kind, int id, std::string text, int x, int y,
                              int width, int height,
                              platform::EditStyle style = platform::EditStyle::Plain);

// A read-only box preceded by its label, one row of a screen that reads a record aloud.
void add_labelled_box(const ScreenContext& ctx, platform::WindowId window, int label_id, int box_id,
                      std::string label, int y, int label_width, int box_width);

// A refused action: the default beep, the focus stays where the operator must act.
void refuse(const ScreenContext& ctx);

// The label a screen says short sentences through: the backends speak a label whose text
// changes. It is made before any other label, so no box takes it for its name.
inline constexpr int kAnnouncementLabel = 98;
void add_announcement_label(const ScreenContext& ctx, platform::WindowId window, int x, int y,
                            int width);

// Says `sentence` through the window's announcement label `label`; the label is emptied
// first, so the same sentence is said again.
void announce(const ScreenContext& ctx, platform::WindowId window, std::string_view sentence,
              int label = kAnnouncementLabel);

// A refused action that says why: the default beep, then the sentence.
void refuse(const ScreenContext& ctx, platform::WindowId window, std::string_view why,
            int label = kAnnouncementLabel);

// The tidied date, or nothing after the "Date Error" box; dates the log cannot hold
// (after 22 July 2029) are refused the same way.
std::optional<std::string> tidy_date_or_warn(const ScreenContext& ctx, platform::WindowId owner,
                                             std::string_view typed);

// The text of the "Date Error" box for the operator's date format.
std::string date_error_text(int date_format);

// Tells the operator why a log operation was not done; nothing for LogStatus::Ok.
void report_log_status(const ScreenContext& ctx, platform::WindowId owner, LogStatus status);

// Writes DBNAMES.TXT; false when the file could not be written, after telling the operator.
bool save_settings(const ScreenContext& ctx, platform::WindowId owner);

// Says that `file` is not written in this run, as it could not be read at start-up.
void tell_unreadable(const ScreenContext& ctx, platform::WindowId owner, std::string_view file);

// Removes commas from a box the operator is typing in: a comma would split the value when
// its file is read back. Beeps and returns true when there was one.
bool refuse_commas(const ScreenContext& ctx, platform::WindowId window, int control);

// What is said of bytes after a log's last whole entry, kept in MYLOG.BAD: `whose` is
// "MYLOG.LOG" or "The backup copy".
std::string stray_bytes_text(std::string_view whose, uint64_t count);

// Message texts shared by the screens and the tests.
inline constexpr std::string_view kLogFullTitle = "Log Full";
inline constexpr std::string_view kLogFullText =
    "The log holds 120000 entries, the most it can keep. The entry was not saved.";
inline constexpr std::string_view kLogWriteTitle = "File Error";
inline constexpr std::string_view kLogWriteText =
    "The log file could not be written. The log is as it was before.";

}  // namespace vl
