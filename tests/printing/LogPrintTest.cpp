// The printed log's lines and pages, and a full page on printers of every margin. The screen
// as the operator meets it is played by the print_log scenarios.
#include <gtest/gtest.h>

#include "logstore/Bands.h"
#include "logstore/Dates.h"
#include "platform/headless/HeadlessPrinter.h"
#include "printing/LogPrint.h"
#include "support/TestSupport.h"

namespace vl {
namespace {

const int16_t kMarch14 = static_cast<int16_t>(date_code(104, 3, 14));  // 14 March 2004

// Entry i of a test log: call Q1A<i>, a day later for every 41 entries.
LogRecord numbered_qso(int i) {
    return test::qso(static_cast<int16_t>(kMarch14 + (i - 1) / 41), static_cast<int16_t>(i),
                     "Q1A" + std::to_string(i));
}

// The call printed on an entry line, or "" for other lines.
std::string printed_call(const std::string& line) {
    std::size_t quote = line.find('"');
    if (line.rfind("print text ", 0) != 0 || quote == std::string::npos ||
        line.size() < quote + 24 || line[quote + 12] != '|') {
        return "";
    }
    std::string call = line.substr(quote + 13, 12);
    return call.substr(0, call.find(' '));
}

TEST(LogLayout, HeaderDateColumnsAndTheThreeKindsOfLine) {
    EXPECT_EQ(log_header_line(2),
              "  Date     |Call        |Time On/Off|RST tx |RST rx | Freq |Mode|Power|          "
              "Details          Page 2");
    EXPECT_EQ(log_date_column(kMarch14, kDayMonthYear), "14 Mar 2004");
    EXPECT_EQ(log_date_column(kMarch14, kMonthDayYear), "Mar 14 2004");
    EXPECT_EQ(log_date_column(kMarch14, kYearMonthDay), "2004 Mar 14");
    EXPECT_EQ(log_date_column(date_code(114, 1, 1), kDayMonthYear), "01 Jan 2014");
    EXPECT_EQ(log_date_column(date_code(113, 12, 31), kDayMonthYear), "31 Dec 2013");

    auto names = test::frequency_names();
    QsoEntry qso;
    qso.date = kMarch14;
    qso.time_on = 13 * 60 + 5;
    qso.time_off = 13 * 60 + 20;
    qso.call = "Q1ABC/P";
    qso.rst_sent = "599";
    qso.rst_received = "579";
    qso.band_field = band_field_of(4);
    qso.mode = std::string("CW\0", 3);
    qso.power = "100";
    qso.comment = "Name Ann, QTH a long way off, rig and antenna";
    EXPECT_EQ(log_entry_line(encode(qso), kDayMonthYear, names),
              "14 Mar 2004|Q1ABC/P     | 1305| 1320|599    |579    |14MHz |CW  |100  |"
              "Name Ann, QTH a long way off, rig a");

    // A band with no frequency name keeps its six places so the comment stays in its column.
    qso.band_field = band_field_of(kBandNoFrequency);
    EXPECT_EQ(log_entry_line(encode(qso), kDayMonthYear, names).substr(52, 12), "|      |CW  ");

    DataEntry data{kMarch14, 9 * 60, "Ann", "FT920", "Dipole", 4};
    EXPECT_EQ(log_entry_line(encode(data), kYearMonthDay, names),
              "2004 Mar 14|   0900 Op: Ann          Tcvr: FT920        Ant: Dipole       Band: "
              "14MHz ");
    data.band = 300;  // above 19: no frequency name
    EXPECT_EQ(log_entry_line(encode(data), kYearMonthDay, names).substr(74), "Band: ");

    TextEntry text{kMarch14, 0, "Contest weekend"};
    EXPECT_EQ(log_entry_line(encode(text), kMonthDayYear, names),
              "Mar 14 2004|Contest weekend" + std::string(49, ' '));
}

// 41 entries fill a page. The pages typed to start from are played by the print_log scenario.
TEST(LogLayout, PagesHoldFortyOneEntries) {
    const struct {
        int entries, pages;
    } kCounts[] = {{0, 0}, {1, 1}, {41, 1}, {42, 2}, {43, 2}, {82, 2}, {83, 3}, {120000, 2927}};
    for (const auto& c : kCounts) {
        EXPECT_EQ(log_page_count(c.entries), c.pages) << c.entries;
    }
}

// A printer's unprintable margins leave less height than a PDF page: a full page of 41
// entries still lands on the page, closer together and, on a small page, smaller.
TEST(LogLayout, AFullPageStaysInsideThePrintableHeight) {
    test::TempDir dir;
    std::vector<LogRecord> records;
    for (int i = 1; i <= kLogEntriesPerPage; ++i) {
        records.push_back(numbered_qso(i));
    }
    dir.write("MYLOG.LOG", test::log_bytes(records));
    LogStore log(platform::system_files());
    ASSERT_EQ(log.open(dir.file("MYLOG.LOG")).outcome, OpenReport::Outcome::Opened);
    for (int margin : {0, 150, 600}) {  // none, a quarter of an inch, an inch on every side
        headless::Journal journal;
        headless::RecordingPrinter printer(&journal, {600, 600, margin, margin, 0, 0});
        auto job = printer.start_job("Print Log", platform::Orientation::Landscape);
        const int height = job->geometry().height;
        print_log_pages(*job, log, {1, 1}, 0, test::frequency_names(), [] { return true; });
        job->end_job();
        int points = 0;
        int entries = 0;  // on the first page
        int lowest = 0;
        for (const std::string& line : journal.lines()) {
            if (line == "print page end") {
                break;
            }
            if (line.rfind("print font ", 0) == 0) {
                points = std::stoi(line.substr(line.rfind('"') + 2));
            } else if (line.rfind("print text ", 0) == 0) {
                int y = std::stoi(line.substr(line.find(' ', 11) + 1));
                lowest = std::max(lowest, y + static_cast<int>(points * 1.133 * 600 / 72));
                entries += printed_call(line).rfind("Q1A", 0) == 0;
            }
        }
        EXPECT_EQ(printer.pages_ended(), 2) << margin;  // "End of Log" begins page 2
        EXPECT_EQ(entries, kLogEntriesPerPage) << margin;
        EXPECT_LE(lowest, height) << margin;
        EXPECT_GE(points, 4) << margin;
    }
}

}  // namespace
}  // namespace vl
