// The DXCC chart: marking, its file layout, Log Check and the status counts and texts.
#include <gtest/gtest.h>

#include "dxdata/DxccChart.h"
#include "logstore/Bands.h"
#include "support/TestSupport.h"

namespace vl {
namespace {

TEST(DxccChart, MarkSetsWorkedAndConfirmedBitsOfTheModeClass) {
    DxccChart chart;
    chart.mark(5, 4, kModeSsb, 0);
    EXPECT_EQ(chart.cell(5, 4), 0x04);
    chart.mark(5, 4, kModeCw, 2);  // QSL received
    EXPECT_EQ(chart.cell(5, 4), 0x07);
    chart.mark(5, 4, kModeOther, 1);  // QSL sent only: not confirmed
    EXPECT_EQ(chart.cell(5, 4), 0x47);
    chart.mark(0, 0, kModeFm, 3);  // a lookup that gave 0 marks row 0
    EXPECT_EQ(chart.cell(0, 0), 0x30);
    DxccChart before = chart;
    chart.mark(-1, 4, kModeCw, 3);
    chart.mark(401, 4, kModeCw, 3);
    chart.mark(5, 13, kModeCw, 3);
    chart.mark(5, kBandNoFrequency, kModeCw, 3);
    EXPECT_EQ(chart.bytes(), before.bytes());
}

TEST(DxccChart, FileLayoutIsCountryFastestAndRoundTrips) {
    DxccChart chart;
    chart.mark(1, 0, kModeCw, 0);
    chart.mark(400, 12, kModeOther, 2);
    chart.mark(7, 1, kModeSsb, 0);
    std::string bytes = chart.bytes();
    ASSERT_EQ(bytes.size(), 5213u);
    EXPECT_EQ(bytes[1], '\x01');
    EXPECT_EQ(bytes[7 + 401 * 1], '\x04');
    EXPECT_EQ(bytes[400 + 401 * 12], '\xC0');
    DxccChart read_back;
    read_back.load(bytes);
    EXPECT_EQ(read_back.bytes(), bytes);
    // A short file fills what it has; the rest stays clear. A longer one gives its first 5213.
    DxccChart short_file;
    short_file.load(std::string("\x05\x06", 2));
    EXPECT_EQ(short_file.cell(1, 0), 6);
    EXPECT_EQ(short_file.cell(2, 0), 0);
    DxccChart long_file;
    long_file.load(bytes + "trailing");
    EXPECT_EQ(long_file.bytes(), bytes);
}

TEST(DxccChart, LogCheckCountsOnlyRealReportedContactsOfKnownCountries) {
    CountryList countries;
    countries.load("G,G,England,1,52,-1\r\nDA,DR,Germany,2,51,10\r\n1A,1A,Nowhere,0,0,0\r\n");
    test::TempDir dir;
    QsoEntry no_report;
    no_report.call = "DL1AAA";
    no_report.band_field = band_field_of(4);
    no_report.mode = "CW";
    no_report.rst_received = "   ";
    QsoEntry zero_report = no_report;
    zero_report.rst_received = "0";
    QsoEntry letter_report = no_report;
    letter_report.rst_received = "N";  // a CQC report has no number
    QsoEntry confirmed = no_report;
    confirmed.call = "G4ABC";
    confirmed.rst_received = "599";
    confirmed.qsl_flags = 2;
    QsoEntry older_band = confirmed;
    older_band.call = "DL2BBB";
    older_band.band_field = "14 ";  // an older entry with MHz as text
    older_band.mode = "SSB";
    older_band.qsl_flags = 0;
    QsoEntry unknown = confirmed;
    unknown.call = "XX9XX";
    QsoEntry no_country = confirmed;
    no_country.call = "1A0KM";
    DataEntry data;
    data.band = 4;
    dir.write("MYLOG.LOG",
              test::log_bytes({encode(no_report), encode(zero_report), encode(letter_report),
                               encode(confirmed), encode(older_band), encode(unknown),
                               encode(no_country), encode(data)}));
    LogStore log(platform::system_files());
    log.open(dir.file("MYLOG.LOG"));

    DxccChart chart;
    chart.mark(2, 0, kModeFm, 2);  // an old mark that the log no longer supports
    chart.mark(0, 5, kModeFm, 2);  // row 0 is not cleared
    chart.rebuild_from_log(log, countries);
    EXPECT_EQ(chart.cell(1, 4), 0x03);  // England, CW, confirmed
    EXPECT_EQ(chart.cell(2, 4), 0x04);  // Germany, SSB on 20 m from the older text band
    EXPECT_EQ(chart.cell(2, 0), 0x00);
    EXPECT_EQ(chart.cell(0, 4), 0x00);  // a country 0 contact is skipped
    EXPECT_EQ(chart.cell(0, 5), 0x30);

    // The start-up catch-up adds what Log Check would mark and keeps every other mark.
    DxccChart behind;
    behind.mark(1, 4, kModeCw, 0);  // England worked, its QSL not yet marked
    behind.mark(2, 0, kModeFm, 2);  // from an entry since deleted
    const uint64_t version = behind.version();
    EXPECT_TRUE(behind.add_marks_from_log(log, countries));
    EXPECT_EQ(behind.cell(1, 4), 0x03);
    EXPECT_EQ(behind.cell(2, 4), 0x04);
    EXPECT_EQ(behind.cell(2, 0), 0x30);
    EXPECT_GT(behind.version(), version);  // so its keeper writes it
    const std::string caught_up = behind.bytes();
    EXPECT_FALSE(behind.add_marks_from_log(log, countries));
    EXPECT_EQ(behind.bytes(), caught_up);
}

TEST(StatusCounts, CountCountriesNotContacts) {
    DxccChart chart;
    chart.mark(1, 4, kModeCw, 2);
    chart.mark(1, 4, kModeSsb, 0);
    chart.mark(1, 6, kModeCw, 0);
    chart.mark(2, 4, kModeCw, 0);
    chart.mark(3, 12, kModeOther, 2);
    StatusCounts all = count_status(chart, 1, 3);
    EXPECT_EQ(all.worked[4][kModeCw], 2);
    EXPECT_EQ(all.confirmed[4][kModeCw], 1);
    EXPECT_EQ(all.worked[4][4], 2);
    EXPECT_EQ(all.worked[13][kModeCw], 2);  // country 1 on two bands counts once
    EXPECT_EQ(all.worked[13][4], 3);
    EXPECT_EQ(all.confirmed[13][4], 2);
    EXPECT_EQ(all.confirmed[13][kModeSsb], 0);

    EXPECT_EQ(status_band_text(4), "twenty metres.");
    EXPECT_EQ(status_band_text(13), "All Bands totals.");
    EXPECT_EQ(status_mode_text(all, 4, kModeCw), " 2 Worked and 1 confirmed.");
    EXPECT_EQ(status_mode_text(all, 4, kModeSsb), " 1 Worked but not confirmed.");
    EXPECT_EQ(status_mode_text(all, 4, kModeFm), "None Worked.");
    EXPECT_EQ(status_total_text(all, 13), " 3 worked and 2 confirmed.");

    StatusCounts one = count_status(chart, 1, 1);
    for (int row = 0; row < 14; ++row) {
        for (int column = 0; column < 5; ++column) {
            EXPECT_LE(one.worked[row][column], 1);
            EXPECT_LE(one.confirmed[row][column], one.worked[row][column]);
        }
    }
}

}  // namespace
}  // namespace vl
