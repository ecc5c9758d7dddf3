// A full log refuses an off-line entry and keeps every byte. The forms, their saves and
// refusals are played by the off_line scenarios.
#include <gtest/gtest.h>

#include "logstore/LogStore.h"
#include "support/Scripts.h"
#include "support/TestSupport.h"

namespace vl {
namespace {

TEST(EntryEditor, AFullLogRefusesTheEntryAndNothingMoves) {
    test::TempDir dir;
    dir.write("COUNTRY.LST", "G,G,England,1,52,-1\r\n");
    const std::string bytes =
        test::log_bytes(std::vector<LogRecord>(kMaxLogEntries, test::qso(10, 0, "G4ABC")));
    dir.write("MYLOG.LOG", bytes);
    test::HeadlessRun run = test::run_program_headless(
        dir.path(), test::open_menu_entry(1) +
                        "type 01/01/00\nkey Enter\ntype DL1AAA\nkey Enter\ntype 1430\n"
                        "key Enter Enter Enter Enter\ntype 14.2\nkey Enter\ntype CW\nkey Enter\n"
                        "type 100\nkey F12\nanswer ok\nkey Escape\nkey Y\nkey Escape\n");
    EXPECT_NE(std::find(run.journal.begin(), run.journal.end(),
                        "message \"Log Full\" \"The log holds 120000 entries, the most it can "
                        "keep. The entry was not saved.\" ok"),
              run.journal.end());
    EXPECT_FALSE(run.script_ended);
    EXPECT_TRUE(dir.read("MYLOG.LOG") == bytes);
}

}  // namespace
}  // namespace vl
