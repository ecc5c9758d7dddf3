// The note pad opened with F5 from on-line logging: notes saved under dated headings,
// kept between openings, loaded, cleared, and kept in the box when the file cannot be
// written.
#include <gtest/gtest.h>

#include <algorithm>

#include "support/Scripts.h"
#include "support/TestSupport.h"

namespace vl {
namespace {

using Lines = std::vector<std::string>;

class NotePadScreenTest : public ::testing::Test {
protected:
    void SetUp() override {
        dir.write("COUNTRY.LST", "G,G,England,223,52,-1\r\n");
        std::string rig;
        for (int band = 0; band < 13; ++band) {
            rig += ",,,,\r\n";
        }
        dir.write("RIG.LST", rig + "0\r\n");
        std::string settings;
        for (int line = 0; line < 10; ++line) {
            settings += "NONE\r\n";
        }
        dir.write("DBNAMES.TXT", settings + "52\r\n-1\r\n");
    }
    Lines run(const std::string& script) {
        test::HeadlessRun result = test::run_program_headless(
            dir.path(), "clock 2025-03-14 23:58:00\n" + test::open_menu_entry(2) + script +
                            "key Escape\nanswer yes\nkey Escape\n");
        EXPECT_FALSE(result.script_ended) << "the script left windows open";
        return test::lines_from(result.journal, "window \" Note Pad\"");
    }
    test::TempDir dir;
};

TEST_F(NotePadScreenTest, SaveReopenLoadAndClear) {
    Lines journal =
        run("key F5\ntype QRM\nkey Enter\ntype on 20\nkey F12\ntype unsaved\n"
            "key Escape\nkey Ctrl+N\nkey Ctrl+S\n"
            "key F2\ntype more\nkey Escape\nkey F5\nkey F12\nkey F3\nkey Escape\n");
    const std::string heading = "14-03-25   23:58\r\n";
    const std::string loaded = heading + "QRM\r\non 20" + heading + "unsaved";
    // Escape kept the unsaved note for the next opening; Load then Save replaced the file.
    EXPECT_NE(std::find(journal.begin(), journal.end(), "focus edit \"Notes:\" \"unsaved\""),
              journal.end());
    // Each of F12, F2 and F3 says what it did.
    EXPECT_EQ(std::count(journal.begin(), journal.end(), "static \"Note saved.\""), 3);
    EXPECT_EQ(std::count(journal.begin(), journal.end(), "static \"Note loaded.\""), 1);
    EXPECT_EQ(std::count(journal.begin(), journal.end(), "static \"Note pad cleared.\""), 1);
    EXPECT_EQ(dir.read("NOTEPAD.TXT"), heading + loaded + "more");
    EXPECT_FALSE(dir.exists("NOTEPAD.TXT.NEW"));
}

}  // namespace
}  // namespace vl
