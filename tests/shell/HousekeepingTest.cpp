// The settings screens, backup at exit and restore, as an operator meets them.
#include <gtest/gtest.h>

#include <filesystem>

#include "program/Backup.h"
#include "reference/CallBookAccount.h"
#include "shell/Settings.h"
#include "station/StationData.h"
#include "support/Scripts.h"
#include "support/TestSupport.h"

namespace vl {
namespace {

using Lines = std::vector<std::string>;
using test::lines_from;
using test::open_menu_entry;

constexpr int kDateFormat = 11, kLocation = 12, kCallBook = 14, kBackupDrive = 15, kRestore = 16;

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

TEST_F(HousekeepingTest, DateFormatChangesAtOnceAndIsKeptInRigLst) {
    Lines journal = run(open_menu_entry(kDateFormat) + "key Down Down\nkey Enter\nkey Escape\n");
    Lines got = lines_from(journal, "window \"Select Date Format\"");
    ASSERT_GE(got.size(), 4u);
    EXPECT_EQ(got[1], "focus list \"Format:\" \"day,month,year.\"");
    EXPECT_EQ(got[2], "text \"month,day,year.\"");
    EXPECT_EQ(got[3], "text \"year,month,day.\"");
    EXPECT_EQ(parse_station_data(dir.read("RIG.LST")).date_format, 2);
    // The next start reads it back: the list opens on it.
    journal = run(open_menu_entry(kDateFormat) + "key Escape\nkey Escape\n");
    EXPECT_EQ(lines_from(journal, "window \"Select Date Format\"")[1],
              "focus list \"Format:\" \"year,month,day.\"");
}

TEST_F(HousekeepingTest, LocationIsStoredOnEscape) {
    Lines journal =
        run(open_menu_entry(kLocation) +
            "type 52.5\nkey Enter\ntype -1.9\nkey Tab\ntype 3\nkey Escape\nkey Escape\n");
    Lines got = lines_from(journal, "window \"Set Latitude, Longitude and Rotator Port\"");
    ASSERT_GE(got.size(), 6u);
    EXPECT_EQ(got[1], "focus edit \"Latitude:\" \"\"");
    EXPECT_EQ(got[3], "focus edit \"Longitude:\" \"\"");
    EXPECT_EQ(got[5], "focus edit \"Rotator Com Port:\" \"\"");
    Settings settings = parse_settings(dir.read("DBNAMES.TXT"));
    EXPECT_EQ(settings.latitude, "52.5");
    EXPECT_EQ(settings.longitude, "-1.9");
    EXPECT_EQ(settings.rotator_port, "3");
}

// Any text was once kept as a location, and the bearings came out of whatever it read as.
TEST_F(HousekeepingTest, LocationTakesOnlyCoordinatesInRange) {
    static const struct {
        const char* latitude;
        const char* longitude;
        const char* stored_latitude;  // a refused box is then typed over with 0
        const char* stored_longitude;
        int beeps;
    } kCases[] = {
        {"52,5", "-1.9", "52.5", "-1.9", 0},  // a decimal comma is read as a point
        {"-90", "180", "-90", "180", 0},
        {"", "", "", "", 0},
        {"91", "0", "0", "0", 1},
        {"abc", "0", "0", "0", 1},
        {"1.2.3", "0", "0", "0", 1},
        {"45", "-180.5", "45", "0", 1},
    };
    for (const auto& c : kCases) {
        std::filesystem::remove(dir.file("DBNAMES.TXT"));
        Lines journal = run(open_menu_entry(kLocation) + "type " + c.latitude + "\nkey Tab\ntype " +
                            c.longitude +
                            "\nkey Escape\nkey Backspace Backspace Backspace Backspace Backspace "
                            "Backspace\ntype 0\nkey Escape\nkey Escape\n");
        EXPECT_EQ(std::count(journal.begin(), journal.end(), "beep default"), c.beeps)
            << c.latitude << " " << c.longitude;
        Settings settings = parse_settings(dir.read("DBNAMES.TXT"));
        EXPECT_EQ(settings.latitude, c.stored_latitude) << c.latitude;
        EXPECT_EQ(settings.longitude, c.stored_longitude) << c.longitude;
    }
    // Enter on a refused box beeps and keeps the focus there.
    std::filesystem::remove(dir.file("DBNAMES.TXT"));
    Lines got =
        lines_from(run(open_menu_entry(kLocation) +
                       "type 91\nkey Enter\nkey Backspace\nkey Enter\nkey Escape\nkey Escape\n"),
                   "text \"91\"");
    ASSERT_GE(got.size(), 4u);
    EXPECT_EQ(got[1], "beep default");
    EXPECT_EQ(got[2], "text \"9\"");
    EXPECT_EQ(got[3], "focus edit \"Longitude:\" \"\"");
}

TEST_F(HousekeepingTest, CallBookChoiceAndDriveLeaveByTheExitButton) {
    Lines journal = run(open_menu_entry(kCallBook) +
                        "key Down Down\nkey Tab\ntype d\nkey Tab\nkey Enter\nkey Escape\n");
    Lines got = lines_from(journal, "window \"CDROM Call Book selection\"");
    ASSERT_GE(got.size(), 7u);
    EXPECT_EQ(got[1], "focus dropdown \"Call Book:\" \"No Callbook\"");
    EXPECT_EQ(got[3], "text \"Flying Horse\"");
    EXPECT_EQ(got[4], "focus edit \"Drive:\" \"\"");
    EXPECT_EQ(got[6], "focus button \"Exit\"");
    Settings settings = parse_settings(dir.read("DBNAMES.TXT"));
    EXPECT_EQ(settings.callbook_choice, 2);
    EXPECT_EQ(settings.callbook_drive, "d");
}

TEST_F(HousekeepingTest, OnLineCallBookAccountIsTypedMaskedAndKeptPrivately) {
    Lines journal = run(open_menu_entry(kCallBook) +
                        "key End\nkey Tab Tab\ntype g9zza\nkey Tab\ntype se cret\nkey Tab\n"
                        "key Escape\nkey Escape\n");
    Lines got = lines_from(journal, "window \"CDROM Call Book selection\"");
    ASSERT_GE(got.size(), 9u);
    EXPECT_EQ(got[2], "text \"On-line XML\"");
    EXPECT_EQ(got[4], "focus edit \"User name:\" \"\"");
    EXPECT_EQ(got[6], "focus edit \"Password:\" \"\"");
    EXPECT_EQ(got[7], "text \"*******\"");  // the reader hears marks, never the password
    EXPECT_EQ(got[8], "focus button \"Exit\"");
    EXPECT_EQ(parse_settings(dir.read("DBNAMES.TXT")).callbook_choice, 4);
    EXPECT_EQ(dir.read("DBNAMES.TXT").substr(dir.read("DBNAMES.TXT").size() - 4), " 4\r\n");
    EXPECT_EQ(dir.read("CALLBOOK.TXT"),
              "g9zza\r\nse cret\r\n" + std::string(kDefaultCallBookAddress) + "\r\n");

    // The next start offers them again; another choice hides the two boxes (Tab from the
    // drive goes to Exit) and leaves CALLBOOK.TXT alone.
    journal = run(open_menu_entry(kCallBook) +
                  "key Tab Tab Tab\nkey Shift+Tab Shift+Tab "
                  "Shift+Tab\nkey Up\nkey Tab Tab\nkey Escape\nkey Escape\n");
    got = lines_from(journal, "window \"CDROM Call Book selection\"");
    ASSERT_GE(got.size(), 10u);
    EXPECT_EQ(got[1], "focus dropdown \"Call Book:\" \"On-line XML\"");
    EXPECT_EQ(got[3], "focus edit \"User name:\" \"g9zza\"");
    EXPECT_EQ(got[4], "focus edit \"Password:\" \"*******\"");
    EXPECT_EQ(got[7], "focus dropdown \"Call Book:\" \"On-line XML\"");
    EXPECT_EQ(got[8], "text \"QRZ\"");
    EXPECT_EQ(got[10], "focus button \"Exit\"");
    EXPECT_EQ(parse_settings(dir.read("DBNAMES.TXT")).callbook_choice, 3);
    EXPECT_EQ(parse_callbook_account(dir.read("CALLBOOK.TXT")).password, "se cret");
}

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
