// The headless backend. Keys reach the innermost modal window, whose dialog rules say what
// each does (DialogRules.h); this backend does it to the windows it keeps in memory.
#include "platform/headless/HeadlessUi.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <stdexcept>
#include <string>
#include <thread>

#include "platform/FocusLog.h"

namespace vl::headless {

using platform::ControlKind;
using platform::EditStyle;
using platform::is_spoken_text;
using platform::KeyOutcome;
using platform::takes_focus;
using platform::WindowId;
using platform::without_ampersand;

namespace {

std::string colours(std::optional<uint32_t> text, std::optional<uint32_t> background) {
    char out[40] = {};
    if (text) {
        std::snprintf(out, sizeof out, " colour %06X", static_cast<unsigned>(*text));
    }
    if (background) {
        std::snprintf(out + std::strlen(out), sizeof out - std::strlen(out), " on %06X",
                      static_cast<unsigned>(*background));
    }
    return out;
}

std::string describe_layout(const auto& window) {
    static constexpr const char* kKinds[] = {"label", "edit", "list", "drop-down", "button"};
    const platform::WindowSpec& w = window.shape;
    std::string text = "window \"" + w.caption + "\" " + std::to_string(w.width) + "x" +
                       std::to_string(w.height) + " " + w.font + " " +
                       std::to_string(w.font_points) + (w.scaled ? "" : " unscaled") +
                       colours(std::nullopt, w.background) + "\n";
    for (const auto& control : window.controls) {
        const platform::ControlSpec& c = control.shape;
        text += "  " + std::string(kKinds[static_cast<int>(c.kind)]) + " " + std::to_string(c.id) +
                " at " + std::to_string(c.x) + "," + std::to_string(c.y) + " " +
                std::to_string(c.width) + "x" + std::to_string(c.height);
        if (c.kind == platform::ControlKind::Edit) {
            text += " style " + std::to_string(static_cast<int>(c.style)) + " limit " +
                    std::to_string(c.max_length) + (c.quiet ? " quiet" : "");
        } else if (c.kind != platform::ControlKind::List) {
            text += " \"" + c.text + "\"";
        }
        text += colours(c.text_colour, c.background) + "\n";
    }
    return text;
}

std::string_view kind_name(const platform::ControlSpec& shape) {
    switch (shape.kind) {
        case ControlKind::Label:
            return "label";
        case ControlKind::Edit:
            return shape.style == EditStyle::ReadOnly || shape.style == EditStyle::ReadOnlyMultiLine
                       ? "readonly"
                       : "edit";
        case ControlKind::List:
            return "list";
        case ControlKind::DropDown:
            return "dropdown";
        case ControlKind::Button:
            return "button";
    }
    return "control";
}

// What the reader is told of a box's text: a password box gives one "*" a character.
std::string shown_text(const platform::ControlSpec& shape, std::string_view text) {
    if (shape.kind == ControlKind::Edit && shape.style == EditStyle::Password) {
        return std::string(text.size(), '*');
    }
    return std::string(text);
}

}  // namespace

HeadlessUi::HeadlessUi(std::vector<ScriptEvent> script, Journal& journal, HeadlessClock& clock,
                       int screen_width)
    : m_script(std::move(script)),
      m_journal(journal),
      m_clock(clock),
      m_screen_width(screen_width) {}

HeadlessUi::Window& HeadlessUi::window_of(WindowId id) {
    return m_windows.at(id);
}

const HeadlessUi::Window* HeadlessUi::find_window(WindowId id) const {
    auto found = m_windows.find(id);
    return found == m_windows.end() ? nullptr : &found->second;
}

HeadlessUi::Control* HeadlessUi::find_control(Window& window, int id) {
    for (Control& control : window.controls) {
        if (control.shape.id == id) {
            return &control;
        }
    }
    return nullptr;
}

bool HeadlessUi::is_active(WindowId id) const {
    return !m_modal.empty() && m_modal.back() == id;
}

// The window as the dialog rules see it.
std::vector<platform::DialogControl> HeadlessUi::rule_view(const Window& window) {
    std::vector<platform::DialogControl> view;
    for (const Control& control : window.controls) {
        view.push_back({control.shape.id, control.shape.kind, control.shape.style,
                        control.shape.text, control.label_id, true});
    }
    return view;
}

void HeadlessUi::select_on_focus(Control& control) {
    control.all_selected = control.shape.kind == ControlKind::Edit &&
                           !is_spoken_text(control.shape) && !control.text.empty();
}

WindowId HeadlessUi::create_window(const platform::WindowSpec& shape,
                                   platform::WindowEvents& events) {
    WindowId id = m_next_id++;
    Window& window = m_windows[id];
    window.shape = shape;
    window.events = &events;
    return id;
}

void HeadlessUi::add_control(WindowId id, const platform::ControlSpec& shape) {
    Window& window = window_of(id);
    // A desktop would show both: a box left over from a form that was rebuilt.
    if (std::any_of(window.controls.begin(), window.controls.end(),
                    [&shape](const Control& c) { return c.shape.id == shape.id; })) {
        throw std::logic_error("control " + std::to_string(shape.id) + " added twice");
    }
    Control control;
    control.shape = shape;
    control.text =
        shape.kind == ControlKind::List || shape.kind == ControlKind::DropDown ? "" : shape.text;
    control.label_id = platform::naming_label(
        window.controls.empty() ? nullptr : &window.controls.back().shape, shape);
    window.controls.push_back(std::move(control));
}

void HeadlessUi::remove_control(WindowId id, int control) {
    Window& window = window_of(id);
    std::erase_if(window.controls, [control](const Control& c) { return c.shape.id == control; });
    if (window.focus == control) {
        window.focus = 0;
    }
}

void HeadlessUi::set_key_table(WindowId id, platform::KeyTable table) {
    window_of(id).keys = std::move(table);
}

// A label's text as it is now: a screen may change it (the station data's band name).
std::string HeadlessUi::spoken_label(const Window& window, const Control& control) const {
    for (const Control& label : window.controls) {
        if (control.label_id != 0 && label.shape.id == control.label_id) {
            return without_ampersand(label.text);
        }
    }
    return {};
}

std::string HeadlessUi::describe_focus(Window& window) {
    Control* control = find_control(window, window.focus);
    if (control == nullptr) {
        return "focus none";
    }
    std::string line = "focus " + std::string(kind_name(control->shape));
    switch (control->shape.kind) {
        case ControlKind::Button:
            return line + " " + quote(without_ampersand(control->text));
        case ControlKind::List:
        case ControlKind::DropDown: {
            std::string item = control->selected >= 0 ? control->items[control->selected] : "";
            return line + " " + quote(spoken_label(window, *control)) + " " + quote(item);
        }
        default:
            return line + " " + quote(spoken_label(window, *control)) + " " +
                   quote(shown_text(control->shape, control->text));
    }
}

// What a screen reader says when a window becomes active: its caption, then the focused
// control, or the window's text when nothing in it takes the focus.
void HeadlessUi::announce(WindowId id) {
    Window& window = window_of(id);
    m_journal.add("window " + quote(window.shape.caption));
    if (find_control(window, window.focus) != nullptr) {
        m_journal.add(describe_focus(window));
        return;
    }
    for (const Control& control : window.controls) {
        if (control.shape.kind == ControlKind::Label && !control.text.empty()) {
            m_journal.add("static " + quote(without_ampersand(control.text)));
        }
    }
}

int HeadlessUi::run_modal(WindowId id) {
    Window& window = window_of(id);
    window.shown = true;
    if (m_layouts != nullptr) {
        m_layouts->push_back(describe_layout(window));
    }
    m_modal.push_back(id);
    // As on a desktop dialog, a window whose screen chose no focus opens on its first box.
    if (find_control(window, window.focus) == nullptr) {
        for (const Control& control : window.controls) {
            if (takes_focus(control.shape.kind)) {
                window.focus = control.shape.id;
                select_on_focus(*find_control(window, control.shape.id));
                platform::log_focus(platform::system_files(), window.shape.caption,
                                    control.shape.id);
                window.events->on_focus(control.shape.id);
                break;
            }
        }
    }
    announce(id);
    try {
        deliver_posted();
        while (!window_of(id).closed) {
            dispatch(next_event());
            deliver_posted();
        }
    } catch (...) {
        m_modal.pop_back();
        m_windows.erase(id);
        throw;
    }
    m_modal.pop_back();
    int result = window_of(id).result;
    m_windows.erase(id);
    std::erase_if(m_posted, [id](const auto& posted) { return posted.first == id; });
    if (!m_modal.empty() && !window_of(m_modal.back()).closed) {
        reannounce(m_modal.back());
    }
    return result;
}

void HeadlessUi::close_window(WindowId id, int result) {
    // A window read again as a box over it closed, and closed by the same answer before
    // anything was said in it, is gone before a reader on the desktop speaks it.
    if (m_reannounced && m_reannounced->first == id &&
        m_journal.size() == m_reannounced->second + 1) {
        m_journal.erase(m_reannounced->second);
        m_journal.erase(m_reannounced->second - 1);
        m_reannounced.reset();
    }
    Window& window = window_of(id);
    window.closed = true;
    window.result = result;
    window.timer_ms = 0;
}

void HeadlessUi::set_caption(WindowId id, std::string_view caption) {
    window_of(id).shape.caption = caption;
    if (is_active(id)) {
        m_journal.add("window " + quote(caption));
    }
}

void HeadlessUi::set_text(WindowId id, int control_id, std::string_view text) {
    Window& window = window_of(id);
    Control* control = find_control(window, control_id);
    if (control == nullptr || control->text == text) {
        return;
    }
    control->text = text;
    control->all_selected = false;
    if (!window.shown || window.closed) {
        return;
    }
    if (window.focus == control_id) {
        if (!respeak_reannounced(id)) {
            m_journal.add("text " + quote(shown_text(control->shape, text)));
        }
    } else if (is_spoken_text(control->shape) && !control->shape.quiet && !text.empty()) {
        if (control->shape.kind == ControlKind::Label) {
            for (const Control& named : window.controls) {
                if (named.label_id == control_id) {
                    m_label_lines[{id, named.shape.id}] = m_journal.size();
                }
            }
        }
        m_journal.add("static " + quote(without_ampersand(text)));
    }
}

std::string HeadlessUi::text(WindowId id, int control_id) {
    Control* control = find_control(window_of(id), control_id);
    if (control == nullptr) {
        return {};
    }
    if ((control->shape.kind == ControlKind::List ||
         control->shape.kind == ControlKind::DropDown) &&
        control->selected >= 0) {
        return control->items[control->selected];
    }
    return control->text;
}

void HeadlessUi::set_items(WindowId id, int control_id, const std::vector<std::string>& items) {
    if (Control* control = find_control(window_of(id), control_id)) {
        control->items = items;
        control->selected = -1;
    }
}

int HeadlessUi::item_count(WindowId id, int control_id) {
    Control* control = find_control(window_of(id), control_id);
    return control ? static_cast<int>(control->items.size()) : 0;
}

void HeadlessUi::select_item(WindowId id, int control_id, int index) {
    Window& window = window_of(id);
    Control* control = find_control(window, control_id);
    if (control == nullptr || index < -1 || index >= static_cast<int>(control->items.size()) ||
        control->selected == index) {
        return;
    }
    control->selected = index;
    if (window.shown && window.focus == control_id && index >= 0 && !respeak_reannounced(id)) {
        m_journal.add("text " + quote(control->items[index]));
    }
}

int HeadlessUi::selected_item(WindowId id, int control_id) {
    Control* control = find_control(window_of(id), control_id);
    return control ? control->selected : -1;
}

void HeadlessUi::set_focus(WindowId id, int control_id) {
    Window& window = window_of(id);
    Control* control = find_control(window, control_id);
    if (control == nullptr || !takes_focus(control->shape.kind) || window.focus == control_id) {
        return;
    }
    window.focus = control_id;
    select_on_focus(*control);
    if (window.shown && is_active(id)) {
        if (auto said = m_label_lines.find({id, control_id}); said != m_label_lines.end()) {
            const std::size_t line = said->second;
            m_label_lines.erase(said);
            m_journal.erase(line);
            for (auto& other : m_label_lines) {
                if (other.second > line) {
                    --other.second;
                }
            }
        }
        if (!respeak_reannounced(id)) {
            m_journal.add(describe_focus(window));
        }
        platform::log_focus(platform::system_files(), window.shape.caption, control_id);
        window.events->on_focus(control_id);
    }
}

int HeadlessUi::focused_control(WindowId id) {
    return window_of(id).focus;
}

void HeadlessUi::focus_next(WindowId id, bool backwards) {
    Window& window = window_of(id);
    if (int next = platform::next_in_tab_order(rule_view(window), window.focus, backwards)) {
        set_focus(id, next);
    }
}

platform::Answer HeadlessUi::message_box(WindowId, std::string_view title, std::string_view text,
                                         platform::MessageButtons buttons) {
    std::string line = "message " + quote(title) + " " + quote(text);
    const ScriptEvent* event = nullptr;
    try {
        event = &next_event();
    } catch (const ScriptEnded&) {
        m_journal.add(line);
        m_ended_in_message_box = true;
        throw;
    }
    platform::Answer answer;
    const bool yes_no = buttons != platform::MessageButtons::Ok;
    const auto letter = event->kind == ScriptEvent::Kind::Key
                            ? platform::answer_to_letter(buttons, event->chord)
                            : std::nullopt;
    if (letter) {
        answer = *letter;
    } else if (event->kind == ScriptEvent::Kind::Answer) {
        answer = event->answer;
        if (yes_no == (answer == platform::Answer::Ok)) {
            throw ScriptError("script line " + std::to_string(event->line) +
                              ": this message box takes " + (yes_no ? "yes or no" : "ok"));
        }
    } else if (event->kind == ScriptEvent::Kind::Key &&
               event->chord == platform::plain(platform::kKeyEnter)) {
        answer = platform::answer_to_enter(buttons);
    } else if (event->kind == ScriptEvent::Kind::Key &&
               event->chord == platform::plain(platform::kKeyEscape)) {
        answer = platform::answer_to_escape(buttons);
    } else {
        m_journal.add(line);
        throw ScriptError("script line " + std::to_string(event->line) + ": the message box " +
                          quote(title) + " is open and waits for an answer");
    }
    static constexpr std::string_view kAnswerNames[] = {"ok", "yes", "no"};
    m_journal.add(line + " " + std::string(kAnswerNames[static_cast<int>(answer)]));
    // The window under the box is active again and is spoken again.
    if (!m_modal.empty() && !window_of(m_modal.back()).closed) {
        reannounce(m_modal.back());
    }
    return answer;
}

void HeadlessUi::start_timer(WindowId id, int milliseconds) {
    Window& window = window_of(id);
    window.timer_ms = std::max(1, milliseconds);
    window.timer_elapsed = 0;
}

void HeadlessUi::stop_timer(WindowId id) {
    window_of(id).timer_ms = 0;
}

void HeadlessUi::post_command(WindowId id, int command) {
    m_posted.emplace_back(id, command);
}

const ScriptEvent& HeadlessUi::next_event() {
    for (;;) {
        if (m_next_event >= m_script.size()) {
            throw ScriptEnded{};
        }
        const ScriptEvent& event = m_script[m_next_event++];
        // The clock and the timer are served here, so they work under any window or box.
        if (event.kind == ScriptEvent::Kind::Clock) {
            m_clock.set(event.time, event.local_offset_minutes);
        } else if (event.kind == ScriptEvent::Kind::Tick) {
            for (int i = 0; i < event.count; ++i) {
                tick();
            }
        } else if (event.kind == ScriptEvent::Kind::Wait) {
            // Real time passes, for work done beside the screens (a call-book lookup).
            for (int i = 0; i < event.count; ++i) {
                std::this_thread::sleep_for(std::chrono::milliseconds(100));
                tick();
            }
        } else {
            return event;
        }
    }
}

void HeadlessUi::dispatch(const ScriptEvent& event) {
    WindowId id = m_modal.back();
    switch (event.kind) {
        case ScriptEvent::Kind::Key:
            press(id, event.chord);
            break;
        case ScriptEvent::Kind::Type:
            type_text(id, event.text);
            break;
        case ScriptEvent::Kind::DoubleClick: {
            Window& window = window_of(id);
            Control* control = find_control(window, window.focus);
            if (control != nullptr && control->shape.kind == ControlKind::List &&
                control->selected >= 0) {
                window.events->on_double_click(control->shape.id);
            }
            break;
        }
        case ScriptEvent::Kind::Answer:
            throw ScriptError("script line " + std::to_string(event.line) +
                              ": an answer was given but no message box is open");
        case ScriptEvent::Kind::Tick:
        case ScriptEvent::Kind::Wait:
        case ScriptEvent::Kind::Clock:
            break;
    }
}

// A key the window's rules decide, done on the window as a desktop toolkit would do it.
void HeadlessUi::press(WindowId id, const platform::KeyChord& chord) {
    Window& window = window_of(id);
    const KeyOutcome outcome =
        platform::key_in_window(window.keys, rule_view(window), window.focus, chord);
    Control* focused = find_control(window, window.focus);
    switch (outcome.kind) {
        case KeyOutcome::Kind::Nothing:
            break;
        case KeyOutcome::Kind::Command:
        case KeyOutcome::Kind::PressButton:
            window.events->on_command(outcome.value);
            break;
        case KeyOutcome::Kind::Focus:
            set_focus(id, outcome.value);
            break;
        case KeyOutcome::Kind::NextBox:
        case KeyOutcome::Kind::PreviousBox:
            focus_next(id, outcome.kind == KeyOutcome::Kind::PreviousBox);
            break;
        case KeyOutcome::Kind::NewLine: {
            int edited = focused->shape.id;
            set_text(id, edited, (focused->all_selected ? "" : focused->text) + "\r\n");
            window.events->on_text_changed(edited);
            break;
        }
        case KeyOutcome::Kind::MoveInList:
            change_selection(
                id, *focused,
                platform::moved_in_list(focused->selected, static_cast<int>(focused->items.size()),
                                        outcome.value));
            break;
        case KeyOutcome::Kind::JumpToLetter:
            type_text(id, std::string(1, static_cast<char>(outcome.value)));
            break;
        case KeyOutcome::Kind::Type:
            type_text(id, outcome.text);
            break;
        case KeyOutcome::Kind::Erase:
            if (!focused->text.empty()) {
                int edited = focused->shape.id;
                // Backspace deletes a selected text whole, or else the last character.
                set_text(
                    id, edited,
                    focused->all_selected ? "" : focused->text.substr(0, focused->text.size() - 1));
                window.events->on_text_changed(edited);
            }
            break;
        case KeyOutcome::Kind::CaretToEnd:
            focused->all_selected = false;
            break;
    }
}

void HeadlessUi::type_text(WindowId id, std::string_view typed) {
    if (typed.empty()) {
        return;
    }
    Window& window = window_of(id);
    Control* control = find_control(window, window.focus);
    if (control == nullptr) {
        return;
    }
    if (control->shape.kind == ControlKind::List || control->shape.kind == ControlKind::DropDown) {
        int index = platform::item_starting_with(control->items, control->selected, typed.back());
        if (index >= 0) {
            change_selection(id, *control, index);
        }
        return;
    }
    if (control->shape.kind != ControlKind::Edit || is_spoken_text(control->shape)) {
        return;
    }
    // A selected text is replaced by what is typed.
    std::string text = control->all_selected ? std::string() : control->text;
    const platform::Typing typing = platform::typed_into(control->shape, text.size(), typed);
    int edited = control->shape.id;
    control->all_selected = false;
    set_text(id, edited, text + typing.accepted);
    if (typing.refused) {
        m_journal.add("beep default");
    }
    window.events->on_text_changed(edited);
}

void HeadlessUi::change_selection(WindowId id, Control& control, int index) {
    if (index == control.selected) {
        return;
    }
    int changed = control.shape.id;
    select_item(id, changed, index);
    window_of(id).events->on_selection_changed(changed);
}

void HeadlessUi::deliver_posted() {
    while (!m_posted.empty()) {
        auto [id, command] = m_posted.front();
        m_posted.pop_front();
        const Window* window = find_window(id);
        if (window != nullptr && !window->closed) {
            window->events->on_command(command);
        }
    }
    event_handled();
}

// The event and the commands it posted have been handled.
void HeadlessUi::event_handled() {
    m_label_lines.clear();
    m_reannounced.reset();
}

// A window active again under a box or window that closed is spoken, its focused control
// last: the line a desktop reader takes when the window regains the focus.
void HeadlessUi::reannounce(WindowId id) {
    announce(id);
    if (find_control(window_of(id), window_of(id).focus) != nullptr) {
        m_reannounced = {id, m_journal.size() - 1};
    }
}

// The reader takes the window in once the event that closed the box over it has been
// handled: a focus move or a new text of the focused box that comes, in that event, before
// anything else is said, is what the window is read with, in place of its older state.
bool HeadlessUi::respeak_reannounced(WindowId id) {
    if (!m_reannounced || m_reannounced->first != id ||
        m_journal.size() != m_reannounced->second + 1) {
        return false;
    }
    m_journal.replace(m_reannounced->second, describe_focus(window_of(id)));
    return true;
}

// One 100 ms tick: the clock moves on and every running window's timer that is due fires,
// as timers keep firing under a box that is modal over their window.
void HeadlessUi::tick() {
    m_clock.advance(100);
    std::vector<WindowId> running = m_modal;
    for (WindowId id : running) {
        auto found = m_windows.find(id);
        if (found == m_windows.end() || found->second.timer_ms == 0) {
            continue;
        }
        Window& window = found->second;
        window.timer_elapsed += 100;
        if (window.timer_elapsed >= window.timer_ms) {
            window.timer_elapsed = 0;
            window.events->on_timer();
        }
    }
    deliver_posted();
}

}  // namespace vl::headless
