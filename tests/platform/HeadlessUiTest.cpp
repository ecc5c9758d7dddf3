// The headless backend on a small form built through the same interface the screens use:
// labels tied to their boxes, tab order, typing, lists, message boxes and the clock. The
// timer and ticks are heard in on_line_empty.clock.
#include <gtest/gtest.h>

#include "platform/headless/HeadlessUi.h"

namespace vl::headless {
namespace {

using namespace vl::platform;
using Lines = std::vector<std::string>;

constexpr int kCmdAsk = 51;

class Form final : public WindowEvents {
public:
    explicit Form(Ui& ui) : m_ui(ui) {}

    int run() {
        WindowSpec shape;
        shape.caption = "Test Form";
        m_window = m_ui.create_window(shape, *this);
        add(ControlKind::Label, 100, "&Call Sign:");
        add(ControlKind::Edit, 101, "", EditStyle::Plain, 6);
        add(ControlKind::Label, 102, "&Drive:");
        add(ControlKind::Edit, 103, "", EditStyle::UpperCase);
        add(ControlKind::Label, 104, "Last QSO:");
        add(ControlKind::Edit, 105, "", EditStyle::ReadOnly);
        add(ControlKind::Button, 110, "E&xit");
        m_ui.set_key_table(m_window, {{plain(kKeyF2), kCmdAsk}});
        m_ui.set_focus(m_window, 101);
        return m_ui.run_modal(m_window);
    }

    void on_command(int command) override {
        if (command == kCmdAsk) {
            Answer a =
                m_ui.message_box(m_window, "Delete Entry", "Are you sure?", MessageButtons::YesNo);
            m_ui.set_text(m_window, 105, a == Answer::Yes ? "yes" : "no");
        } else if (command == kCmdOk) {
            m_ui.focus_next(m_window, false);  // Enter moves on, as on every form
        } else if (command == kCmdCancel) {
            m_ui.close_window(m_window, 7);
        } else if (command == 110) {
            m_ui.close_window(m_window, 110);  // the Exit button
        }
    }
    void on_text_changed(int control) override { changes.push_back(control); }

    std::vector<int> changes;

private:
    void add(ControlKind kind, int id, std::string text, EditStyle style = EditStyle::Plain,
             int limit = 0) {
        ControlSpec shape;
        shape.kind = kind;
        shape.id = id;
        shape.text = std::move(text);
        shape.style = style;
        shape.max_length = limit;
        m_ui.add_control(m_window, shape);
    }
    Ui& m_ui;
    WindowId m_window = kNoWindow;
};

struct FormRun {
    Lines journal;
    int result = -1;
    std::vector<int> changes;
};

FormRun run_form(std::string_view script) {
    Journal journal;
    HeadlessClock clock;
    HeadlessUi ui(parse_script(script), journal, clock);
    Form form(ui);
    FormRun run;
    try {
        run.result = form.run();
    } catch (const ScriptEnded&) {
    }
    return {journal.lines(), run.result, form.changes};
}

// The whole journal, and what the form returned. The screens' scenarios cover the rest of the
// backend's keys, and two (adif_real_files, core_chart_kept) end with a window open; these
// are what none of them does: a button's lower-case letter, a letter key's case.
TEST(HeadlessUi, TheFormAsTheOperatorHearsIt) {
    // Alt and a label's letter reach its box, a button's press it; Alt+Q is nobody's.
    FormRun run = run_form("key Alt+D\nkey Alt+Q\nkey Alt+C\nkey Shift+K\nkey K\nkey Alt+X\n");
    EXPECT_EQ(run.journal, (Lines{"window \"Test Form\"", "focus edit \"Call Sign:\" \"\"",
                                  "focus edit \"Drive:\" \"\"", "focus edit \"Call Sign:\" \"\"",
                                  "text \"K\"", "text \"Kk\""}));
    EXPECT_EQ(run.result, 110);
    EXPECT_EQ(run_form("type ab\nkey Backspace\nkey Tab\ntype x\nkey Escape\n").changes,
              (std::vector<int>{101, 101, 103}));
    for (const char* wrong : {"key F2\nanswer ok\n", "key F2\ntype x\n", "answer yes\n"}) {
        EXPECT_THROW(run_form(wrong), ScriptError) << wrong;
    }
}

// Enter once answered Yes to every question, so one slip on a question that destroys
// something went ahead; those questions answer No to Enter and Escape.
TEST(DialogRules, EnterAnswersNoWhereYesWouldDestroy) {
    for (MessageButtons buttons : {MessageButtons::YesNo, MessageButtons::YesNoDefaultNo}) {
        bool safe = buttons == MessageButtons::YesNoDefaultNo;
        EXPECT_EQ(answer_to_enter(buttons), safe ? Answer::No : Answer::Yes);
        EXPECT_EQ(answer_to_escape(buttons), Answer::No);
        EXPECT_EQ(answer_to_letter(buttons, plain('Y')), Answer::Yes);
        EXPECT_EQ(answer_to_letter(buttons, alt('Y')), Answer::Yes);
        EXPECT_EQ(answer_to_letter(buttons, plain('N')), Answer::No);
    }
}

TEST(HeadlessClock, LocalTimeFollowsTheOffsetAcrossMidnight) {
    HeadlessClock clock;
    clock.set({2024, 2, 28, 23, 30, 0, 0}, 90);
    DateTime local = clock.local_now();
    EXPECT_EQ(local.month, 2);
    EXPECT_EQ(local.day, 29);  // a leap year
    EXPECT_EQ(local.hour, 1);
    EXPECT_EQ(local.minute, 0);
    clock.set({2000, 1, 1, 0, 10, 0, 0}, -60);
    local = clock.local_now();
    EXPECT_EQ(local.year, 1999);
    EXPECT_EQ(local.day, 31);
    EXPECT_EQ(local.hour, 23);
}

TEST(Script, EventsAndErrorsNameTheirLine) {
    auto events = parse_script(
        "# start\nkey Ctrl+Q Down\n\ntype  two words \nanswer no\r\ntick\nclock 2014-01-14 "
        "09:30:00 "
        "-05:00\nclock 2014-01-14 09:30:00\ndoubleclick\n");
    ASSERT_EQ(events.size(), 8u);
    EXPECT_EQ(events[0].chord, ctrl('Q'));
    EXPECT_EQ(events[1].chord, plain(kKeyDown));
    EXPECT_EQ(events[2].text, " two words ");
    EXPECT_EQ(events[2].line, 4);
    EXPECT_EQ(events[3].answer, Answer::No);
    EXPECT_EQ(events[4].count, 1);
    EXPECT_EQ(events[5].local_offset_minutes, -300);
    EXPECT_EQ(events[6].local_offset_minutes, 0);
    EXPECT_EQ(events[7].kind, ScriptEvent::Kind::DoubleClick);

    struct Bad {
        const char* script;
        const char* message;
    };
    static const Bad kBad[] = {
        {"key\n", "script line 1: key needs at least one key name"},
        {"\nkey Ctrl+Banana\n", "script line 2: unknown key \"Ctrl+Banana\""},
        {"answer maybe\n", "script line 1: answer must be ok, yes or no"},
        {"tick many\n", "script line 1: expected a number, found \"many\""},
        {"clock 2014-13-01 00:00:00\n",
         "script line 1: expected: clock YYYY-MM-DD HH:MM:SS [+HH:MM]"},
        {"press F1\n", "script line 1: unknown event \"press F1\""},
    };
    for (const Bad& bad : kBad) {
        try {
            parse_script(bad.script);
            ADD_FAILURE() << "accepted: " << bad.script;
        } catch (const ScriptError& error) {
            EXPECT_STREQ(error.what(), bad.message);
        }
    }
}

// F1 and PageDown are pressed by the scenarios' scripts, and their journals hear what they do.
TEST(Keys, Names) {
    const std::pair<const char*, KeyChord> kNames[] = {
        {"F24", plain(kKeyF24)}, {"Ctrl+Q", ctrl('Q')}, {"Shift+Tab", shift(kKeyTab)},
        {"Alt+1", alt('1')},     {"Ctrl+0", ctrl('0')}, {"Ctrl+Delete", ctrl(kKeyDelete)}};
    for (const auto& [name, chord] : kNames) {
        EXPECT_EQ(parse_key_chord(name), chord) << name;
    }
    EXPECT_EQ(parse_key_chord("ctrl+q"), ctrl('Q'));
    EXPECT_FALSE(parse_key_chord("Hyper+Q").has_value());
    EXPECT_FALSE(parse_key_chord("").has_value());
    EXPECT_EQ(find_command({{plain(kKeyF2), 1}, {plain(kKeyF2), 2}}, plain(kKeyF2)), 1);
}

}  // namespace
}  // namespace vl::headless
