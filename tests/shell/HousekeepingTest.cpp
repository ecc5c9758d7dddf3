// Backup at exit and restore from a drive, and a log too large to index at start, as an
// operator meets them. A drive letter names a real drive on Windows, so these cases are not
// scenarios; restore declined or naming no folder is played by housekeeping_no_drive, the
// settings screens by the settings scenarios, and a missing country list, a damaged exceptions
// file, stray bytes after the log and a newer cty.dat by instructions_walk, start_up and
// startup_cty*.
#include <gtest/gtest.h>

#include "logstore/LogStore.h"
#include "program/Backup.h"
#include "shell/Settings.h"
#include "support/Scripts.h"
#include "support/TestSupport.h"

namespace vl {
namespace {

using Lines = std::vector<std::string>;
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

// The message says why, so the operator knows what to mend: here the folder it looked for.
// Text that names no folder, said on the Backup Drive screen too, and restore's answers are
// played by the housekeeping_* scenarios.
TEST_F(HousekeepingTest, ABackupThatCannotBeWrittenSaysLogNotSaved) {
    write_log(2);
    dir.write("DBNAMES.TXT", std::string(12, '\n') + "Q\n");
    EXPECT_EQ(run("key Escape\nanswer ok\n").back(),
              "message \"Back up error\" \"Log not saved. The folder " + dir.file("DRIVES/Q/") +
                  " does not exist.\" ok");
}

// Restore replaces the log with the copy's whole entries, any rest kept in MYLOG.BAD and said;
// with no copy on the drive, or one the log could not hold, it says why and changes nothing.
TEST_F(HousekeepingTest, RestoreReplacesTheLogOrSaysWhyNot) {
    write_log(3);
    const std::string drive = test::make_backup_drive(dir, 'E');
    dir.write("DBNAMES.TXT", std::string(12, '\n') + drive + "\n");
    const std::string restore = open_menu_entry(kRestore) + "answer yes\n",
                      log = dir.read("MYLOG.LOG");
    Lines journal = run(restore + "answer ok\nkey Escape\n");
    const std::string not_found = "message \"Restore Fail\" \"Log not found\" ok";
    EXPECT_NE(std::find(journal.begin(), journal.end(), not_found), journal.end());
    EXPECT_EQ(dir.read("MYLOG.LOG"), log);

    dir.write("DRIVES/E/MYLOG.LOG",
              std::string(static_cast<std::size_t>(kMaxLogEntries + 1) * kRecordSize, ' '));
    journal = run(restore + "answer ok\nkey Escape\n");
    const std::string too_large =
        "message \"Restore Fail\" \"Log not restored. The backup copy holds more than 120000 "
        "entries, more than Varrow Log can keep. Your log has not been changed.\" ok";
    EXPECT_NE(std::find(journal.begin(), journal.end(), too_large), journal.end());
    EXPECT_EQ(dir.read("MYLOG.LOG"), log);

    const std::string copy = test::log_bytes({test::qso(1, 0, "K1ABC"), test::qso(2, 0, "K2ABC")});
    dir.write("DRIVES/E/MYLOG.LOG", copy);
    EXPECT_EQ(run(restore + "key Escape\n").back(), "focus list \"\" \"Restore Log\"");
    EXPECT_EQ(dir.read("MYLOG.LOG"), copy);

    const std::string torn = test::log_bytes({test::qso(7, 0, "K1ABC")});
    dir.write("DRIVES/E/MYLOG.LOG", torn + "x");
    journal = run(restore + "answer ok\nkey Escape\n");
    const std::string cut =
        "message \"Log File\" \"The backup copy ended with 1 byte that is not a "
        "whole entry. It is kept in MYLOG.BAD; every whole entry is in the "
        "log.\" ok";
    EXPECT_NE(std::find(journal.begin(), journal.end(), cut), journal.end());
    EXPECT_EQ(dir.read("MYLOG.LOG"), torn);
    EXPECT_EQ(dir.read("MYLOG.BAD"), "x");
}

// The program ends, exit code 1, so no scenario can play it.
TEST_F(HousekeepingTest, ALogTooLargeToIndexEndsTheProgramAtStartUntouched) {
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
