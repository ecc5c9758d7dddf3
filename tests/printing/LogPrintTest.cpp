// Print Log as the operator meets it, read back from the recording printer: the header,
// each kind of entry, page ends and the question between pages, numbering from a page and
// from a date, and the printer failing.
#include <gtest/gtest.h>

#include "logstore/Bands.h"
#include "logstore/Dates.h"
#include "platform/headless/HeadlessPrinter.h"
#include "printing/LogPrint.h"
#include "support/Scripts.h"
#include "support/TestSupport.h"

namespace vl {
namespace {

using Lines = std::vector<std::string>;

constexpr int kPrintLog = 4;
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

class LogPrintTest : public ::testing::Test {
protected:
    void SetUp() override { dir.write("COUNTRY.LST", "Q,Q,Home,1,52,-1\r\n"); }
    void write_log(int entries) {
        std::vector<LogRecord> records;
        for (int i = 1; i <= entries; ++i) {
            records.push_back(numbered_qso(i));
        }
        dir.write("MYLOG.LOG", test::log_bytes(records));
    }
    // The printing and message lines of a run that opens Print Log and runs `script`.
    Lines run(const std::string& script, test::TestPrinter printer = test::TestPrinter::Ready) {
        test::HeadlessRun result = test::run_program_headless(
            dir.path(), test::open_menu_entry(kPrintLog) + script + "key Escape\n", printer);
        EXPECT_FALSE(result.script_ended) << "the script left windows open";
        Lines printed;
        for (const std::string& line : result.journal) {
            if (line.rfind("print ", 0) == 0 || line.rfind("message ", 0) == 0) {
                printed.push_back(line);
            }
        }
        return printed;
    }
    test::TempDir dir;
};

TEST(LogLayout, HeaderDateColumnsAndTheThreeKindsOfLine) {
    EXPECT_EQ(log_header_line(2),
              "  Date     |Call        |Time On/Off|RST tx |RST rx | Freq |Mode|Power|          "
              "Details          Page 2");
    EXPECT_EQ(log_date_column(kMarch14, kDayMonthYear), "14 Mar 2004");
    EXPECT_EQ(log_date_column(kMarch14, kMonthDayYear), "Mar 14 2004");
    EXPECT_EQ(log_date_column(kMarch14, kYearMonthDay), "2004 Mar 14");

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

// 41 entries fill a page, so the count and the first entry of page p both use 41.
TEST(LogLayout, PagesHoldFortyOneEntries) {
    const struct {
        int entries, pages;
    } kCounts[] = {{0, 0}, {1, 1}, {41, 1}, {42, 2}, {43, 2}, {82, 2}, {83, 3}, {120000, 2927}};
    for (const auto& c : kCounts) {
        EXPECT_EQ(log_page_count(c.entries), c.pages) << c.entries;
    }
    const struct {
        const char* text;
        int first_entry;  // 0: nothing is printed
    } kPages[] = {{"1", 1}, {"2", 42}, {"3", 83}, {"0", 0}, {"4", 0}, {"-1", 0}, {"x", 0}};
    for (const auto& c : kPages) {
        auto start = log_start_from_page(c.text, 83);
        EXPECT_EQ(start ? start->first_entry : 0, c.first_entry) << c.text;
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

TEST_F(LogPrintTest, AWholePrintAsksAtEachPageEndAndEndsUnderlined) {
    write_log(42);
    Lines printed = run("key Tab\ntype 1\nkey Enter\nanswer yes\n");
    ASSERT_GE(printed.size(), 10u);
    EXPECT_EQ(printed[0], "print job \"Print Log\" landscape");
    EXPECT_EQ(printed[2], "print font \"Courier New\" 12 underline");
    EXPECT_EQ(printed[3], "print text 300 75 \"" + log_header_line(1) + "\"");
    EXPECT_EQ(printed[4], "print font \"Courier New\" 12 plain");
    EXPECT_EQ(printed[5].substr(0, 19), "print text 300 188 ");
    EXPECT_EQ(printed_call(printed[5]), "Q1A1");

    Lines tail = test::lines_from(printed, "print page end");
    const Lines kExpected = {
        "print page end",
        "message \"End of Page\" \"Print next page?\" yes",
        "print font \"Courier New\" 12 underline",
        "print text 300 75 \"" + log_header_line(2) + "\"",
        "print font \"Courier New\" 12 plain",
        "print font \"Courier New\" 12 underline",
        tail.size() > 6 ? tail[6] : "",
        "print font \"Courier New\" 12 plain",
        "print text 300 301 \"        End of Log\"",
        "print page end",
        "print job end",
    };
    EXPECT_EQ(tail, kExpected);
    EXPECT_EQ(printed_call(kExpected[6]), "Q1A42");
    EXPECT_EQ(printed_call(printed[5 + 40]), "Q1A41");
}

TEST_F(LogPrintTest, NoAtAPageEndStopsWithoutEndOfLog) {
    write_log(50);
    Lines printed = run("key Tab\ntype 1\nkey Enter\nanswer no\n");
    ASSERT_GE(printed.size(), 3u);
    EXPECT_EQ(Lines(printed.end() - 3, printed.end()),
              (Lines{"print page end", "message \"End of Page\" \"Print next page?\" no",
                     "print job end"}));
}

// From page p, and from a date, the page shows the entries and number it has in a whole
// print (page 3 of 90 entries holds 83 to 90).
TEST_F(LogPrintTest, PagesFromAPageOrADateAreNumberedAsInAWholePrint) {
    write_log(90);
    const struct {
        const char* what;
        std::string script;
        std::string first_call;
        int page;
    } kCases[] = {
        {"page 3", "key Tab\ntype 3\nkey Enter\n", "Q1A83", 3},
        {"page 2", "key Tab\ntype 2\nkey Enter\nanswer no\n", "Q1A42", 2},
        // The third day starts at entry 83; the print from it is numbered page 3.
        {"date", "type 16/03/04\nkey Enter\n", "Q1A83", 3},
        // A date in the middle of page 1 starts there, and the next page is page 2.
        {"date on page 1", "type 13/03/04\nkey Enter\nanswer no\n", "Q1A1", 1},
    };
    for (const auto& c : kCases) {
        Lines printed = run(c.script);
        ASSERT_GE(printed.size(), 6u) << c.what;
        EXPECT_EQ(printed[3], "print text 300 75 \"" + log_header_line(c.page) + "\"") << c.what;
        EXPECT_EQ(printed_call(printed[5]), c.first_call) << c.what;
    }
}

TEST_F(LogPrintTest, ADateAfterAllButTheLastPrintsOnlyTheLastUnderlined) {
    write_log(83);  // entry 83 is the only one of 16 March
    Lines printed = run("type 16/03/04\nkey Enter\n");
    ASSERT_EQ(printed.size(), 11u);
    EXPECT_EQ(printed[5], "print font \"Courier New\" 12 underline");
    EXPECT_EQ(printed_call(printed[6]), "Q1A83");
    EXPECT_EQ(printed[8], "print text 300 301 \"        End of Log\"");
}

TEST_F(LogPrintTest, NothingToPrintClosesSilentlyAndAFailingPrinterIsReported) {
    write_log(50);
    const struct {
        const char* what;
        std::string script;
    } kNothing[] = {
        {"page 0", "key Tab\ntype 0\nkey Enter\n"},
        {"past the last page", "key Tab\ntype 3\nkey Enter\n"},
        {"both boxes empty", "key Enter\n"},
        {"a date after every entry", "type 01/01/05\nkey Enter\n"},
        // Typing a page, then going back to the date box, empties the page box.
        {"page emptied by the date box", "key Tab\ntype 1\nkey Tab\nkey Enter\n"},
    };
    for (const auto& c : kNothing) {
        EXPECT_EQ(run(c.script), Lines{}) << c.what;
    }
    EXPECT_EQ(run("type 32/13/04\nkey Enter\nanswer ok\n").size(), 1u) << "Date Error only";

    const Lines kFail = {"message \"Log Print\" \"Printer Fail\" ok"};
    EXPECT_EQ(run("key Tab\ntype 2\nkey Enter\nanswer ok\n", test::TestPrinter::Missing), kFail);
    Lines refused = run("key Tab\ntype 2\nkey Enter\nanswer ok\n", test::TestPrinter::Refusing);
    ASSERT_GE(refused.size(), 2u);
    EXPECT_EQ(refused.back(), kFail[0]);
    EXPECT_EQ(refused[refused.size() - 2], "print job refused");
}

}  // namespace
}  // namespace vl
