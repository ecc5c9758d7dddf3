// Start-up, main menu and exit steps. Each data file is loaded in a fixed order before the
// menu appears; leaving the menu closes the log and writes what must be kept.
#include "shell/Program.h"

#include "logstore/Bands.h"
#include "logstore/Text.h"
#include "shell/AppContext.h"
#include "shell/Backup.h"
#include "shell/MainMenu.h"

namespace vl {

namespace {

constexpr std::string_view kProgramTitle = "VarrowLog";

void say(AppContext& ctx, std::string_view title, const std::string& text) {
    ctx.ui().message_box(platform::kNoWindow, title, text, platform::MessageButtons::Ok);
}

// Opens MYLOG.LOG and tells the operator of anything found wrong with it. False when the
// log cannot be used, and the program must end without touching it.
bool open_log(AppContext& ctx) {
    OpenReport report = ctx.log.open(ctx.program_dir + "MYLOG.LOG");
    switch (report.outcome) {
        case OpenReport::Outcome::Opened:
            break;
        case OpenReport::Outcome::CannotOpen:
            say(ctx, "File Error", "MYLOG.LOG could not be opened. Varrow Log will close.");
            return false;
        case OpenReport::Outcome::TooLarge:
            say(ctx, "File Error",
                "MYLOG.LOG holds more than 120000 entries, more than Varrow Log can keep. "
                "The file has not been changed. Varrow Log will close.");
            return false;
        case OpenReport::Outcome::StrayNotSaved:
            say(ctx, "File Error",
                "MYLOG.LOG ends with part of an entry, and it could not be kept aside in "
                "MYLOG.BAD. The file has not been changed. Varrow Log will close.");
            return false;
    }
    if (report.stray_bytes > 0) {
        say(ctx, "Log File",
            "MYLOG.LOG ended with" + plain_number(static_cast<long>(report.stray_bytes)) +
                " bytes that are not a whole entry. They are kept in MYLOG.BAD; every whole "
                "entry is in the log.");
    }
    return true;
}

void load_country_list(AppContext& ctx) {
    const std::string path = ctx.program_dir + "COUNTRY.LST";
    if (!ctx.platform.files.exists(path)) {
        say(ctx, kProgramTitle, "File COUNTRY.LST missing");
        return;
    }
    // A country list is a few tens of kilobytes; a file far larger is not one.
    auto text = platform::read_whole_file(ctx.platform.files, path, 4 << 20);
    if (!text) {
        say(ctx, "File Error", "COUNTRY.LST could not be read");
        return;
    }
    if (auto error = ctx.countries.load(*text)) {
        say(ctx, "File Error", country_list_error_text(*error));
    }
}

// A missing RIG.LST leaves the station data empty and the date format 0.
void load_station_data(AppContext& ctx) {
    if (auto text = platform::read_whole_file(
            ctx.platform.files, ctx.program_dir + std::string(kStationFile), 1 << 20)) {
        ctx.station = parse_station_data(*text);
    }
}

// A missing or unreadable DBNAMES.TXT leaves every setting empty.
void load_settings(AppContext& ctx) {
    if (auto text = platform::read_whole_file(
            ctx.platform.files, ctx.program_dir + std::string(kSettingsFile), 1 << 20)) {
        ctx.settings = parse_settings(*text);
    }
}

// A missing or empty DXCC.CHT leaves the chart clear; Log Check fills it again.
void load_chart(AppContext& ctx) {
    if (auto bytes =
            platform::read_whole_file(ctx.platform.files, ctx.program_dir + "DXCC.CHT", 1 << 20)) {
        ctx.chart.load(*bytes);
    }
}

void save_chart(AppContext& ctx) {
    platform::replace_file(ctx.platform.files, ctx.program_dir + "DXCC.CHT", ctx.chart.bytes());
}

}  // namespace

int run_program(platform::Platform& services, const std::string& program_dir) {
    AppContext ctx(services, program_dir);
    ctx.scale = services.ui.screen_width() / 640.0;

    load_country_list(ctx);
    if (!open_log(ctx)) {
        return 1;
    }
    for (std::size_t band = 0; band < kFrequencyNames.size(); ++band) {
        ctx.frequency_names[band] = kFrequencyNames[band];
    }
    load_station_data(ctx);
    load_chart(ctx);
    ctx.rig = find_rig_definition(ctx.platform.files, ctx.program_dir);
    load_label_files(ctx.platform.files, ctx.program_dir, ctx.labels);
    load_settings(ctx);

    run_main_menu(ctx);

    // Exit steps: every file is closed (the menu closed the log on Escape), and the chart
    // is kept for the next run.
    ctx.log.close();
    save_chart(ctx);
    if (!ctx.settings.backup_drive.empty()) {
        back_up_log(ctx);
    }
    return 0;
}

}  // namespace vl
