// The Key help box: its lines, stepping with Down, and what closes it.
#include <gtest/gtest.h>

#include "platform/headless/HeadlessUi.h"
#include "program/AppContext.h"
#include "shell/KeyHelpBox.h"
#include "support/TestSupport.h"

namespace vl {
namespace {

using headless::HeadlessClock;
using headless::HeadlessSound;
using headless::HeadlessUi;
using headless::Journal;

constexpr std::string_view kOnLineHelp =
    "F2 or Control plus L for Log On,F3 or Control plus E for Edit,F4 or Control plus P for "
    "Print QSL,F5 or Control plus N activate note pad,F6 or Control plus Q QSL written,F12 or "
    "Control plus S to Log Off,TAB to select QSO boxes,CONTROL plus 1 to 0 for database,CONTROL "
    "TAB or ALT D T F M or W for Date Time Frequency Mode and Power,ALT 1 Beam to Short Path ALT "
    "2 to Long Path,Arrow keys to navigate the QSO net";

struct BoxRun {
    int result = 0;
    std::vector<std::string> journal;
};

BoxRun run_box(std::string_view title, std::string_view text, std::string_view script) {
    test::TempDir dir;
    Journal journal;
    HeadlessClock clock;
    HeadlessSound sound(journal);
    HeadlessUi ui(headless::parse_script(script), journal, clock);
    platform::Platform services{ui, sound, clock, platform::system_files()};
    AppContext ctx(services, dir.path());
    return {show_key_help(ctx, platform::kNoWindow, title, text), journal.lines()};
}

TEST(KeyHelpLines, SplitAtCommas) {
    auto lines = key_help_lines("one,two,three");
    EXPECT_EQ(lines[0], "one");
    EXPECT_EQ(lines[2], "three");
    EXPECT_EQ(lines[3], "");
    EXPECT_EQ(key_help_lines("no commas")[0], "no commas");
    EXPECT_EQ(key_help_lines("no commas")[1], "");
    EXPECT_EQ(key_help_lines(" ESCAPE to end printing")[0], " ESCAPE to end printing");
}

// 24 lines hold the longest key list, one key a line; more items share the last.
TEST(KeyHelpLines, ItemsPastTheLastLineStayOnIt) {
    auto lines =
        key_help_lines("1,2,3,4,5,6,7,8,9,10,11,12,13,14,15,16,17,18,19,20,21,22,23,24,25,26");
    EXPECT_EQ(lines[22], "23");
    EXPECT_EQ(lines[23], "24 25 26");
}

TEST(KeyHelpBox, ElevenLinesAreAllReachedAndTheTwelfthDownStartsAgain) {
    BoxRun run = run_box("Key help", kOnLineHelp,
                         "key Down Down Down Down Down Down Down Down Down Down Down\nkey Enter\n");
    auto lines = key_help_lines(kOnLineHelp);
    std::vector<std::string> expected = {"window \"Key help. \"",
                                         "static " + headless::quote(lines[0])};
    for (int i = 1; i < 11; ++i) {
        expected.push_back("static " + headless::quote(lines[i]));
    }
    expected.push_back("static " + headless::quote(lines[0]));
    EXPECT_EQ(run.journal, expected);
    EXPECT_EQ(run.result, kKeyHelpClosedByEnter);
}

TEST(KeyHelpBox, OneLineIsShownAgainOnDown) {
    BoxRun run = run_box("End of sheet", "ENTER to Continue ESCAPE to end printing",
                         "key Down Down\nkey Escape\n");
    EXPECT_EQ(run.journal,
              (std::vector<std::string>{"window \"End of sheet. \"",
                                        "static \"ENTER to Continue ESCAPE to end printing\""}));
    EXPECT_EQ(run.result, kKeyHelpClosedByEscape);
}

}  // namespace
}  // namespace vl
