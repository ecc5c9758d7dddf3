// The log in words and its searches.
#include <gtest/gtest.h>

#include "logging/EntryRules.h"
#include "logging/LogReading.h"
#include "logstore/Bands.h"
#include "logstore/Dates.h"
#include "support/TestSupport.h"

namespace vl {
namespace {

using test::frequency_names;

TEST(SpokenTime, HoursThenMinutes) {
    EXPECT_EQ(spoken_time(0), "00 hundred");
    EXPECT_EQ(spoken_time(870), "fourteen thirty");
    EXPECT_EQ(spoken_time(545), "09 05");
    EXPECT_EQ(spoken_time(1439), "twenty 3 fifty 9");
    EXPECT_EQ(spoken_time(600), "ten hundred");
}

TEST(EntrySummary, QsoDataAndTextSentences) {
    QsoEntry q;
    q.date = static_cast<int16_t>(date_code(114, 1, 14));
    q.time_on = 870;
    q.call = "G9ZZA";
    q.band_field = band_field_of(4);
    q.mode = "CW";
    q.power = "100W";
    q.comment = "Name Bob";
    q.qsl_flags = 3;
    EXPECT_EQ(entry_summary(encode(q), 5, 0, frequency_names()),
              "Entry 5, Fourteenth  January Two thousand fourteen,  G 9 Z Z A, at fourteen thirty "
              "on 14 Megahertz, "
              "CW , 100 watts, QSL got and sent, Name Bob" +
                  std::string(32, ' '));
    q.power = "5";
    q.qsl_flags = 1;
    q.band_field = band_field_of(0);
    std::string small = entry_summary(encode(q), 1, 0, frequency_names());
    EXPECT_NE(small.find("on 1.8 Megahertz, CW , 5     watts, QSL sent, "), std::string::npos)
        << small;
    // "Got QSL" and "No QSL" are read in the browse scenarios.

    DataEntry d;
    d.date = q.date;
    d.time = 600;
    d.operator_name = "Sam";
    d.transceiver = "FT-991A";
    d.antenna = "Dipole";
    d.band = 6;
    EXPECT_EQ(entry_summary(encode(d), 2, 0, frequency_names()),
              "Entry 2, Fourteenth  January Two thousand fourteen,  at ten hundred,  Operator is "
              "Sam         , "
              "Rig is FT-991A     , Antenna is Dipole      , Band is 21 Megahertz ");
    TextEntry t;
    t.date = q.date;
    t.time = 0;
    t.text = "Field day";
    EXPECT_EQ(entry_summary(encode(t), 3, 0, frequency_names()),
              "Entry 3, Fourteenth  January Two thousand fourteen,  at 00 hundred, Field day" +
                  std::string(55, ' '));
    d.band = 99;  // outside the table: read as no band
    std::string no_band = entry_summary(encode(d), 2, 0, frequency_names());
    EXPECT_EQ(no_band.substr(no_band.size() - 14), "Band is       ");
}

class SearchTest : public ::testing::Test {
protected:
    void SetUp() override {
        LogRecord c1 = test::qso(1, 0, "DL1AAA");
        c1.set_comment("Island trip");
        LogRecord c2 = test::qso(2, 0, "G4ABC");
        c2.set_comment("ISLAND again");
        TextEntry text;
        text.date = 3;
        text.text = "island note";
        LogRecord c4 = test::qso(5, 0, "DL2BBB/P");
        dir.write("MYLOG.LOG",
                  test::log_bytes({c1, c2, encode(text), c4, test::qso(9, 0, "K1ABC")}));
        log.open(dir.file("MYLOG.LOG"));
    }
    test::TempDir dir;
    LogStore log{platform::system_files()};
};

TEST_F(SearchTest, CallSearchFindsTextAnywhereInTheCallField) {
    EXPECT_EQ(search_log(log, SearchField::CallSign, "DL", 0, true), 1);
    EXPECT_EQ(search_log(log, SearchField::CallSign, "DL", 1, true), 4);
    EXPECT_EQ(search_log(log, SearchField::CallSign, "DL", 4, true), 0);
    EXPECT_EQ(search_log(log, SearchField::CallSign, "DL", 4, false), 1);
    EXPECT_EQ(search_log(log, SearchField::CallSign, "DL", 1, false), 0);
    EXPECT_EQ(search_log(log, SearchField::CallSign, "/", 0, true), 3);   // text entries too
    EXPECT_EQ(search_log(log, SearchField::CallSign, "dl", 0, true), 0);  // case matters here
    EXPECT_EQ(search_log(log, SearchField::CallSign, "", 0, true), 0);
}

TEST_F(SearchTest, CommentSearchIgnoresCaseAndPassesOverTextEntries) {
    EXPECT_EQ(search_log(log, SearchField::Comment, "island", 0, true), 1);
    EXPECT_EQ(search_log(log, SearchField::Comment, "island", 1, true), 2);
    EXPECT_EQ(search_log(log, SearchField::Comment, "island", 2, true), 0);
    EXPECT_EQ(search_log(log, SearchField::Comment, "note", 0, true), 0);
    EXPECT_EQ(search_log(log, SearchField::Comment, "ixland", 0, true), 0);  // every letter counts
}

TEST_F(SearchTest, FirstEntryOfADate) {
    EXPECT_EQ(first_entry_from(log, 2), 2);
    EXPECT_EQ(first_entry_from(log, 4), 4);
    EXPECT_EQ(first_entry_from(log, -100), 1);
    EXPECT_EQ(first_entry_from(log, 500), 5);  // later than every entry: the last
}

}  // namespace
}  // namespace vl
