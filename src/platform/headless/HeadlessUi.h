// The headless backend: windows and controls kept in memory, driven by a key script, with
// a journal of what the screen reader would say. Tests and the script runner use it.
#pragma once

#include <cstdint>
#include <deque>
#include <map>
#include <optional>
#include <utility>
#include <vector>

#include "platform/DialogRules.h"
#include "platform/Platform.h"
#include "platform/headless/HeadlessClock.h"
#include "platform/headless/HeadlessSound.h"
#include "platform/headless/Journal.h"
#include "platform/headless/Script.h"

namespace vl::headless {

// Thrown when the program waits for input and the script has none left.
struct ScriptEnded {};

class HeadlessUi final : public platform::Ui {
public:
    HeadlessUi(std::vector<ScriptEvent> script, Journal& journal, HeadlessClock& clock,
               int screen_width = 1280);

    int screen_width() override { return m_screen_width; }
    platform::WindowId create_window(const platform::WindowSpec& shape,
                                     platform::WindowEvents& events) override;
    void add_control(platform::WindowId window, const platform::ControlSpec& shape) override;
    void remove_control(platform::WindowId window, int control) override;
    void set_key_table(platform::WindowId window, platform::KeyTable table) override;
    int run_modal(platform::WindowId window) override;
    void close_window(platform::WindowId window, int result) override;
    void set_caption(platform::WindowId window, std::string_view caption) override;
    void set_text(platform::WindowId window, int control, std::string_view text) override;
    std::string text(platform::WindowId window, int control) override;
    void set_items(platform::WindowId window, int control,
                   const std::vector<std::string>& items) override;
    int item_count(platform::WindowId window, int control) override;
    void select_item(platform::WindowId window, int control, int index) override;
    int selected_item(platform::WindowId window, int control) override;
    void set_focus(platform::WindowId window, int control) override;
    int focused_control(platform::WindowId window) override;
    void focus_next(platform::WindowId window, bool backwards) override;
    platform::Answer message_box(platform::WindowId owner, std::string_view title,
                                 std::string_view text, platform::MessageButtons buttons) override;
    void start_timer(platform::WindowId window, int milliseconds) override;
    void stop_timer(platform::WindowId window) override;
    void post_command(platform::WindowId window, int command) override;

    // True when the script ran out while a message box waited for its answer.
    bool ended_in_message_box() const { return m_ended_in_message_box; }
    // Keeps each window's shape and controls as it is first shown, one text a window: tests
    // hold the screens' layout to the one seen on the desktops.
    void record_layouts(std::vector<std::string>* sink) { m_layouts = sink; }

private:
    struct Control {
        platform::ControlSpec shape;
        std::string text;
        std::vector<std::string> items;
        int selected = -1;
        int label_id = 0;  // the label created just before it, spoken with it
        // Moving into an edit box selects its text, as on the desktop: typing replaces it.
        bool all_selected = false;
    };
    struct Window {
        platform::WindowSpec shape;
        platform::WindowEvents* events = nullptr;
        std::vector<Control> controls;
        platform::KeyTable keys;
        int focus = 0;
        bool shown = false;
        bool closed = false;
        int result = 0;
        int timer_ms = 0;
        int64_t timer_elapsed = 0;
    };

    Window& window_of(platform::WindowId id);
    const Window* find_window(platform::WindowId id) const;
    Control* find_control(Window& window, int id);
    bool is_active(platform::WindowId id) const;
    static std::vector<platform::DialogControl> rule_view(const Window& window);
    static void select_on_focus(Control& control);
    std::string describe_focus(Window& window);
    std::string spoken_label(const Window& window, const Control& control) const;
    void announce(platform::WindowId id);
    const ScriptEvent& next_event();
    void dispatch(const ScriptEvent& event);
    void press(platform::WindowId id, const platform::KeyChord& chord);
    void type_text(platform::WindowId id, std::string_view text);
    void change_selection(platform::WindowId id, Control& control, int index);
    void deliver_posted();
    void event_handled();
    void reannounce(platform::WindowId id);
    bool respeak_reannounced(platform::WindowId id);
    void tick();

    std::vector<ScriptEvent> m_script;
    std::size_t m_next_event = 0;
    Journal& m_journal;
    HeadlessClock& m_clock;
    int m_screen_width;
    std::map<platform::WindowId, Window> m_windows;
    std::vector<platform::WindowId> m_modal;  // windows being run, innermost last
    std::deque<std::pair<platform::WindowId, int>> m_posted;
    platform::WindowId m_next_id = 1;
    bool m_ended_in_message_box = false;
    // The window spoken again after a box or window over it closed, and its focus line.
    std::optional<std::pair<platform::WindowId, std::size_t>> m_reannounced;
    // Labels said in the event being handled, by the box they name: the box taking the focus
    // in the same event is read with its label, which is then not said twice.
    std::map<std::pair<platform::WindowId, int>, std::size_t> m_label_lines;
    std::vector<std::string>* m_layouts = nullptr;
};

}  // namespace vl::headless
