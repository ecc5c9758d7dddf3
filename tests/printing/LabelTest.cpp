// QSL.DAT's limits, and the sheet geometry on a page with unprintable margins. The
// template's parts, its mark-up as drawn, the values of a label and the ruled table are the
// label_markup, label_plain, label_lf and label_endmark scenarios'.
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

// QSL.DAT as typed in, read whole, short or of zeros, and made when missing are the
// label_settings, label_read, label_short and label_none scenarios'. The screen keeps each
// number to a byte before the file is written, so the file's own limits are checked here.
TEST(LabelSettingsFile, ValuesBeyondAByteAreKeptToOne) {
    LabelSettings big{300, -2, 255, 0, 0, 0, "YES", ""};
    EXPECT_EQ(format_label_settings(big), std::string("\xFF\x00\xFF\x00\x00\x00Y\x00", 8));
}

// Three columns of 70 mm and two rows of 36 mm, margins 5 mm and 10 mm, on a page whose
// unprintable margins are 30 and 40 dots: the corners are whole dots from the sheet edge,
// the sixth label ends the sheet and the seventh starts the next one at its first corner.
// Escape at the end of a sheet is print_qsl.stopped's.
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

    // A sheet of 0 columns holds one label a row, so the position comes back to the start.
    LabelSheet narrow(*drawing.job, LabelSettings{1, 0, 0, 0, 0, 0, "", ""}, 0, 0);
    EXPECT_TRUE(narrow.print_label(layout, values, {}));
    EXPECT_TRUE(narrow.at_sheet_start());
}

}  // namespace
}  // namespace vl
