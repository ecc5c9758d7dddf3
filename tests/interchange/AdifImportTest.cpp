// ADIF import: each tag's effect, the mended faults of the reader, the all-or-nothing merge
// and the real files of other programs. The merge's date-and-time order and the round trip
// through an export are played by the adif_merge and adif_round_trip scenarios.
#include <gtest/gtest.h>

#include <algorithm>

#include "interchange/AdifImport.h"
#include "interchange/InterchangeScreens.h"
#include "logstore/Bands.h"
#include "logstore/Dates.h"
#include "logstore/Text.h"
#include "support/Scripts.h"
#include "support/TestSupport.h"

namespace vl {
namespace {

QsoEntry only_entry(std::string_view adif, std::string_view power = "",
                    std::string_view comment = "") {
    ImportBatch batch = parse_adif(adif, power, comment);
    EXPECT_EQ(batch.entries.size(), 1u) << adif;
    return batch.entries.empty() ? QsoEntry{} : decode_qso(batch.entries[0]);
}

TEST(AdifImport, EachTagFillsItsField) {
    QsoEntry e = only_entry(
        "header<eoh><QSO_DATE:8:D>20040314<time_on:6>123059<time_off:4>1245<call:6>q1abc/"
        "<freq:6>14.195<mode:4>RTTY<rst_rcvd:8>59912345<rst_sent:3>579<tx_pwr:3>400"
        "<comment:4>Nice<name:3>Bob<notes:1>n<iota:6>EU-005<qth:4>Hull<operator:4>Q0ZZ"
        "<qsl_rcvd:1>Y<qsl_sent:1>n<band:3>40m<eor>",
        "100", "box text");
    EXPECT_EQ(e.date, date_code(104, 3, 14));
    EXPECT_EQ(e.time_on, 12 * 60 + 30);
    EXPECT_EQ(e.time_off, 12 * 60 + 45);
    EXPECT_EQ(e.call, fit("Q1ABC/", 12));
    EXPECT_EQ(e.band_field, "14.");  // the frequency's first three characters
    EXPECT_EQ(band_of_band_field(e.band_field), 4);
    EXPECT_EQ(e.mode, "RTY");  // the form the export writes as RTTY
    EXPECT_EQ(e.rst_received, "5991234");
    EXPECT_EQ(e.rst_sent, fit("579", 7));
    EXPECT_EQ(e.power, fit("400", 5));
    EXPECT_EQ(e.comment, fit("Nice Bob n EU-005 Hull box text", 40));
    EXPECT_EQ(e.qsl_flags, '0' | 2);
}

// Each band the log knows, named without a frequency, lands on that band.
TEST(AdifImport, BandWithoutFrequencyGivesThatBand) {
    struct Case {
        std::string band;
        int number;
    };
    const Case cases[] = {{"160m", 0}, {"80M", 1},   {"60m", 13},  {"40m", 2},
                          {"30m", 3},  {"20m", 4},   {"17m", 5},   {"15m", 6},
                          {"12m", 7},  {"10m", 8},   {"6m", 9},    {"4m", 10},
                          {"2m", 11},  {"70CM", 12}, {"23cm", 19}, {"", 19}};  // 19: no frequency
    for (const Case& c : cases) {
        QsoEntry e = only_entry("<call:5>Q1ABC<band:" + std::to_string(c.band.size()) + ">" +
                                c.band + "<eor>");
        EXPECT_EQ(band_of_band_field(e.band_field), c.number) << c.band;
    }
}

TEST(AdifImport, DefaultsAndCarriedValues) {
    ImportBatch batch = parse_adif(
        "<call:5>Q1AAA<qso_date:8>20100101<time_on:4>0930<band:3>20m<tx_pwr:2>50<qsl_sent:1>y"
        "<eor>"
        "<call:5>Q1BBB<qso_date:8>20100102<time_on:4>1000<band:2>2m<eor>"
        "<call:5>Q1CCC<qso_date:8>20100102<time_on:4>1000<freq:5>7.010<band:3>20m<eor>"
        "<call:5>Q1DDD<qso_date:8>20100103<time_on:4>1100",  // no end of record
        "100", "");
    ASSERT_EQ(batch.entries.size(), 3u);
    QsoEntry first = decode_qso(batch.entries[0]);
    EXPECT_EQ(first.time_off, first.time_on);            // no time_off: the time on
    EXPECT_EQ(band_of_band_field(first.band_field), 4);  // band 20m, no frequency
    EXPECT_EQ(first.qsl_flags, '0' | 1);
    EXPECT_EQ(first.comment, fit("", 40));
    QsoEntry second = decode_qso(batch.entries[1]);
    EXPECT_EQ(second.power, fit("50", 5));  // the earlier record's power, not the box's
    EXPECT_EQ(band_of_band_field(second.band_field), 11);  // 2m, not 20m
    EXPECT_EQ(second.qsl_flags, '0');
    EXPECT_EQ(decode_qso(batch.entries[2]).band_field, "7.0");  // freq wins over band
}

// The faults of the plain reader, each with the record that showed it.
TEST(AdifImport, MendedReading) {
    struct Case {
        std::string name, adif;
        std::string call, comment, mode;
    };
    const std::vector<Case> cases = {
        {"a \"<\" inside an unknown field", "<app_x_text:12>a <b> <c:3>d<call:5>Q1ABC<eor>",
         "Q1ABC", "", ""},
        {"a byte-order mark", "\xEF\xBB\xBF<call:5>Q1ABC<eor>", "Q1ABC", "", ""},
        {"UTF-8 text", "<call:5>Q1ABC<name:8>Z\xC3\xBCri\xE6\x9D\xB1<eor>", "Q1ABC", "Z\xFCri?",
         ""},
        {"a long UTF-8 value cut at a whole character",
         "<call:5>Q1ABC<comment:600>\xC3\xBC" + std::string(509, 'a') + "\xC3\xBC" +
             std::string(87, 'a') + "<eor>",
         "Q1ABC", "\xFC" + std::string(39, 'a'), ""},
        {"Windows-1252 text", "<call:5>Q1ABC<name:4>Z\xFCri<eor>", "Q1ABC", "Z\xFCri", ""},
        {"MFSK with its submode", "<call:5>Q1ABC<mode:4>MFSK<submode:3>FT4<eor>", "Q1ABC", "",
         "FT4"},
        {"SSB's sideband", "<call:5>Q1ABC<mode:3>SSB<submode:3>USB<eor>", "Q1ABC", "", "USB"},
        {"a family without submode", "<call:5>Q1ABC<mode:6>OLIVIA<eor>", "Q1ABC", "", "OLI"},
        {"a stray \"<\" in text between tags", "<call:5>Q1ABC 3 < 4 <eor>", "Q1ABC", "", ""},
    };
    for (const Case& c : cases) {
        QsoEntry e = only_entry(c.adif);
        EXPECT_EQ(e.call, fit(c.call, 12)) << c.name;
        EXPECT_EQ(e.comment, fit(c.comment, 40)) << c.name;
        EXPECT_EQ(e.mode, fit(c.mode, 3)) << c.name;
    }
}

TEST(AdifImport, DroppedRecordsLeaveNothingBehindAndAreCounted) {
    ImportBatch batch = parse_adif(
        "<qsl_sent:1>Y<comment:3>old<mode:2>CW<time_on:4>1200<qso_date:8>20100101<eor>"
        "<call:5>Q1ABC<qso_date:8>20100102<eor>"
        "<call:5>Q1OLD<qso_date:8>19291231<eor>"
        "<call:5>Q1NEW<qso_date:8>20290723<eor>"
        "<call:5>Q1BAD<qso_date:8>2010XX01<eor>"
        "<call:5>Q1FIR<qso_date:8>19300101<eor>"
        "<call:5>Q1LAS<qso_date:8>20290722<eor>",
        "", "");
    EXPECT_EQ(batch.skipped_no_call, 1);
    EXPECT_EQ(batch.skipped_bad_date, 3);
    ASSERT_EQ(batch.entries.size(), 3u);
    QsoEntry after_dropped = decode_qso(batch.entries[0]);
    EXPECT_EQ(after_dropped.qsl_flags, '0');
    EXPECT_EQ(after_dropped.comment, fit("", 40));
    EXPECT_EQ(after_dropped.mode, "   ");
    EXPECT_EQ(after_dropped.time_on, 0);
    EXPECT_EQ(decode_qso(batch.entries[1]).date, kMinDateCode);
    EXPECT_EQ(decode_qso(batch.entries[2]).date, kMaxDateCode);
    EXPECT_EQ(import_summary(3, batch),
              " 3 Entries imported, 1 record skipped for having no call sign, 3 records skipped "
              "for a date before 1930 or after 22 July 2029");
}

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
