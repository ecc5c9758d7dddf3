// "Database Search" opened with Control+1 from on-line logging, as the operator uses it:
// search, walk the boxes, change a record, add one, sort and save, and a bad file.
#include <gtest/gtest.h>

#include <algorithm>

#include "support/Scripts.h"
#include "support/TestSupport.h"

namespace vl {
namespace {

using Lines = std::vector<std::string>;

constexpr int kOnLine = 2;
const std::string kScreen = "window \"Database Search\"";

std::string row(std::string_view prefix, std::string_view entity, std::string_view worked) {
    auto pad = [](std::string_view text, std::size_t width) {
        return std::string(text) + std::string(width - text.size(), ' ');
    };
    return pad(prefix, 6) + ":" + pad(entity, 20) + ":" + pad(worked, 1) + ":\r\n";
}
const std::string kHeader = "Prefix,Entity,Worked\r\n";

bool has(const Lines& journal, const std::string& line) {
    return std::find(journal.begin(), journal.end(), line) != journal.end();
}

class DatabaseScreenTest : public ::testing::Test {
protected:
    void SetUp() override {
        dir.write("COUNTRY.LST", "G,G,England,223,52,-1\r\n");
        std::string rig;
        for (int band = 0; band < 13; ++band) {
            rig += ",,,,\r\n";
        }
        dir.write("RIG.LST", rig + "0\r\n");
        write_settings("DXCC.DB");
        dir.write("DXCC.DB", kHeader + row("JA", "Japan", "X") + row("G", "England", ""));
    }
    void write_settings(const std::string& first_name) {
        std::string settings = first_name + "\r\n";
        for (int line = 1; line < 10; ++line) {
            settings += "NONE\r\n";
        }
        dir.write("DBNAMES.TXT", settings + "52\r\n-1\r\n");
    }
    // `script` leaves the database screen open, to be closed by Escape, unless it closes.
    Lines run(const std::string& script, bool closes = false) {
        test::HeadlessRun result = test::run_program_headless(
            dir.path(), "clock 2025-03-14 14:02:00\n" + test::open_menu_entry(kOnLine) +
                            "key Ctrl+1\n" + script + (closes ? "" : "key Escape\n") +
                            "key Escape\nanswer yes\nkey Escape\n");
        EXPECT_FALSE(result.script_ended) << "the script left windows open";
        return test::lines_from(result.journal, kScreen);
    }
    test::TempDir dir;
};

TEST_F(DatabaseScreenTest, SearchChangeAddAndSort) {
    Lines journal =
        run("type g\nkey Enter\nkey Tab\ntype England and Wales\nkey F12\n"
            "key Shift+Tab Shift+Tab\ntype VK*\nkey Enter\nkey Tab\ntype VK\nkey Tab\n"
            "type Australia\nkey F8\n");
    // VK* finds nothing: said, with the record found before still in the boxes and the focus
    // in the search box; the boxes typed over become the new record.
    for (const char* line :
         {"focus edit \"Prefix\" \"G\"", "focus edit \"Entity\" \"England\"", "beep default",
          "static \"No entry found.\"", "focus edit \"Prefix\" \"G\"",
          "focus edit \"Entity\" \"England and Wales\""}) {
        EXPECT_TRUE(has(journal, line)) << line;
    }
    EXPECT_EQ(dir.read("DXCC.DB"), kHeader + row("G", "England and Wales", "") +
                                       row("JA", "Japan", "X") + row("VK", "Australia", ""));
}

TEST_F(DatabaseScreenTest, MissingThenBadFile) {
    dir.write("BAD.DB", kHeader + row("JA", "Japan", "X") + "G:England:X:\r\n");
    write_settings("NOFILE.DB");
    const std::string bad = dir.read("BAD.DB");
    Lines journal = run("type BAD.DB\nkey Enter\nanswer ok\n", true);
    EXPECT_TRUE(has(journal,
                    "message \"Data base error\" \"Incorrect number of characters in line 3\" ok"));
    EXPECT_EQ(std::count_if(
                  journal.begin(), journal.end(),
                  [](const std::string& line) { return line.find("Prefix") != std::string::npos; }),
              0);
    EXPECT_EQ(dir.read("BAD.DB"), bad);
}

}  // namespace
}  // namespace vl
