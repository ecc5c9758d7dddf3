// Start-up with a log too large to index: the program ends, exit code 1, with the log untouched.
// A missing country list, a damaged exceptions file, stray bytes after the log and a newer
// cty.dat are played by the instructions_walk, start_up and startup_cty* scenarios.
#include <gtest/gtest.h>

#include "logstore/LogStore.h"
#include "support/TestSupport.h"

namespace vl {
namespace {

TEST(StartUp, ALogTooLargeToIndexEndsTheProgramUntouched) {
    test::TempDir dir;
    dir.write("COUNTRY.LST", "G,G,England,1,52,-1\r\n");
    std::string bytes(static_cast<std::size_t>(kMaxLogEntries + 1) * kRecordSize, 'A');
    dir.write("MYLOG.LOG", bytes);
    test::HeadlessRun run = test::run_program_headless(dir.path(), "answer ok\n");
    ASSERT_EQ(run.journal.size(), 1u);
    EXPECT_NE(run.journal[0].find("more than 120000 entries"), std::string::npos);
    EXPECT_EQ(run.exit_code, 1);
    EXPECT_EQ(dir.read("MYLOG.LOG").size(), bytes.size());
}

}  // namespace
}  // namespace vl
