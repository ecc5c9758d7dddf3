// ADIF import: blocks of any size, the real files of other programs and the all-or-nothing
// merge. Each tag's effect, the boxes, carried values, dropped records, bands without a
// frequency, the reader's mended faults, the merge's order and the round trip through an
// export are played by the adif_fields, adif_mended, adif_merge and adif_round_trip scenarios.
#include <gtest/gtest.h>

#include <algorithm>

#include "interchange/AdifImport.h"
#include "interchange/InterchangeScreens.h"
#include "logstore/Text.h"
#include "support/Scripts.h"
#include "support/TestSupport.h"

namespace vl {
namespace {

// The same bytes fed in blocks of any size give the same entries.
TEST(AdifImport, BlockBoundariesDoNotMatter) {
    const std::string adif =
        "\xEF\xBB\xBFhead<eoh><app_x:5>a<b>c<call:5>Q1ABC<qso_date:8>20100102<name:3>Bob<eor>"
        "<CALL:5>Q1DEF<QSO_DATE:8>20100103<EOR>";
    const ImportBatch whole = parse_adif(adif, "5", "c");
    ASSERT_EQ(whole.entries.size(), 2u);
    for (std::size_t block = 1; block < 9; ++block) {
        AdifReader reader("5", "c");
        for (std::size_t at = 0; at < adif.size(); at += block) {
            reader.feed(std::string_view(adif).substr(at, block));
        }
        EXPECT_EQ(reader.finish().entries, whole.entries) << "blocks of " << block;
    }
}

// Files written by other programs; the counts were taken by reading each file.
TEST(AdifImport, RealFilesOfOtherPrograms) {
    struct Case {
        std::string file;
        std::size_t entries;
        int no_call;
    };
    const std::vector<Case> cases = {
        {"farmergreg-adif__Log4OM.adi", 122, 0},
        {"farmergreg-adif__N3FJP-AClogAdif.adi", 438, 0},
        {"k0swe-adif-parser-ts__js8call.adi", 1, 0},
        {"k0swe-adif-parser-ts__lotw.adi", 1, 0},
        {"k0swe-adif-parser-ts__qrz.adi", 3, 0},
        {"k0swe-adif-parser-ts__sample.adi", 2, 0},
        {"k0swe-adif-parser-ts__wsjtx.adi", 1, 0},
        {"matir-adifparser__header_comment.adi", 0, 1},
        {"matir-adifparser__header_none.adi", 0, 1},
        {"matir-adifparser__header_version.adi", 0, 1},
        {"matir-adifparser__lotw.adi", 250, 0},
        {"matir-adifparser__lotw_empty.adi", 0, 0},
        {"matir-adifparser__lotw_empty_no_eof.adi", 0, 0},
        {"matir-adifparser__lotw_eof.adi", 1, 0},
        {"matir-adifparser__readrecord.adi", 0, 2},
        {"matir-adifparser__wsjtx.adi", 74, 0},
        {"matir-adifparser__xlog.adi", 425, 0},
    };
    for (const Case& c : cases) {
        auto batch = read_adif_file(platform::system_files(),
                                    std::string(VARROW_ADIF_FILES) + "/" + c.file, "100", "");
        ASSERT_TRUE(batch) << c.file;
        EXPECT_EQ(batch->entries.size(), c.entries) << c.file;
        EXPECT_EQ(batch->skipped_no_call, c.no_call) << c.file;
        EXPECT_EQ(batch->skipped_bad_date, 0) << c.file;
    }
    // What the modern files carry: a submode, byte-counted UTF-8, calls in capitals.
    auto js8 = read_adif_file(platform::system_files(),
                              std::string(VARROW_ADIF_FILES) + "/k0swe-adif-parser-ts__js8call.adi",
                              "", "");
    ASSERT_TRUE(js8 && js8->entries.size() == 1u);
    QsoEntry e = decode_qso(js8->entries[0]);
    EXPECT_EQ(e.mode, "JS8");
    EXPECT_EQ(e.call, fit("VE4DL", 12));
    EXPECT_EQ(e.time_on, 49);
    EXPECT_EQ(e.band_field, "7.0");
    EXPECT_EQ(e.comment, fit("Dave", 40));
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
