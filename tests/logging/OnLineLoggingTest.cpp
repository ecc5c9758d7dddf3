// On line logging as an operator working a pile-up meets it: stations logged on, walked,
// edited and logged off out of order, the contact checks and their spoken verdict, CQ, a
// full net, the clock, and the log, its indexes and the chart checked after each.
#include <gtest/gtest.h>

#include <algorithm>

#include "dxdata/DxccChart.h"
#include "logging/NetRules.h"
#include "logstore/CallSigns.h"
#include "logstore/Dates.h"
#include "logstore/LogStore.h"
#include "logstore/Text.h"
#include "support/FaultyFiles.h"
#include "support/Scripts.h"
#include "support/TestSupport.h"

namespace vl {
namespace {

using Lines = std::vector<std::string>;
using test::lines_from;
using test::open_menu_entry;

constexpr int kOnLine = 2;
constexpr int kJapan = 339, kEngland = 223, kGermany = 230;
const std::string kScreen = "window \"On Line Logging\"";
const std::string kLeave = "key Escape\nanswer yes\nkey Escape\n";
// From RST Sent, where the checks leave the focus, to the Country and Last QSO boxes: they
// are read when the operator moves to them, the verdict having been spoken at once.
const std::string kReadChecks = "key Tab Tab Tab Tab\n";

// On an empty log the screen opens on 160 m, whose station data has no mode or power: they
// are typed, as a log-on needs both.
const std::string kStation = "key Alt+M\ntype SSB\nkey Alt+W\ntype 10\nkey Shift+Tab\n";

std::string log_on(const std::string& call) {
    return "type " + call + "\nkey Enter\nkey F2\n";
}

QsoEntry logged_on(const std::string& call) {
    return log_on_entry({call, "59", "57", ""}, 7000, "14:02", 4, "A1A", "100");
}

// A contact on 20 m SSB on 1 June 2024 at 1000.
LogRecord old_qso(std::string_view call) {
    return test::qso(static_cast<int16_t>(date_code(124, 6, 1)), 600, call, 4);
}

bool has(const Lines& journal, const std::string& line) {
    return std::find(journal.begin(), journal.end(), line) != journal.end();
}

bool has_prefix(const Lines& journal, const std::string& prefix) {
    return std::any_of(journal.begin(), journal.end(),
                       [&](const std::string& line) { return line.rfind(prefix, 0) == 0; });
}

class OnLineLoggingTest : public ::testing::Test {
protected:
    void SetUp() override {
        dir.write("COUNTRY.LST",
                  "G,G,England,223,52,-1\r\nJA,JS,Japan,339,36,140\r\nDA,DR,Germany,230,51,10\r\n"
                  "4U1,4U1,United Nations,0,46,6\r\n");
        // 20 m CW at 100 W, 40 m SSB at 400 W.
        std::string rig;
        for (int band = 0; band < 13; ++band) {
            rig += band == 4   ? "FT1,100,Yagi,Op,A1A\r\n"
                   : band == 2 ? "FT1,400,Dipole,Op,J3E\r\n"
                               : ",,,,\r\n";
        }
        dir.write("RIG.LST", rig + "0\r\n");
        std::string settings;
        for (int line = 0; line < 10; ++line) {
            settings += "\r\n";  // no databases
        }
        dir.write("DBNAMES.TXT", settings + "52\r\n-1\r\n");  // home in England
    }
    // A log whose last entry puts the screen on 20 m.
    void write_log(std::vector<LogRecord> records) {
        dir.write("MYLOG.LOG", test::log_bytes(records));
    }
    Lines run(const std::string& script, const std::string& clock = "2025-03-14 14:02:00") {
        test::HeadlessRun result = test::run_program_headless(
            dir.path(), "clock " + clock + "\n" + open_menu_entry(kOnLine) + script);
        EXPECT_FALSE(result.script_ended) << "the script left windows open";
        return lines_from(result.journal, kScreen);
    }
    // The log as the next start finds it, with its indexes checked against the file.
    std::vector<QsoEntry> log_on_disk() {
        LogStore log(platform::system_files());
        EXPECT_EQ(log.open(dir.file("MYLOG.LOG")).outcome, OpenReport::Outcome::Opened);
        std::vector<QsoEntry> entries;
        for (int i = 1; i <= log.count(); ++i) {
            entries.push_back(decode_qso(log.entry(i)));
            EXPECT_EQ(log.call_slot(i), base_call_slot(log.entry(i).call_field()));
            EXPECT_EQ(log.date_slot(i), log.entry(i).date());
        }
        return entries;
    }
    DxccChart chart() {
        DxccChart c;
        c.load(dir.read("DXCC.CHT"));
        return c;
    }
    test::TempDir dir;
};

// Three callers logged on, the net walked, one edited, two logged off out of order and the
// last left for the exit: each entry is in the log from its log-on and completed at log-off.
TEST_F(OnLineLoggingTest, APileUpWorkedThroughTheNet) {
    write_log({old_qso("JA1ABC")});
    Lines journal =
        run(log_on("ja1abc") + log_on("g4abc") + log_on("dl1xyz") +
            // Up shows G4ABC; F3 takes it for editing and F2 writes the edit in place.
            "key Up\nkey F3\nkey End\ntype /P\nkey F2\n"
            // The walk: slots 3, 1 and 2; G4ABC/P is logged off at 14:17, before the others.
            "key Down Down Down\nclock 2025-03-14 14:17:00\ntick 10\nkey F12\n"
            // JA1ABC is still on the net: its own new entry is not its previous contact.
            // The check boxes are read by moving to them.
            "type ja1abc\nkey Enter\n" +
            kReadChecks +
            "key Shift+Tab Shift+Tab Shift+Tab Shift+Tab\n"
            // G4ABC/P, logged off out of order, is found by the next G4ABC.
            "key Shift+Tab\ntype g4abc\nkey Enter\n" +
            kReadChecks + kLeave);
    // The dupe is the old 20 m contact, its comment offered again; not slot 1's entry.
    EXPECT_TRUE(has(journal,
                    "focus readonly \"Last QSO:\" \"First  June Two thousand twenty 4, at 1000 "
                    "on 14MHz SSB No QSL\""));
    // Japan is new, but JA1ABC is on the net when it is typed again: its country is not new.
    EXPECT_TRUE(has(journal, "focus readonly \"Country:\" \"Japan\""));
    EXPECT_TRUE(has_prefix(journal, "static \"On the net, QSO 1, JA1ABC. Dupe, 1 June 2024"));
    EXPECT_TRUE(has(journal,
                    "static \"Dupe, 1 June 2024, twenty metres SSB. Japan, new country. "
                    "Beam 031.\""));
    // England was marked on 20 m when G4ABC/P logged off, so it is new no more.
    EXPECT_TRUE(has(journal, "focus readonly \"Country:\" \"England\""));
    EXPECT_TRUE(has(journal, "beep information"));
    EXPECT_TRUE(has(journal, "static \"G4ABC/P changed, QSO 2.\""));
    EXPECT_TRUE(has(journal,
                    "focus readonly \"QSO:\" \"QSO 3, D L 1 X Y Z, on at 1402, 599 "
                    "sent, 599 received\""));
    EXPECT_TRUE(has(journal, "static \"G4ABC/P logged off. 2 on the net.\""));
    EXPECT_TRUE(has(journal,
                    "focus readonly \"Last QSO:\" \"Fourteenth  March Two thousand twenty 5, at "
                    "1402 on 14MHz A1A No QSL\""));
    EXPECT_EQ(std::count(journal.begin(), journal.end(), "sound \"Dupe.wav\""), 3);
    EXPECT_EQ(std::count(journal.begin(), journal.end(), "sound \"LogOn.wav\""), 4);
    EXPECT_EQ(std::count(journal.begin(), journal.end(), "sound \"LogOff.wav\""), 1);

    std::vector<QsoEntry> log = log_on_disk();
    ASSERT_EQ(log.size(), 4u);  // the edit took no new entry
    struct Want {
        const char* call;
        int time_off;
    } want[] = {
        {"JA1ABC      ", 600}, {"JA1ABC      ", 857}, {"G4ABC/P     ", 857}, {"DL1XYZ      ", 857}};
    for (std::size_t i = 0; i < log.size(); ++i) {
        EXPECT_EQ(log[i].call, want[i].call) << i;
        EXPECT_EQ(log[i].time_off, want[i].time_off) << i;
    }
    EXPECT_EQ(log[1].time_on, 842);
    EXPECT_EQ(log[1].date, date_code(125, 3, 14));
    EXPECT_EQ(log[1].band_field, band_field_of(4));
    EXPECT_EQ(log[1].mode, "A1A");
    EXPECT_EQ(log[1].power, "100  ");
    EXPECT_EQ(log[1].comment, std::string("test").append(36, ' '));  // offered again
    EXPECT_EQ(log[1].rst_sent, "599    ");
    DxccChart c = chart();
    EXPECT_EQ(c.cell(kEngland, 4), 0x01);
    EXPECT_EQ(c.cell(kGermany, 4), 0x01);
    EXPECT_EQ(c.cell(kJapan, 4), 0x01);  // marked at the exit: 599 is above 11
}

// A pile-up worked by ear: each log-on and log-off says who and how many, a caller already on
// the net is said as such first and not logged on twice, the walk reads each slot in words
// and says when it goes round, F7 names the station it speaks of, an empty Mode box refuses
// the log-on, and Escape says how many stations leaving logs off.
TEST_F(OnLineLoggingTest, APileUpWorkedByEar) {
    write_log({old_qso("G4XYZ")});
    Lines journal = run(log_on("g4abc") +
                        "type ja1xyz\nkey Enter\ntype 579\nkey Tab\ntype 449\nkey Tab\n"
                        "type first JA\nkey F2\n"
                        // G4ABC calls again, and is logged on again by mistake.
                        "type g4abc\nkey Enter\nkey Shift+Tab\nkey F2\n"
                        // The walk goes round both ways; F7 speaks of the station shown.
                        "key Down\nkey F7\nkey Up\nkey F12\n"
                        // With the Mode box emptied a log-on is refused.
                        "key Alt+M\nkey Backspace\nkey Shift+Tab\ntype dl1xyz\nkey F2\n"
                        "key F7\n" +
                        kLeave);
    EXPECT_TRUE(has(journal, "static \"G4ABC logged on, QSO 1.\""));
    EXPECT_TRUE(has(journal, "static \"JA1XYZ logged on, QSO 2.\""));
    // The caller on the net: said first, its country not new although England is not in the
    // chart; the second log-on refused with the same words and nothing written.
    EXPECT_TRUE(has_prefix(journal, "static \"On the net, QSO 1, G4ABC. England"));
    EXPECT_FALSE(has_prefix(journal, "static \"On the net, QSO 1, G4ABC. England, new"));
    Lines refused = lines_from(journal, "focus edit \"Call Sign:\" \"G4ABC\"");
    ASSERT_GE(refused.size(), 3u);
    EXPECT_EQ(refused[1], "beep default");
    EXPECT_EQ(refused[2], "static \"On the net, QSO 1, G4ABC.\"");
    EXPECT_EQ(std::count(journal.begin(), journal.end(), "sound \"LogOn.wav\""), 2);
    // The walk: Down from QSO 2 goes round to QSO 1, Up from QSO 1 to the last.
    Lines walk = lines_from(journal,
                            "focus readonly \"QSO:\" \"QSO 1, G 4 A B C, on at 1402, 599 sent, "
                            "599 received\"");
    ASSERT_GE(walk.size(), 8u);
    EXPECT_EQ(walk[1], "static \"First on the net.\"");
    EXPECT_TRUE(walk[2].rfind("static \"G4ABC. England", 0) == 0) << walk[2];
    EXPECT_EQ(walk[3], "text \"QSO 2, J A 1 X Y Z, on at 1402, 579 sent, 449 received, first JA\"");
    EXPECT_EQ(walk[4], "static \"Last on the net.\"");
    // F12 logs off the station shown, with the cue after the entry is written.
    EXPECT_EQ(walk[5], "sound \"LogOff.wav\"");
    EXPECT_EQ(walk[6], "focus edit \"Call Sign:\" \"G4ABC\"");
    EXPECT_EQ(walk[7], "static \"JA1XYZ logged off. 1 on the net.\"");
    // The empty Mode box is named, with the focus on it; F7 then speaks of the typed call.
    Lines mode = lines_from(journal, "focus edit \"Mode\" \"\"");
    ASSERT_GE(mode.size(), 5u);
    EXPECT_EQ(mode[1], "beep default");
    EXPECT_EQ(mode[2], "static \"Mode is empty.\"");
    EXPECT_TRUE(has(journal, "static \"DL1XYZ. Germany, new country. Beam 094.\""));
    // Escape: one station is left, so the question is singular and Enter would answer No.
    EXPECT_TRUE(
        has(journal, "message \"Exit on line Logging\" \"Log off 1 station and leave?\" yes"));
    EXPECT_TRUE(has(journal, "static \"G4ABC logged off. No station on the net.\""));
    std::vector<QsoEntry> log = log_on_disk();
    ASSERT_EQ(log.size(), 3u);
    EXPECT_EQ(log[2].call, "JA1XYZ      ");
    EXPECT_EQ(log[2].rst_received, "449    ");
}

// Each announcement of the country box, with the verdict that is spoken at once and again
// on F7. Japan is worked on 20 m in CW only.
TEST_F(OnLineLoggingTest, TheCountryIsAnnouncedNewByCountryBandOrMode) {
    DxccChart worked;
    worked.mark(kJapan, 4, 0, 0);
    struct Case {
        const char* setup;  // keys that pick the band or mode first
        const char* call;
        const char* country;
        const char* verdict;
    } cases[] = {
        {"", "dl1xyz", "Germany New Country", "Germany, new country. Beam 094."},
        {"", "ja1abc", "Japan", "Japan. Beam 031."},
        {"key Alt+M\ntype J3E\n", "ja1abc", "Japan New Country this Mode",
         "Japan, new mode. Beam 031."},
        {"key Alt+F\nkey Down Down\nkey Tab\n", "ja1abc", "Japan New Country this Band",
         "Japan, new band. Beam 031."},
        {"key Alt+F\nkey Up Up Up Up Up Up Up Up Up Up\nkey Tab\n", "ja1abc", "Japan",
         "Japan. Beam 031."},  // the 5 MHz band: never new
        {"", "4u1itu", "United Nations Not a DXCC Entity", "United Nations, not a DXCC entity."},
        {"", "1a0zz", " Not a DXCC Entity", "Not a DXCC entity."},
    };
    for (const Case& c : cases) {
        write_log({old_qso("G4XYZ")});
        dir.write("DXCC.CHT", worked.bytes());
        Lines journal = run(std::string(c.setup) + "key Shift+Tab\ntype " + c.call +
                            "\nkey Enter\nkey F7\n" + kReadChecks + kLeave);
        EXPECT_TRUE(has(journal, "focus readonly \"Country:\" \"" + std::string(c.country) + "\""))
            << c.call;
        // F7 says it again after the call, so the operator knows which station it is of.
        std::string call = c.call;
        std::transform(call.begin(), call.end(), call.begin(), ::toupper);
        EXPECT_TRUE(has(journal, "static \"" + std::string(c.verdict) + "\"")) << c.call;
        EXPECT_TRUE(has(journal, "static \"" + call + ". " + std::string(c.verdict) + "\""))
            << c.call;
        EXPECT_TRUE(has(journal, "focus edit \"RST Sent:\" \"\"")) << c.call;
        EXPECT_FALSE(has(journal, "sound \"Dupe.wav\"")) << c.call;
    }
}

// Default reports by mode, QSL written, a band chosen just before F2; CQ is logged at once on
// Enter, without checks or reports.
TEST_F(OnLineLoggingTest, ReportsDefaultByModeAndCqIsLoggedOnEnter) {
    struct Case {
        const char* mode;
        const char* report;
    } cases[] = {{"A1A", "599    "}, {"CW", "599    "},  {"RTY", "599    "},
                 {"CQC", "N      "}, {"J3E", "59     "}, {"SSB", "59     "}};
    std::string script;
    int caller = 0;
    for (const Case& c : cases) {
        script += "key Alt+M\nkey Backspace\ntype " + std::string(c.mode) + "\nkey Tab\ntype g4a" +
                  std::string(1, static_cast<char>('a' + caller++)) + "\nkey F2\n";
    }
    write_log({old_qso("G4XYZ")});
    // F6 first: the first contact is logged with its QSL sent. Then 40 m is chosen and F2
    // pressed straight from the list: the entry takes that band and its mode.
    Lines journal = run("key F6\n" + script +
                        "type g4zz\nkey Alt+F\nkey Down Down\nkey F2\n"
                        "key Tab\ntype 57\nkey Shift+Tab\ntype CQ\nkey Enter\n" +
                        kLeave);
    std::vector<QsoEntry> log = log_on_disk();
    ASSERT_EQ(log.size(), 9u);
    for (std::size_t i = 0; i < std::size(cases); ++i) {
        EXPECT_EQ(log[i + 1].rst_sent, cases[i].report) << cases[i].mode;
        EXPECT_EQ(log[i + 1].rst_received, cases[i].report) << cases[i].mode;
        EXPECT_EQ(log[i + 1].qsl_flags, i == 0 ? 1 : 0) << cases[i].mode;
    }
    EXPECT_EQ(log[7].band_field, band_field_of(2));
    EXPECT_EQ(log[7].mode, "J3E");
    EXPECT_EQ(log[8].call, "CQ          ");
    EXPECT_EQ(log[8].rst_sent, "57     ");
    EXPECT_EQ(log[8].rst_received, "       ");
    EXPECT_FALSE(has(journal, "static \"No previous contact\""));
}

// The 50th log-on is taken, the 51st is refused and writes nothing; Escape then logs the
// whole net off with one time off, marking the chart only above 11.
TEST_F(OnLineLoggingTest, AFullNetAndTheExitLogOff) {
    std::string script = kStation;
    for (int i = 0; i < 50; ++i) {
        script += "type DL" + std::to_string(i) + "A\nkey F2\n";
    }
    script += "type G4ABC\nkey F2\nanswer ok\n";
    Lines journal = run(script + "clock 2025-03-14 15:30:00\ntick 10\n" + kLeave);
    EXPECT_TRUE(has(journal,
                    "message \"NET LOG FULL\" \"You have 50 calls logged on\\x0D\\x0ATo "
                    "continue you must log some calls off\" ok"));
    // No cue for the refused log-on: it is played once an entry is written.
    EXPECT_EQ(std::count(journal.begin(), journal.end(), "sound \"LogOn.wav\""), 50);
    EXPECT_TRUE(
        has(journal, "message \"Exit on line Logging\" \"Log off 50 stations and leave?\" yes"));
    std::vector<QsoEntry> log = log_on_disk();
    ASSERT_EQ(log.size(), 50u);
    for (const QsoEntry& e : log) {
        EXPECT_EQ(e.time_off, 15 * 60 + 30);
    }
    EXPECT_EQ(chart().cell(kGermany, 0), 0x01 << 2);  // 59 received, on 160 m, SSB

    // Three stations on the net, one heard with a report of 11: only two are marked, on the
    // band selected when the screen closes (40 m), while the entries keep 160 m.
    dir.write("DXCC.CHT", DxccChart().bytes());
    run(kStation +
        "type g4abc\nkey F2\ntype ja1abc\nkey Tab\nkey Tab\ntype 11\nkey F2\ntype dl1xyz\nkey F2\n"
        "key Alt+F\nkey Up Up\nkey Tab\n" +
        kLeave);
    DxccChart c = chart();
    EXPECT_NE(c.cell(kEngland, 2), 0);
    EXPECT_EQ(c.cell(kJapan, 2), 0);
    EXPECT_NE(c.cell(kGermany, 2), 0);
    EXPECT_EQ(c.cell(kEngland, 0), 0);
    log = log_on_disk();
    ASSERT_EQ(log.size(), 53u);
    EXPECT_EQ(log[52].band_field, band_field_of(0));
}

// The clock renews UTC each second: "00 " in the hour after midnight, the date turning over.
// A clock box is spoken when it has the focus, never while the operator is elsewhere.
TEST_F(OnLineLoggingTest, TheClockAcrossMidnight) {
    Lines journal = run("key Alt+T\ntick 9\nkey Alt+D\ntick 1\nkey Alt+T\ntick 600\n" + kLeave,
                        "2029-07-21 23:59:59");
    Lines want = {kScreen,
                  "focus edit \"Call Sign:\" \"\"",
                  "focus readonly \"TIME \" \"twenty 3 fifty 9\"",
                  "focus readonly \"DATE \" \"twenty 1 July  Two thousand and twenty 9\"",
                  "text \"twenty 2 July  Two thousand and twenty 9\"",
                  "focus readonly \"TIME \" \"00 hundred\"",
                  "text \"00 01\""};  // a minute later
    ASSERT_GE(journal.size(), want.size());
    EXPECT_EQ(Lines(journal.begin(), journal.begin() + static_cast<long>(want.size())), want);
}

// Logging on is refused, with nothing written and no slot taken, when the log is full or
// the date is one the log cannot hold; a log write that fails leaves the net as it was.
TEST_F(OnLineLoggingTest, ALogOnTheLogCannotTakeIsRefused) {
    Lines journal =
        run(kStation + "type g4abc\nkey F2\nanswer ok\nkey Down\n" + kLeave, "2029-07-23 10:00:00");
    EXPECT_TRUE(has(journal,
                    "message \"Date Error\" \"Type the date as day/month/year, for "
                    "example 14/03/26.\" ok"));
    EXPECT_TRUE(has(journal, "focus readonly \"QSO:\" \"QSO 1, \""));
    EXPECT_TRUE(log_on_disk().empty());

    // A full log: the entry editor's message, and F12 finds nobody on the net.
    std::vector<LogRecord> full(kMaxLogEntries, old_qso("G4XYZ"));
    write_log(full);
    journal = run("type g4abc\nkey F2\nanswer ok\nkey F12\n" + kLeave);
    EXPECT_TRUE(has(journal,
                    "message \"Log Full\" \"The log holds 120000 entries, the most it can "
                    "keep. The entry was not saved.\" ok"));
    EXPECT_TRUE(has(journal, "static \"No station on the net.\""));
    EXPECT_EQ(log_on_disk().size(), static_cast<std::size_t>(kMaxLogEntries));
    write_log({});

    test::FaultyFiles files;
    files.fill_disk(dir.file("MYLOG"));  // the log and its journal
    test::HeadlessRun failed = test::run_program_headless(
        dir.path(),
        "clock 2025-03-14 14:02:00\n" + open_menu_entry(kOnLine) + kStation +
            "type g4abc\nkey F2\nanswer ok\nkey F12\n" + kLeave,
        test::TestPrinter::Ready, &files);
    EXPECT_TRUE(has(failed.journal,
                    "message \"File Error\" \"The log file could not be written. "
                    "The log is as it was before.\" ok"));
    EXPECT_TRUE(has(failed.journal, "beep default"));  // F12: nobody is on the net
    // The log-on cue follows a written entry only: the operator hears the error alone.
    EXPECT_FALSE(has(failed.journal, "sound \"LogOn.wav\""));
    files.fill_disk("");
    EXPECT_TRUE(log_on_disk().empty());
}

// A log-off whose write fails is said, and the station stays on the net with its entry as
// logged on; nothing is marked in the chart.
TEST_F(OnLineLoggingTest, AFailedLogOffLeavesTheNetAndTheChartAsTheyWere) {
    const std::string start = "clock 2025-03-14 14:02:00\n" + open_menu_entry(kOnLine) + kStation +
                              "type g4abc\nkey F2\n";
    auto fresh_files = [&] {
        write_log({});
        dir.write("DXCC.CHT", DxccChart().bytes());
    };
    fresh_files();
    test::FaultyFiles counting;
    test::run_program_headless(dir.path(), start, test::TestPrinter::Ready, &counting);
    fresh_files();
    // The run that stops after the log-on also counts the exit steps: the log-off's first
    // write is the one, counting back, whose failure is said right after LogOff.wav.
    test::HeadlessRun run;
    for (int at = counting.operations(); at >= 1; --at) {
        fresh_files();
        test::FaultyFiles files;
        files.fail_at(at);
        run = test::run_program_headless(dir.path(),
                                         start + "key F12\nanswer ok\nkey Down\n" + kLeave,
                                         test::TestPrinter::Ready, &files);
        if (run.exit_code == 0) {
            break;
        }
    }
    // The error alone: no log-off cue and no log-off sentence; the walk still finds G4ABC.
    Lines after = lines_from(run.journal,
                             "message \"File Error\" \"The log file could not be written. The log "
                             "is as it was before.\" ok");
    ASSERT_GE(after.size(), 4u);
    EXPECT_FALSE(has(run.journal, "sound \"LogOff.wav\""));
    EXPECT_EQ(after[1], "window \"On Line Logging\"");
    EXPECT_EQ(after[2], "focus edit \"Call Sign:\" \"\"");
    EXPECT_EQ(after[3],
              "focus readonly \"QSO:\" \"QSO 1, G 4 A B C, on at 1402, 59 sent, 59 received\"");

    CountryList countries;
    countries.load(dir.read("COUNTRY.LST"));
    fresh_files();
    test::FaultyFiles full;
    LogStore log(full);
    log.open(dir.file("MYLOG.LOG"));
    ASSERT_EQ(log.write_entry(1, encode(logged_on("G4ABC"))), LogStatus::Ok);
    full.fill_disk(dir.file("MYLOG"));
    DxccChart chart;
    EXPECT_EQ(write_log_off(log, countries, chart, {1, 0, logged_on("G4ABC")}, "14:17", 4, 1),
              LogStatus::WriteFailed);
    EXPECT_EQ(chart.bytes(), DxccChart().bytes());
    EXPECT_EQ(decode_qso(log.entry(1)).time_off, 14 * 60 + 2);
}

// A kill at any moment of three log-ons and a log-off leaves the log holding whole entries:
// every log-on that completed, none half written.
TEST_F(OnLineLoggingTest, AKillAtAnyMomentLeavesEveryCompletedLogOnWhole) {
    CountryList countries;
    countries.load(dir.read("COUNTRY.LST"));
    const std::string calls[] = {"G4ABC", "JA1ABC", "DL1XYZ"};
    auto work = [&](platform::FileSystem& files) {
        LogStore log(files);
        log.open(dir.file("MYLOG.LOG"));
        DxccChart chart;
        int completed = 0;
        for (const std::string& call : calls) {
            if (log.write_entry(log.count() + 1, encode(logged_on(call))) == LogStatus::Ok) {
                ++completed;
            }
        }
        write_log_off(log, countries, chart, {1, 1, logged_on("G4ABC")}, "14:17", 4, 1);
        return completed;
    };
    test::FaultyFiles counting;
    ASSERT_EQ(work(counting), 3);
    const int operations = counting.operations();
    for (int at = 1; at <= operations; ++at) {
        dir.write("MYLOG.LOG", "");
        test::FaultyFiles files;
        files.crash_at(at);
        int completed = work(files);
        std::vector<QsoEntry> log = log_on_disk();  // completes a journal left behind
        ASSERT_GE(static_cast<int>(log.size()), completed) << at;
        ASSERT_LE(log.size(), 3u) << at;
        for (std::size_t i = 0; i < log.size(); ++i) {
            EXPECT_EQ(trim_right(log[i].call), calls[i]) << at;
            EXPECT_EQ(log[i].date, 7000) << at;
            EXPECT_EQ(log[i].rst_received, "57     ") << at;
        }
    }
}

// The screen's keys: focus moves, band change with its station data, Control+3, and the
// keys of facilities not built yet, which beep and change nothing.
TEST_F(OnLineLoggingTest, KeysMoveTheFocusAndUnbuiltFacilitiesBeep) {
    write_log({old_qso("G4XYZ")});
    Lines journal =
        run("key Shift+Tab\nkey Ctrl+Tab\nkey Alt+W\nkey Ctrl+Tab\nkey F24 F24\n"
            "key Down Down\nkey Tab\nkey Tab Tab Tab\nkey Ctrl+3\nkey Tab Tab Tab Tab\n"
            "key F4 Alt+1 Alt+2 Ctrl+P\nkey F3 F12\n" +
            kLeave);
    Lines want = {kScreen,
                  "focus edit \"Call Sign:\" \"\"",  // Shift+Tab on the call sign box stays
                  "focus readonly \"DATE \" \"fourteen March  Two thousand and twenty 5\"",
                  "focus edit \"Power\" \"100\"",
                  "focus readonly \"DATE \" \"fourteen March  Two thousand and twenty 5\"",
                  "focus readonly \"TIME \" \"fourteen 02\"",
                  "focus dropdown \"Frequency \" \"14MHz \"",
                  "text \"10MHz \"",
                  "text \"7MHz  \"",
                  "focus edit \"Call Sign:\" \"\"",
                  "focus edit \"RST Sent:\" \"\"",
                  "focus edit \"RST Received:\" \"\"",
                  "focus edit \"Comment:\" \"\"",
                  "text \"7MHz  \"",
                  "focus readonly \"Country:\" \"\"",
                  "focus readonly \"Last QSO:\" \"\"",
                  "focus readonly \"Beam Heading:\" \"\"",
                  "focus edit \"Call Sign:\" \"\""};
    ASSERT_GE(journal.size(), want.size());
    EXPECT_EQ(Lines(journal.begin(), journal.begin() + want.size()), want);
    // Keys of facilities not built: a beep, nothing more. F3, F4 and F12 on an empty net: a
    // beep and the reason.
    Lines rest(journal.begin() + want.size(), journal.end());
    EXPECT_EQ(std::count(rest.begin(), rest.end(), "beep default"), 6);
    EXPECT_EQ(std::count(rest.begin(), rest.end(), "static \"No station on the net.\""), 4);
    EXPECT_EQ(rest[10], "message \"Exit on line Logging\" \"Are you sure\" yes");
    std::vector<QsoEntry> log = log_on_disk();
    EXPECT_EQ(log.size(), 1u);
}

// A mode typed (or read from the transceiver) stays when the operator only passes through the
// frequency list; a band chosen there brings its station data, spoken as the focus arrives.
TEST_F(OnLineLoggingTest, LeavingTheListOnItsBandKeepsTheMode) {
    write_log({old_qso("G4XYZ")});
    Lines journal =
        run("key Alt+M\ntype RTY\nkey Alt+F\nkey Alt+M\nkey Alt+F\nkey Down Down\n"
            "key Alt+M\n" +
            kLeave);
    Lines want = {kScreen,
                  "focus edit \"Call Sign:\" \"\"",
                  "focus edit \"Mode\" \"A1A\"",
                  "text \"RTY\"",
                  "focus dropdown \"Frequency \" \"14MHz \"",
                  "focus edit \"Mode\" \"RTY\"",
                  "focus dropdown \"Frequency \" \"14MHz \"",
                  "text \"10MHz \"",
                  "text \"7MHz  \"",
                  "focus edit \"Mode\" \"J3E\""};
    ASSERT_GE(journal.size(), want.size());
    EXPECT_EQ(Lines(journal.begin(), journal.begin() + want.size()), want);
}

TEST_F(OnLineLoggingTest, KeyHelpAndEscapeAnsweredNo) {
    Lines journal =
        run("key Tab\nkey F1\nkey Down Down Down Down Down Down Down Down Down Down Down Down Down "
            "Down\n"
            "key Escape\nkey Escape\nanswer no\n" +
            kLeave);
    Lines help = lines_from(journal, "window \"Key help. \"");
    const Lines want = {
        "static \"F2 or Control plus L for Log On\"",
        "static \"F3 or Control plus E for Edit\"",
        "static \"F4 or Control plus P for Print QSL\"",
        "static \"F5 or Control plus N activate note pad\"",
        "static \"F6 or Control plus Q QSL written\"",
        "static \"F12 or Control plus S to Log Off\"",
        "static \"TAB to select QSO boxes\"",
        "static \"CONTROL plus 1 to 0 for database\"",
        "static \"CONTROL TAB or ALT D T F M or W for Date Time Frequency Mode and Power\"",
        "static \"ALT 1 Beam to Short Path ALT 2 to Long Path\"",
        "static \"Arrow keys to navigate the QSO net\"",
        "static \"F7 or Control plus R to hear the verdict again\"",
        "static \"CONTROL plus 3 to copy the frequency into the comment\"",
        "static \"CONTROL plus C to look the call up in the call book\"",
        "static \"F2 or Control plus L for Log On\""};  // Down after the last: the first again
    ASSERT_GE(help.size(), want.size() + 1);
    EXPECT_EQ(Lines(help.begin() + 1, help.begin() + 1 + static_cast<long>(want.size())), want);
    EXPECT_TRUE(has(journal, "message \"Exit on line Logging\" \"Are you sure\" no"));
    // Either way the focus is back on the RST Sent box.
    Lines after = lines_from(journal, "message \"Exit on line Logging\" \"Are you sure\" no");
    ASSERT_GE(after.size(), 3u);
    EXPECT_EQ(after[2], "focus edit \"RST Sent:\" \"\"");

    // An edit not yet written: Enter answers No, and the station keeps its call.
    journal = run(kStation +
                  "type g4abc\nkey F2\nkey F3\nkey End\ntype /P\nkey Escape\nkey Enter\n" + kLeave);
    EXPECT_TRUE(
        has(journal, "message \"Exit on line Logging\" \"Log off 1 station and leave?\" no"));
    EXPECT_EQ(log_on_disk().at(0).call, "G4ABC       ");
}

// F4 prints one label for the station shown, with no end-of-sheet question, and marks it
// QSL written; on an empty net it only beeps, and without a printer it says so.
TEST_F(OnLineLoggingTest, F4PrintsOneLabelForTheStationShown) {
    dir.write("QSL.DTA", "TO $A$ $B$ $C$ $D$ $F$#L$H$");
    write_log({old_qso("G4XYZ")});
    Lines journal = run("key F4\n" + log_on("dl1xyz") + "key F4\nkey F12\n" + kLeave);
    EXPECT_EQ(
        std::count_if(journal.begin(), journal.end(),
                      [](const std::string& line) { return line.rfind("print job", 0) == 0; }),
        2);  // one job started and ended
    EXPECT_TRUE(std::any_of(journal.begin(), journal.end(), [](const std::string& line) {
        return line.find("TO DL1XYZ       14 Mar 25 14:02 599  20m") != std::string::npos;
    }));
    EXPECT_TRUE(std::any_of(journal.begin(), journal.end(), [](const std::string& line) {
        return line.find("Please QSL via Bureau or Direct") != std::string::npos;
    }));
    std::vector<QsoEntry> log = log_on_disk();
    ASSERT_EQ(log.size(), 2u);
    EXPECT_EQ(log[1].qsl_flags & 1, 1);

    write_log({old_qso("G4XYZ")});
    test::HeadlessRun missing =
        test::run_program_headless(dir.path(),
                                   "clock 2025-03-14 14:02:00\n" + open_menu_entry(kOnLine) +
                                       log_on("dl1xyz") + "key F4\nanswer ok\nkey F12\n" + kLeave,
                                   test::TestPrinter::Missing);
    EXPECT_TRUE(has(missing.journal, "message \"Printer Report\" \"Printer Fail\" ok"));
    EXPECT_EQ(log_on_disk()[1].qsl_flags & 1, 0);
}

}  // namespace
}  // namespace vl
