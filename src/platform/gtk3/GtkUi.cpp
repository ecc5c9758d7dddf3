// The GTK 3 backend. Windows are GtkWindows with a GtkFixed holding the controls at their
// scaled positions; a modal run is a nested main loop. Texts cross as Windows-1252 and are
// converted to UTF-8 here.
#include "platform/gtk3/GtkUi.h"

#include <gdk/gdkkeysyms.h>
#include <gtk/gtk.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <map>
#include <optional>
#include <vector>

#include "platform/Cp1252.h"
#include "platform/DialogRules.h"
#include "platform/Files.h"
#include "platform/FocusLog.h"
#include "platform/gtk3/GtkSpeech.h"
#include "platform/gtk3/GtkText.h"
#include "platform/gtk3/GtkWindow.h"
#include "platform/gtk3/GtkWrappedText.h"

namespace vl::gtk3 {

using platform::ControlKind;
using platform::EditStyle;
using platform::KeyChord;
using platform::KeyOutcome;

// How long the focus waits for the reader to take in a box refilled just before.
constexpr guint kRefillSettleMs = 150;

// A line break typed in a text view is a bare LF; the program's texts end lines with CR LF.
static std::string with_crlf(std::string_view text) {
    std::string result;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\n' && (i == 0 || text[i - 1] != '\r')) {
            result += '\r';
        }
        result += text[i];
    }
    return result;
}

class GtkUi final : public platform::Ui {
public:
    GtkUi()
        : m_scale(std::max(screen_width() / 640.0, std::min(screen_width() / 640.0 * text_scale(),
                                                            screen_width() / kWidestWindowUnits))) {
    }

    int screen_width() override {
        GdkDisplay* display = gdk_display_get_default();
        GdkMonitor* monitor = display ? gdk_display_get_primary_monitor(display) : nullptr;
        if (monitor == nullptr && display != nullptr) {
            monitor = gdk_display_get_monitor(display, 0);
        }
        if (monitor == nullptr) {
            return 1280;
        }
        GdkRectangle area;
        gdk_monitor_get_geometry(monitor, &area);
        return area.width > 0 ? area.width : 1280;
    }

    WindowId create_window(const platform::WindowSpec& shape,
                           platform::WindowEvents& events) override {
        auto window = std::make_unique<Window>();
        window->ui = this;
        window->id = m_next_id++;
        window->shape = shape;
        window->events = &events;
        window->window = gtk_window_new(GTK_WINDOW_TOPLEVEL);
        std::string name = "vlwin" + std::to_string(window->id);
        gtk_widget_set_name(window->window, name.c_str());
        std::string title = display_text(shape.caption);
        gtk_window_set_default_size(
            GTK_WINDOW(window->window),
            std::max(scaled(shape, shape.width), caption_width(window->window, title)),
            scaled(shape, shape.height));
        gtk_window_set_title(GTK_WINDOW(window->window), title.c_str());
        window->layout = gtk_fixed_new();
        gtk_container_add(GTK_CONTAINER(window->window), window->layout);
        if (Window* owner = find(shape.owner)) {
            gtk_window_set_transient_for(GTK_WINDOW(window->window), GTK_WINDOW(owner->window));
        }
        window->css_text = "#" + name + ", #" + name + " * { font-family: \"" +
                           font_family(shape.font) +
                           "\"; font-size: " + std::to_string(shape.font_points) + "pt; }\n";
        // Boxes as compact as the layout units they were placed in, so rows do not overlap.
        window->css_text += "#" + name + " entry, #" + name +
                            " button { min-height: 0; padding-top: 1px; "
                            "padding-bottom: 1px; }\n";
        window->css_text += "#" + name + " .vl-focus { border-color: @theme_selected_bg_color; " +
                            "box-shadow: inset 0 0 0 1px @theme_selected_bg_color; }\n";
        if (shape.background) {
            window->css_text +=
                "#" + name + " { background-color: " + css_colour(*shape.background) + "; }\n";
        }
        window->css = gtk_css_provider_new();
        gtk_style_context_add_provider_for_screen(gdk_screen_get_default(),
                                                  GTK_STYLE_PROVIDER(window->css),
                                                  GTK_STYLE_PROVIDER_PRIORITY_APPLICATION);
        load_css(*window);
        g_signal_connect(window->window, "key-press-event", G_CALLBACK(on_key_press), window.get());
        g_signal_connect(window->window, "delete-event", G_CALLBACK(on_delete), window.get());
        g_signal_connect_after(window->window, "focus-in-event", G_CALLBACK(on_window_focus_in),
                               window.get());
        WindowId id = window->id;
        m_windows[id] = std::move(window);
        return id;
    }

    void add_control(WindowId id, const platform::ControlSpec& shape) override {
        Window& w = *m_windows.at(id);
        auto control = std::make_unique<Control>();
        control->shape = shape;
        Control& c = *control;
        switch (shape.kind) {
            case ControlKind::Label:
                c.widget = gtk_label_new_with_mnemonic(mnemonic_text(shape.text).c_str());
                gtk_label_set_xalign(GTK_LABEL(c.widget), 0.0f);
                // A label of one line keeps its text on that line and grows to fit it; a
                // taller one wraps within its width.
                gtk_label_set_line_wrap(GTK_LABEL(c.widget), shape.height > kOneLineUnits);
                break;
            case ControlKind::Edit:
                make_edit(w, c);
                break;
            case ControlKind::List: {
                c.store = gtk_list_store_new(1, G_TYPE_STRING);
                c.widget = gtk_tree_view_new_with_model(GTK_TREE_MODEL(c.store));
                g_object_unref(c.store);
                gtk_tree_view_set_headers_visible(GTK_TREE_VIEW(c.widget), FALSE);
                // A list of one column is a list to the screen reader, not a table of rows
                // and columns.
                atk_object_set_role(gtk_widget_get_accessible(c.widget), ATK_ROLE_LIST);
                gtk_tree_view_set_enable_search(GTK_TREE_VIEW(c.widget), FALSE);
                gtk_tree_view_append_column(
                    GTK_TREE_VIEW(c.widget),
                    gtk_tree_view_column_new_with_attributes("", gtk_cell_renderer_text_new(),
                                                             "text", 0, nullptr));
                c.outer = gtk_scrolled_window_new(nullptr, nullptr);
                // The list is as wide as its longest entry, so none is cut.
                gtk_scrolled_window_set_policy(GTK_SCROLLED_WINDOW(c.outer), GTK_POLICY_NEVER,
                                               GTK_POLICY_AUTOMATIC);
                gtk_container_add(GTK_CONTAINER(c.outer), c.widget);
                GtkTreeSelection* selection = gtk_tree_view_get_selection(GTK_TREE_VIEW(c.widget));
                g_signal_connect(selection, "changed", G_CALLBACK(on_selection), &w);
                g_signal_connect(c.widget, "row-activated", G_CALLBACK(on_row_activated), &w);
                break;
            }
            case ControlKind::DropDown:
                c.widget = gtk_combo_box_text_new();
                g_signal_connect(c.widget, "changed", G_CALLBACK(on_combo_changed), &w);
                break;
            case ControlKind::Button:
                c.widget = gtk_button_new_with_mnemonic(mnemonic_text(shape.text).c_str());
                g_signal_connect(c.widget, "clicked", G_CALLBACK(on_clicked), &w);
                break;
        }
        if (c.outer == nullptr) {
            c.outer = c.widget;
        }
        g_object_set_data(G_OBJECT(c.widget), "vl-control", GINT_TO_POINTER(shape.id));
        std::string name = "vlwin" + std::to_string(id) + "-c" + std::to_string(shape.id);
        gtk_widget_set_name(c.widget, name.c_str());
        if (shape.text_colour || shape.background) {
            std::string selector = "#" + name + ", #" + name + " * ";
            w.css_text += selector + "{ ";
            if (shape.text_colour) {
                w.css_text += "color: " + css_colour(*shape.text_colour) + "; ";
            }
            if (shape.background) {
                w.css_text += "background-color: " + css_colour(*shape.background) + "; ";
            }
            w.css_text += "}\n";
            // The selected entry shows in the two colours swapped, so it stays plain to see.
            if (shape.text_colour && shape.background) {
                w.css_text += "#" + name + ":selected { color: " + css_colour(*shape.background) +
                              "; background-color: " + css_colour(*shape.text_colour) + "; }\n";
            }
            load_css(w);
        }
        // A drop-down's layout height counts the list it drops; closed, it is one line high,
        // and as tall it would share a row with every box beside its list.
        c.layout_width = scaled(w.shape, shape.width);
        c.layout_height = scaled(w.shape, shape.height);
        gtk_widget_set_size_request(c.outer, c.layout_width,
                                    shape.kind == ControlKind::DropDown ? -1 : c.layout_height);
        gtk_fixed_put(GTK_FIXED(w.layout), c.outer, scaled(w.shape, shape.x),
                      scaled(w.shape, shape.y));
        if (shape.kind == ControlKind::Label) {
            w.pending_label = c.widget;
            w.pending_label_text = without_ampersand(shape.text);
        } else {
            tie_label(w, c);
            g_signal_connect(c.widget, "focus-in-event", G_CALLBACK(on_focus_in), &w);
        }
        if (gtk_widget_get_visible(w.window)) {
            gtk_widget_show_all(c.outer);
        }
        w.controls.push_back(std::move(control));
    }

    void remove_control(WindowId id, int control_id) override {
        Window& w = *m_windows.at(id);
        for (auto it = w.controls.begin(); it != w.controls.end(); ++it) {
            if ((*it)->shape.id == control_id) {
                gtk_widget_destroy((*it)->outer);
                w.controls.erase(it);
                break;
            }
        }
        if (w.focus == control_id) {
            w.focus = 0;
        }
    }

    void set_key_table(WindowId id, platform::KeyTable table) override {
        m_windows.at(id)->keys = std::move(table);
    }

    int run_modal(WindowId id) override {
        Window& w = *m_windows.at(id);
        if (Window* owner = find(w.shape.owner)) {
            gtk_window_set_modal(GTK_WINDOW(w.window), TRUE);
            (void)owner;
        }
        announce_labels_when_nothing_takes_focus(w);
        // As on a desktop dialog, a window whose screen chose no focus opens on its first
        // box, and the screen hears of it before the window shows.
        if (find_control(w, w.focus) == nullptr) {
            if (int first = platform::next_in_tab_order(rule_view(w, false), 0, false)) {
                w.focus = first;
                platform::log_focus(platform::system_files(), w.shape.caption, first);
                w.events->on_focus(first);
            }
        }
        gtk_widget_show_all(w.window);
        fit_layout_to_text(w, screen_width());  // sizes are known once the widgets are shown
        mark_focus_moved(w);
        gtk_window_present(GTK_WINDOW(w.window));
        if (Control* c = find_control(w, w.focus)) {
            gtk_widget_grab_focus(c->widget);
        }
        w.loop = g_main_loop_new(nullptr, FALSE);
        if (!w.closed) {
            g_main_loop_run(w.loop);
        }
        g_main_loop_unref(w.loop);
        w.loop = nullptr;
        int result = w.result;
        destroy(id);
        return result;
    }

    void close_window(WindowId id, int result) override {
        Window& w = *m_windows.at(id);
        w.closed = true;
        w.result = result;
        stop_timer(id);
        if (w.loop != nullptr) {
            g_main_loop_quit(w.loop);
        }
    }

    void set_caption(WindowId id, std::string_view caption) override {
        Window& w = *m_windows.at(id);
        w.shape.caption = caption;
        gtk_window_set_title(GTK_WINDOW(w.window), display_text(caption).c_str());
    }

    void set_text(WindowId id, int control_id, std::string_view text) override {
        Window& w = *m_windows.at(id);
        Control* c = find_control(w, control_id);
        if (c == nullptr || this->text(id, control_id) == text) {
            return;
        }
        Quiet quiet(*this);
        std::string utf8 = display_text(text);
        // What the reader hears of the change: the focused box speaks its new text; a label
        // or read-only box elsewhere is announced, as the key-script journal records them.
        bool shown = gtk_widget_get_visible(w.window) && !w.closed;
        bool focused = shown && w.focus == control_id;
        switch (c->shape.kind) {
            case ControlKind::Label: {
                gtk_label_set_text_with_mnemonic(GTK_LABEL(c->widget), mnemonic_text(text).c_str());
                // The box this label names is spoken with the new text too. The focused box
                // takes it when the focus next comes to it: Orca speaks a new name of the
                // focused box only now and then, and the label is announced anyway.
                Control* named = nullptr;
                if (GtkWidget* box = gtk_label_get_mnemonic_widget(GTK_LABEL(c->widget))) {
                    named = control_of(w, box);
                    std::string name = display_text(without_ampersand(text));
                    if (named != nullptr && shown && w.focus == named->shape.id) {
                        named->pending_name = name;
                    } else {
                        atk_object_set_name(gtk_widget_get_accessible(box), name.c_str());
                    }
                }
                if (shown) {
                    GtkWidget* note = announce(w.layout, display_text(without_ampersand(text)));
                    // A box whose label changes and which takes the focus in the same event
                    // is read with its new label: the label is not said a second time.
                    if (note != nullptr && named != nullptr) {
                        w.announced[named->shape.id] = note;
                        mark_event(w);
                    }
                }
                break;
            }
            case ControlKind::Edit:
                if (set_edit_text(w, *c, utf8, shown, focused) || !w.refilled_boxes.empty()) {
                    mark_event(w);
                }
                fit_box_to_text(w, *c, screen_width());
                break;
            case ControlKind::Button:
                gtk_button_set_label(GTK_BUTTON(c->widget), mnemonic_text(text).c_str());
                break;
            default:
                break;
        }
    }

    std::string text(WindowId id, int control_id) override {
        Window& w = *m_windows.at(id);
        Control* c = find_control(w, control_id);
        if (c == nullptr) {
            return {};
        }
        switch (c->shape.kind) {
            case ControlKind::Label:
                return platform::cp1252_from_utf8(gtk_label_get_text(GTK_LABEL(c->widget)));
            case ControlKind::Edit: {
                if (GTK_IS_TEXT_VIEW(c->widget)) {
                    GtkTextBuffer* buffer = gtk_text_view_get_buffer(GTK_TEXT_VIEW(c->widget));
                    GtkTextIter start, end;
                    gtk_text_buffer_get_bounds(buffer, &start, &end);
                    gchar* all = gtk_text_buffer_get_text(buffer, &start, &end, FALSE);
                    std::string result = platform::cp1252_from_utf8(all);
                    g_free(all);
                    if (c->shape.style == EditStyle::MultiLine) {
                        result = with_crlf(result);  // lines end as in the program's files
                    }
                    return result;
                }
                return platform::cp1252_from_utf8(gtk_entry_get_text(GTK_ENTRY(c->widget)));
            }
            case ControlKind::List:
            case ControlKind::DropDown: {
                int index = selected_item(id, control_id);
                return index >= 0 ? c->items[index] : std::string();
            }
            case ControlKind::Button:
                return without_ampersand(c->shape.text);
        }
        return {};
    }

    void set_items(WindowId id, int control_id, const std::vector<std::string>& items) override {
        Control* c = find_control(*m_windows.at(id), control_id);
        if (c == nullptr) {
            return;
        }
        Quiet quiet(*this);
        c->items = items;
        if (c->shape.kind == ControlKind::List) {
            gtk_list_store_clear(c->store);
            for (const std::string& item : items) {
                GtkTreeIter row;
                gtk_list_store_append(c->store, &row);
                gtk_list_store_set(c->store, &row, 0, display_text(item).c_str(), -1);
            }
        } else if (c->shape.kind == ControlKind::DropDown) {
            gtk_combo_box_text_remove_all(GTK_COMBO_BOX_TEXT(c->widget));
            for (const std::string& item : items) {
                gtk_combo_box_text_append_text(GTK_COMBO_BOX_TEXT(c->widget),
                                               display_text(item).c_str());
            }
        }
    }

    int item_count(WindowId id, int control_id) override {
        Control* c = find_control(*m_windows.at(id), control_id);
        return c ? static_cast<int>(c->items.size()) : 0;
    }

    void select_item(WindowId id, int control_id, int index) override {
        Control* c = find_control(*m_windows.at(id), control_id);
        if (c == nullptr || index < -1 || index >= static_cast<int>(c->items.size())) {
            return;
        }
        Quiet quiet(*this);
        if (c->shape.kind == ControlKind::List) {
            GtkTreeView* view = GTK_TREE_VIEW(c->widget);
            GtkTreeSelection* selection = gtk_tree_view_get_selection(view);
            if (index < 0) {
                gtk_tree_selection_unselect_all(selection);
                return;
            }
            GtkTreePath* path = gtk_tree_path_new_from_indices(index, -1);
            // Moving the cursor selects the row and is what the screen reader follows.
            gtk_tree_view_set_cursor(view, path, nullptr, FALSE);
            gtk_tree_view_scroll_to_cell(view, path, nullptr, FALSE, 0, 0);
            gtk_tree_path_free(path);
        } else if (c->shape.kind == ControlKind::DropDown) {
            gtk_combo_box_set_active(GTK_COMBO_BOX(c->widget), index);
        }
    }

    int selected_item(WindowId id, int control_id) override {
        Control* c = find_control(*m_windows.at(id), control_id);
        if (c == nullptr) {
            return -1;
        }
        if (c->shape.kind == ControlKind::DropDown) {
            return gtk_combo_box_get_active(GTK_COMBO_BOX(c->widget));
        }
        if (c->shape.kind != ControlKind::List) {
            return -1;
        }
        GtkTreeModel* model = nullptr;
        GtkTreeIter row;
        if (!gtk_tree_selection_get_selected(gtk_tree_view_get_selection(GTK_TREE_VIEW(c->widget)),
                                             &model, &row)) {
            return -1;
        }
        GtkTreePath* path = gtk_tree_model_get_path(model, &row);
        int index = gtk_tree_path_get_indices(path)[0];
        gtk_tree_path_free(path);
        return index;
    }

    void set_focus(WindowId id, int control_id) override {
        Window& w = *m_windows.at(id);
        Control* c = find_control(w, control_id);
        if (c == nullptr || !platform::takes_focus(c->shape.kind)) {
            return;
        }
        if (w.focus == control_id) {
            return;
        }
        // The focus is recorded before GTK moves it, so the screen is told here, once, as
        // the key-script backend tells it; on_focus_in then finds nothing new.
        w.focus = control_id;
        if (gtk_widget_get_visible(w.window) && !w.closed) {
            mark_focus_moved(w);
            // A box announced and then given the focus in one event is spoken once, with
            // the focus: the announcement goes before the reader has read it.
            if (auto found = w.announced.find(control_id); found != w.announced.end()) {
                gtk_widget_destroy(found->second);
                w.announced.erase(found);
            }
            unselect_before_focus(w, *c);
            take_pending_name(*c);
            // A box refilled and then given the focus in one event: the reader must have taken
            // in the refill before the focus arrives, or it follows the box's caret there
            // without saying its label.
            if (w.refilled_boxes.count(control_id) != 0) {
                g_timeout_add(kRefillSettleMs, on_refilled_box_focus,
                              new Posted{this, w.id, control_id});
            } else {
                gtk_widget_grab_focus(c->widget);
            }
            platform::log_focus(platform::system_files(), w.shape.caption, control_id);
            w.events->on_focus(control_id);
        }
    }

    int focused_control(WindowId id) override { return m_windows.at(id)->focus; }

    void focus_next(WindowId id, bool backwards) override {
        Window& w = *m_windows.at(id);
        if (int next = platform::next_in_tab_order(rule_view(w, true), w.focus, backwards)) {
            set_focus(id, next);
        }
    }

    platform::Answer message_box(WindowId owner, std::string_view title, std::string_view text,
                                 platform::MessageButtons buttons) override {
        Window* parent = find(owner != platform::kNoWindow ? owner : top());
        const bool yes_no = buttons != platform::MessageButtons::Ok;
        const platform::Answer on_enter = platform::answer_to_enter(buttons);
        const bool default_no = on_enter == platform::Answer::No;
        GtkWidget* dialog = gtk_message_dialog_new(
            parent ? GTK_WINDOW(parent->window) : nullptr, GTK_DIALOG_MODAL,
            yes_no ? GTK_MESSAGE_QUESTION : GTK_MESSAGE_INFO,
            yes_no ? GTK_BUTTONS_YES_NO : GTK_BUTTONS_OK, "%s", display_text(text).c_str());
        gtk_window_set_title(GTK_WINDOW(dialog), display_text(title).c_str());
        // The title is spoken with the box: an empty message still names the problem.
        AtkObject* accessible = gtk_widget_get_accessible(dialog);
        atk_object_set_name(accessible, display_text(title).c_str());
        gtk_window_set_keep_above(GTK_WINDOW(dialog), TRUE);
        // Enter answers with the first button, Yes or OK, as on Windows, except on a question
        // whose Yes destroys something: there Enter answers No and No has the focus.
        gtk_dialog_set_default_response(GTK_DIALOG(dialog), response_of(on_enter));
        if (default_no) {
            if (GtkWidget* no =
                    gtk_dialog_get_widget_for_response(GTK_DIALOG(dialog), GTK_RESPONSE_NO)) {
                gtk_widget_grab_focus(no);
            }
        }
        if (yes_no) {
            g_signal_connect(dialog, "key-press-event", G_CALLBACK(on_yes_no_letter),
                             GINT_TO_POINTER(static_cast<int>(buttons)));
        }
        int response = gtk_dialog_run(GTK_DIALOG(dialog));
        gtk_widget_destroy(dialog);
        // The focus goes back to the window, and the reader speaks its focused box whole
        // then, with whatever text the answer puts there: not a second time as it changes.
        if (parent != nullptr && !parent->closed) {
            mark_focus_moved(*parent);
        }
        if (!yes_no) {
            return platform::Answer::Ok;
        }
        return response == GTK_RESPONSE_YES ? platform::Answer::Yes : platform::Answer::No;
    }

    static GtkResponseType response_of(platform::Answer answer) {
        switch (answer) {
            case platform::Answer::Yes:
                return GTK_RESPONSE_YES;
            case platform::Answer::No:
                return GTK_RESPONSE_NO;
            case platform::Answer::Ok:
                break;
        }
        return GTK_RESPONSE_OK;
    }

    void start_timer(WindowId id, int milliseconds) override {
        stop_timer(id);
        Window& w = *m_windows.at(id);
        w.timer = g_timeout_add(static_cast<guint>(std::max(1, milliseconds)), on_timer, &w);
    }

    void stop_timer(WindowId id) override {
        Window& w = *m_windows.at(id);
        if (w.timer != 0) {
            g_source_remove(w.timer);
            w.timer = 0;
        }
    }

    void post_command(WindowId id, int command) override {
        g_idle_add(on_posted, new Posted{this, id, command});
    }

private:
    // Programmatic changes raise GTK's change signals too; the screens hear only the
    // operator's own.
    struct Quiet {
        explicit Quiet(GtkUi& ui) : m_ui(ui) { ++m_ui.m_quiet; }
        ~Quiet() { --m_ui.m_quiet; }
        GtkUi& m_ui;
    };

    int scaled(const platform::WindowSpec& shape, int units) const {
        return shape.scaled ? static_cast<int>(units * m_scale) : units;
    }

    Window* find(WindowId id) {
        auto found = m_windows.find(id);
        return found == m_windows.end() ? nullptr : found->second.get();
    }

    WindowId top() const {
        return m_windows.empty() ? platform::kNoWindow : m_windows.rbegin()->first;
    }

    void load_css(Window& w) {
        gtk_css_provider_load_from_data(w.css, w.css_text.c_str(), -1, nullptr);
    }

    void make_edit(Window& w, Control& c) {
        if (c.shape.style == EditStyle::ReadOnlyMultiLine ||
            c.shape.style == EditStyle::MultiLine) {
            c.widget = gtk_text_view_new();
            gtk_text_view_set_editable(GTK_TEXT_VIEW(c.widget),
                                       c.shape.style == EditStyle::MultiLine);
            // Tab moves to the next box, as in every other box.
            gtk_text_view_set_accepts_tab(GTK_TEXT_VIEW(c.widget), FALSE);
            gtk_text_view_set_wrap_mode(GTK_TEXT_VIEW(c.widget), GTK_WRAP_WORD);
            gtk_text_view_set_cursor_visible(GTK_TEXT_VIEW(c.widget), TRUE);
            GtkTextBuffer* buffer = gtk_text_view_get_buffer(GTK_TEXT_VIEW(c.widget));
            gtk_text_buffer_set_text(buffer, display_text(c.shape.text).c_str(), -1);
            // The text is read from its first line: Down then reads it line by line.
            GtkTextIter start;
            gtk_text_buffer_get_start_iter(buffer, &start);
            gtk_text_buffer_place_cursor(buffer, &start);
            c.outer = gtk_scrolled_window_new(nullptr, nullptr);
            gtk_scrolled_window_set_policy(GTK_SCROLLED_WINDOW(c.outer), GTK_POLICY_NEVER,
                                           GTK_POLICY_ALWAYS);
            gtk_container_add(GTK_CONTAINER(c.outer), c.widget);
            return;
        }
        // A read-only box of one line wraps a text longer than the screen allows onto
        // further lines, and is still read as one line.
        if (c.shape.style == EditStyle::ReadOnly) {
            c.widget = wrapped_text_new();
            gtk_text_view_set_left_margin(GTK_TEXT_VIEW(c.widget), kWrappedMargin);
            gtk_text_view_set_right_margin(GTK_TEXT_VIEW(c.widget), kWrappedMargin);
            gtk_text_view_set_top_margin(GTK_TEXT_VIEW(c.widget), 1);
            gtk_text_view_set_bottom_margin(GTK_TEXT_VIEW(c.widget), 1);
            GtkTextBuffer* buffer = gtk_text_view_get_buffer(GTK_TEXT_VIEW(c.widget));
            gtk_text_buffer_set_text(buffer, display_text(c.shape.text).c_str(), -1);
            GtkTextIter start;
            gtk_text_buffer_get_start_iter(buffer, &start);
            gtk_text_buffer_place_cursor(buffer, &start);
            // The box's size is the layout's to set (GtkLayout.cpp: its text's lines), not
            // the scroller's: the text view's own idea of its height lags behind its width.
            c.outer = gtk_scrolled_window_new(nullptr, nullptr);
            gtk_scrolled_window_set_shadow_type(GTK_SCROLLED_WINDOW(c.outer), GTK_SHADOW_IN);
            gtk_scrolled_window_set_policy(GTK_SCROLLED_WINDOW(c.outer), GTK_POLICY_EXTERNAL,
                                           GTK_POLICY_EXTERNAL);
            gtk_container_add(GTK_CONTAINER(c.outer), c.widget);
            // Its frame shows the focus as an entry's does: the caret alone is hard to find.
            g_signal_connect(c.widget, "focus-in-event", G_CALLBACK(show_focus), nullptr);
            g_signal_connect(c.widget, "focus-out-event", G_CALLBACK(show_focus), nullptr);
            return;
        }
        c.widget = gtk_entry_new();
        gtk_entry_set_text(GTK_ENTRY(c.widget), display_text(c.shape.text).c_str());
        // The caret of a box the operator types in waits at the end, where the focus puts
        // it; moved as the focus arrives, the reader would speak the text without its label.
        gtk_editable_set_position(GTK_EDITABLE(c.widget), -1);
        // A box is never narrower than its longest text in the window's font (GTK gives a
        // box at least the width its characters need), nor than its layout width.
        // Its length limit is held for typing only (on_insert_text): GTK's own limit would
        // also cut text the program puts in, such as a call-book answer.
        gtk_entry_set_width_chars(GTK_ENTRY(c.widget), std::max(1, c.shape.max_length));
        // A password box shows marks; its accessible role makes the reader say them too.
        if (c.shape.style == EditStyle::Password) {
            gtk_entry_set_visibility(GTK_ENTRY(c.widget), FALSE);
        }
        g_signal_connect(c.widget, "insert-text", G_CALLBACK(on_insert_text), &w);
        g_signal_connect(c.widget, "changed", G_CALLBACK(on_edit_changed), &w);
    }

    static gboolean show_focus(GtkWidget* widget, GdkEventFocus* event, gpointer) {
        GtkStyleContext* frame = gtk_widget_get_style_context(gtk_widget_get_parent(widget));
        if (event->in) {
            gtk_style_context_add_class(frame, "vl-focus");
        } else {
            gtk_style_context_remove_class(frame, "vl-focus");
        }
        return FALSE;
    }

    // The label created just before a box names it: both as the AT-SPI relation and as
    // the box's own accessible name, which some readers need.
    static void tie_label(Window& w, Control& c) {
        if (w.pending_label == nullptr) {
            return;
        }
        gtk_label_set_mnemonic_widget(GTK_LABEL(w.pending_label), c.widget);
        atk_object_set_name(gtk_widget_get_accessible(c.widget),
                            display_text(w.pending_label_text).c_str());
        w.pending_label = nullptr;
    }

    void destroy(WindowId id) {
        Window* w = find(id);
        if (w == nullptr) {
            return;
        }
        stop_timer(id);
        gtk_style_context_remove_provider_for_screen(gdk_screen_get_default(),
                                                     GTK_STYLE_PROVIDER(w->css));
        g_object_unref(w->css);
        gtk_widget_destroy(w->window);
        m_windows.erase(id);
        // The owner gets its focus back, as the screen left it.
        if (Window* owner = find(top())) {
            gtk_window_present(GTK_WINDOW(owner->window));
            if (Control* c = find_control(*owner, owner->focus)) {
                take_pending_name(*c);
                gtk_widget_grab_focus(c->widget);
            }
        }
    }

    // The window as the dialog rules see it; Tab passes over a disabled box.
    static std::vector<platform::DialogControl> rule_view(Window& w, bool only_enabled) {
        std::vector<platform::DialogControl> view;
        const platform::ControlSpec* previous = nullptr;
        for (const auto& c : w.controls) {
            view.push_back({c->shape.id, c->shape.kind, c->shape.style, c->shape.text,
                            platform::naming_label(previous, c->shape),
                            !only_enabled || gtk_widget_get_sensitive(c->widget)});
            previous = &c->shape;
        }
        return view;
    }

    // The rules decide what a key does; what GTK does by itself for a box, a list or a
    // button (typing, arrows, Space, Alt letters, lines) is left to GTK.
    static gboolean on_key_press(GtkWidget*, GdkEventKey* event, Window* w) {
        auto key = key_of(event->keyval);
        if (!key || w->closed) {
            return FALSE;
        }
        KeyChord chord;
        chord.key = *key;
        chord.ctrl = (event->state & GDK_CONTROL_MASK) != 0;
        chord.alt = (event->state & GDK_MOD1_MASK) != 0;
        chord.shift = (event->state & GDK_SHIFT_MASK) != 0 || event->keyval == GDK_KEY_ISO_Left_Tab;
        const KeyOutcome outcome =
            platform::key_in_window(w->keys, rule_view(*w, false), w->focus, chord);
        switch (outcome.kind) {
            case KeyOutcome::Kind::Command:
                w->events->on_command(outcome.value);
                return TRUE;
            case KeyOutcome::Kind::PressButton:
                // Enter on a button presses it, as on a Windows dialog.
                if (chord == platform::plain(platform::kKeyEnter)) {
                    w->events->on_command(outcome.value);
                    return TRUE;
                }
                return FALSE;
            case KeyOutcome::Kind::NextBox:
            case KeyOutcome::Kind::PreviousBox:
                w->ui->focus_next(w->id, outcome.kind == KeyOutcome::Kind::PreviousBox);
                return TRUE;
            case KeyOutcome::Kind::JumpToLetter:
                w->ui->jump_to_letter(*w, static_cast<char>(outcome.value));
                return TRUE;
            default:
                return FALSE;
        }
    }

    void jump_to_letter(Window& w, char letter) {
        Control* c = find_control(w, w.focus);
        int selected = selected_item(w.id, c->shape.id);
        int index = platform::item_starting_with(c->items, selected, letter);
        if (index >= 0 && index != selected) {
            select_item(w.id, c->shape.id, index);
            w.events->on_selection_changed(c->shape.id);
        }
    }

    static gboolean on_delete(GtkWidget*, GdkEvent*, Window* w) {
        // Closing the window from the desktop is leaving it with Escape.
        w->events->on_command(platform::kCmdCancel);
        return TRUE;
    }

    static gboolean on_focus_in(GtkWidget* widget, GdkEvent*, Window* w) {
        if (Control* c = control_of(*w, widget)) {
            take_pending_name(*c);
            if (w->focus != c->shape.id) {
                w->focus = c->shape.id;
                platform::log_focus(platform::system_files(), w->shape.caption, c->shape.id);
                w->events->on_focus(c->shape.id);
            }
        }
        return FALSE;
    }

    static void on_insert_text(GtkEditable* editable, gchar* text, gint length, gint* position,
                               Window* w) {
        Control* c = control_of(*w, GTK_WIDGET(editable));
        if (c == nullptr) {
            return;
        }
        // Typed text goes through Windows-1252, so a character outside it becomes "?" and a
        // fixed-width field keeps its width; upper-case boxes fold letters.
        // The program's own text (m_quiet) is not cut by the length limit.
        std::optional<std::size_t> held;
        if (w->ui->m_quiet == 0) {
            held = gtk_entry_get_text_length(GTK_ENTRY(editable));
        }
        const platform::Typing typing =
            platform::typed_into(c->shape, held,
                                 platform::cp1252_from_utf8(std::string_view(
                                     text, length < 0 ? std::strlen(text) : length)));
        if (typing.refused) {
            gtk_widget_error_bell(GTK_WIDGET(editable));
        }
        std::string utf8 = platform::utf8_from_cp1252(typing.accepted);
        if (utf8 == std::string_view(text, length < 0 ? std::strlen(text) : length)) {
            return;
        }
        g_signal_stop_emission_by_name(editable, "insert-text");
        if (utf8.empty()) {
            return;
        }
        g_signal_handlers_block_by_func(editable, reinterpret_cast<gpointer>(on_insert_text), w);
        gtk_editable_insert_text(editable, utf8.c_str(), static_cast<gint>(utf8.size()), position);
        g_signal_handlers_unblock_by_func(editable, reinterpret_cast<gpointer>(on_insert_text), w);
    }

    // Y and N answer a Yes/No box without Alt, as they do on Windows; with Alt they are
    // GTK's own letters of its buttons.
    static gboolean on_yes_no_letter(GtkWidget* dialog, GdkEventKey* event, gpointer buttons) {
        auto key = key_of(event->keyval);
        if (!key || (event->state & (GDK_CONTROL_MASK | GDK_MOD1_MASK)) != 0) {
            return FALSE;
        }
        auto answer = platform::answer_to_letter(
            static_cast<platform::MessageButtons>(GPOINTER_TO_INT(buttons)), platform::plain(*key));
        if (!answer) {
            return FALSE;
        }
        gtk_dialog_response(GTK_DIALOG(dialog), response_of(*answer));
        return TRUE;
    }

    static void on_edit_changed(GtkEditable* editable, Window* w) {
        Control* c = control_of(*w, GTK_WIDGET(editable));
        if (c != nullptr && w->ui->m_quiet == 0) {
            w->events->on_text_changed(c->shape.id);
        }
    }

    static void on_selection(GtkTreeSelection* selection, Window* w) {
        if (w->ui->m_quiet != 0) {
            return;
        }
        GtkTreeView* view = gtk_tree_selection_get_tree_view(selection);
        if (Control* c = control_of(*w, GTK_WIDGET(view))) {
            w->events->on_selection_changed(c->shape.id);
        }
    }

    static void on_combo_changed(GtkComboBox* combo, Window* w) {
        if (w->ui->m_quiet != 0) {
            return;
        }
        if (Control* c = control_of(*w, GTK_WIDGET(combo))) {
            w->events->on_selection_changed(c->shape.id);
        }
    }

    static void on_row_activated(GtkTreeView* view, GtkTreePath*, GtkTreeViewColumn*, Window* w) {
        if (Control* c = control_of(*w, GTK_WIDGET(view))) {
            w->events->on_double_click(c->shape.id);
        }
    }

    static void on_clicked(GtkButton* button, Window* w) {
        if (Control* c = control_of(*w, GTK_WIDGET(button))) {
            w->events->on_command(c->shape.id);
        }
    }

    static gboolean on_timer(gpointer data) {
        auto* w = static_cast<Window*>(data);
        w->events->on_timer();
        return G_SOURCE_CONTINUE;
    }

    void mark_focus_moved(Window& w) {
        w.focus_moved = true;
        mark_event(w);
    }

    // What is noted about the event being handled is forgotten once it has been handled.
    void mark_event(Window& w) {
        if (!w.event_marked) {
            w.event_marked = true;
            g_idle_add(on_event_handled, new Posted{this, w.id, 0});
        }
    }

    static gboolean on_event_handled(gpointer data) {
        std::unique_ptr<Posted> posted(static_cast<Posted*>(data));
        if (Window* w = posted->ui->find(posted->window)) {
            w->focus_moved = false;
            w->event_marked = false;
            w->refilled_boxes.clear();
            w->announced.clear();
        }
        return G_SOURCE_REMOVE;
    }

    static gboolean on_refilled_box_focus(gpointer data) {
        std::unique_ptr<Posted> posted(static_cast<Posted*>(data));
        Window* w = posted->ui->find(posted->window);
        if (w != nullptr && !w->closed && w->focus == posted->command) {
            if (Control* c = find_control(*w, posted->command)) {
                gtk_widget_grab_focus(c->widget);
            }
        }
        return G_SOURCE_REMOVE;
    }

    static gboolean on_posted(gpointer data) {
        std::unique_ptr<Posted> posted(static_cast<Posted*>(data));
        if (Window* w = posted->ui->find(posted->window); w != nullptr && !w->closed) {
            w->events->on_command(posted->command);
        }
        return G_SOURCE_REMOVE;
    }

    double m_scale;
    std::map<WindowId, std::unique_ptr<Window>> m_windows;
    WindowId m_next_id = 1;
    int m_quiet = 0;
};

bool initialise_gtk(int* argc, char*** argv) {
    if (!gtk_init_check(argc, argv)) {
        std::fprintf(stderr,
                     "varrowlog: no display could be opened; start it from a desktop session\n");
        return false;
    }
    mend_entry_runs();
    return true;
}

std::unique_ptr<platform::Ui> make_gtk_ui() {
    return std::make_unique<GtkUi>();
}

}  // namespace vl::gtk3
