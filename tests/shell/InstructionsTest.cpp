// The built-in manual: its topics, their first lines and lengths. The screens are played by
// the instructions scenarios.
#include <gtest/gtest.h>

#include "program/Instructions.h"

namespace vl {
namespace {

TEST(Manual, ThreeHundredAndNinetySixLinesInEighteenTopics) {
    std::string_view manual = manual_text();
    EXPECT_EQ(std::count(manual.begin(), manual.end(), '\n'), 396);
    struct Topic {
        const char* first_line;
        int lines;
    };
    static const Topic kTopics[] = {
        {"Varrow Log version 1 point 3 7", 22},
        {"OFF-LINE LOGGING,", 32},
        {"ON-LINE LOGGING.", 70},
        {"BROWSE the Log.", 23},
        {"PRINT LOG", 6},
        {"PRINT QSLs", 55},
        {"PRINT SWL QSLs", 7},
        {"RIG DATA.", 11},
        {"DXCC FACILITIES", 26},
        {"ADIF LOG IMPORT.", 14},
        {"ADIF LOG EXPORT.", 10},
        {"DATE FORMAT.", 4},
        {"STATION LOCATION.", 7},
        {"GET BEAM HEADING", 3},
        {"CALL BOOK SELECTION", 5},
        {"LOG BACKUP DRIVE.", 7},
        {"CAT RIG CONTROL.", 19},
        {"MISCELLANEOUS NOTES.", 57},
    };
    for (int index = 0; index < 18; ++index) {
        std::string text = topic_text(manual, index);
        EXPECT_EQ(text.rfind(kTopics[index].first_line, 0), 0u) << kTopicNames[index];
        int lines = 0;
        for (std::size_t at = text.find("\r\n"); at != std::string::npos;
             at = text.find("\r\n", at + 2)) {
            ++lines;
        }
        EXPECT_EQ(lines, kTopics[index].lines) << kTopicNames[index];
        EXPECT_EQ(text.find('['), std::string::npos) << kTopicNames[index] << " shows a marker";
    }
    EXPECT_EQ(topic_text(manual, 17).substr(topic_text(manual, 17).size() - 10), "The End.\r\n");
}

TEST(Manual, MarkersMatchWholeNumbersOnly) {
    // "[1]" does not open inside "[10]"; the last topic runs to the end.
    std::string_view manual = "[1]\none\n[10]\nten\n[2]\ntwo\n";
    EXPECT_EQ(topic_text(manual, 0), "one\r\n[10]\r\nten\r\n");
    EXPECT_EQ(topic_text(manual, 1), "two\r\n");
    EXPECT_EQ(topic_text(manual, 9), "ten\r\n[2]\r\ntwo\r\n");
}

}  // namespace
}  // namespace vl
