// Shared screen helpers.
#include "shell/Screen.h"

#include "logstore/Dates.h"

namespace vl {

void refuse(AppContext& ctx) { ctx.platform.sound.beep(platform::Beep::Default); }

std::optional<std::string> tidy_date_or_warn(AppContext& ctx, platform::WindowId owner,
                                             std::string_view typed) {
    auto tidied = tidy_date(typed, ctx.date_format);
    if (!tidied) {
        ctx.ui().message_box(owner, "Date Error", "", platform::MessageButtons::Ok);
    }
    return tidied;
}

void report_log_status(AppContext& ctx, platform::WindowId owner, LogStatus status) {
    switch (status) {
        case LogStatus::Ok:
            return;
        case LogStatus::Full:
            ctx.ui().message_box(owner, kLogFullTitle, kLogFullText, platform::MessageButtons::Ok);
            return;
        case LogStatus::WriteFailed:
        case LogStatus::NotOpen:
        case LogStatus::NoSuchEntry:
            ctx.ui().message_box(owner, kLogWriteTitle, kLogWriteText,
                                 platform::MessageButtons::Ok);
            return;
    }
}

}  // namespace vl
