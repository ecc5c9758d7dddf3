// Start-up, main menu and exit steps. Each data file is loaded in a fixed order before the
// menu appears; leaving the menu closes the log and writes what must be kept.
#include "shell/Program.h"

#include "logstore/Bands.h"
#include "logstore/Text.h"
#include "shell/AppContext.h"
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

}  // namespace

int run_program(platform::Platform& services, const std::string& program_dir) {
    AppContext ctx(services, program_dir);
    ctx.scale = services.ui.screen_width() / 640.0;

    if (!services.files.exists(ctx.program_dir + "COUNTRY.LST")) {
        say(ctx, kProgramTitle, "File COUNTRY.LST missing");
    }
    if (!open_log(ctx)) {
        return 1;
    }
    for (std::size_t band = 0; band < kFrequencyNames.size(); ++band) {
        ctx.frequency_names[band] = kFrequencyNames[band];
    }

    run_main_menu(ctx);

    // Exit steps: every file is closed (the menu closed the log on Escape).
    ctx.log.close();
    return 0;
}

}  // namespace vl
