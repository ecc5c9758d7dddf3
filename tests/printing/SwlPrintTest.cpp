// Print S W L Q S L: the band from the metres typed, the listener's label with "SWL" for
// "station", labels filling the sheet one F12 at a time, and the sheet ejected on Escape.
#include <gtest/gtest.h>

#include "printing/PrintingScreens.h"
#include "support/Scripts.h"
#include "support/TestSupport.h"

namespace vl {
namespace {

using Lines = std::vector<std::string>;

constexpr int kPrintSwl = 6;

TEST(SwlBand, TheBandWhoseShortNameHasTheNumberTyped) {
    const struct {
        const char* metres;
        int band;
    } kCases[] = {{"20", 4}, {"70", 12}, {"2", 11}, {"160", 0}, {" 6 m", 9}, {"11", 13}, {"", 13}};
    for (const auto& c : kCases) {
        EXPECT_EQ(swl_band(c.metres), c.band) << c.metres;
    }
}

// Two labels across: three F12 presses fill the first row and start the second; Escape
// ejects the sheet. "station" of the template reads "SWL" on these labels only.
TEST(SwlPrint, LabelsFillTheSheetAndEscapeEjectsIt) {
    test::TempDir dir;
    dir.write("COUNTRY.LST", "Q,QZZZZZZZ,Home,1,52,-1\r\n");
    dir.write("QSL.DAT", std::string("\x02\x02\x32\x1E\x00\x00NN", 8));
    dir.write("QSL.DTA", "Thanks $A$ for the station report#L$B$|$C$|$D$|$E$|$F$");
    std::string label =
        "type BRS-1234\nkey Tab\ntype q1abc\nkey Tab\ntype 1 Jan\nkey Tab\ntype 1305\n"
        "key Tab\ntype 20\nkey Tab\ntype ssb\nkey F12\n";
    test::HeadlessRun result = test::run_program_headless(
        dir.path(), test::open_menu_entry(kPrintSwl) + label + label + "key F12\n" + label +
                        "key Escape\nkey Escape\n");
    Lines printed;
    for (const std::string& line : result.journal) {
        if (line.rfind("print ", 0) == 0 && line.rfind("print font", 0) != 0) {
            printed.push_back(line);
        }
    }
    // 50 by 30 mm labels: the second column at 1181 dots, the second row at 709.
    const std::string kText = "\"Thanks BRS-1234 for the SWL report\"";
    const std::string kContact = "\"1 Jan    |1305 |---|SSB| 20m\"";
    const std::string kWorked = "\"Confirming my QSO with Q1ABC\"";
    const Lines kExpected = {
        "print job \"Print SWL QSLs\" portrait",
        "print text 0 0 " + kText,
        "print text 0 94 " + kContact,
        "print text 0 188 " + kWorked,
        "print text 1181 0 " + kText,
        "print text 1181 94 " + kContact,
        "print text 1181 188 " + kWorked,
        "print text 0 709 " + kText,
        "print text 0 803 " + kContact,
        "print text 0 897 " + kWorked,
        "print page end",
        "print job end",
    };
    EXPECT_EQ(printed, kExpected) << "an empty listener box prints nothing";
    EXPECT_FALSE(result.script_ended);
}

TEST(SwlPrint, NoPrinterIsReportedAndTheScreenStays) {
    test::TempDir dir;
    dir.write("COUNTRY.LST", "Q,QZZZZZZZ,Home,1,52,-1\r\n");
    test::HeadlessRun result = test::run_program_headless(
        dir.path(),
        test::open_menu_entry(kPrintSwl) +
            "type BRS-1\nkey F12\nanswer ok\nkey F12\nanswer ok\nkey Escape\nkey Escape\n",
        test::TestPrinter::Missing);
    auto tail = test::lines_from(result.journal, "window \"Print SWL QSLs\"");
    EXPECT_EQ(
        std::count(tail.begin(), tail.end(), "message \"Printer Report\" \"Printer Fail\" ok"), 2);
    EXPECT_FALSE(result.script_ended);
}

}  // namespace
}  // namespace vl
