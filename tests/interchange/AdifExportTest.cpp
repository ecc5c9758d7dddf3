// ADIF export: the file name, the write-then-rename of the file, and a path typed on the
// screen. The fixed layout byte for byte, which entries go out and the screen's messages are
// played by the adif_export_fields, adif_export_kinds and export scenarios.
#include <gtest/gtest.h>

#include "interchange/AdifExport.h"
#include "support/FaultyFiles.h"
#include "support/Scripts.h"
#include "support/TestSupport.h"

namespace vl {
namespace {

TEST(AdifExport, FileNameGetsTheExtensionUnlessItHoldsIt) {
    EXPECT_EQ(export_file_name("LOG"), "LOG.ADI");
    EXPECT_EQ(export_file_name("LOG.ADI"), "LOG.ADI");
    EXPECT_EQ(export_file_name("MY.ADIF"), "MY.ADIF");
    EXPECT_EQ(export_file_name("A.ADI.OLD"), "A.ADI.OLD");
    EXPECT_EQ(export_file_name("/home/op/log.adi"), "/home/op/log.adi");
    EXPECT_EQ(export_file_name("/home/op/log"), "/home/op/log.ADI");
}

// However far the export gets before a file operation fails, the file of that name is the
// older export or the whole new one, and no temporary file is left behind.
TEST(AdifExport, AFailedWriteLeavesTheOlderExportAsItWas) {
    test::TempDir dir;
    std::vector<LogRecord> records;
    for (int i = 0; i < 3000; ++i) {
        records.push_back(test::qso(static_cast<int16_t>(i), 0, "G4ABC"));
    }
    dir.write("MYLOG.LOG", test::log_bytes(records));
    LogStore log(platform::system_files());
    ASSERT_EQ(log.open(dir.file("MYLOG.LOG")).outcome, OpenReport::Outcome::Opened);
    ASSERT_TRUE(export_adif(platform::system_files(), log, dir.file("NEW.ADI"), {}, {}).written);
    const std::string complete = dir.read("NEW.ADI");
    test::FaultyFiles files;
    int refused = 0;
    for (int at = 1;; ++at) {
        dir.write("OLD.ADI", "older export");
        files.fail_at(at);
        ExportResult result = export_adif(files, log, dir.file("OLD.ADI"), {}, {});
        if (!files.failed()) {
            EXPECT_TRUE(result.written);
            EXPECT_EQ(result.count, 3000);
            break;
        }
        const bool old_kept = dir.read("OLD.ADI") == "older export";
        EXPECT_TRUE(result.written ? dir.read("OLD.ADI") == complete : old_kept)
            << "failure at operation " << at;
        EXPECT_FALSE(dir.exists("OLD.ADI.NEW")) << "failure at operation " << at;
        refused += result.written ? 0 : 1;
    }
    EXPECT_GT(refused, 3);  // several block writes, the flush and the rename
}

// A path typed in the name box keeps its letters; a bare name is written in capitals beside
// the program (the export scenario).
TEST(ExportScreen, APathKeepsItsLetters) {
    test::TempDir dir;
    dir.write("COUNTRY.LST", "G,G,England,1,52,-1\r\n");
    dir.write("MYLOG.LOG", test::log_bytes({test::qso(100, 0, "G4AAA")}));
    constexpr int kExportEntry = 10;
    test::HeadlessRun result = test::run_program_headless(
        dir.path(), "clock 2026-12-07 10:00:00\n" + test::open_menu_entry(kExportEntry) + "type " +
                        dir.path() + "Mixed\nkey F12\nanswer ok\nkey Escape\n");
    EXPECT_FALSE(result.script_ended) << "the script left windows open";
    EXPECT_TRUE(dir.exists("Mixed.ADI"));
}

}  // namespace
}  // namespace vl
