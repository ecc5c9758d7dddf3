// Logging where a scenario cannot go: a write that fails and a log at its limit, each run's
// whole journal kept in logging/kept/NAME.journal. The screens' walks are the on_line_* and
// off_line scenarios of tests/scenarios.
#include <filesystem>
#include <functional>

#include "dxdata/DxccChart.h"
#include "logstore/LogStore.h"
#include "support/FaultyFiles.h"
#include "support/OnLineScreen.h"

namespace vl {
namespace {

const std::string kStart = "clock 2025-03-14 14:02:00\n" + test::open_menu_entry(2) +
                           "key Alt+M\ntype SSB\nkey Alt+W\ntype 10\nkey Shift+Tab\n" +
                           "type g4abc\nkey F2\n";
const std::string kLeave = "key Escape\nanswer yes\nkey Escape\n";

class OnLineLoggingTest : public ::testing::Test {
protected:
    void SetUp() override {
        dir.write("COUNTRY.LST", "G,G,England,223,52,-1\r\n");
        dir.write("MYLOG.LOG", "");
        dir.write("DXCC.CHT", DxccChart().bytes());
    }
    test::HeadlessRun run(const std::string& script, test::FaultyFiles& files) {
        return test::run_program_headless(dir.path(), script, test::TestPrinter::Ready, &files);
    }
    // Counting back from fault `from`, the first run of `script` with that fault planted
    // whose journal `found` holds of; each run starts from the folder as the test began. A
    // fault that leaves the script a question it cannot answer is not the one.
    test::HeadlessRun last_fault_found(int from, const std::string& script,
                                       void (test::FaultyFiles::*plant)(int),
                                       const std::function<bool(const test::HeadlessRun&)>& found) {
        for (int at = from; at >= 1; --at) {
            for (const auto& file : std::filesystem::directory_iterator(dir.path())) {
                std::filesystem::remove_all(file);
            }
            SetUp();
            test::FaultyFiles files;
            (files.*plant)(at);
            try {
                test::HeadlessRun faulty = run(script, files);
                if (found(faulty)) {
                    return faulty;
                }
            } catch (const std::exception&) {
            }
        }
        return {};
    }
    test::TempDir dir;
};

// A log-on whose write fails is the error alone: no cue, no slot, nothing written.
TEST_F(OnLineLoggingTest, AFailedLogOnTakesNoSlot) {
    test::FaultyFiles files;
    files.fill_disk(dir.file("MYLOG"));  // the log and its journal
    test::expect_kept(run(kStart + "answer ok\nkey F12\n" + kLeave, files).journal,
                      "logging/kept/failed_log_on.journal");
    EXPECT_EQ(dir.read("MYLOG.LOG"), "");
}

// A log-off whose write fails is said alone; the station stays on the net as logged on, and the
// chart is as it was.
TEST_F(OnLineLoggingTest, AFailedLogOffLeavesTheNetAsItWas) {
    test::FaultyFiles counting;
    run(kStart + "key F12\nkey Down\n" + kLeave, counting);
    // Counting back from the end of the same run without a fault, the first failure the program
    // survives is the log-off's write: one after it leaves the script's answer no question.
    const test::HeadlessRun failed =
        last_fault_found(counting.operations(), kStart + "key F12\nanswer ok\nkey Down\n" + kLeave,
                         &test::FaultyFiles::fail_at,
                         [](const test::HeadlessRun& run) { return run.exit_code == 0; });
    test::expect_kept(failed.journal, "logging/kept/failed_log_off.journal");
}

// Two stations left on the net when the screen closes on a disk that has failed: both log-offs
// fail, and the operator hears it once. Counting back from the end of a run that logs both
// on, the first failure that leaves both log-ons standing is one of the exit's steps.
TEST_F(OnLineLoggingTest, ExitLogOffsThatFailAreSaidOnce) {
    const std::string two_on = kStart + "type dl1abc\nkey F2\n";
    test::FaultyFiles counting;
    run(two_on, counting);
    // crash_at: this step and every one after it fail.
    const test::HeadlessRun failed = last_fault_found(
        counting.operations(), two_on + "key Escape\nanswer yes\nanswer ok\n",
        &test::FaultyFiles::crash_at, [](const test::HeadlessRun& run) {
            const auto& lines = run.journal;
            return std::count(lines.begin(), lines.end(), "static \"DL1ABC logged on, QSO 2.\"") ==
                       1 &&
                   std::none_of(lines.begin(), lines.end(), [](const std::string& line) {
                       return line.find("logged off") != std::string::npos;
                   });
        });
    test::expect_kept(failed.journal, "logging/kept/failed_exit_log_off.journal");
}

// A full log refuses a log-on and an off-line entry alike, keeps every byte, and nobody is
// on the net.
TEST_F(OnLineLoggingTest, AFullLogRefusesTheEntryOnAndOffLine) {
    const std::string bytes =
        test::log_bytes(std::vector<LogRecord>(kMaxLogEntries, test::qso(7000, 600, "G4XYZ")));
    dir.write("MYLOG.LOG", bytes);
    const std::string off_line =
        test::open_menu_entry(1) +
        "type 01/01/00\nkey Enter\ntype DL1AAA\nkey Enter\ntype 1430\nkey Enter Enter Enter "
        "Enter\ntype 14.2\nkey Enter\ntype CW\nkey Enter\ntype 100\nkey F12\nanswer ok\nkey "
        "Escape\nkey Y\nkey Escape\n";
    const struct {
        std::string name, script;
    } kCases[] = {{"full_log_on_line", kStart + "answer ok\nkey F12\n" + kLeave},
                  {"full_log_off_line", off_line}};
    for (const auto& c : kCases) {
        test::FaultyFiles files;
        test::HeadlessRun full = run(c.script, files);
        test::expect_kept(full.journal, "logging/kept/" + c.name + ".journal");
        EXPECT_FALSE(full.script_ended) << c.name;
        EXPECT_TRUE(dir.read("MYLOG.LOG") == bytes) << c.name;
    }
}

}  // namespace
}  // namespace vl
