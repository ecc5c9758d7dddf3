// Browse Log as an operator meets it: stepping, paging, searches, QSL toggles, edit and
// delete, with the file and indexes checked afterwards.
#include <gtest/gtest.h>

#include "logstore/CallSigns.h"
#include "logstore/LogStore.h"
#include "support/Scripts.h"
#include "support/TestSupport.h"

namespace vl {
namespace {

using Lines = std::vector<std::string>;
using test::lines_from;
using test::open_menu_entry;

constexpr int kBrowse = 3;

// The entries the display is heard reading, "Entry N, ...": as it takes the focus or as its
// text changes while it has it.
std::vector<int> entries_shown(const Lines& journal) {
    std::vector<int> shown;
    for (const std::string& line : journal) {
        for (std::string_view start : {"text \"Entry ", "focus readonly \"\" \"Entry "}) {
            if (line.rfind(start, 0) == 0) {
                shown.push_back(std::stoi(line.substr(start.size())));
            }
        }
    }
    return shown;
}

class LogBrowserTest : public ::testing::Test {
protected:
    void SetUp() override {
        dir.write("COUNTRY.LST", "G,G,England,1,52,-1\r\nDA,DR,Germany,2,51,10\r\n");
    }
    void write_log(int entries) {
        std::vector<LogRecord> records;
        for (int i = 1; i <= entries; ++i) {
            records.push_back(test::qso(static_cast<int16_t>(i), 0,
                                        i % 50 == 0 ? "DL" + std::to_string(i) : "G4ABC"));
        }
        dir.write("MYLOG.LOG", test::log_bytes(records));
    }
    Lines run(const std::string& script) {
        test::HeadlessRun result =
            test::run_program_headless(dir.path(), open_menu_entry(kBrowse) + script);
        EXPECT_FALSE(result.script_ended) << "the script left windows open";
        return result.journal;
    }
    int log_count() {
        LogStore log(platform::system_files());
        log.open(dir.file("MYLOG.LOG"));
        for (int i = 1; i <= log.count(); ++i) {
            EXPECT_EQ(log.call_slot(i), base_call_slot(log.entry(i).call_field()));
        }
        return log.count();
    }
    test::TempDir dir;
};

TEST_F(LogBrowserTest, SteppingAndPagingThroughTheLog) {
    write_log(250);
    Lines journal =
        run("key End\nkey Home\nkey Down Down Down Down\nkey PageUp\nkey Up\n"
            "key End\nkey PageUp\nkey PageDown\nkey PageDown\nkey Escape\nkey Escape\n");
    EXPECT_EQ(entries_shown(journal), (std::vector<int>{1, 250, 1, 2, 3, 4, 5, 1, 250, 230, 250}));
    EXPECT_EQ(std::count(journal.begin(), journal.end(), "beep default"), 1);  // Up on entry 1
    // The display's text is set before it takes the focus, so it is never read empty first.
    EXPECT_EQ(std::find(journal.begin(), journal.end(), "focus readonly \"\" \"\""), journal.end());
}

TEST_F(LogBrowserTest, CallSignSearchWalksTheMatchesAndBeepsAfterTheLast) {
    write_log(250);
    Lines journal =
        run("key Tab\ntype dl\nkey Enter\nkey Down Down Down Down Down\nkey Up\nkey Escape\nkey "
            "Escape\nkey Escape\n");
    EXPECT_EQ(entries_shown(journal), (std::vector<int>{1, 50, 100, 150, 200, 250, 200}));
    // The fifth Down finds nothing after entry 250: a beep and its reason, and the display
    // stays.
    Lines after = lines_from(journal, "beep default");
    ASSERT_GE(after.size(), 3u);
    EXPECT_EQ(after[1], "static \"No entry found.\"");
    EXPECT_EQ(after[2].rfind("text \"Entry 200, ", 0), 0u);
}

TEST_F(LogBrowserTest, CommentSearchAndShowFromDate) {
    LogRecord island = test::qso(5, 0, "G4ABC");
    island.set_comment("ISLAND TRIP");
    dir.write("MYLOG.LOG", test::log_bytes({test::qso(1, 0, "A"), island, test::qso(9, 0, "B")}));
    Lines journal =
        run("key Tab Tab Tab\ntype island\nkey Enter\nkey Down\nkey Escape\n"
            "key Shift+Tab Shift+Tab\ntype 31/12/28\nkey Enter\nkey Escape\nkey Escape\n");
    std::vector<int> shown = entries_shown(journal);
    ASSERT_GE(shown.size(), 3u);
    EXPECT_EQ(shown[1], 2);      // the comment, typed in lower case
    EXPECT_EQ(shown.back(), 3);  // a date after every entry shows the last
    EXPECT_NE(std::find(journal.begin(), journal.end(), "beep default"),
              journal.end());  // no second match
}

TEST_F(LogBrowserTest, QslTogglesRewriteTheEntryAtOnce) {
    write_log(3);
    std::string before = dir.read("MYLOG.LOG");
    Lines journal = run("key F2\nkey Ctrl+R\nkey Ctrl+S\nkey F3\nkey Escape\nkey Escape\n");
    Lines phrases;
    for (const std::string& line : journal) {
        for (const char* phrase : {"No QSL, ", "QSL sent, ", "Got QSL, ", "QSL got and sent, "}) {
            if (line.find(phrase) != std::string::npos && line.rfind("static", 0) != 0) {
                phrases.push_back(phrase);
            }
        }
    }
    EXPECT_EQ(phrases,
              (Lines{"No QSL, ", "QSL sent, ", "QSL got and sent, ", "Got QSL, ", "No QSL, "}));
    EXPECT_EQ(dir.read("MYLOG.LOG"), before);  // toggled twice each: as it started
}

TEST_F(LogBrowserTest, DeletingAsksAndShowsWhatIsLeft) {
    write_log(3);
    // Enter answers No: one slip must not delete. The question names the entry.
    Lines journal =
        run("key Down Down\nkey F8\nkey Enter\nkey F8\nanswer yes\nkey Home\nkey "
            "Ctrl+Delete\nkey Y\n"
            "key Escape\nkey Escape\n");
    EXPECT_EQ(log_count(), 1);
    EXPECT_NE(std::find(journal.begin(), journal.end(),
                        "message \"Delete Entry\" \"Delete entry 3, G4ABC? Are you sure?\" no"),
              journal.end());
    std::vector<int> shown = entries_shown(journal);
    // 1, 2, 3 (read again as the box answered No closes); deleting 3 shows 2, the last, read
    // once and not after the deleted entry; Home shows 1; after deleting 1 the display reads
    // the entry now at that place, so a second F8 never deletes an entry the operator has
    // not heard.
    EXPECT_EQ(shown, (std::vector<int>{1, 2, 3, 3, 2, 1, 1}));

    journal = run("key F8\nanswer yes\nkey Escape\nkey Escape\n");
    EXPECT_EQ(dir.read("MYLOG.LOG"), "");
    EXPECT_NE(std::find(journal.begin(), journal.end(), "focus readonly \"\" \"The log is empty\""),
              journal.end());
    journal = run("key F8\nkey F2\nkey Escape\nkey Escape\n");  // empty log: nothing to act on
    EXPECT_NE(std::find(journal.begin(), journal.end(), "focus readonly \"\" \"The log is empty\""),
              journal.end());
    EXPECT_EQ(std::count_if(journal.begin(), journal.end(),
                            [](const std::string& l) { return l.rfind("message", 0) == 0; }),
              0);
}

TEST_F(LogBrowserTest, EditingMovesTheEntryToItsNewPlace) {
    write_log(3);
    Lines journal =
        run("key F12\nkey Backspace Backspace Backspace Backspace Backspace Backspace Backspace "
            "Backspace\n"
            "type 01/01/99\nkey F12\nkey Escape\nkey Escape\n");
    EXPECT_NE(std::find(journal.begin(), journal.end(), "window \" Edit Entry \""), journal.end());
    EXPECT_NE(std::find(journal.begin(), journal.end(),
                        "focus edit \"Entry number 1, QSO Date\" \"01/00/64\""),
              journal.end());
    EXPECT_EQ(log_count(), 3);
    // The browser then reads the edited entry at its new place, not what took its number.
    EXPECT_EQ(entries_shown(journal).back(), 3);
    LogStore log(platform::system_files());
    log.open(dir.file("MYLOG.LOG"));
    EXPECT_EQ(log.entry(3).date(), 99 * 500 + 35 + 1 - 32000);
    EXPECT_EQ(log.entry(1).date(), 2);
}

}  // namespace
}  // namespace vl
