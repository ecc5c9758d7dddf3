// Start-up, main menu and exit steps. Each data file is loaded in a fixed order before the
// menu appears; leaving the menu closes the log and writes what must be kept.
#include "program/Program.h"

#include <algorithm>

#include "digital/DigitalLink.h"
#include "dxdata/CountryUpdate.h"
#include "logstore/Bands.h"
#include "logstore/Text.h"
#include "program/AppContext.h"
#include "program/Backup.h"
#include "program/MainMenu.h"
#include "shell/Screen.h"

namespace vl {

namespace {

constexpr std::string_view kProgramTitle = "VarrowLog";
// Held for the whole run, so a second copy on the same folder leaves every file alone.
constexpr std::string_view kLockFile = "VARROWLOG.LCK";

void say(AppContext& ctx, std::string_view title, const std::string& text) {
    ctx.ui().message_box(platform::kNoWindow, title, text, platform::MessageButtons::Ok);
}

// One *.RIG file turns CAT on; a port that will not open is reported once. A transceiver
// served by Hamlib leaves the definition's port to Hamlib.
void set_up_rig(AppContext& ctx) {
    if (!ctx.rig || ctx.rig->unreadable || ctx.hamlib.rig) {
        return;
    }
    const std::string table = read_port_table(ctx.platform.files, ctx.program_dir);
    if (auto device = ctx.rig_control.set_up(*ctx.rig, ctx.platform.serial, table)) {
        say(ctx, "Rig Control Port", *device + " not available");
    }
}

void load_hamlib_settings(AppContext& ctx) {
    const auto text = read_whole_file(ctx.platform.files,
                                      ctx.program_dir + std::string(hamlib::kSettingsFile), 65536);
    ctx.hamlib = text ? hamlib::parse_settings(*text) : hamlib::Settings{};
}

// A daemon HAMLIB.TXT gives a model for is started on the loopback address, at the port the
// client will ask, as other loggers do; without Hamlib installed the operator is told.
void start_hamlib_daemon(AppContext& ctx, std::optional<hamlib::Daemon>& daemon,
                         const std::string& program) {
    if (!daemon || daemon->model.empty()) {
        return;
    }
    daemon->address.host = "127.0.0.1";
    std::vector<std::string> argv = {program, "-m", daemon->model};
    if (!daemon->device.empty()) {
        argv.insert(argv.end(), {"-r", daemon->device});
    }
    if (!daemon->speed.empty()) {
        argv.insert(argv.end(), {"-s", daemon->speed});
    }
    argv.insert(argv.end(), {"-T", "127.0.0.1", "-t", std::to_string(daemon->address.port)});
    if (auto process = platform::start_process(argv)) {
        ctx.daemons.push_back(std::move(process));
    } else {
        say(ctx, "Hamlib", program + " could not be started. Is Hamlib installed?");
    }
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
        case OpenReport::Outcome::JournalNotSetAside:
            say(ctx, "File Error",
                "MYLOG.JNL holds a change that does not match this log, and it could not be moved "
                "aside to MYLOG.JNL.BAD. MYLOG.LOG has not been changed. Varrow Log will "
                "close.");
            return false;
    }
    if (report.journal_set_aside) {
        say(ctx, "Log File",
            "MYLOG.JNL held a change that does not match this log, so it was not applied. It is "
            "kept as MYLOG.JNL.BAD; MYLOG.LOG has not been changed.");
    }
    if (report.change_unfinished) {
        say(ctx, "Log File",
            "The last change to the log could not be written to MYLOG.LOG; the disk may be "
            "full. The change is kept in MYLOG.JNL and is written when there is room.");
    }
    if (report.stray_bytes > 0) {
        say(ctx, "Log File", stray_bytes_text("MYLOG.LOG", report.stray_bytes));
    }
    return true;
}

// COUNTRY.EXC, the exact calls and prefixes the ranges cannot carry. Without it, or with lines
// of it damaged, the ranges still find every country, so the program goes on. Returns the note
// naming the cty.dat it was made from.
std::string load_country_exceptions(AppContext& ctx) {
    const std::string path = ctx.program_dir + "COUNTRY.EXC";
    if (!ctx.platform.files.exists(path)) {
        return {};
    }
    auto text = platform::read_whole_file(ctx.platform.files, path, 16 << 20);
    if (!text) {
        say(ctx, "File Error",
            "COUNTRY.EXC could not be read. Countries are found by COUNTRY.LST alone.");
        return {};
    }
    CountryExceptionsReport report = ctx.countries.load_exceptions(*text);
    if (report.lines_left_out > 0 && ctx.countries.count() > 0) {
        say(ctx, "File Error",
            "COUNTRY.EXC:" + plain_number(report.lines_left_out) +
                " lines do not match COUNTRY.LST or could not be read, and are left out. "
                "Countries are still found by COUNTRY.LST.");
    }
    return report.source_note;
}

// A cty.dat the operator placed in the program folder, newer than the one COUNTRY.EXC was made
// from, is read once: both files are rewritten through a temporary file and a rename, and
// loaded again.
void update_country_data(AppContext& ctx, const std::string& note) {
    std::string path = ctx.program_dir + "cty.dat";
    if (!ctx.platform.files.exists(path)) {
        path = ctx.program_dir + "CTY.DAT";
        if (!ctx.platform.files.exists(path)) {
            return;
        }
    }
    auto text = platform::read_whole_file(ctx.platform.files, path, 16 << 20);
    if (!text || country_file_note_of(*text) == note) {
        return;
    }
    CountryUpdate update = update_from_country_file(ctx.countries, *text);
    if (update.done) {
        if (update.list_text &&
            !platform::replace_file(ctx.platform.files, ctx.program_dir + "COUNTRY.LST",
                                    *update.list_text)) {
            update.list_text.reset();
            update.ranges_kept_because = "COUNTRY.LST could not be written.";
        }
        if (!platform::replace_file(ctx.platform.files, ctx.program_dir + "COUNTRY.EXC",
                                    update.exceptions_text)) {
            say(ctx, "File Error",
                "COUNTRY.EXC could not be written; the country data is "
                "unchanged.");
            return;
        }
        if (update.list_text) {
            ctx.countries.load(*update.list_text);
        }
        ctx.countries.load_exceptions(update.exceptions_text);
    }
    say(ctx, kProgramTitle, country_update_text(update));
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
    } else if (text->find_first_not_of(" \t\r\n") == std::string::npos) {
        say(ctx, "File Error", "COUNTRY.LST is empty, so no call sign finds its country.");
    }
    const std::string note = load_country_exceptions(ctx);
    update_country_data(ctx, note);
}

// A settings file of the program's folder: nothing when it is absent. A file that is there
// but cannot be read (or is far too large to be one) is said, and marked so that it is not
// written back in this run.
std::optional<std::string> read_settings_file(AppContext& ctx, std::string_view name,
                                              bool& unreadable) {
    const std::string path = ctx.program_dir + std::string(name);
    auto text = platform::read_whole_file(ctx.platform.files, path, 1 << 20);
    if (!text && ctx.platform.files.exists(path)) {
        unreadable = true;
        say(ctx, "File Error",
            std::string(name) +
                " could not be read. Varrow Log goes on without it and does not write it in "
                "this run, so what it holds is kept.");
    }
    return text;
}

// A missing RIG.LST leaves the station data empty and the date format 0.
void load_station_data(AppContext& ctx) {
    if (auto text = read_settings_file(ctx, kStationFile, ctx.unreadable.station)) {
        ctx.station = parse_station_data(*text);
    }
}

// A missing DBNAMES.TXT leaves every setting empty.
void load_settings(AppContext& ctx) {
    if (auto text = read_settings_file(ctx, kSettingsFile, ctx.unreadable.settings)) {
        ctx.settings = parse_settings(*text);
    }
}

// A missing CALLBOOK.TXT leaves the on-line call book without an account.
void load_callbook_account(AppContext& ctx) {
    if (auto text = read_settings_file(ctx, kCallBookAccountFile, ctx.unreadable.callbook)) {
        ctx.callbook_account = parse_callbook_account(*text);
    }
}

// A missing UPLOADS.TXT leaves every service not set up. The queue is read whatever the
// accounts say: what waits for a service no longer set up waits on.
void load_uploads(AppContext& ctx) {
    if (auto text = read_settings_file(ctx, kUploadAccountsFile, ctx.uploads.accounts_unreadable)) {
        ctx.uploads.accounts = parse_upload_accounts(*text);
    }
    if (!ctx.uploads.queue.load(ctx.program_dir)) {
        say(ctx, "File Error",
            std::string(kUploadQueueFile) +
                " could not be read. Varrow Log goes on without it and does not write it in "
                "this run, so what it holds is kept.");
    }
    ctx.log.set_entry_observer([&ctx](const LogRecord* before, const LogRecord& after) {
        queue_log_change(ctx.uploads, before, after);
    });
}

// A missing DXCC.CHT leaves the chart clear (Log Check fills it) and is written at exit.
// One that cannot be read or is not the chart's size is said and made again from the log.
void load_chart(AppContext& ctx) {
    const std::string path = ctx.program_dir + "DXCC.CHT";
    if (!ctx.platform.files.exists(path)) {
        ctx.chart_file.missing = true;
        return;
    }
    auto bytes = platform::read_whole_file(ctx.platform.files, path, 1 << 20);
    if (!bytes || bytes->size() != kChartFileSize) {
        say(ctx, "File Error",
            "DXCC.CHT could not be read or is not a chart. It has been made again from the log.");
        ctx.chart.rebuild_from_log(ctx.log, ctx.countries);
        keep_chart(ctx, true);
        return;
    }
    ctx.chart.load(*bytes);
    // The chart is written up to a second after the log, so a run that stopped may have left
    // contacts in the log without their marks; the next station of such a country would be
    // announced as a new one.
    if (ctx.chart.add_marks_from_log(ctx.log, ctx.countries)) {
        keep_chart(ctx, true);
    }
}

// A save that stopped before its rename left the file as it was, with its new copy beside
// it: the copy is litter. (The log clears its own when it opens.)
void remove_leftovers(AppContext& ctx) {
    std::vector<std::string> names = {"DXCC.CHT", "NOTEPAD.TXT"};
    for (const std::string& name : ctx.settings.database_names) {
        if (!name.empty() && name.find("NONE") == std::string::npos) {
            names.push_back(name);
        }
    }
    for (const std::string& name : names) {
        const std::string leftover = name + ".NEW";
        // The operator may have named a database so; it is theirs.
        if (std::find(names.begin(), names.end(), leftover) != names.end()) {
            continue;
        }
        if (ctx.platform.files.exists(ctx.program_dir + leftover)) {
            ctx.platform.files.remove(ctx.program_dir + leftover);
        }
    }
}

}  // namespace

int run_program(platform::Platform& services, const std::string& program_dir) {
    AppContext ctx(services, program_dir);
    ctx.scale = services.ui.screen_width() / 640.0;

    platform::LockResult lock = services.files.try_lock(program_dir + std::string(kLockFile));
    // A folder where the lock cannot even be made is one the log cannot be written in
    // either; the run goes on and the log store reports what fails.
    if (lock.busy) {
        say(ctx, kProgramTitle, "Varrow Log is already running from this folder");
        return 1;
    }

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
    load_hamlib_settings(ctx);
    start_hamlib_daemon(ctx, ctx.hamlib.rig, "rigctld");
    start_hamlib_daemon(ctx, ctx.hamlib.rotator, "rotctld");
    set_up_rig(ctx);
    load_label_files(ctx.platform.files, ctx.program_dir, ctx.labels);
    load_settings(ctx);
    load_callbook_account(ctx);
    load_uploads(ctx);
    remove_leftovers(ctx);

    DigitalLink digital(ctx, services.datagrams);
    digital.start();
    ctx.digital = &digital;
    run_main_menu(ctx);
    ctx.digital = nullptr;

    // Exit steps: the chart is kept for the next run, the log copied to the backup drive
    // as the log store holds it, and every file closed.
    keep_chart(ctx, true);
    if (!ctx.settings.backup_drive.empty()) {
        back_up_log(ctx);
    }
    ctx.rig_control.close();
    // A batch that has ended takes its contacts out of the queue; one still running is
    // given up, and what it was sending is sent again at the next start.
    finish_uploads(ctx.uploads);
    ctx.log.set_entry_observer(nullptr);
    ctx.daemons.clear();
    ctx.log.close();
    return 0;
}

}  // namespace vl
