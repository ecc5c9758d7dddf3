// The GTK backend's windows and controls as it keeps them, shared by its parts: the
// backend itself, its speech and its layout.
#pragma once

#include <gtk/gtk.h>

#include <map>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "platform/Ui.h"

namespace vl::gtk3 {

using platform::WindowId;

class GtkUi;

constexpr int kOneLineUnits = 14;             // layout height of a control one line high
constexpr double kWidestWindowUnits = 400.0;  // Browse Log's window, with its frame
constexpr int kWrappedMargin = 4;             // pixels between a wrapped box's frame and text

struct Control {
    platform::ControlSpec shape;
    GtkWidget* widget = nullptr;  // the widget that takes the focus and holds the text
    GtkWidget* outer = nullptr;   // what sits in the layout (a scroller round some widgets)
    GtkListStore* store = nullptr;
    std::vector<std::string> items;
    std::optional<std::string> pending_name;  // its label's new text, for the next focus
    int layout_width = 0;                     // pixels the layout gave it
    int layout_height = 0;
    int grown = 0;  // pixels a wrapped box or a list has grown below its layout height
};

struct Window {
    GtkUi* ui = nullptr;
    WindowId id = 0;
    platform::WindowSpec shape;
    platform::WindowEvents* events = nullptr;
    GtkWidget* window = nullptr;
    GtkWidget* layout = nullptr;
    GtkCssProvider* css = nullptr;
    std::string css_text;
    std::vector<std::unique_ptr<Control>> controls;
    platform::KeyTable keys;
    GtkWidget* pending_label = nullptr;  // tied to the next control created
    std::string pending_label_text;
    int focus = 0;
    bool focus_moved = false;  // in the event being handled: the reader has yet to speak it
    bool event_marked = false;
    int selected_box = 0;          // a read-only box whose text was selected to be spoken
    std::set<int> refilled_boxes;  // edit boxes refilled in the event being handled, unfocused
    std::vector<std::string> lines_to_announce;  // when the window becomes active
    std::map<int, GtkWidget*> announced;         // boxes announced in the event being handled
    bool closed = false;
    int result = 0;
    GMainLoop* loop = nullptr;
    guint timer = 0;
};

struct Posted {
    GtkUi* ui;
    WindowId window;
    int command;
};

inline Control* find_control(Window& w, int id) {
    for (auto& c : w.controls) {
        if (c->shape.id == id) {
            return c.get();
        }
    }
    return nullptr;
}

inline Control* control_of(Window& w, GtkWidget* widget) {
    return find_control(w, GPOINTER_TO_INT(g_object_get_data(G_OBJECT(widget), "vl-control")));
}

// The desktop's text scaling, 1.0 to 2.0.
double text_scale();

// The width a window needs for its caption to show whole in the title bar.
int caption_width(GtkWidget* window, const std::string& utf8);

// Makes room on each row for labels and boxes wider than the layout left them, and breaks
// rows wider than the screen onto further lines (GtkLayout.cpp).
void fit_layout_to_text(Window& w, int screen_width);

// Widens a box the program has filled to show its whole text, as far as the screen allows,
// and makes room for it on its row.
void fit_box_to_text(Window& w, Control& c, int screen_width);

}  // namespace vl::gtk3
