// Every file the program saves whole (settings, databases, the note pad, the chart) goes
// through replace_file: failed or stopped at any of its file operations, it leaves the old
// file or the new one, never a mixture, and says so truthfully.
#include <gtest/gtest.h>

#include "platform/Files.h"
#include "support/FaultyFiles.h"
#include "support/TestSupport.h"

namespace vl {
namespace {

TEST(ReplaceFile, EveryFailureOrStopLeavesTheOldFileOrTheNew) {
    const std::string old_bytes = "old,\r\nfile", new_bytes = "the new file, longer";
    int operations = 0;
    for (bool crash : {false, true}) {
        for (int at = 0; at == 0 || at <= operations; ++at) {
            test::TempDir dir;
            dir.write("DXCC.DB", old_bytes);
            test::FaultyFiles files;
            crash ? files.crash_at(at) : files.fail_at(at);
            const bool saved = platform::replace_file(files, dir.file("DXCC.DB"), new_bytes);
            const std::string now = dir.read("DXCC.DB");
            if (at == 0) {
                operations = files.operations();
                ASSERT_TRUE(saved);
            }
            EXPECT_TRUE(now == old_bytes || now == new_bytes) << crash << " at " << at;
            // A save said to be done is on disk; one said to have failed may still have been
            // renamed into place when only the folder's sync failed after it.
            if (saved) {
                EXPECT_EQ(now, new_bytes) << crash << " at " << at;
            }
            if (!crash) {
                EXPECT_FALSE(dir.exists("DXCC.DB.NEW")) << "failing operation " << at;
            }
        }
        ASSERT_GT(operations, 2);
    }
}

}  // namespace
}  // namespace vl
