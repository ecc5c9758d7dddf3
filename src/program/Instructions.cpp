// The instructions: the topic list and the topic text screen.
#include "program/Instructions.h"

#include "logstore/Text.h"
#include "shell/KeyHelpBox.h"
#include "shell/Screen.h"

extern "C" const char kVarrowManualText[];

namespace vl {

const std::array<std::string_view, 18> kTopicNames = {
    "Overview",         "Off line logging.",  "On line logging.", "Browse the log.",
    "Print Log.",       "Print QSLs.",        "Print SWL QSLs.",  "Set Rig Data.",
    "DXCC facilities.", "ADIF log import.",   "ADIF log export.", "Set Date Format.",
    "Set Location.",    "Get Beam Heading",   "Call Book CD",     "Set Back Up Drive.",
    "CAT Rig Control",  "Miscellaneous Notes"};

namespace {

constexpr int kTextBox = 100;
constexpr int kTopicList = 100;
constexpr int kCmdKeyHelp = 20;
constexpr uint32_t kGrey = 0xC0C0C0;
constexpr uint32_t kWhite = 0xFFFFFF;

class TopicScreen final : public platform::WindowEvents {
public:
    explicit TopicScreen(AppContext& ctx) : m_ctx(ctx) {}

    void run(platform::WindowId owner, int topic) {
        platform::Ui& ui = m_ctx.ui();
        platform::WindowSpec shape =
            window_shape(std::string(kTopicNames[topic]), 250, 180, owner, "Times New Roman", 12);
        m_window = ui.create_window(shape, *this);
        platform::ControlSpec box =
            control(platform::ControlKind::Edit, kTextBox, topic_text(manual_text(), topic), 5, 5,
                    240, 170, platform::EditStyle::ReadOnlyMultiLine);
        box.background = kWhite;
        box.text_colour = 0x000000;
        ui.add_control(m_window, box);
        ui.set_focus(m_window, kTextBox);
        ui.run_modal(m_window);
    }

    void on_command(int command) override {
        if (command == platform::kCmdCancel) {
            m_ctx.ui().close_window(m_window, 0);
        }
    }

private:
    AppContext& m_ctx;
    platform::WindowId m_window = platform::kNoWindow;
};

class TopicList final : public platform::WindowEvents {
public:
    explicit TopicList(AppContext& ctx) : m_ctx(ctx) {}

    void run(platform::WindowId owner) {
        platform::Ui& ui = m_ctx.ui();
        platform::WindowSpec shape =
            window_shape("How to use Varrow Log.", 130, 150, owner, "Times New Roman BOLD", 14);
        shape.scaled = false;
        shape.background = kGrey;
        m_window = ui.create_window(shape, *this);
        platform::ControlSpec list =
            control(platform::ControlKind::List, kTopicList, "", 5, 5, 120, 140);
        list.background = kGrey;
        list.text_colour = 0x000000;
        ui.add_control(m_window, list);
        ui.set_items(m_window, kTopicList, {kTopicNames.begin(), kTopicNames.end()});
        ui.select_item(m_window, kTopicList, 0);
        ui.set_focus(m_window, kTopicList);
        ui.set_key_table(m_window, {{platform::plain(platform::kKeyF1), kCmdKeyHelp}});
        ui.run_modal(m_window);
    }

    void on_command(int command) override {
        platform::Ui& ui = m_ctx.ui();
        if (command == platform::kCmdOk) {
            int topic = ui.selected_item(m_window, kTopicList);
            if (topic < 0) {
                return;
            }
            TopicScreen screen(m_ctx);
            screen.run(m_window, topic);
            // Enter again reads on: the next topic is selected, up to "CAT Rig Control".
            if (topic < 16) {
                ui.select_item(m_window, kTopicList, topic + 1);
            }
        } else if (command == platform::kCmdCancel) {
            ui.close_window(m_window, 0);
        } else if (command == kCmdKeyHelp) {
            show_key_help(m_ctx, m_window, "Key help",
                          "Arrow keys to choose a topic,ENTER to read it,"
                          "Arrow keys in the text to read it line by line,ESCAPE to leave");
        }
    }

    void on_double_click(int) override { m_ctx.ui().post_command(m_window, platform::kCmdOk); }

private:
    AppContext& m_ctx;
    platform::WindowId m_window = platform::kNoWindow;
};

}  // namespace

std::string_view manual_text() {
    return kVarrowManualText;
}

std::string topic_text(std::string_view manual, int index) {
    const std::string start = "[" + std::to_string(index + 1) + "]";
    const std::string end = "[" + std::to_string(index + 2) + "]";
    std::string text;
    bool inside = false;
    while (!manual.empty()) {
        std::string_view line = take_line(manual);
        if (line.find(end) != std::string_view::npos) {
            break;
        }
        if (inside) {
            text += line;
            text += "\r\n";
        } else if (line.find(start) != std::string_view::npos) {
            inside = true;
        }
    }
    return text;
}

void show_instructions(AppContext& ctx, platform::WindowId owner) {
    TopicList list(ctx);
    list.run(owner);
}

}  // namespace vl
