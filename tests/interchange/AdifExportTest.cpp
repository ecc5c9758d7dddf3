// ADIF export: the fixed layout byte for byte, the file name, the
// write-then-rename of the file, and a path typed on the screen. The screen's messages and
// which entries go out are played by the export and adif_export_kinds scenarios.
#include <gtest/gtest.h>

#include <algorithm>

#include "interchange/AdifExport.h"
#include "logstore/Dates.h"
#include "program/MainMenu.h"
#include "support/FaultyFiles.h"
#include "support/Scripts.h"
#include "support/TestSupport.h"

namespace vl {
namespace {

QsoEntry worked_example() {
    QsoEntry e;
    e.date = static_cast<int16_t>(date_code(104, 3, 14));
    e.time_on = 12 * 60 + 30;
    e.time_off = 12 * 60 + 45;
    e.call = "Q1ABC";
    e.rst_sent = "599";
    e.rst_received = "579";
    e.band_field = band_field_of(4);
    e.mode = "A1A";
    e.power = "100";
    e.comment = "Nice QSO";
    e.qsl_flags = 1;
    return e;
}

std::string exported(const QsoEntry& entry) {
    std::string out;
    append_adif_entry(out, encode(entry));
    return out;
}

// The line of the entry that starts with `tag`'s field, from that field to the next tag.
std::string field(const std::string& text, const std::string& tag) {
    auto at = text.find("<" + tag + ":");
    if (at == std::string::npos) {
        return "(none)";
    }
    auto end = text.find_first_of(" \r", at);
    return text.substr(at, end - at);
}

TEST(AdifExport, WorkedExampleIsWrittenByteForByte) {
    EXPECT_EQ(exported(worked_example()),
              "<qso_date:8>20040314   <call:5>Q1ABC  <time_on:4>1230  <time_off:4>1245\r\n"
              "  <rst_sent:3>599  <rst_rcvd:3>579  <freq:2>14  <mode:2>CW  <tx_pwr:3>100\r\n"
              "  <comment:8>Nice QSO\r\n"
              "  <qsl_sent:1>Y  <qsl_rcvd:1>N  <eor>\r\n");
}

TEST(AdifExport, FrequencyFollowsTheBandTable) {
    const char* const freqs[] = {"<freq:3>1.8", "<freq:3>3.5",    "<freq:1>7",  "<freq:4>10.1",
                                 "<freq:2>14",  "<freq:6>18.068", "<freq:2>21", "<freq:6>24.890",
                                 "<freq:2>28",  "<freq:2>50",     "<freq:2>70", "<freq:3>144",
                                 "<freq:3>430", "<freq:5>5.350"};
    auto freq_of = [](const std::string& band_field) {
        QsoEntry e = worked_example();
        e.band_field = band_field;
        return field(exported(e), "freq");
    };
    for (int band = 0; band < 14; ++band) {
        EXPECT_EQ(freq_of(band_field_of(band)), freqs[band]) << band;
    }
    EXPECT_EQ(freq_of(band_field_of(14)), "(none)");
    EXPECT_EQ(freq_of(band_field_of(19)), "(none)");
    EXPECT_EQ(freq_of("3.5"), "<freq:3>3.5");  // an older entry's frequency text
    EXPECT_EQ(freq_of("   "), "(none)");
}

TEST(AdifExport, BlanksAndEmptyValues) {
    QsoEntry e = worked_example();
    e.call = "Q1ABC /P";
    e.rst_sent = "";
    e.rst_received = " 5 7";
    e.mode = "";
    e.power = "";
    e.comment = " two  words ";
    e.qsl_flags = '0' | 2;
    std::string out = exported(e);
    EXPECT_NE(out.find("<call:7>Q1ABC/P  <time_on"), std::string::npos) << out;
    EXPECT_NE(out.find("\r\n  <rst_rcvd:2>57  <freq:2>14\r\n"), std::string::npos);
    EXPECT_NE(out.find("  <comment:11> two  words\r\n"), std::string::npos) << out;
    EXPECT_NE(out.find("<qsl_sent:1>N  <qsl_rcvd:1>Y"), std::string::npos);
    e.comment = "";
    EXPECT_NE(exported(e).find("\r\n  <comment:0>\r\n"), std::string::npos);
}

// Each stored form and the ADIF mode and submode it goes out as: none for a mode ADIF does
// not list.
TEST(AdifExport, ModesAreWrittenAsAdifModeAndSubmode) {
    const std::vector<std::pair<std::string, std::string>> modes = {
        {"A1A", "  <mode:2>CW"},
        {"J3E", "  <mode:3>SSB"},
        {"USB", "  <mode:3>SSB  <submode:3>USB"},
        {"RTY", "  <mode:4>RTTY"},
        {"FT4", "  <mode:4>MFSK  <submode:3>FT4"},
        {"FST", "  <mode:4>MFSK  <submode:4>FST4"},
        {"PSK", "  <mode:3>PSK"},
        {"DST", "  <mode:12>DIGITALVOICE  <submode:5>DSTAR"},
        {"DIG", ""},
    };
    for (const auto& [stored, adif] : modes) {
        QsoEntry e = worked_example();
        e.mode = stored;
        EXPECT_NE(exported(e).find("<freq:2>14" + adif + "  <tx_pwr:3>100\r\n"), std::string::npos)
            << stored;
    }
}

TEST(AdifExport, CenturyFollowsTheTwoDigitYear) {
    const std::vector<std::pair<int, std::string>> cases = {
        {date_code(30, 1, 1), "19300101"},  {date_code(99, 12, 31), "19991231"},
        {date_code(100, 1, 1), "20000101"}, {date_code(129, 1, 1), "20290101"},
        {kMaxDateCode, "20290722"},
    };
    for (const auto& [code, expected] : cases) {
        QsoEntry e = worked_example();
        e.date = static_cast<int16_t>(code);
        EXPECT_EQ(exported(e).substr(12, 8), expected);
    }
}

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
