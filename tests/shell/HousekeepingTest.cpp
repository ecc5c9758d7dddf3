// Backup at exit and restore, as an operator meets them. The settings screens are played
// by the settings scenarios.
#include <gtest/gtest.h>

#include <filesystem>

#include "program/Backup.h"
#include "shell/Settings.h"
#include "support/Scripts.h"
#include "support/TestSupport.h"

namespace vl {
namespace {

using Lines = std::vector<std::string>;
using test::lines_from;
using test::open_menu_entry;

constexpr int kBackupDrive = 16, kRestore = 17;

class HousekeepingTest : public ::testing::Test {
protected:
    void SetUp() override { dir.write("COUNTRY.LST", "G,G,England,1,52,-1\r\n"); }
    Lines run(const std::string& script) {
        test::HeadlessRun result = test::run_program_headless(dir.path(), script);
        EXPECT_FALSE(result.script_ended) << "the script left windows open";
        return result.journal;
    }
    void write_log(int entries) {
        std::vector<LogRecord> records;
        for (int i = 0; i < entries; ++i) {
            records.push_back(test::qso(static_cast<int16_t>(i), 0, "G4ABC"));
        }
        dir.write("MYLOG.LOG", test::log_bytes(records));
    }
    test::TempDir dir;
};

TEST(BackupPath, LettersFoldersAndTextThatNamesNoFolder) {
    EXPECT_EQ(backup_path("/p/", "E"), "/p/DRIVES/E/MYLOG.LOG");
    EXPECT_EQ(backup_path("/p/", "e"), "/p/DRIVES/E/MYLOG.LOG");
    EXPECT_EQ(backup_path("/p/", "/media/usb"), "/media/usb/MYLOG.LOG");
    EXPECT_EQ(backup_path("/p/", "/media/usb/"), "/media/usb/MYLOG.LOG");
    EXPECT_FALSE(backup_path("/p/", "E:").has_value());
    EXPECT_FALSE(backup_path("/p/", "1").has_value());
    EXPECT_FALSE(backup_path("/p/", "usb").has_value());
    EXPECT_FALSE(backup_path("/p/", "E:\\Logs").has_value());  // no drives here
}

TEST_F(HousekeepingTest, LeavingCopiesTheLogToTheBackupDriveFolder) {
    write_log(10);
    const std::string drive = test::make_backup_drive(dir, 'E');
    Lines journal = run(open_menu_entry(kBackupDrive) + "type " + drive +
                        "\nkey Enter\nkey Escape\nkey Escape\n");
    EXPECT_EQ(lines_from(journal, "window \"Set Back Up Drive\"")[1],
              "focus edit \"Drive Letter:\" \"\"");
    EXPECT_EQ(parse_settings(dir.read("DBNAMES.TXT")).backup_drive, drive);
    EXPECT_EQ(dir.read("DRIVES/E/MYLOG.LOG").size(), 840u);
    EXPECT_EQ(journal.back(), "focus list \"\" \"Backup Drive.\"");  // no message
}

TEST_F(HousekeepingTest, AnEmptyLogIsNotCopiedAndTheOlderCopyStays) {
    const std::string drive = test::make_backup_drive(dir, 'E');
    dir.write("DRIVES/E/MYLOG.LOG", "older copy");
    dir.write("DBNAMES.TXT", std::string(12, '\n') + drive + "\n");
    Lines journal = run("key Escape\n");
    EXPECT_EQ(journal.size(), 2u);
    EXPECT_EQ(dir.read("DRIVES/E/MYLOG.LOG"), "older copy");
}

TEST_F(HousekeepingTest, ABackupThatCannotBeWrittenSaysLogNotSaved) {
    write_log(2);
    // The message says why, so the operator knows what to mend.
    static const struct {
        const char* drive;
        std::string reason;
    } kCases[] = {
        {"E:", "E: names no folder: type a drive letter or a full path."},
        {"Q", "The folder " + dir.file("DRIVES/Q/") + " does not exist."},
    };
    for (const auto& c : kCases) {
        dir.write("DBNAMES.TXT", std::string(12, '\n') + c.drive + "\n");
        Lines journal = run("key Escape\nanswer ok\n");
        EXPECT_EQ(journal.back(),
                  "message \"Back up error\" \"Log not saved. " + c.reason + "\" ok")
            << c.drive;
    }
    // The Backup Drive screen says it at once when the drive is set.
    Lines journal = run(open_menu_entry(kBackupDrive) +
                        "type q\nkey Escape\nanswer ok\nkey Escape\nanswer ok\n");
    EXPECT_NE(std::find(journal.begin(), journal.end(),
                        "message \"Backup Drive\" \"" + kCases[1].reason + "\" ok"),
              journal.end());
}

TEST_F(HousekeepingTest, RestoreAnsweredNoChangesNothing) {
    write_log(3);
    const std::string drive = test::make_backup_drive(dir, 'E');
    dir.write("DRIVES/E/MYLOG.LOG", test::log_bytes({test::qso(1, 0, "K1ABC")}));
    dir.write("DBNAMES.TXT", std::string(12, '\n') + drive + "\n");
    std::string before = dir.read("MYLOG.LOG");
    // Enter answered Yes once: one slip on the main menu replaced the log.
    for (const char* answer : {"answer no\n", "key Enter\n", "key Escape\n"}) {
        Lines journal = run(open_menu_entry(kRestore) + answer + "key Escape\n");
        EXPECT_NE(
            std::find(journal.begin(), journal.end(),
                      "message \"Restore the Log\" \"This will overwrite your log, continue?\" no"),
            journal.end())
            << answer;
        EXPECT_EQ(dir.read("MYLOG.LOG").substr(0, before.size()), before) << answer;
    }
}

TEST_F(HousekeepingTest, RestoreReplacesTheLogOrSaysWhyNot) {
    write_log(3);
    const std::string drive = test::make_backup_drive(dir, 'E');
    dir.write("DBNAMES.TXT", std::string(12, '\n') + drive + "\n");
    Lines journal =
        run(open_menu_entry(kRestore) + "answer yes\nanswer ok\nkey Escape\nanswer ok\n");
    EXPECT_NE(
        std::find(journal.begin(), journal.end(), "message \"Restore Fail\" \"Log not found\" ok"),
        journal.end());
    EXPECT_EQ(dir.read("MYLOG.LOG").size(), 3 * kRecordSize);

    dir.write("DRIVES/E/MYLOG.LOG",
              test::log_bytes({test::qso(1, 0, "K1ABC"), test::qso(2, 0, "K2ABC")}));
    journal = run(open_menu_entry(kRestore) + "answer yes\nkey Escape\n");
    EXPECT_EQ(dir.read("MYLOG.LOG"), dir.read("DRIVES/E/MYLOG.LOG"));
    EXPECT_EQ(journal.back(), "focus list \"\" \"Restore Log\"");
}

}  // namespace
}  // namespace vl
