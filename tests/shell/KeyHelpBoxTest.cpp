// The Key help box's lines. The box itself, stepping with Down and going round, is played by
// the main_menu and print_qsl scenarios.
#include <gtest/gtest.h>

#include "shell/KeyHelpBox.h"

namespace vl {
namespace {

// One key a line, blanks kept; 24 lines hold the longest key list and more items share the last.
TEST(KeyHelpLines, OneItemALineAndTheRestOnTheLast) {
    auto lines = key_help_lines(" one,two");
    EXPECT_EQ(lines[0], " one");
    EXPECT_EQ(lines[1], "two");
    EXPECT_EQ(lines[2], "");
    lines = key_help_lines("1,2,3,4,5,6,7,8,9,10,11,12,13,14,15,16,17,18,19,20,21,22,23,24,25,26");
    EXPECT_EQ(lines[22], "23");
    EXPECT_EQ(lines[23], "24 25 26");
}

}  // namespace
}  // namespace vl
