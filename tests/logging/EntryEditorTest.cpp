// Off line logging as an operator meets it: the forms, TAB and Enter, the last-entry lookup,
// the checks of a save with their beeps and focus, and the log and indexes afterwards.
#include <gtest/gtest.h>

#include "dxdata/DxccChart.h"
#include "logstore/CallSigns.h"
#include "logstore/Dates.h"
#include "logstore/LogStore.h"
#include "support/Scripts.h"
#include "support/TestSupport.h"

namespace vl {
namespace {

using Lines = std::vector<std::string>;
using test::lines_from;
using test::open_menu_entry;

constexpr int kOffLine = 1;

// The QSO form filled box by box with Enter: date, call, then Time On after the lookup.
std::string qso_script(const std::string& date, const std::string& call, const std::string& time_on,
                       const std::string& frequency = "14.2", const std::string& mode = "CW") {
    return "type " + date + "\nkey Enter\ntype " + call + "\nkey Enter\ntype " + time_on +
           "\nkey Enter Enter Enter Enter\ntype " + frequency + "\nkey Enter\ntype " + mode +
           "\nkey Enter\ntype 100\nkey F12\n";
}

class EntryEditorTest : public ::testing::Test {
protected:
    void SetUp() override {
        dir.write("COUNTRY.LST", "G,G,England,1,52,-1\r\nDA,DR,Germany,2,51,10\r\n");
    }
    Lines run(const std::string& script) {
        test::HeadlessRun result = test::run_program_headless(dir.path(), script);
        EXPECT_FALSE(result.script_ended) << "the script left windows open";
        return result.journal;
    }
    // The log as the next start finds it, with its indexes checked against the file.
    std::vector<LogRecord> log_on_disk() {
        LogStore log(platform::system_files());
        EXPECT_EQ(log.open(dir.file("MYLOG.LOG")).outcome, OpenReport::Outcome::Opened);
        std::vector<LogRecord> records;
        for (int i = 1; i <= log.count(); ++i) {
            records.push_back(log.entry(i));
            EXPECT_EQ(log.call_slot(i), base_call_slot(log.entry(i).call_field()));
        }
        return records;
    }
    test::TempDir dir;
};

TEST_F(EntryEditorTest, ASavedQsoIsWrittenAnnouncedAndTheFormMovesOn) {
    Lines journal = run(open_menu_entry(kOffLine) + qso_script("14/01/14", "dl1aaa", "1430") +
                        "key Escape\nkey Escape\n");
    Lines got = lines_from(journal, "window \"Off Line Logging\"");
    ASSERT_GE(got.size(), 8u);
    EXPECT_EQ(got[1], "focus edit \"Entry number 1, QSO Date\" \"\"");
    EXPECT_EQ(got[4], "text \"DL1AAA\"");
    EXPECT_EQ(got[5], "focus edit \"Time On\" \"\"");  // never worked: straight to Time On
    // The new entry number is said once, with the date box it names: the label's change is
    // not said on its own as well.
    auto saved =
        std::find(got.begin(), got.end(), "focus edit \"Entry number 2, QSO Date\" \"14/01/14\"");
    ASSERT_NE(saved, got.end());
    EXPECT_EQ(*(saved + 1), "sound \"LogOff.wav\"");
    EXPECT_EQ(std::count(got.begin(), got.end(), "static \"Entry number 2, QSO Date\""), 0);
    auto records = log_on_disk();
    ASSERT_EQ(records.size(), 1u);
    QsoEntry e = decode_qso(records[0]);
    EXPECT_EQ(e.call, "DL1AAA      ");
    EXPECT_EQ(e.rst_sent, "599    ");
    EXPECT_EQ(e.rst_received, "599    ");
    EXPECT_EQ(e.time_off, 870);
    EXPECT_EQ(e.date, date_code(114, 1, 14));
    DxccChart chart;
    chart.load(dir.read("DXCC.CHT"));
    EXPECT_EQ(chart.cell(2, 4), 0x01);
}

TEST_F(EntryEditorTest, EntriesGoInDateAndTimeOrderAndTheLastEntryIsSpoken) {
    Lines journal = run(
        open_menu_entry(kOffLine) + qso_script("14/01/14", "G9ZZA", "1430") +
        "key Backspace Backspace Backspace Backspace Backspace Backspace Backspace Backspace\n" +
        "type 14/01/14\nkey Enter\ntype GW9ZZA/P\nkey Enter\nkey Enter\n" +
        "key Backspace Backspace Backspace Backspace\ntype 1200\nkey F12\nkey Escape\nkey "
        "Escape\n");
    EXPECT_NE(std::find(journal.begin(), journal.end(),
                        "focus readonly \"Last Entry\" \"Fourteenth  January Two thousand "
                        "fourteen, at 1430 on 14MHz CW \""),
              journal.end());
    auto records = log_on_disk();
    ASSERT_EQ(records.size(), 2u);
    // Same day, earlier time: before the first entry.
    EXPECT_EQ(records[0].call_field(), "GW9ZZA/P    ");
    EXPECT_EQ(records[0].time(), 720);
    EXPECT_EQ(records[1].call_field(), "G9ZZA       ");
}

TEST_F(EntryEditorTest, AnEmptyRequiredBoxBeepsAndTakesTheFocus) {
    Lines journal = run(open_menu_entry(kOffLine) +
                        "type 14/01/14\nkey Enter\ntype DL1AAA\nkey Enter\ntype 1430\n"
                        "key F12\nkey Escape\nkey Y\nkey Escape\n");
    Lines got = lines_from(journal, "text \"1430\"");
    ASSERT_GE(got.size(), 3u);
    EXPECT_EQ(got[1], "focus edit \"Frequency in Megahertz\" \"\"");
    EXPECT_EQ(got[2], "beep default");
    EXPECT_FALSE(dir.exists("MYLOG.LOG") && !dir.read("MYLOG.LOG").empty());
}

TEST_F(EntryEditorTest, DatesTheLogCannotHoldAreRefusedWithTheDateErrorBox) {
    for (const char* date : {"31/13/14", "23/07/29", "1405"}) {
        Lines journal = run(open_menu_entry(kOffLine) + qso_script(date, "DL1AAA", "1430") +
                            "answer ok\n"
                            "key Escape\nkey Y\nkey Escape\n");
        // The box says what to type, and the focus goes to the emptied date box.
        Lines got = lines_from(journal,
                               "message \"Date Error\" \"Type the date as day/month/year, for "
                               "example 14/03/26.\" ok");
        // The form is read again once, already on the emptied date box.
        ASSERT_GE(got.size(), 3u) << date;
        EXPECT_EQ(got[1], "window \"Off Line Logging\"") << date;
        EXPECT_EQ(got[2], "focus edit \"Entry number 1, QSO Date\" \"\"") << date;
        EXPECT_TRUE(log_on_disk().empty()) << date;
    }
}

// The box follows the operator's date format: month/day/year chosen first.
TEST_F(EntryEditorTest, TheDateErrorExampleFollowsTheDateFormat) {
    Lines journal = run(open_menu_entry(11) + "key Down\nkey Enter\n" + open_menu_entry(kOffLine) +
                        "type 14/03/26\nkey F12\nanswer ok\nkey Escape\nkey Escape\n");
    EXPECT_NE(std::find(journal.begin(), journal.end(),
                        "message \"Date Error\" \"Type the date as month/day/year, for example "
                        "03/14/26.\" ok"),
              journal.end());
}

TEST_F(EntryEditorTest, AFullLogRefusesTheEntryAndNothingMoves) {
    std::vector<LogRecord> full(kMaxLogEntries, test::qso(10, 0, "G4ABC"));
    std::string bytes = test::log_bytes(full);
    dir.write("MYLOG.LOG", bytes);
    Lines journal = run(open_menu_entry(kOffLine) + qso_script("01/01/00", "DL1AAA", "1430") +
                        "answer ok\n"
                        "key Escape\nkey Y\nkey Escape\n");
    EXPECT_NE(std::find(journal.begin(), journal.end(),
                        "message \"Log Full\" \"The log holds 120000 entries, the most it can "
                        "keep. The entry was "
                        "not saved.\" ok"),
              journal.end());
    EXPECT_TRUE(dir.read("MYLOG.LOG") == bytes);
}

TEST_F(EntryEditorTest, TabStopsAtTheEndsAndF2KeepsTheQsoForm) {
    std::string script = open_menu_entry(kOffLine) + "key Shift+Tab\ntype 14/01/14\nkey F2\n";
    for (int i = 0; i < 14; ++i) {
        script += "key Tab\n";
    }
    script += "key Escape\nkey Escape\n";
    Lines got = lines_from(run(script), "window \"Off Line Logging\"");
    ASSERT_GE(got.size(), 3u);
    EXPECT_EQ(got[2], "text \"14/01/14\"");  // Shift+Tab on the date box: nothing
    EXPECT_EQ(std::count(got.begin(), got.end(), "focus edit \"QSL received\" \"\""), 1);
    auto last = std::find(got.begin(), got.end(), "focus edit \"QSL received\" \"\"");
    EXPECT_EQ(*(last + 1), "window \"Varrow Log version 1 point 3 7 by Q 0 Z Z Z.\"");  // no wrap
    EXPECT_EQ(std::count(got.begin(), got.end(), "focus edit \"Call Sign\" \"\""), 1);
}

TEST_F(EntryEditorTest, DataAndTextEntries) {
    Lines journal = run(
        open_menu_entry(kOffLine) +
        "key F3\ntype 14/01/14\nkey Enter\ntype 0900\nkey Enter\ntype Sam\nkey Enter\ntype "
        "FT-991A\n"
        "key Enter\ntype Dipole\nkey Enter\ntype 7.1\nkey F12\n"
        "key Ctrl+T\ntype 14/01/14\nkey Enter\ntype 1000\nkey Enter\ntype Field day\nkey Ctrl+S\n"
        "key Escape\nkey Escape\n");
    EXPECT_NE(
        std::find(journal.begin(), journal.end(), "focus edit \"Entry number 1, Data Date\" \"\""),
        journal.end());
    EXPECT_NE(std::find(journal.begin(), journal.end(), "focus edit \"Band in Megahertz\" \"\""),
              journal.end());
    EXPECT_NE(
        std::find(journal.begin(), journal.end(), "focus edit \"Entry number 2, Text Date\" \"\""),
        journal.end());
    EXPECT_EQ(std::count(journal.begin(), journal.end(), "sound \"LogOff.wav\""), 2);
    auto records = log_on_disk();
    ASSERT_EQ(records.size(), 2u);
    EXPECT_EQ(entry_kind(records[0]), EntryKind::Data);
    EXPECT_EQ(decode_data(records[0]).band, 2);
    EXPECT_EQ(decode_data(records[0]).transceiver, "FT-991A     ");
    EXPECT_EQ(entry_kind(records[1]), EntryKind::Text);
    EXPECT_EQ(decode_text(records[1]).text.substr(0, 9), "Field day");
}

// The comment offered by Last Entry kept its trailing blanks, so what the operator added
// landed past the 40th character and was cut off unheard when saved. Every box now takes
// no more than its field holds, and says so with the beep.
TEST_F(EntryEditorTest, TheOfferedCommentKeepsRoomAndAFullBoxBeeps) {
    LogRecord old = test::qso(static_cast<int16_t>(date_code(114, 1, 1)), 600, "G9ZZA");
    old.set_comment("NICE QSO");
    dir.write("MYLOG.LOG", test::log_bytes({old}));
    Lines journal = run(open_menu_entry(kOffLine) +
                        "type 14/01/14\nkey Enter\ntype G9ZZA\nkey Enter Enter\ntype 1430\n"
                        "key Enter Enter Enter Enter\ntype 14.2\nkey Enter\ntype CW\nkey Enter\n"
                        "type 100\nkey Enter\nkey End\ntype  AGAIN\nkey F12\n"
                        "key Enter\ntype g9zza/p/abcde\nkey Escape\nkey Y\nkey Escape\n");
    EXPECT_NE(std::find(journal.begin(), journal.end(), "focus edit \"Comments\" \"NICE QSO\""),
              journal.end());
    auto records = log_on_disk();
    ASSERT_EQ(records.size(), 2u);
    EXPECT_EQ(decode_qso(records[1]).comment, "NICE QSO AGAIN" + std::string(26, ' '));
    Lines got = lines_from(journal, "text \"G9ZZA/P/ABCD\"");
    ASSERT_GE(got.size(), 2u);
    EXPECT_EQ(got[1], "beep default");
}

// Escape once left an entry with a typed call sign without a word.
TEST_F(EntryEditorTest, EscapeWithATypedCallAsksBeforeLeaving) {
    static const struct {
        const char* answer_keys;
        const char* answer;
        bool left;
    } kCases[] = {
        {"key Enter\n", "no", false},  // one slip of Enter keeps the entry
        {"key Escape\n", "no", false},
        {"key Y\n", "yes", true},
    };
    for (const auto& c : kCases) {
        Lines journal = run(open_menu_entry(kOffLine) + "key Enter\ntype G9ZZA\nkey Escape\n" +
                            c.answer_keys + "key Escape\nkey Y\nkey Escape\n");
        Lines got = lines_from(journal, std::string("message \"Entry not saved\" \"Leave without "
                                                    "saving?\" ") +
                                            c.answer);
        // As the box closes the form is heard again, or, when the answer leaves it, the main
        // menu at once.
        ASSERT_GE(got.size(), 2u) << c.answer_keys;
        EXPECT_EQ(got[1], c.left ? "window \"Varrow Log version 1 point 3 7 by Q 0 Z Z Z.\""
                                 : "window \"Off Line Logging\"")
            << c.answer_keys;
    }
    // Nothing typed: Escape leaves at once.
    Lines journal = run(open_menu_entry(kOffLine) + "key Escape\nkey Escape\n");
    EXPECT_EQ(std::count_if(journal.begin(), journal.end(),
                            [](const std::string& l) { return l.rfind("message", 0) == 0; }),
              0);
}

// "2575" was stored as minute 1575 and "abc" as midnight.
TEST_F(EntryEditorTest, TimesThatAreNotATimeOfDayAreRefused) {
    static const struct {
        const char* time_on;
        const char* time_off;
        const char* refused;  // the box that gets the focus
    } kCases[] = {
        {"2575", "", "focus edit \"Time On\" \"2575\""},
        {"abc", "", "focus edit \"Time On\" \"abc\""},
        {"930", "", "focus edit \"Time On\" \"930\""},
        {"2400", "", "focus edit \"Time On\" \"2400\""},
        {"1430", "1460", "focus edit \"Time Off\" \"1460\""},
    };
    for (const auto& c : kCases) {
        std::string off = *c.time_off ? std::string("type ") + c.time_off + "\n" : "";
        Lines journal = run(open_menu_entry(kOffLine) +
                            "type 14/01/14\nkey Enter\ntype DL1AAA\nkey Enter\ntype " + c.time_on +
                            "\nkey Enter\n" + off +
                            "key Enter Enter Enter\ntype 14.2\nkey Enter\ntype CW\nkey Enter\n"
                            "type 100\nkey F12\nkey Escape\nkey Y\nkey Escape\n");
        Lines got = lines_from(journal, "text \"100\"");
        ASSERT_GE(got.size(), 3u) << c.time_on;
        EXPECT_EQ(got[1], c.refused) << c.time_on;
        EXPECT_EQ(got[2], "beep default") << c.time_on;
        EXPECT_TRUE(log_on_disk().empty()) << c.time_on;
    }
    // A Data entry's time may be empty, but what is typed must be a time.
    Lines journal = run(open_menu_entry(kOffLine) +
                        "key F3\ntype 14/01/14\nkey Enter\ntype 2575\nkey F12\nkey Escape\n"
                        "key Escape\n");
    Lines got = lines_from(journal, "text \"2575\"");
    ASSERT_GE(got.size(), 2u);
    EXPECT_EQ(got[1], "beep default");
    EXPECT_TRUE(log_on_disk().empty());
}

TEST_F(EntryEditorTest, KeyHelpListsTheEditorsKeys) {
    Lines got = lines_from(run(open_menu_entry(kOffLine) +
                               "key F1 Down Down Down Down\nkey Escape\nkey Escape\nkey Escape\n"),
                           "window \"Key help. \"");
    ASSERT_GE(got.size(), 6u);
    EXPECT_EQ(got[1], "static \"F2 or Control plus Q for QSO entry\"");
    EXPECT_EQ(got[5], "static \"TAB to select a box\"");
}

}  // namespace
}  // namespace vl
