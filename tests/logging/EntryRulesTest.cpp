// The entry editor's rules: records built from typed boxes, the checks, the last-entry
// lookup and saving in date-and-time order with DXCC marking.
#include <gtest/gtest.h>

#include "logging/EntryRules.h"
#include "logstore/Bands.h"
#include "logstore/Dates.h"
#include "support/TestSupport.h"

namespace vl {
namespace {

using test::frequency_names;

QsoBoxes typical() {
    QsoBoxes b;
    b.call = "G9ZZA/P";
    b.time_on = "1430";
    b.frequency = "14.2";
    b.mode = "CW";
    b.power = "100";
    b.comment = "Name Bob";
    return b;
}

TEST(BuildQso, DefaultsReportsAndFlags) {
    struct Case {
        const char* what;
        QsoBoxes boxes;
        const char* sent;
        const char* received;
        int time_off;
        int flags;
    };
    QsoBoxes cw = typical();
    QsoBoxes cqc = typical();
    cqc.mode = "CQC";
    QsoBoxes j3e = typical();
    j3e.mode = "J3E";
    QsoBoxes sent_only = typical();
    sent_only.mode = "SSB";
    sent_only.rst_sent = "579";
    QsoBoxes with_off = typical();
    with_off.time_off = "1445";
    with_off.qsl_sent = "yes";
    with_off.qsl_received = "No";
    QsoBoxes both = typical();
    both.qsl_sent = "Y";
    both.qsl_received = "ys";
    const Case kCases[] = {
        {"CW with both reports empty", cw, "599    ", "599    ", 870, 0},
        {"CQC", cqc, "N      ", "N      ", 870, 0},
        {"J3E", j3e, "59     ", "59     ", 870, 0},
        {"received copies sent", sent_only, "579    ", "579    ", 870, 0},
        {"time off and QSL sent", with_off, "599    ", "599    ", 885, 1},
        {"Y anywhere sets a QSL bit", both, "599    ", "599    ", 870, 3},
    };
    for (const Case& c : kCases) {
        EntryBuild build = build_qso(18036, c.boxes);
        ASSERT_TRUE(build.record.has_value()) << c.what;
        QsoEntry e = decode_qso(*build.record);
        EXPECT_EQ(e.rst_sent, c.sent) << c.what;
        EXPECT_EQ(e.rst_received, c.received) << c.what;
        EXPECT_EQ(e.time_on, 870) << c.what;
        EXPECT_EQ(e.time_off, c.time_off) << c.what;
        EXPECT_EQ(e.qsl_flags, c.flags) << c.what;
        EXPECT_EQ(e.call, "G9ZZA/P     ") << c.what;
        EXPECT_EQ(band_of_band_field(e.band_field), 4) << c.what;
        EXPECT_EQ(e.date, 18036) << c.what;
    }
}

TEST(BuildQso, RequiredBoxesInOrder) {
    struct Case {
        std::string QsoBoxes::*box;
        int failed;
    };
    const Case kCases[] = {{&QsoBoxes::call, 102},
                           {&QsoBoxes::time_on, 104},
                           {&QsoBoxes::frequency, 108},
                           {&QsoBoxes::mode, 109},
                           {&QsoBoxes::power, 110}};
    for (const Case& c : kCases) {
        QsoBoxes b = typical();
        b.*(c.box) = "";
        EntryBuild build = build_qso(1, b);
        EXPECT_FALSE(build.record.has_value());
        EXPECT_EQ(build.failed_box, c.failed);
    }
    EXPECT_EQ(build_qso(1, QsoBoxes{}).failed_box, 102);  // the first failing check wins
}

TEST(BuildQso, CqKeepsModeAndReportsEmpty) {
    QsoBoxes cq = typical();
    cq.call = "CQ";
    cq.rst_sent = "599";
    EntryBuild build = build_qso(1, cq);
    ASSERT_TRUE(build.record.has_value());
    EXPECT_EQ(build.record->view(18, 14), std::string(14, '\0'));
    EXPECT_EQ(build.record->view(35, 3), std::string(3, '\0'));
    EXPECT_EQ(build.record->view(38, 5), "100  ");
}

TEST(BuildEntries, DataAndTextRecordsAndTheBoxesBack) {
    LogRecord data = build_data(5, {"1200", "Sam", "FT-991A", "Dipole", "7.1"});
    EXPECT_EQ(entry_kind(data), EntryKind::Data);
    EXPECT_EQ(decode_data(data).band, 2);
    DataBoxes back = data_boxes_of(data, frequency_names());
    EXPECT_EQ(back.band, "7");
    EXPECT_EQ(back.transceiver, "FT-991A");
    EXPECT_EQ(back.time, "1200");
    LogRecord text = build_text(5, {"930", "Contest weekend"});
    EXPECT_EQ(entry_kind(text), EntryKind::Text);
    EXPECT_EQ(text.time(), 570);
    EXPECT_EQ(text_boxes_of(text).text, "Contest weekend");
    QsoBoxes qso = typical();
    qso.qsl_received = "Y";
    QsoBoxes shown = qso_boxes_of(*build_qso(5, qso).record, frequency_names());
    EXPECT_EQ(shown.call, "G9ZZA/P");
    EXPECT_EQ(shown.frequency, "14");
    EXPECT_EQ(shown.rst_sent, "599");
    EXPECT_EQ(shown.qsl_sent, "No");
    EXPECT_EQ(shown.qsl_received, "Yes");
    DataBoxes strange = data_boxes_of(build_data(5, {"", "", "", "", ""}), frequency_names());
    EXPECT_EQ(strange.band, "");  // no frequency: band 19, which has no name
}

TEST(LastEntry, NewestContactOfTheSameBaseCall) {
    test::TempDir dir;
    QsoEntry older;
    older.date = static_cast<int16_t>(date_code(114, 1, 14));
    older.time_on = 870;
    older.call = "GW9ZZA";
    older.band_field = band_field_of(4);
    older.mode = "A1A";
    older.comment = "Name Bob";
    QsoEntry newer = older;
    newer.call = "G9ZZA/P";
    newer.time_on = 900;
    QsoEntry eighty = older;  // a band name of six letters: "3.5MHz"
    eighty.call = "VK9ZZ";
    eighty.band_field = band_field_of(1);
    eighty.mode = "SSB";
    dir.write("MYLOG.LOG", test::log_bytes({encode(older), encode(newer), encode(eighty),
                                            test::qso(9, 0, "K1ABC")}));
    LogStore log(platform::system_files());
    log.open(dir.file("MYLOG.LOG"));
    auto last = find_last_entry(log, "GM9ZZA/M", log.count(), 0, frequency_names());
    ASSERT_TRUE(last.has_value());
    EXPECT_EQ(last->text, "Fourteenth  January Two thousand fourteen, at 1500 on 14MHz A1A");
    EXPECT_EQ(last->comment, std::string("Name Bob") + std::string(32, ' '));
    // Searching from entry 1 down finds only the older one.
    EXPECT_EQ(find_last_entry(log, "G9ZZA", 1, 0, frequency_names())->text.substr(43),
              "at 1430 on 14MHz A1A");
    // "3.5MHzSSB" was read as one word: a blank now parts the band from the mode.
    EXPECT_EQ(find_last_entry(log, "VK9ZZ", log.count(), 0, frequency_names())->text.substr(43),
              "at 1430 on 3.5MHz SSB");
    EXPECT_FALSE(find_last_entry(log, "G9ZZB", log.count(), 0, frequency_names()).has_value());
    EXPECT_FALSE(find_last_entry(log, "M9ZZA", log.count(), 0, frequency_names())
                     .has_value());  // M is not G
    EXPECT_FALSE(find_last_entry(log, "K1AB", log.count(), 0, frequency_names())
                     .has_value());  // whole calls only
}

TEST(SaveEntry, DateAndTimeOrderEditsAndDxccMarks) {
    test::TempDir dir;
    dir.write("MYLOG.LOG", test::log_bytes({test::qso(10, 600, "A"), test::qso(10, 700, "B"),
                                            test::qso(11, 0, "C")}));
    LogStore log(platform::system_files());
    log.open(dir.file("MYLOG.LOG"));
    CountryList countries;
    countries.load("G,G,England,1,0,0\r\nDA,DR,Germany,2,0,0\r\n");
    DxccChart chart;

    QsoBoxes b = typical();
    b.call = "DL1AAA";
    b.time_on = "1100";  // 660: between A and B on day 10
    int position = 0;
    ASSERT_EQ(save_entry(log, countries, chart, *build_qso(10, b).record, 0, &position),
              LogStatus::Ok);
    EXPECT_EQ(position, 2);
    EXPECT_EQ(chart.cell(2, 4), 0x01);  // Germany, 20 m, CW

    QsoBoxes no_report = typical();
    no_report.call = "G4ABC";
    no_report.mode = "CQC";  // report "N" never counts
    ASSERT_EQ(save_entry(log, countries, chart, *build_qso(12, no_report).record, 0, &position),
              LogStatus::Ok);
    EXPECT_EQ(position, 5);
    EXPECT_EQ(chart.cell(1, 4), 0);

    // Editing entry 1 to a later date moves it; the count stays.
    ASSERT_EQ(save_entry(log, countries, chart, *build_qso(11, typical()).record, 1, &position),
              LogStatus::Ok);
    EXPECT_EQ(position, 4);
    EXPECT_EQ(log.count(), 5);
    EXPECT_EQ(log.entry(1).call_field().substr(0, 6), "DL1AAA");
    EXPECT_EQ(log.entry(4).call_field().substr(0, 7), "G9ZZA/P");
    LogStore reread(platform::system_files());
    reread.open(dir.file("MYLOG.LOG"));
    for (int i = 1; i <= 5; ++i) {
        EXPECT_EQ(reread.entry(i), log.entry(i)) << i;
    }
}

}  // namespace
}  // namespace vl
