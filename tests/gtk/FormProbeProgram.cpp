// A small form built through the same UI interface the screens use, for the accessibility
// probe: a label and edit box, an upper-case box, a read-only box, a list, a drop-down and
// a password box.
// F4 puts a text longer than the screen is wide in the read-only box. On Escape it prints
// each box's text as Windows-1252 bytes in hex.
#include <cstdio>
#include <string>

#include "platform/gtk3/GtkUi.h"

namespace {

using namespace vl::platform;

constexpr int kCmdLongText = 50;

class Form final : public WindowEvents {
public:
    explicit Form(Ui& ui) : m_ui(ui) {}

    int run() {
        WindowSpec shape;
        shape.caption = "Form Probe";
        shape.width = 200;
        shape.height = 170;
        m_window = m_ui.create_window(shape, *this);
        add(ControlKind::Label, 100, "&Call Sign:", 5, 5);
        add(ControlKind::Edit, 101, "", 60, 5);
        add(ControlKind::Label, 102, "&Drive:", 5, 25);
        add(ControlKind::Edit, 103, "", 60, 25, EditStyle::UpperCase);
        add(ControlKind::Label, 104, "Last QSO:", 5, 45);
        add(ControlKind::Edit, 105, "No previous contact", 60, 45, EditStyle::ReadOnly);
        add(ControlKind::Label, 106, "Band:", 5, 65);
        add(ControlKind::List, 107, "", 60, 65);
        add(ControlKind::Label, 108, "Mode:", 5, 105);
        add(ControlKind::DropDown, 109, "", 60, 105);
        add(ControlKind::Label, 110, "&Password:", 5, 130);
        add(ControlKind::Edit, 111, "", 60, 130, EditStyle::Password);
        m_ui.set_items(m_window, 107, {"160m", " 80m", " 40m"});
        m_ui.select_item(m_window, 107, 0);
        m_ui.set_items(m_window, 109, {"CW", "SSB"});
        m_ui.select_item(m_window, 109, 1);
        m_ui.set_focus(m_window, 101);
        m_ui.set_key_table(m_window, {{plain(kKeyF4), kCmdLongText}});
        return m_ui.run_modal(m_window);
    }

    void on_command(int command) override {
        if (command == kCmdCancel) {
            for (int id : {101, 103, 105, 111}) {
                std::printf("%d:", id);
                for (unsigned char c : m_ui.text(m_window, id)) {
                    std::printf("%02X", c);
                }
                std::printf("\n");
            }
            std::printf("107:%d\n109:%d\n", m_ui.selected_item(m_window, 107),
                        m_ui.selected_item(m_window, 109));
            std::fflush(stdout);
            m_ui.close_window(m_window, 0);
        } else if (command == kCmdOk) {
            m_ui.focus_next(m_window, false);
        } else if (command == kCmdLongText) {
            std::string text;
            for (int entry = 1; entry <= 6; ++entry) {
                text +=
                    "Entry " + std::to_string(entry) + ", Twelfth January Two thousand fourteen, ";
            }
            m_ui.set_text(m_window, 105, text + "the end.");
        }
    }

private:
    void add(ControlKind kind, int id, std::string text, int x, int y,
             EditStyle style = EditStyle::Plain) {
        ControlSpec shape;
        shape.kind = kind;
        shape.id = id;
        shape.text = std::move(text);
        shape.x = x;
        shape.y = y;
        shape.width = kind == ControlKind::Label ? 50 : 120;
        shape.height = kind == ControlKind::List ? 35 : 15;
        shape.style = style;
        m_ui.add_control(m_window, shape);
    }
    Ui& m_ui;
    WindowId m_window = kNoWindow;
};

}  // namespace

int main(int argc, char** argv) {
    if (!vl::gtk3::initialise_gtk(&argc, &argv)) {
        return 1;
    }
    auto ui = vl::gtk3::make_gtk_ui();
    Form form(*ui);
    return form.run();
}
