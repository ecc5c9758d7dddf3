// QSL.DAT and QSL.DTA, the template mark-up as the recording printer sees it drawn, the
// sheet geometry and the ruled table of a two-part template.
#include <gtest/gtest.h>

#include "platform/headless/HeadlessPrinter.h"
#include "printing/LabelPrinter.h"
#include "support/TestSupport.h"

namespace vl {
namespace {

using Lines = std::vector<std::string>;

// A page of 600 dots an inch whose unprintable margins are 30 dots left and 40 top.
platform::PageGeometry test_page() {
    platform::PageGeometry page;
    page.offset_x = 30;
    page.offset_y = 40;
    return page;
}

// What a job draws, without the job's own start and end lines.
struct Drawing {
    headless::Journal journal;
    headless::RecordingPrinter printer{&journal, test_page()};
    std::unique_ptr<platform::PrintJob> job =
        printer.start_job("test", platform::Orientation::Portrait);
    Lines lines() const { return Lines(journal.lines().begin() + 1, journal.lines().end()); }
};

TEST(LabelSettingsFile, BytesRoundTripAndOddFiles) {
    LabelSettings s{3, 2, 70, 36, 5, 10, "Y", "N"};
    EXPECT_EQ(format_label_settings(s), std::string("\x03\x02\x46\x24\x05\x0AYN", 8));
    EXPECT_EQ(parse_label_settings(format_label_settings(s)), s);

    LabelSettings zeros = parse_label_settings(std::string(8, '\0'));
    EXPECT_EQ(zeros, (LabelSettings{1, 1, 0, 0, 0, 0, "", ""})) << "0 rows and columns read as 1";
    EXPECT_EQ(parse_label_settings(std::string("\x04", 1)),
              (LabelSettings{4, 1, 0, 0, 0, 0, "", ""}))
        << "a short file gives what it holds";
    LabelSettings big{300, -2, 255, 0, 0, 0, "YES", ""};
    EXPECT_EQ(format_label_settings(big), std::string("\xFF\x00\xFF\x00\x00\x00Y\x00", 8));

    test::TempDir dir;
    LabelState labels;
    load_label_files(platform::system_files(), dir.path(), labels);  // made as in each scenario
    EXPECT_EQ(labels.settings.rows, 0) << "a new file leaves the initial values";

    dir.write("QSL.DAT", std::string(8, '\0') + "tail");
    ASSERT_TRUE(save_label_settings(platform::system_files(), dir.path(), s));
    EXPECT_EQ(dir.read("QSL.DAT"), format_label_settings(s) + "tail") << "never shortened";
    load_label_files(platform::system_files(), dir.path(), labels);
    EXPECT_EQ(labels.settings, s);
}

TEST(LabelTemplateFile, PartTwoStartsOnTheLineAfterTheMarkWhateverEndsIt) {
    const struct {
        const char* text;
        const char* part1;
        const char* part2;
        bool two_part;
    } kCases[] = {
        {"DE Q1ABC\r\n", "DE Q1ABC\r\n", "", false},
        {"TO $A$\r\n///\r\n73 $L$", "TO $A$\r\n", "73 $L$", true},
        {"TO $A$\n///\n73 $L$", "TO $A$\n", "73 $L$", true},  // a template saved on Linux
        {"TO $A$\r\n///  \r\n73", "TO $A$\r\n", "73", true},
        {"TO $A$///", "TO $A$", "", true},
    };
    for (const auto& c : kCases) {
        LabelTemplate layout = split_label_template(c.text);
        EXPECT_EQ(layout.part1, c.part1) << c.text;
        EXPECT_EQ(layout.part2, c.part2) << c.text;
        EXPECT_EQ(layout.two_part, c.two_part) << c.text;
    }
}

TEST(LabelTemplateFile, PlaceholdersAndLineEnds) {
    LabelValues values;
    for (char letter = 'A'; letter <= 'M'; ++letter) {
        values[letter] = std::string("v") + letter;
    }
    const std::string part = "$A$ $B$ $C$ $D$ $E$ $F$ $G$ $H$ $M$ $A$\r\nx\ny";
    EXPECT_EQ(fill_label_text(part, values, true), "vA vB vC vD vE vF $G$ vH vM vA#Lx#Ly");
    EXPECT_EQ(fill_label_text(part, values, false), "vA $B$ $C$ $D$ $E$ $F$ $G$ vH vM vA#Lx#Ly");
}

TEST(LabelRenderer, MarkUpAsDrawn) {
    // 10-point text at 600 dots an inch: lines 94 dots apart, characters 50 wide.
    const struct {
        const char* text;
        Lines drawn;
    } kCases[] = {
        {"Q1ABC#LDE", {"print text 100 200 \"Q1ABC\"", "print text 100 294 \"DE\""}},
        {"A#S5;B", {"print text 100 200 \"A     B\""}},
        {"A#S45;B", {"print text 100 200 \"A" + std::string(30, ' ') + "B\""}},
        {"#F12;Q1ABC#F8;DE",
         {"print font \"Courier New\" 12 plain", "print text 100 200 \"Q1ABC\"",
          "print font \"Courier New\" 8 plain", "print text 400 200 \"DE\""}},
        {"#f0;x#F1z;y",
         {"print font \"Courier New\" 8 plain", "print text 100 200 \"x\"",
          "print font \"Courier New\" 10 plain", "print text 140 200 \"y\""}},
        {"#X and #", {"print text 100 200 \"#X and #\""}},
        {"#C1;red#c9;black",
         {"print colour 0000FF", "print text 100 200 \"red\"", "print colour 000000",
          "print text 250 200 \"black\""}},
        {"#S12", {"print text 100 200 \"" + std::string(12, ' ') + "\""}},  // no ";": the rest
        {"#L#L", {}},
    };
    for (const auto& c : kCases) {
        Drawing drawing;
        drawing.job->select_font(platform::PrintFont{"Courier New", 10});
        render_label_text(*drawing.job, c.text, 100, {100, 200});
        Lines lines = drawing.lines();
        lines.erase(lines.begin());  // the font selected above
        EXPECT_EQ(lines, c.drawn) << c.text;
    }
}

// Three columns of 70 mm and two rows of 36 mm, margins 5 mm and 10 mm, on a page whose
// unprintable margins are 30 and 40 dots: the corners are whole dots from the sheet edge,
// the sixth label ends the sheet and the seventh starts the next one at its first corner.
TEST(LabelSheetTest, PositionsSheetEndAndTheNextSheet) {
    Drawing drawing;
    LabelSettings settings{2, 3, 70, 36, 5, 10, "", ""};
    LabelTemplate layout = split_label_template("$A$");
    LabelValues values;
    int prompts = 0;
    LabelSheet sheet(*drawing.job, settings, 0, 0);
    for (int label = 1; label <= 7; ++label) {
        values['A'] = std::to_string(label);
        EXPECT_TRUE(sheet.print_label(layout, values, [&] { return ++prompts > 0; }));
    }
    // x = 5 / 25.4 * 600 - 30 + c * 1654; y = (r * 36 + 10) / 25.4 * 600 - 40; nearest dot.
    const Lines kExpected = {
        "print text 88 196 \"1\"",  "print text 1742 196 \"2\"",  "print text 3396 196 \"3\"",
        "print text 88 1047 \"4\"", "print text 1742 1047 \"5\"", "print text 3396 1047 \"6\"",
        "print page end",           "print text 88 196 \"7\"",
    };
    EXPECT_EQ(drawing.lines(), kExpected);
    EXPECT_EQ(prompts, 1);
    EXPECT_EQ(sheet.row(), 0);
    EXPECT_EQ(sheet.column(), 1);

    // Escape at the end-of-sheet prompt stops after the label that filled the sheet.
    LabelSheet last(*drawing.job, settings, 1, 2);
    EXPECT_FALSE(last.print_label(layout, values, [] { return false; }));
    // A sheet of 0 columns holds one label a row, so the position comes back to the start.
    LabelSheet narrow(*drawing.job, LabelSettings{1, 0, 0, 0, 0, 0, "", ""}, 0, 0);
    EXPECT_TRUE(narrow.print_label(layout, values, {}));
    EXPECT_TRUE(narrow.at_sheet_start());
}

TEST(LabelSheetTest, TwoPartTemplateDrawsTheRuledTableOfTheContact) {
    Drawing drawing;
    drawing.job->select_font(platform::PrintFont{"Courier New", 10});
    LabelTemplate layout = split_label_template("TO $A$ $B$\r\n///\r\n73 $L$");
    LabelValues values;
    values['A'] = "Q1ABC";
    values['B'] = "14 Mar 04";
    values['C'] = "1305";
    values['D'] = "599    ";
    values['E'] = "CW ";
    values['F'] = " 20m";
    values['L'] = "Ann";
    LabelSheet sheet(*drawing.job, LabelSettings{1, 1, 0, 0, 0, 0, "", ""}, 0, 0);
    sheet.print_label(layout, values, {});
    // w = 50 and h = 94 dots. Part 1 ends with its line break, and the table starts one
    // line below that, at y = -40 + 2 * 94; one empty line follows it before part 2.
    const Lines kExpected = {
        "print font \"Courier New\" 10 plain",
        "print text -30 -40 \"TO Q1ABC $B$\"",
        "print rectangle -30 148 1520 430 pen 2",
        "print line -30 261 1520 261 pen 2",
        "print line 495 148 495 430 pen 2",
        "print line 795 148 795 430 pen 2",
        "print line 1045 148 1045 430 pen 2",
        "print line 1295 148 1295 430 pen 2",
        "print text -30 148 \"   Date     UTC  Band Mode RST\"",
        "print text -30 289 \" 14 Mar 04  1305  20m CW   599\"",
        "print text -30 477 \"73 Ann\"",
        "print page end",
    };
    EXPECT_EQ(drawing.lines(), kExpected);
}

}  // namespace
}  // namespace vl
