// ADIF import: blocks of any size and the all-or-nothing merge. Each tag's effect, the boxes,
// carried values, dropped records, bands without a frequency, the reader's mended faults, the
// real files of other programs, the merge's order and the round trip through an export are
// played by the adif_fields, adif_mended, adif_real_files, adif_merge and adif_round_trip
// scenarios.
#include <gtest/gtest.h>

#include <algorithm>

#include "interchange/AdifImport.h"
#include "interchange/InterchangeScreens.h"
#include "logstore/Dates.h"
#include "support/Scripts.h"
#include "support/TestSupport.h"

namespace vl {
namespace {

// The same bytes fed in blocks of any size give the same entries. Each block is a copy of its
// own, as a file read gives it, so nothing can be read past a block's end.
TEST(AdifImport, BlockBoundariesDoNotMatter) {
    const std::string adif =
        "\xEF\xBB\xBFhead<eoh><app_x:5>a<b>c<call:5>Q1ABC<qso_date:8>20100102<name:3>Bob<eor>"
        "<CALL:5>Q1DEF<QSO_DATE:8>20100103<EOR>";
    const ImportBatch whole = parse_adif(adif, "5", "c");
    ASSERT_EQ(whole.entries.size(), 2u);
    for (std::size_t block = 1; block < 9; ++block) {
        AdifReader reader("5", "c");
        for (std::size_t at = 0; at < adif.size(); at += block) {
            reader.feed(adif.substr(at, block));
        }
        EXPECT_EQ(reader.finish().entries, whole.entries) << "blocks of " << block;
    }
}

// A record without a date has no place in a log kept in date order: it is left out and
// counted, while a date that happens to have code 0 is kept.
TEST(AdifImport, ARecordWithoutADateIsLeftOutAndSaid) {
    const ImportBatch batch = parse_adif(
        "<call:5>Q1B00<band:3>20m<eor><call:5>Q1B01<qso_date:8>19640101<eor>"
        "<call:5>Q1B02<qso_date:8>19291231<eor><call:5>Q1B03<eor>",
        "", "");
    ASSERT_EQ(batch.entries.size(), 1u);
    EXPECT_EQ(batch.entries[0].date(), date_code(64, 1, 1));
    EXPECT_EQ(import_summary(1, batch),
              " 1 Entries imported, 2 records skipped for having no date, 1 record skipped for a "
              "date before 1930 or after 22 July 2029");
}

TEST(ImportScreen, AnImportPastTheLimitIsRefusedWhole) {
    test::TempDir dir;
    dir.write("COUNTRY.LST", "G,G,England,1,52,-1\r\n");
    const std::string before =
        test::log_bytes(std::vector<LogRecord>(kMaxLogEntries - 1, test::qso(100, 0, "OLD")));
    dir.write("MYLOG.LOG", before);
    dir.write("TWO.ADI", "<call:1>A<qso_date:8>20100101<eor><call:1>B<qso_date:8>20100101<eor>");
    constexpr int kImportEntry = 9;
    test::HeadlessRun result = test::run_program_headless(
        dir.path(), test::open_menu_entry(kImportEntry) +
                        "type two.adi\nkey F12\nanswer ok\nkey Escape\nkey Escape\n");
    EXPECT_FALSE(result.script_ended) << "the script left windows open";
    const auto got = test::lines_from(result.journal, "window \"IMPORT A LOG IN ADIF FORMAT\"");
    EXPECT_NE(std::find(got.begin(), got.end(),
                        "message \"Log Full\" \"The log keeps at most 120000 entries, so only 1 "
                        "more entry fits. This file holds 2. Nothing was imported.\" ok"),
              got.end());
    EXPECT_EQ(dir.read("MYLOG.LOG"), before);
}

}  // namespace
}  // namespace vl
