// The DX reports: alphabetical order with the gaps in the numbering, titles, the first call
// of each country needing a QSL, and the band status lines.
#include <gtest/gtest.h>

#include "dxdata/DxReports.h"
#include "logstore/Bands.h"
#include "support/TestSupport.h"

namespace vl {
namespace {

using Lines = std::vector<std::string>;

TEST(DxReports, WantedWorkedQslsNeededAndBandStatus) {
    // Number 3 is carried by no record and sorts first, unnamed; 5 is the highest.
    CountryList countries;
    countries.load(
        "G,G,England,1,0,0\r\nDA,DR,Germany,2,0,0\r\nF,F,France,4,0,0\r\nJA,JS,Japan,5,0,0\r\n"
        "TK,TK,Corsica with a name that runs on past thirty-five characters,6,0,0\r\n");
    DxccChart chart;
    auto sorted = sorted_countries(countries);
    ASSERT_EQ(sorted.size(), 6u);
    EXPECT_EQ(sorted[0].name + "/" + std::to_string(sorted[0].dxcc), "/0");
    EXPECT_EQ(sorted[5].name + "/" + std::to_string(sorted[5].dxcc), "Japan/5");
    Report worked = countries_worked_report(countries, chart);
    EXPECT_EQ(worked.title + "|" + worked.label, " 0 Countries Worked|Country");
    EXPECT_TRUE(worked.lines.empty());

    chart.mark(1, 4, kModeCw, 0);  // England and Japan: worked, not confirmed
    chart.mark(5, 4, kModeSsb, 0);
    chart.mark(2, 12, kModeSsb, 2);  // Germany: confirmed
    chart.mark(4, 0, kModeCw, 0);    // France: charted, but its contacts were deleted
    chart.mark(0, 4, kModeCw, 0);    // row 0 does not make the gap worked
    worked = countries_worked_report(countries, chart);
    EXPECT_EQ(worked.title, " 4 Countries Worked");
    EXPECT_EQ(worked.lines, (Lines{"England", "France", "Germany", "Japan"}));
    Report wanted = countries_wanted_report(countries, chart);
    EXPECT_EQ(wanted.title, " 2 Countries Needed");
    EXPECT_EQ(wanted.lines,
              (Lines{"", "Corsica with a name that runs on past thirty-five characters"}));

    test::TempDir dir;
    dir.write("MYLOG.LOG", test::log_bytes({test::qso(1, 0, "G4ABC"), test::qso(2, 0, "JA1XYZ"),
                                            test::qso(3, 0, "JA2QQQ"), test::qso(4, 0, "DL1AAA")}));
    LogStore log(platform::system_files());
    log.open(dir.file("MYLOG.LOG"));
    Report qsls = qsls_needed_report(countries, chart, log);
    EXPECT_EQ(qsls.title + "|" + qsls.label, " 3 QSLs  Needed|Call Sign");
    EXPECT_EQ(qsls.lines,
              (Lines{"G4ABC        England", "NONE FOUND   France", "JA1XYZ       Japan"}));

    Lines lines = band_status_lines(countries, chart);
    ASSERT_EQ(lines.size(), 6u);
    std::string wanted_everywhere;
    for (int band = 0; band < 13; ++band) {
        wanted_everywhere += "Wanted on this band,";
    }
    EXPECT_EQ(lines[0], std::string(35, ' ') + "," + wanted_everywhere);
    EXPECT_EQ(lines[1].substr(0, 36), "Corsica with a name that runs on pa,");
    const std::string& germany = lines[4];
    EXPECT_EQ(germany.substr(0, 36), "Germany" + std::string(28, ' ') + ",");
    EXPECT_EQ(germany.substr(36, 20), "Wanted on this band,");
    EXPECT_EQ(germany.substr(germany.size() - 10), "Confirmed,");
    EXPECT_EQ(std::count(germany.begin(), germany.end(), ','), 14);
    EXPECT_EQ(lines[5].substr(36 + 4 * 20, 7), "Worked,");  // Japan on 20 m
}

}  // namespace
}  // namespace vl
