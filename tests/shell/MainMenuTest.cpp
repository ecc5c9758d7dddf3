// The main menu as an operator meets it: start-up messages, the 18 entries, Enter,
// double-click, key help, About and Escape.
#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

#include "dxdata/CountryList.h"

#include "program/MainMenu.h"
#include "support/TestSupport.h"

namespace vl {
namespace {

using test::run_program_headless;
using test::TempDir;
using Lines = std::vector<std::string>;

const std::string kMenuWindow = "window \"Varrow Log version 1 point 3 7 by Q 0 Z Z Z.\"";

class MainMenuTest : public ::testing::Test {
protected:
    void SetUp() override { dir.write("COUNTRY.LST", "G,G,England,1,52,-1\r\n"); }
    TempDir dir;
};

TEST_F(MainMenuTest, StartsOnTheFirstEntryAndEscapeEndsWithoutAMessage) {
    test::HeadlessRun run = run_program_headless(dir.path(), "key Escape\n");
    EXPECT_EQ(run.journal, (Lines{kMenuWindow, "focus list \"\" \"Instructions.\""}));
    EXPECT_EQ(run.exit_code, 0);
    EXPECT_FALSE(run.script_ended);
    // A missing log is created empty.
    EXPECT_TRUE(dir.exists("MYLOG.LOG"));
    EXPECT_EQ(dir.read("MYLOG.LOG"), "");
}

TEST_F(MainMenuTest, DownWalksTheEighteenEntriesInOrder) {
    std::string script;
    for (int i = 0; i < 18; ++i) {
        script += "key Down\n";  // the nineteenth press stays on the last entry
    }
    script += "key Escape\n";
    test::HeadlessRun run = run_program_headless(dir.path(), script);
    Lines expected = {kMenuWindow, "focus list \"\" \"Instructions.\""};
    for (std::size_t i = 1; i < kMainMenuEntries.size(); ++i) {
        expected.push_back("text \"" + std::string(kMainMenuEntries[i]) + "\"");
    }
    EXPECT_EQ(run.journal, expected);
    EXPECT_EQ(kMainMenuEntries[13], "Beam Heading");
    EXPECT_EQ(kMainMenuEntries[17], "About V R LOG.");
}

TEST_F(MainMenuTest, AboutSpeaksItsFourLinesAndReturnsToTheMenu) {
    test::HeadlessRun run = run_program_headless(
        dir.path(), "key End\nkey Enter\nkey Down Down Down Down\nkey Escape\nkey Escape\n");
    Lines expected = {kMenuWindow,
                      "focus list \"\" \"Instructions.\"",
                      "text \"About V R LOG.\"",
                      "window \"About Varrow Log. \"",
                      "static \"V R Log v1.37\"",
                      "static \"Copyright the Varrow Log developers\"",
                      "static \"Compiled on 1st December two thousand and 14\"",
                      "static \"The Varrow Log project pages carry news and help\"",
                      "static \"V R Log v1.37\"",
                      kMenuWindow,
                      "focus list \"\" \"About V R LOG.\""};
    EXPECT_EQ(run.journal, expected);
}

TEST_F(MainMenuTest, DoubleClickActsAsEnter) {
    test::HeadlessRun by_enter =
        run_program_headless(dir.path(), "key End\nkey Enter\nkey Escape\nkey Escape\n");
    test::HeadlessRun by_click =
        run_program_headless(dir.path(), "key End\ndoubleclick\nkey Escape\nkey Escape\n");
    EXPECT_EQ(by_click.journal, by_enter.journal);
    EXPECT_EQ(by_click.journal[3], "window \"About Varrow Log. \"");
}

TEST_F(MainMenuTest, F1GivesTheMenuKeys) {
    test::HeadlessRun run = run_program_headless(dir.path(), "key F1\nkey Escape\nkey Escape\n");
    EXPECT_EQ(run.journal[2], "window \"Key help. \"");
    EXPECT_EQ(run.journal[3], "static \"Arrow keys to choose a facility\"");
    EXPECT_EQ(run.journal.back(), "focus list \"\" \"Instructions.\"");
}

TEST_F(MainMenuTest, TypingALetterJumpsToTheEntryThatStartsWithIt) {
    test::HeadlessRun run = run_program_headless(dir.path(), "type B\ntype B\nkey Escape\n");
    EXPECT_EQ(run.journal[2], "text \"Browse Log.\"");
    EXPECT_EQ(run.journal[3], "text \"Beam Heading\"");
}

TEST(StartUp, AMissingCountryListIsToldOnceThenTheMenuOpens) {
    TempDir dir;
    test::HeadlessRun run = run_program_headless(dir.path(), "answer ok\nkey Escape\n");
    EXPECT_EQ(run.journal, (Lines{"message \"VarrowLog\" \"File COUNTRY.LST missing\" ok",
                                  kMenuWindow, "focus list \"\" \"Instructions.\""}));
}

// A newer cty.dat in the program folder is read once: COUNTRY.EXC (and COUNTRY.LST where no
// number changes) are rebuilt from it, and a country the list lacks is named, not numbered.
TEST(StartUp, ANewerCountryFileIsReadOnceAndKeepsEveryNumber) {
    auto shipped = [](const char* name) {
        std::ifstream in(std::string(VARROW_DATA_DIR) + "/" + name, std::ios::binary);
        std::stringstream text;
        text << in.rdbuf();
        return text.str();
    };
    std::ifstream cty_in(std::string(VARROW_TOOLS_DIR) + "/country/cty.dat", std::ios::binary);
    std::stringstream cty;
    cty << cty_in.rdbuf();
    std::string newer = cty.str();
    const std::string scotland = "Scotland:";
    std::size_t at = newer.find(';', newer.find(scotland));
    ASSERT_NE(at, std::string::npos);
    newer.insert(at, ",=G9NEW");  // a Scottish station holding an English-looking call
    newer +=
        "Newland:                  14:  27:  EU:   50.00:     1.00:     0.0:  Q9:\r\n"
        "    Q9;\r\n";
    TempDir dir;
    dir.write("COUNTRY.LST", shipped("COUNTRY.LST"));
    dir.write("COUNTRY.EXC", shipped("COUNTRY.EXC"));
    dir.write("cty.dat", newer);
    test::HeadlessRun first = run_program_headless(dir.path(), "answer ok\nkey Escape\n");
    ASSERT_FALSE(first.journal.empty());
    EXPECT_NE(first.journal[0].find("\"VarrowLog\" \"COUNTRY.LST and COUNTRY.EXC were brought up "
                                    "to date from cty.dat."),
              std::string::npos)
        << first.journal[0];
    EXPECT_NE(first.journal[0].find("Left out, since a new country would need a new number: "
                                    "Newland."),
              std::string::npos)
        << first.journal[0];
    CountryList list;
    ASSERT_FALSE(list.load(dir.read("COUNTRY.LST")).has_value());
    list.load_exceptions(dir.read("COUNTRY.EXC"));
    ASSERT_GE(list.find("G9NEW"), 1);
    EXPECT_EQ(list.current_record()->name, "Scotland");
    EXPECT_EQ(list.find("G9NEX"), 1);  // England stays number 1
    EXPECT_EQ(list.find("Q9AB"), -1);
    test::HeadlessRun second = run_program_headless(dir.path(), "key Escape\n");
    EXPECT_EQ(second.journal[0], kMenuWindow);
}

// A damaged COUNTRY.EXC is told once and the ranges go on finding countries.
TEST(StartUp, ADamagedExceptionsFileIsToldAndTheMenuOpens) {
    TempDir dir;
    dir.write("COUNTRY.LST", "G,G,England,1,52,-1\r\n");
    dir.write("COUNTRY.EXC", "1,England,G M\r\n7,Nowhere,X\r\n\x01\xff,,\r\n");
    test::HeadlessRun run = run_program_headless(dir.path(), "answer ok\nkey Escape\n");
    EXPECT_EQ(run.journal,
              (Lines{"message \"File Error\" \"COUNTRY.EXC: 2 lines do not match COUNTRY.LST or "
                     "could not be read, and are left out. Countries are still found by "
                     "COUNTRY.LST.\" ok",
                     kMenuWindow, "focus list \"\" \"Instructions.\""}));
}

TEST(StartUp, StrayBytesAtTheEndOfTheLogAreToldOnce) {
    TempDir dir;
    dir.write("COUNTRY.LST", "G,G,England,1,52,-1\r\n");
    dir.write("MYLOG.LOG", test::log_bytes({test::qso(1, 0, "G9ZZA")}) + "xyz");
    test::HeadlessRun first = run_program_headless(dir.path(), "answer ok\nkey Escape\n");
    EXPECT_EQ(first.journal[0],
              "message \"Log File\" \"MYLOG.LOG ended with 3 bytes that are not a whole entry. "
              "They are kept in MYLOG.BAD; every whole entry is in the log.\" ok");
    test::HeadlessRun second = run_program_headless(dir.path(), "key Escape\n");
    EXPECT_EQ(second.journal[0], kMenuWindow);
    EXPECT_EQ(dir.read("MYLOG.BAD"), "xyz");
    EXPECT_EQ(dir.read("MYLOG.LOG").size(), 84u);
}

TEST(StartUp, ALogTooLargeToIndexEndsTheProgramUntouched) {
    TempDir dir;
    dir.write("COUNTRY.LST", "G,G,England,1,52,-1\r\n");
    std::string bytes(static_cast<std::size_t>(kMaxLogEntries + 1) * kRecordSize, 'A');
    dir.write("MYLOG.LOG", bytes);
    test::HeadlessRun run = run_program_headless(dir.path(), "answer ok\n");
    ASSERT_EQ(run.journal.size(), 1u);
    EXPECT_NE(run.journal[0].find("more than 120000 entries"), std::string::npos);
    EXPECT_EQ(run.exit_code, 1);
    EXPECT_EQ(dir.read("MYLOG.LOG").size(), bytes.size());
}

}  // namespace
}  // namespace vl
