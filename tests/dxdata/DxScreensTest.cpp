// The DX data screens as an operator meets them: the facilities menu, Log Check and the
// status view, Single Country, a report and the band status, and the chart kept at exit.
#include <gtest/gtest.h>

#include "dxdata/DxccChart.h"
#include "logstore/Bands.h"
#include "support/TestSupport.h"

namespace vl {
namespace {

using Lines = std::vector<std::string>;

constexpr std::string_view kCountries =
    "G,G,England,1,52,-1\r\nDA,DR,Germany,2,51,10\r\nJA,JS,Japan,3,36,138\r\n";
const std::string kToDxMenu = "key Down Down Down Down Down Down Down Down\nkey Enter\n";
const std::string kLeave = "key Escape\nkey Escape\n";

class DxScreensTest : public ::testing::Test {
protected:
    void SetUp() override {
        dir.write("COUNTRY.LST", kCountries);
        LogRecord confirmed = test::qso(1, 0, "G4ABC", 4);
        confirmed.set_qsl_flags(kQslReceivedFlag);
        dir.write("MYLOG.LOG", test::log_bytes({confirmed, test::qso(2, 0, "DL1AAA", 6)}));
    }
    Lines run(const std::string& script) {
        test::HeadlessRun result = test::run_program_headless(dir.path(), script);
        EXPECT_FALSE(result.script_ended) << "the script left windows open";
        return result.journal;
    }
    static Lines after(const Lines& journal, const std::string& line) {
        auto at = std::find(journal.begin(), journal.end(), line);
        return at == journal.end() ? Lines{} : Lines(at, journal.end());
    }
    test::TempDir dir;
};

TEST_F(DxScreensTest, LogCheckRebuildsTheChartAndShowsTheStatusOfAllCountries) {
    Lines journal =
        run(kToDxMenu + "key Enter\nkey Up Up Up Up\nkey Down\nkey Tab\nkey Escape\n" + kLeave);
    Lines expected = {
        "window \"DX Data Facilities\"",
        "focus list \"\" \"Log Check\"",
        "window \"DXCC Status for all countries\"",
        "focus readonly \"Band.\" \"one sixty metres.\"",
        // Boxes whose text stays the same are not spoken again.
        "text \"eighty metres.\"",
        "text \"forty metres.\"",
        "text \"thirty metres.\"",
        // twenty metres: England confirmed in SSB (test entries are SSB). The band is named
        // before its counts, which were once heard before it.
        "text \"twenty metres.\"",
        "static \" 1 Worked and 1 confirmed.\"",
        "static \" 1 worked and 1 confirmed.\"",
        "text \"thirty metres.\"",
        "static \"None Worked.\"",
        "static \" 0 worked and 0 confirmed.\"",
        "focus readonly \"CW.\" \"None Worked.\"",
        "window \"DX Data Facilities\"",
        "focus list \"\" \"Log Check\"",
    };
    Lines got = after(journal, "window \"DX Data Facilities\"");
    got.resize(std::min(got.size(), expected.size()));
    EXPECT_EQ(got, expected);
    // The chart is kept at exit and read back by the next run.
    DxccChart chart;
    chart.load(dir.read("DXCC.CHT"));
    EXPECT_EQ(chart.cell(1, 4), 0x0C);
    EXPECT_EQ(chart.cell(2, 6), 0x04);
}

TEST_F(DxScreensTest, StatusViewStopsAtTheTotalsAndAtTheFirstBand) {
    Lines journal = run(kToDxMenu + "key Down\nkey Enter\nkey Down\nkey Escape\n" + kLeave);
    Lines got = after(journal, "window \"DXCC Status for all countries\"");
    ASSERT_GE(got.size(), 2u);
    EXPECT_EQ(got[1], "focus readonly \"Band.\" \"one sixty metres.\"");
    EXPECT_EQ(got[2], "window \"DX Data Facilities\"");  // Down on the first band did nothing

    std::string thirteen_ups;
    for (int i = 0; i < 14; ++i) {
        thirteen_ups += "key Up\n";
    }
    journal = run(kToDxMenu + "key Down\nkey Enter\n" + thirteen_ups + "key Escape\n" + kLeave);
    got = after(journal, "text \"All Bands totals.\"");
    ASSERT_FALSE(got.empty());
    // The first run's chart, written at its exit, holds the log's marks now, so the totals
    // row speaks its counts; the fourteenth Up then did nothing.
    auto next = std::find_if(got.begin() + 1, got.end(),
                             [](const std::string& l) { return l.rfind("static", 0) != 0; });
    ASSERT_NE(next, got.end());
    EXPECT_EQ(*next, "window \"DX Data Facilities\"");
}

TEST_F(DxScreensTest, SingleCountryFindsTheCountryOrSaysItIsNone) {
    Lines journal =
        run(kToDxMenu +
            "key Down Down\nkey Enter\ntype xx9\nkey Enter\nanswer ok\n"
            "key Backspace Backspace Backspace\ntype gw4\nkey Enter\nkey Up Up Up Up\nkey Escape\n"
            "key Escape\n" +
            kLeave);
    Lines got = after(journal, "window \"BANDS WORKED\"");
    ASSERT_GE(got.size(), 16u);
    EXPECT_EQ(got[1], "focus edit \"Country Prefix:\" \"\"");
    EXPECT_EQ(got[2], "text \"XX9\"");
    EXPECT_EQ(got[3], "message \"Country check\" \"Not a DXCC country\" ok");
    EXPECT_EQ(got[4], "window \"BANDS WORKED\"");
    EXPECT_EQ(got[5], "focus edit \"Country Prefix:\" \"XX9\"");
    EXPECT_EQ(got[8], "text \"\"");
    EXPECT_EQ(got[9], "text \"GW4\"");
    EXPECT_EQ(got[10], "window \"COUNTRY STATUS for England\"");
    EXPECT_EQ(got[11], "focus readonly \"Band.\" \"one sixty metres.\"");
    EXPECT_EQ(got[12], "text \"eighty metres.\"");
    EXPECT_EQ(got[14], "text \"thirty metres.\"");
    // England's contact on 20 m has not been charted (no Log Check ran), so nothing changes.
    EXPECT_EQ(got[15], "text \"twenty metres.\"");
    EXPECT_EQ(std::count_if(got.begin(), got.end(),
                            [](const std::string& l) { return l.rfind("static", 0) == 0; }),
              0);
    auto back = std::find(got.begin() + 5, got.end(), "window \"BANDS WORKED\"");
    ASSERT_NE(back, got.end());
    EXPECT_EQ(*(back + 1), "focus edit \"Country Prefix:\" \"GW4\"");
}

TEST_F(DxScreensTest, ReportsAreWalkedOneCountryAtATime) {
    Lines journal =
        run(kToDxMenu +
            "key Down Down Down\nkey Enter\nkey Up\nkey Down\nkey Down\nkey F1\nkey Escape\n"
            "key Escape\n" +
            kLeave);
    Lines got = after(journal, "window \" 3 Countries Needed\"");
    Lines expected = {
        "window \" 3 Countries Needed\"",
        "focus readonly \"Country\" \"England\"",
        "text \"Germany\"",
        "text \"Japan\"",  // the highest-numbered country is listed too
        "window \"Key help. \"",
        "static \"Arrow keys to move through the list\"",
        "window \" 3 Countries Needed\"",
        "focus readonly \"Country\" \"Japan\"",
        "window \"DX Data Facilities\"",
    };
    got.resize(std::min(got.size(), expected.size()));
    EXPECT_EQ(got, expected);
}

// A report of hundreds of countries could only be walked a line at a time.
TEST_F(DxScreensTest, LongReportsTakeHomeEndPagesAndLetters) {
    std::string countries;
    for (int i = 0; i < 45; ++i) {
        // Listed by name: A00 A03 ... A42, then B01 ... B43, then C02 ... C44.
        std::string name = std::string(1, static_cast<char>('A' + i % 3)) +
                           static_cast<char>('0' + i / 10) + static_cast<char>('0' + i % 10);
        countries += "Z" + std::to_string(i) + ",Z" + std::to_string(i) + "," + name + "," +
                     std::to_string(i + 1) + ",0,0\r\n";
    }
    dir.write("COUNTRY.LST", countries);
    static const struct {
        const char* keys;
        const char* heard;  // the line last read
    } kCases[] = {
        {"key End", "C44"},        {"key End Home", "A00"},
        {"key PageDown", "B16"},   {"key PageDown PageDown PageDown", "C44"},
        {"key End PageUp", "B28"}, {"key B", "B01"},
        {"key B B", "B04"},        {"key End C", "C02"},
        {"key End Down", "C44"},  // the last line stays
    };
    for (const auto& c : kCases) {
        Lines journal =
            run(kToDxMenu + "key Down Down Down\nkey Enter\n" + c.keys + "\nkey Escape\n" + kLeave);
        Lines got = after(journal, "window \" 45 Countries Needed\"");
        auto window = std::find(got.begin() + 1, got.end(), "window \"DX Data Facilities\"");
        ASSERT_NE(window, got.end()) << c.keys;
        std::string last = *(window - 1);
        EXPECT_EQ(last.substr(last.rfind(' ') + 1), std::string("\"") + c.heard + "\"") << c.keys;
    }
    // A letter no line starts with beeps.
    Lines journal = run(kToDxMenu + "key Down Down Down\nkey Enter\nkey Q\nkey Escape\n" + kLeave);
    EXPECT_NE(std::find(journal.begin(), journal.end(), "beep default"), journal.end());
}

TEST_F(DxScreensTest, BandStatusGivesEachBandItsBox) {
    Lines journal =
        run(kToDxMenu +
            "key Enter\nkey Escape\nkey End\nkey Enter\nkey Down\nkey Tab Tab Tab Tab Tab\n"
            "key Down\nkey Escape\nkey Escape\n" +
            kLeave);
    Lines got = after(journal, "window \"Band Status by country\"");
    ASSERT_GE(got.size(), 2u);
    EXPECT_EQ(got[1], "focus readonly \"Country\" \"England\"");
    // The country is named before its bands' states, which were once heard before it.
    auto germany = std::find(got.begin(), got.end(), "text \"Germany\"");
    ASSERT_NE(germany, got.end());
    EXPECT_NE(std::find(germany, got.end(), "static \"Worked\""), got.end());  // 15 m
    EXPECT_NE(std::find(got.begin(), got.end(),
                        "focus readonly \"twenty metres\" \"Wanted on this band\""),
              got.end());
}

}  // namespace
}  // namespace vl
