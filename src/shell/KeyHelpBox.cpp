// The Key help box.
#include "shell/KeyHelpBox.h"
#include "shell/Screen.h"

namespace vl {

namespace {

constexpr int kLineControl = 101;
constexpr int kCmdNextLine = 10;

class KeyHelpBox final : public platform::WindowEvents {
public:
    KeyHelpBox(const ScreenContext& ctx, std::string_view text)
        : m_ctx(ctx), m_lines(key_help_lines(text)) {}

    int run(platform::WindowId owner, std::string_view title) {
        platform::Ui& ui = m_ctx.ui();
        platform::WindowSpec shape = window_shape(std::string(title) + ". ", 300, 140, owner);
        shape.scaled = false;
        m_window = ui.create_window(shape, *this);
        platform::ControlSpec line;
        line.kind = platform::ControlKind::Label;
        line.id = kLineControl;
        line.text = m_lines[0];
        line.x = 5;
        line.y = 10;
        line.width = 290;
        line.height = 80;
        ui.add_control(m_window, line);
        ui.set_key_table(m_window, {{platform::plain(platform::kKeyDown), kCmdNextLine}});
        return ui.run_modal(m_window);
    }

    void on_command(int command) override {
        switch (command) {
            case kCmdNextLine:
                show_next_line();
                break;
            case platform::kCmdOk:
                m_ctx.ui().close_window(m_window, kKeyHelpClosedByEnter);
                break;
            case platform::kCmdCancel:
                m_ctx.ui().close_window(m_window, kKeyHelpClosedByEscape);
                break;
            default:
                break;
        }
    }

private:
    // After the last line the box starts again at the first.
    void show_next_line() {
        if (m_next >= kKeyHelpLines || m_lines[m_next].empty()) {
            m_next = 0;
        }
        m_ctx.ui().set_text(m_window, kLineControl, m_lines[m_next]);
        ++m_next;
    }

    ScreenContext m_ctx;
    std::array<std::string, kKeyHelpLines> m_lines;
    platform::WindowId m_window = platform::kNoWindow;
    int m_next = 1;
};

}  // namespace

std::array<std::string, kKeyHelpLines> key_help_lines(std::string_view text) {
    std::array<std::string, kKeyHelpLines> lines;
    std::size_t line = 0;
    for (std::size_t start = 0;;) {
        std::size_t comma = text.find(',', start);
        std::string_view item = text.substr(start, comma - start);
        if (line < kKeyHelpLines) {
            lines[line++] = item;
        } else {
            lines[kKeyHelpLines - 1] += " ";
            lines[kKeyHelpLines - 1] += item;
        }
        if (comma == std::string_view::npos) {
            break;
        }
        start = comma + 1;
    }
    return lines;
}

int show_key_help(const ScreenContext& ctx, platform::WindowId owner, std::string_view title,
                  std::string_view text) {
    KeyHelpBox box(ctx, text);
    return box.run(owner, title);
}

}  // namespace vl
