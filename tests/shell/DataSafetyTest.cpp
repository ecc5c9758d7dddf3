// The program's files kept safe as an operator meets it: two copies on one folder, a file too
// large to read, a disk that fills during a save, the chart after a kill.
// A chart written at exit, the copies a stopped save leaves, the messages that quote
// COUNTRY.LST, a chart of the wrong size made again, the chart kept at a save before a stop and
// settings files that cannot be read are played by the instructions_topics, leftover_copies,
// country_*, safety_chart, core_chart_kept and unreadable.* scenarios; restore's refusals are
// in HousekeepingTest.
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <filesystem>

#include "dxdata/DxccChart.h"
#include "logstore/LogStore.h"
#include "platform/headless/HeadlessUi.h"
#include "program/AppContext.h"
#include "shell/Screen.h"
#include "shell/Settings.h"
#include "station/StationData.h"
#include "support/FaultyFiles.h"
#include "support/Scripts.h"
#include "support/TestSupport.h"

namespace vl {
namespace {

using Lines = std::vector<std::string>;
using test::open_menu_entry;
using test::run_program_headless;

constexpr int kOffLine = 1, kDateFormat = 11;
const std::string kMenuWindow = "window \"Varrow Log version 1 point 3 7 by Q 0 Z Z Z.\"";
const std::string kEngland = "G,G,England,1,52,-1\r\n";

// A QSO with G9ZZA on 20 m, saved from the off-line form.
const std::string kSaveQso =
    open_menu_entry(kOffLine) +
    "type 14/01/14\nkey Enter\ntype G9ZZA\nkey Enter\ntype 1430\nkey Enter Enter Enter "
    "Enter\ntype 14.2\nkey Enter\ntype CW\nkey Enter\ntype 100\nkey F12\n";

bool has(const Lines& journal, const std::string& line) {
    return std::find(journal.begin(), journal.end(), line) != journal.end();
}

class DataSafetyTest : public ::testing::Test {
protected:
    void SetUp() override { dir.write("COUNTRY.LST", kEngland); }
    test::TempDir dir;
};

// A second copy on the folder touches nothing. The lock file a killed copy leaves blocks
// nothing: the stale_lock scenario.
TEST_F(DataSafetyTest, OneProgramPerFolder) {
    int ready[2];
    ASSERT_EQ(pipe(ready), 0);
    pid_t holder = fork();
    ASSERT_GE(holder, 0);
    if (holder == 0) {
        // The first copy, running: it holds the folder's lock as a start takes it, until it
        // is killed.
        auto lock = platform::system_files().try_lock(dir.file("VARROWLOG.LCK"));
        char held = lock.lock ? 'y' : 'n';
        (void)!write(ready[1], &held, 1);
        pause();
        _exit(0);
    }
    char held = 0;
    ASSERT_EQ(read(ready[0], &held, 1), 1);
    close(ready[0]);
    close(ready[1]);
    ASSERT_EQ(held, 'y');
    test::HeadlessRun second = run_program_headless(dir.path(), "answer ok\n");
    EXPECT_EQ(second.journal, (Lines{"message \"VarrowLog\" \"Varrow Log is already running from "
                                     "this folder\" ok"}));
    EXPECT_EQ(second.exit_code, 1);
    EXPECT_FALSE(dir.exists("MYLOG.LOG"));

    kill(holder, SIGKILL);
    int status = 0;
    waitpid(holder, &status, 0);
}

// A settings file too large to be one is said as one that cannot be read, and not replaced by
// empty fields when the operator changes a setting; an unreadable RIG.LST and DBNAMES.TXT are
// played by the unreadable.* scenarios.
TEST_F(DataSafetyTest, AFileTooLargeToReadIsNeverWrittenBack) {
    const std::string too_large = std::string(2 << 20, 'x');
    dir.write("RIG.LST", too_large);
    // The Date Format screen writes RIG.LST when it is left.
    test::HeadlessRun run =
        run_program_headless(dir.path(), "answer ok\n" + open_menu_entry(kDateFormat) +
                                             "key Down\nkey Escape\nanswer ok\nkey Escape\n");
    EXPECT_EQ(run.journal[0],
              "message \"File Error\" \"RIG.LST could not be read. Varrow Log goes on without it "
              "and does not write it in this run, so what it holds is kept.\" ok");
    EXPECT_EQ(dir.read("RIG.LST"), too_large);
    EXPECT_FALSE(run.script_ended);
}

// The save that fills the disk leaves its change in the journal: the exit backup still holds
// it, a start on the still-full disk says so, and the first start with room writes it.
TEST_F(DataSafetyTest, AFullDiskNeverMakesABackupThatLacksAnEntry) {
    test::TempDir stick;
    dir.write("DBNAMES.TXT", std::string(12, '\n') + stick.path() + "\n");
    dir.write("MYLOG.LOG", test::log_bytes({test::qso(100, 0, "G4ABC")}));
    test::FaultyFiles files;
    files.fill_disk(dir.file("MYLOG.LOG"));
    test::HeadlessRun run = run_program_headless(dir.path(), kSaveQso + "key Escape\nkey Escape\n",
                                                 test::TestPrinter::Ready, &files);
    EXPECT_FALSE(run.script_ended);
    EXPECT_TRUE(dir.exists("MYLOG.JNL"));
    EXPECT_LT(dir.read("MYLOG.LOG").size(), 2 * kRecordSize);  // the file could not take it
    const std::string backup = stick.read("MYLOG.LOG");
    ASSERT_EQ(backup.size(), 2 * kRecordSize);
    EXPECT_EQ(backup.substr(kRecordSize + 6, 5), "G9ZZA");

    run = run_program_headless(dir.path(), "answer ok\nkey Escape\n", test::TestPrinter::Ready,
                               &files);
    EXPECT_EQ(run.journal[0],
              "message \"Log File\" \"The last change to the log could not be written to "
              "MYLOG.LOG; the disk may be full. The change is kept in MYLOG.JNL and is written "
              "when there is room.\" ok");
    EXPECT_EQ(stick.read("MYLOG.LOG"), backup);

    run = run_program_headless(dir.path(), "key Escape\n");
    EXPECT_EQ(run.journal[0], kMenuWindow);
    EXPECT_EQ(dir.read("MYLOG.LOG"), backup);
    EXPECT_FALSE(dir.exists("MYLOG.JNL"));
}

// Two contacts saved within a second, then a stop: DXCC.CHT was written after the first save
// only, and the next start announced the next Australian station as "new country" where the
// log already held Australia on 20 m CW ("new mode" is right). The stop is made at every file
// operation of the two saves in turn, and at none; the next start must announce what its log
// holds. What a real power cut does to the folder's names is not modelled here.
TEST_F(DataSafetyTest, AfterAStopTheChartAgreesWithTheLogBeforeTheFirstCheck) {
    const std::string countries = kEngland + "VK,VK,Australia,150,-35,149\r\n";
    const std::string second_save =
        "key Enter\ntype VK2ABC\nkey Enter\ntype 1440\nkey Enter Enter Enter Enter\ntype "
        "14.2\nkey Enter\ntype CW\nkey Enter\ntype 100\nkey F12\n";
    const std::string check_in_ssb = "clock 2025-03-14 14:02:00\n" + open_menu_entry(2) +
                                     "key Alt+M\ntype J3E\nkey Shift+Tab\ntype vk3xyz\nkey "
                                     "Enter\nkey Escape\nanswer yes\nkey Escape\n";
    int operations = 0;
    for (int stop_at = 0; stop_at == 0 || stop_at <= operations; ++stop_at) {
        test::TempDir folder;
        folder.write("COUNTRY.LST", countries);
        test::FaultyFiles files;
        files.crash_at(stop_at);
        // The script ends with the form open: the program stops there, without its exit steps.
        test::HeadlessRun stopped = run_program_headless(folder.path(), kSaveQso + second_save,
                                                         test::TestPrinter::Ready, &files);
        ASSERT_TRUE(stopped.script_ended) << stop_at;
        if (stop_at == 0) {
            operations = files.operations();
            ASSERT_TRUE(has(stopped.journal, "text \"VK2ABC\""));
        }
        bool australia_logged = false;
        for (const LogRecord& r : test::records_on_disk(folder.file("MYLOG.LOG"))) {
            australia_logged = australia_logged || r.call_field().starts_with("VK");
        }
        ASSERT_TRUE(stop_at > 0 || australia_logged);
        test::HeadlessRun next = run_program_headless(folder.path(), check_in_ssb);
        const std::string verdict = australia_logged ? "static \"Australia, new mode.\""
                                                     : "static \"Australia, new country.\"";
        EXPECT_TRUE(has(next.journal, verdict)) << "stopped at operation " << stop_at;
        EXPECT_FALSE(next.script_ended) << stop_at;
    }
}

// Quick changes to the chart are written about once a second, and at once when asked.
TEST_F(DataSafetyTest, TheChartIsWrittenAtMostOnceASecond) {
    headless::Journal journal;
    headless::HeadlessClock clock;
    headless::HeadlessSound sound(journal);
    headless::HeadlessUi ui(headless::parse_script(""), journal, clock);
    platform::Platform services{ui, sound, clock, platform::system_files()};
    AppContext ctx(services, dir.path());
    auto on_disk = [&](int dxcc) {
        return dir.read("DXCC.CHT")[static_cast<std::size_t>(dxcc) + kChartCountries * 4] != 0;
    };

    ctx.chart.mark(1, 4, 0, 0);
    ASSERT_TRUE(keep_chart(ctx));
    EXPECT_TRUE(on_disk(1));
    ctx.chart.mark(2, 4, 0, 0);
    keep_chart(ctx);
    clock.advance(999);
    keep_chart(ctx);
    EXPECT_FALSE(on_disk(2)) << "written again within the second";
    clock.advance(1);
    keep_chart(ctx);
    EXPECT_TRUE(on_disk(2));
    ctx.chart.mark(3, 4, 0, 0);
    keep_chart(ctx, true);  // as at exit
    EXPECT_TRUE(on_disk(3));
}

}  // namespace
}  // namespace vl
