// The DXCC chart: marks, file layout, Log Check, the start-up catch-up, the status counts.
#include <gtest/gtest.h>

#include "dxdata/DxccChart.h"
#include "logstore/Bands.h"
#include "support/TestSupport.h"

namespace vl {
namespace {

TEST(DxccChart, MarksTheModeClassBitsAndKeepsItsFileLayout) {
    // QSL flags 2: received; 1: sent only, not confirmed.
    DxccChart chart;
    const struct {
        int dxcc, band, mode;
        unsigned qsl;
        int cell;  // of (dxcc, band) after the mark
    } kMarks[] = {{5, 4, kModeSsb, 0, 0x04},      {5, 4, kModeCw, 2, 0x07},
                  {5, 4, kModeOther, 1, 0x47},    {0, 0, kModeFm, 3, 0x30},
                  {400, 12, kModeOther, 2, 0xC0}, {1, 0, kModeCw, 0, 0x01}};
    for (const auto& m : kMarks) {
        chart.mark(m.dxcc, m.band, m.mode, m.qsl);
        EXPECT_EQ(chart.cell(m.dxcc, m.band), m.cell) << m.dxcc << " " << m.band;
    }
    const std::string bytes = chart.bytes();
    for (auto [dxcc, band] : {std::pair{-1, 4}, {401, 4}, {5, 13}, {5, kBandNoFrequency}}) {
        chart.mark(dxcc, band, kModeCw, 3);
    }
    ASSERT_EQ(chart.bytes(), bytes);
    ASSERT_EQ(bytes.size(), 5213u);
    EXPECT_EQ(bytes.substr(5 + 401 * 4, 1) + bytes.substr(400 + 401 * 12, 1), "\x47\xC0");
    EXPECT_TRUE(chart.worked(400) && chart.confirmed(400) && chart.worked(1));
    EXPECT_FALSE(chart.confirmed(1) || chart.worked(2));
    DxccChart read_back;
    read_back.load(bytes + "trailing");  // a longer file gives its first 5213
    EXPECT_EQ(read_back.bytes(), bytes);
    read_back.load(std::string("\x05\x06", 2));  // a short one fills what it has
    EXPECT_EQ(read_back.cell(1, 0) * 100 + read_back.cell(2, 0) + read_back.cell(5, 4), 600);
}

TEST(DxccChart, LogCheckCountsOnlyRealReportedContactsOfKnownCountries) {
    CountryList countries;
    countries.load("G,G,England,1,52,-1\r\nDA,DR,Germany,2,51,10\r\n1A,1A,Nowhere,0,0,0\r\n");
    auto entry = [](const char* call, const std::string& band, const char* mode, const char* rst,
                    unsigned qsl) {
        QsoEntry e;
        e.call = call;
        e.band_field = band;
        e.mode = mode;
        e.rst_received = rst;
        e.qsl_flags = static_cast<uint8_t>(qsl);
        return encode(e);
    };
    const std::string b20 = band_field_of(4);
    DataEntry data;
    data.band = 4;
    test::TempDir dir;
    dir.write("MYLOG.LOG", test::log_bytes({
                               entry("DL1AAA", b20, "CW", "   ", 0),  // no report
                               entry("DL1AAA", b20, "CW", "0", 0),
                               entry("DL1AAA", b20, "CW", "N", 0),  // CQC: no number
                               entry("G4ABC", b20, "CW", "599", 2),
                               entry("DL2BBB", "14 ", "SSB", "599", 0),  // MHz as text
                               entry("XX9XX", b20, "CW", "599", 2),
                               entry("1A0KM", b20, "CW", "599", 2),  // country 0
                               encode(data),
                           }));
    LogStore log(platform::system_files());
    log.open(dir.file("MYLOG.LOG"));

    DxccChart chart;
    chart.mark(2, 0, kModeFm, 2);  // an old mark that the log no longer supports
    chart.mark(0, 5, kModeFm, 2);  // row 0 is not cleared
    chart.rebuild_from_log(log, countries);
    auto cells = [](const DxccChart& c) {
        return std::vector<int>{c.cell(1, 4), c.cell(2, 4), c.cell(2, 0), c.cell(0, 4),
                                c.cell(0, 5)};
    };
    EXPECT_EQ(cells(chart), (std::vector<int>{0x03, 0x04, 0, 0, 0x30}));

    // The start-up catch-up adds what Log Check would mark and keeps every other mark.
    DxccChart behind;
    behind.mark(1, 4, kModeCw, 0);  // England worked, its QSL not yet marked
    behind.mark(2, 0, kModeFm, 2);  // from an entry since deleted
    const uint64_t version = behind.version();
    EXPECT_TRUE(behind.add_marks_from_log(log, countries));
    EXPECT_EQ(cells(behind), (std::vector<int>{0x03, 0x04, 0x30, 0, 0}));
    EXPECT_GT(behind.version(), version);  // so its keeper writes it
    EXPECT_FALSE(behind.add_marks_from_log(log, countries));
    EXPECT_EQ(cells(behind), (std::vector<int>{0x03, 0x04, 0x30, 0, 0}));
}

// The sentences of these counts are read out in the dx_screens scenario.
TEST(DxccChart, StatusCountsCountCountriesNotContacts) {
    DxccChart chart;
    chart.mark(1, 4, kModeCw, 2);
    chart.mark(1, 4, kModeSsb, 0);
    chart.mark(1, 6, kModeCw, 0);
    chart.mark(2, 4, kModeCw, 0);
    chart.mark(3, 12, kModeOther, 2);
    chart.mark(4, 0, kModeCw, 2);  // outside the counted numbers
    StatusCounts all = count_status(chart, 1, 3);
    EXPECT_EQ(all.worked[4], (std::array{2, 1, 0, 0, 2}));
    EXPECT_EQ(all.confirmed[4], (std::array{1, 0, 0, 0, 1}));
    EXPECT_EQ(all.worked[13], (std::array{2, 1, 0, 1, 3}));  // country 1 on two bands: once
    EXPECT_EQ(all.confirmed[13], (std::array{1, 0, 0, 1, 2}));
    EXPECT_EQ(all.worked[0][4] + all.worked[12][4] + all.confirmed[12][kModeOther], 2);
}

}  // namespace
}  // namespace vl
