// The DX reports: alphabetical order, titles, the highest-numbered country, gaps in the
// numbering and the first call of each country needing a QSL.
#include <gtest/gtest.h>

#include "dxdata/DxReports.h"
#include "logstore/Bands.h"
#include "support/TestSupport.h"

namespace vl {
namespace {

// Four countries, number 3 carried by no record, number 5 the highest.
constexpr std::string_view kList =
    "G,G,England,1,0,0\r\nDA,DR,Germany,2,0,0\r\nF,F,France,4,0,0\r\nJA,JS,Japan,5,0,0\r\n"
    "TK,TK,Corsica with a name that runs on past thirty-five characters,4,0,0\r\n";

class DxReportsTest : public ::testing::Test {
protected:
    void SetUp() override { countries.load(kList); }
    CountryList countries;
    DxccChart chart;
};

TEST_F(DxReportsTest, SortedListHasEveryNumberUpToTheHighest) {
    auto sorted = sorted_countries(countries);
    ASSERT_EQ(sorted.size(), 5u);
    EXPECT_EQ(sorted[0].name, "");  // the gap at number 3 sorts first
    EXPECT_EQ(sorted[0].dxcc, 0);
    EXPECT_EQ(sorted[1].name, "England");
    EXPECT_EQ(sorted[2].name, "France");
    EXPECT_EQ(sorted[3].name, "Germany");
    EXPECT_EQ(sorted[4].name, "Japan");  // the highest number is listed
    EXPECT_EQ(sorted[4].dxcc, 5);
}

TEST_F(DxReportsTest, WantedAndWorked) {
    Report empty_worked = countries_worked_report(countries, chart);
    EXPECT_EQ(empty_worked.title, " 0 Countries Worked");
    EXPECT_TRUE(empty_worked.lines.empty());
    EXPECT_EQ(countries_wanted_report(countries, chart).lines,
              (std::vector<std::string>{"", "England", "France", "Germany", "Japan"}));

    chart.mark(5, 4, kModeCw, 0);
    chart.mark(2, 12, kModeSsb, 2);
    chart.mark(0, 4, kModeCw, 0);  // row 0 does not make the gap worked
    Report worked = countries_worked_report(countries, chart);
    EXPECT_EQ(worked.title, " 2 Countries Worked");
    EXPECT_EQ(worked.label, "Country");
    EXPECT_EQ(worked.lines, (std::vector<std::string>{"Germany", "Japan"}));
    Report wanted = countries_wanted_report(countries, chart);
    EXPECT_EQ(wanted.title, " 3 Countries Needed");
    EXPECT_EQ(wanted.lines, (std::vector<std::string>{"", "England", "France"}));
}

TEST_F(DxReportsTest, QslsNeededGivesTheFirstCallInTheLogOrNoneFound) {
    test::TempDir dir;
    dir.write("MYLOG.LOG", test::log_bytes({test::qso(1, 0, "G4ABC"), test::qso(2, 0, "JA1XYZ"),
                                            test::qso(3, 0, "JA2QQQ"), test::qso(4, 0, "DL1AAA")}));
    LogStore log(platform::system_files());
    log.open(dir.file("MYLOG.LOG"));
    chart.mark(5, 4, kModeSsb, 0);  // Japan: worked, not confirmed
    chart.mark(2, 4, kModeSsb, 2);  // Germany: confirmed
    chart.mark(4, 4, kModeCw, 0);   // France: charted, but its contacts were deleted
    Report report = qsls_needed_report(countries, chart, log);
    EXPECT_EQ(report.title, " 2 QSLs  Needed");
    EXPECT_EQ(report.label, "Call Sign");
    EXPECT_EQ(report.lines,
              (std::vector<std::string>{"NONE FOUND   France", "JA1XYZ       Japan"}));
}

TEST_F(DxReportsTest, BandStatusLinesHaveANameFieldAndThirteenBands) {
    chart.mark(5, 0, kModeCw, 0);
    chart.mark(5, 12, kModeCw, 2);
    auto lines = band_status_lines(countries, chart);
    ASSERT_EQ(lines.size(), 5u);
    std::string japan = lines[4];
    EXPECT_EQ(japan.substr(0, 36), std::string("Japan") + std::string(30, ' ') + ",");
    EXPECT_EQ(japan.substr(36, 7), "Worked,");
    EXPECT_EQ(japan.substr(japan.size() - 10), "Confirmed,");
    EXPECT_EQ(std::count(japan.begin(), japan.end(), ','), 14);
    EXPECT_EQ(
        lines[0], std::string(35, ' ') + "," + [] {
            std::string all;
            for (int b = 0; b < 13; ++b) {
                all += "Wanted on this band,";
            }
            return all;
        }());
}

TEST(DxReports, LongNamesAreCutToThirtyFiveInTheBandStatus) {
    CountryList countries;
    countries.load("TK,TK,Corsica with a name that runs on past thirty-five characters,1,0,0\r\n");
    DxccChart chart;
    auto lines = band_status_lines(countries, chart);
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_EQ(lines[0].substr(0, 36), "Corsica with a name that runs on pa,");
}

}  // namespace
}  // namespace vl
