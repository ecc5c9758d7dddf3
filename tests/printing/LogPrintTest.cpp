// The printed log's pages, and a full page on printers of every margin. The screen as the
// operator meets it is played by the print_log scenarios, each kind of line in each date
// format by label_log.
#include <gtest/gtest.h>

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
