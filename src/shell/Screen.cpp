// Shared screen helpers.
#include "shell/Screen.h"

#include "logstore/Dates.h"
#include "logstore/Text.h"

namespace vl {

platform::WindowSpec window_shape(std::string caption, int width, int height,
                                  platform::WindowId owner, std::string font, int points) {
    platform::WindowSpec shape;
    shape.caption = std::move(caption);
    shape.width = width;
    shape.height = height;
    shape.owner = owner;
    shape.font = std::move(font);
    shape.font_points = points;
    return shape;
}

platform::ControlSpec control(platform::ControlKind kind, int id, std::string text, int x, int y,
                              int width, int height, platform::EditStyle style) {
    platform::ControlSpec shape;
    shape.kind = kind;
    shape.id = id;
    shape.text = std::move(text);
    shape.x = x;
    shape.y = y;
    shape.width = width;
    shape.height = height;
    shape.style = style;
    return shape;
}

void add_labelled_box(const ScreenContext& ctx, platform::WindowId window, int label_id, int box_id,
                      std::string label, int y, int label_width, int box_width) {
    using platform::ControlKind;
    ctx.ui().add_control(
        window, control(ControlKind::Label, label_id, std::move(label), 5, y, label_width, 12));
    ctx.ui().add_control(window, control(ControlKind::Edit, box_id, "", 10 + label_width, y,
                                         box_width, 12, platform::EditStyle::ReadOnly));
}

void tell_unreadable(const ScreenContext& ctx, platform::WindowId owner, std::string_view file) {
    ctx.ui().message_box(owner, "File Error",
                         std::string(file) +
                             " could not be read when Varrow Log started, so it is not written "
                             "in this run. Your changes are not saved.",
                         platform::MessageButtons::Ok);
}

std::string stray_bytes_text(std::string_view whose, uint64_t count) {
    const bool one = count == 1;
    return std::string(whose) + " ended with" + plain_number(static_cast<long>(count)) +
           (one ? " byte that is not a whole entry. It is"
                : " bytes that are not a whole entry. They are") +
           " kept in MYLOG.BAD; every whole entry is in the log.";
}

bool save_settings(const ScreenContext& ctx, platform::WindowId owner) {
    if (ctx.unreadable.settings) {
        tell_unreadable(ctx, owner, kSettingsFile);
        return false;
    }
    if (platform::replace_file(ctx.platform.files, ctx.program_dir + std::string(kSettingsFile),
                               format_settings(ctx.settings))) {
        return true;
    }
    ctx.ui().message_box(owner, "File Error", "DBNAMES.TXT could not be written",
                         platform::MessageButtons::Ok);
    return false;
}

bool refuse_commas(const ScreenContext& ctx, platform::WindowId window, int control) {
    std::string text = ctx.ui().text(window, control);
    if (text.find(',') == std::string::npos) {
        return false;
    }
    std::erase(text, ',');
    ctx.ui().set_text(window, control, text);
    refuse(ctx, window, "A comma cannot be kept here; it was taken out.");
    return true;
}

void refuse(const ScreenContext& ctx) {
    ctx.platform.sound.beep(platform::Beep::Default);
}

void add_announcement_label(const ScreenContext& ctx, platform::WindowId window, int x, int y,
                            int width) {
    ctx.ui().add_control(
        window, control(platform::ControlKind::Label, kAnnouncementLabel, "", x, y, width, 10));
}

void announce(const ScreenContext& ctx, platform::WindowId window, std::string_view sentence,
              int label) {
    ctx.ui().set_text(window, label, "");
    ctx.ui().set_text(window, label, sentence);
}

void refuse(const ScreenContext& ctx, platform::WindowId window, std::string_view why, int label) {
    refuse(ctx);
    announce(ctx, window, why, label);
}

std::optional<std::string> tidy_date_or_warn(const ScreenContext& ctx, platform::WindowId owner,
                                             std::string_view typed) {
    auto tidied = tidy_date(typed, ctx.date_format());
    if (!tidied) {
        ctx.ui().message_box(owner, "Date Error", date_error_text(ctx.date_format()),
                             platform::MessageButtons::Ok);
    }
    return tidied;
}

// The box says what is expected, so a listener knows what to type.
std::string date_error_text(int date_format) {
    switch (date_format) {
        case kMonthDayYear:
            return "Type the date as month/day/year, for example 03/14/26.";
        case kYearMonthDay:
            return "Type the date as year/month/day, for example 26/03/14.";
        default:
            return "Type the date as day/month/year, for example 14/03/26.";
    }
}

void report_log_status(const ScreenContext& ctx, platform::WindowId owner, LogStatus status) {
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
