// What the Win32 file layer must do that Windows does not do by itself.
#include <gtest/gtest.h>

#include "platform/Files.h"
#include "program/Backup.h"
#include "support/TestSupport.h"

namespace vl::test {
namespace {

using platform::OpenMode;

std::string read_all(platform::FileSystem& fs, const std::string& path) {
    return platform::read_whole_file(fs, path, 1 << 20).value_or("(unreadable)");
}

// A backup drive letter is the drive itself here, not a folder beside the program, and a
// path may start with its drive.
TEST(Win32FilesTest, ABackupDriveLetterNamesTheDrive) {
    EXPECT_EQ(backup_path("C:\\p\\", "z"), "Z:\\MYLOG.LOG");
    EXPECT_EQ(backup_path("C:\\p\\", "E"), "E:\\MYLOG.LOG");
    EXPECT_EQ(backup_path("C:\\p\\", "E:\\Logs"), "E:\\Logs\\MYLOG.LOG");
    EXPECT_EQ(backup_path("C:\\p\\", "E:/Logs/"), "E:/Logs/MYLOG.LOG");
    EXPECT_FALSE(backup_path("C:\\p\\", "E:").has_value());
}

TEST(Win32FilesTest, TheLockKeepsASecondHolderOutUntilItIsLetGo) {
    TempDir dir;
    auto& fs = platform::system_files();
    auto first = fs.try_lock(dir.file("VARROWLOG.LCK"));
    ASSERT_TRUE(first.lock);
    auto second = fs.try_lock(dir.file("VARROWLOG.LCK"));
    EXPECT_FALSE(second.lock);
    EXPECT_TRUE(second.busy);
    first.lock.reset();
    EXPECT_TRUE(fs.try_lock(dir.file("VARROWLOG.LCK")).lock);
}

// The log is rewritten under a temporary name and renamed over itself while open; the new
// file's handle then is the log, and the next rewrite does the same again.
TEST(Win32FilesTest, ANewFileIsRenamedOverAnOpenOneAgainAndAgain) {
    TempDir dir;
    auto& fs = platform::system_files();
    const std::string log = dir.file("MYLOG.LOG");
    auto open_log = fs.open(log, OpenMode::ReadWrite);
    ASSERT_TRUE(open_log && open_log->write_at(0, "old", 3));
    for (const std::string text : {"first", "second"}) {
        auto fresh = fs.open(log + ".NEW", OpenMode::CreateTruncate);
        ASSERT_TRUE(fresh && fresh->write_at(0, text.data(), text.size()) && fresh->flush());
        ASSERT_TRUE(fs.rename(log + ".NEW", log)) << text;
        EXPECT_FALSE(fs.exists(log + ".NEW"));
        // The renamed handle goes on as the log.
        ASSERT_TRUE(fresh->write_at(text.size(), "!", 1));
        EXPECT_EQ(read_all(fs, log), text + "!");
        open_log = std::move(fresh);
    }
}

TEST(Win32FilesTest, FoldersListTheirPlainFilesInOrder) {
    TempDir dir;
    auto& fs = platform::system_files();
    dir.write("b.txt", "b");
    dir.write("A.TXT", "a");
    ASSERT_TRUE(fs.open(dir.file("C"), OpenMode::ReadWrite));
    std::filesystem::create_directory(dir.file("FOLDER"));
    EXPECT_EQ(fs.list_folder(dir.path()), (std::vector<std::string>{"A.TXT", "C", "b.txt"}));
    EXPECT_TRUE(fs.is_folder(dir.file("FOLDER")));
    EXPECT_FALSE(fs.exists(dir.file("FOLDER")));
    EXPECT_FALSE(fs.open(dir.file("FOLDER"), OpenMode::ReadOnly));
}

TEST(Win32FilesTest, TheProgramFolderIsTheExecutablesFolder) {
    std::string folder = platform::program_directory();
    ASSERT_FALSE(folder.empty());
    EXPECT_EQ(folder.back(), '\\');
    EXPECT_TRUE(platform::system_files().is_folder(folder));
}

}  // namespace
}  // namespace vl::test
