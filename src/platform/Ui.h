// The user interface as the screens need it: captioned windows of plain labelled
// controls, run modally, with a key table, message boxes, one timer and one posted
// command. Screens are written like dialog procedures: they create their window and
// controls here and react to the events of WindowEvents. Text is Windows-1252.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/Keys.h"

namespace vl::platform {

using WindowId = int;
constexpr WindowId kNoWindow = 0;

// The commands that every window knows: Enter and Escape, as on a dialog.
constexpr int kCmdOk = 1;
constexpr int kCmdCancel = 2;

enum class ControlKind { Label, Edit, List, DropDown, Button };

// MultiLine: a box the operator writes lines in; Enter starts a new line (CR LF).
// Password: what is typed is kept but shown and spoken only as one mark a character.
enum class EditStyle { Plain, UpperCase, ReadOnly, ReadOnlyMultiLine, MultiLine, Password };

struct ControlSpec {
    ControlKind kind = ControlKind::Label;
    int id = 0;
    std::string text;  // label or button caption ("&" marks the Alt letter), initial edit text
    int x = 0, y = 0, width = 0, height = 0;  // layout units, before the scale factor
    EditStyle style = EditStyle::Plain;
    int max_length = 0;  // edit boxes: 0 means no limit
    // Read-only boxes: a change while the focus is elsewhere is not spoken; the box is read
    // when the operator moves to it (a clock, or boxes a spoken summary already covers).
    bool quiet = false;
    std::optional<uint32_t> text_colour;
    std::optional<uint32_t> background;  // 0xBBGGRR, as the colour values of the screens
};

struct WindowSpec {
    std::string caption;
    std::string font = "Courier";
    int font_points = 8;
    int width = 0, height = 0;  // layout units
    bool scaled = true;         // multiply sizes by the scale factor
    std::optional<uint32_t> background;
    WindowId owner = kNoWindow;
};

// What a screen hears from its window. Every handler runs on the one UI thread.
class WindowEvents {
public:
    virtual ~WindowEvents() = default;
    // A key-table command, Enter (kCmdOk), Escape (kCmdCancel) or a posted command.
    virtual void on_command(int command) { (void)command; }
    virtual void on_focus(int control) { (void)control; }
    // The operator changed the text of an edit box.
    virtual void on_text_changed(int control) { (void)control; }
    virtual void on_selection_changed(int control) { (void)control; }
    virtual void on_double_click(int control) { (void)control; }
    virtual void on_timer() {}
};

// YesNo answers Yes to Enter. A question whose Yes destroys something or leaves it unsaved
// is YesNoDefaultNo: Enter and Escape answer No, Yes needs its button or its letter.
enum class MessageButtons { Ok, YesNo, YesNoDefaultNo };
enum class Answer { Ok, Yes, No };

class Ui {
public:
    virtual ~Ui() = default;

    // Width of the full-screen client area in pixels; the scale factor is this / 640.
    virtual int screen_width() = 0;

    virtual WindowId create_window(const WindowSpec& shape, WindowEvents& events) = 0;
    virtual void add_control(WindowId window, const ControlSpec& shape) = 0;
    virtual void remove_control(WindowId window, int control) = 0;
    virtual void set_key_table(WindowId window, KeyTable table) = 0;
    // Runs the window modally over its owner until close_window; returns its result.
    virtual int run_modal(WindowId window) = 0;
    virtual void close_window(WindowId window, int result) = 0;
    virtual void set_caption(WindowId window, std::string_view caption) = 0;

    virtual void set_text(WindowId window, int control, std::string_view text) = 0;
    virtual std::string text(WindowId window, int control) = 0;

    // List boxes and drop-down lists.
    virtual void set_items(WindowId window, int control, const std::vector<std::string>& items) = 0;
    virtual int item_count(WindowId window, int control) = 0;
    virtual void select_item(WindowId window, int control, int index) = 0;
    virtual int selected_item(WindowId window, int control) = 0;  // -1 when none

    virtual void set_focus(WindowId window, int control) = 0;
    virtual int focused_control(WindowId window) = 0;  // 0 when none
    // What Tab and Shift+Tab do: the next or previous box in creation order.
    virtual void focus_next(WindowId window, bool backwards) = 0;

    virtual Answer message_box(WindowId owner, std::string_view title, std::string_view text,
                               MessageButtons buttons) = 0;

    // The window's timer, every `milliseconds`; one per window.
    virtual void start_timer(WindowId window, int milliseconds) = 0;
    virtual void stop_timer(WindowId window) = 0;
    // Delivers `command` to the window after the current event has been handled.
    virtual void post_command(WindowId window, int command) = 0;
};

}  // namespace vl::platform
