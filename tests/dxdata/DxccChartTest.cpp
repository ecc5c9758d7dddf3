// The DXCC chart: marks, file layout, the start-up catch-up, the status counts.
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

// Which contacts Log Check and the start-up catch-up mark, and what each keeps, are played
// by the dx_chart scenarios. A catch-up that adds nothing leaves the chart unwritten.
TEST(DxccChart, ACatchUpThatAddsNothingSaysSo) {
    DxccChart chart;
    chart.mark(1, 4, kModeCw, 0);
    const uint64_t version = chart.version();
    CountryList countries;
    EXPECT_FALSE(chart.add_marks_from_log(LogStore(platform::system_files()), countries));
    EXPECT_EQ(chart.version(), version);
    EXPECT_EQ(chart.cell(1, 4), 0x01);
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
