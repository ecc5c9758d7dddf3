// Layout for low vision: the text scaling the desktop asks for, and room for labels and
// boxes the chosen font makes wider than the layout allowed.
#include <algorithm>
#include <vector>

#include "platform/gtk3/GtkWindow.h"
#include "platform/gtk3/GtkWrappedText.h"

namespace vl::gtk3 {

namespace {

int x_of(Window& w, Control& c) {
    int x = 0;
    gtk_container_child_get(GTK_CONTAINER(w.layout), c.outer, "x", &x, nullptr);
    return x;
}

int y_of(Window& w, Control& c) {
    int y = 0;
    gtk_container_child_get(GTK_CONTAINER(w.layout), c.outer, "y", &y, nullptr);
    return y;
}

int width_of(Control& c) {
    int natural = 0;
    gtk_widget_get_preferred_width(c.outer, nullptr, &natural);
    return natural;
}

int height_of(Control& c) {
    int natural = 0;
    gtk_widget_get_preferred_height(c.outer, nullptr, &natural);
    return std::max(1, natural);
}

void move(Window& w, Control& c, int x, int y) {
    gtk_fixed_move(GTK_FIXED(w.layout), c.outer, x, y);
}

// The controls sharing a row with `c`: those whose height overlaps its own.
std::vector<Control*> row_of(Window& w, Control& c) {
    const int top = y_of(w, c);
    const int bottom = top + height_of(c);
    std::vector<Control*> row;
    for (auto& other : w.controls) {
        const int y = y_of(w, *other);
        if (y < bottom && y + height_of(*other) > top) {
            row.push_back(other.get());
        }
    }
    return row;
}

// The label that names `box` from before it on its row, if any.
Control* label_before(Window& w, Control& box) {
    for (auto& label : w.controls) {
        if (label->shape.kind == platform::ControlKind::Label &&
            gtk_label_get_mnemonic_widget(GTK_LABEL(label->widget)) == box.widget &&
            x_of(w, *label) < x_of(w, box)) {
            return label.get();
        }
    }
    return nullptr;
}

// Moves the end of the row that passes `limit` onto a line of its own below the row,
// starting where the row starts, and everything below down to make room. A label goes with
// its box. Returns false when nothing passes the limit or the row cannot be broken.
bool wrap_one_row(Window& w, int limit) {
    constexpr int kGap = 4;
    Control* over = nullptr;
    for (auto& c : w.controls) {
        if (gtk_widget_get_visible(c->outer) && x_of(w, *c) + width_of(*c) > limit) {
            over = c.get();
            break;
        }
    }
    if (over == nullptr) {
        return false;
    }
    Control* start = over;
    if (Control* label = label_before(w, *over)) {
        start = label;
    }
    const std::vector<Control*> row = row_of(w, *start);
    int row_left = x_of(w, *start);
    int row_bottom = 0;
    for (Control* c : row) {
        row_left = std::min(row_left, x_of(w, *c));
        row_bottom = std::max(row_bottom, y_of(w, *c) + height_of(*c));
    }
    const int break_x = x_of(w, *start);
    if (break_x <= row_left) {
        return false;  // one control wider than the screen: nothing to break
    }
    std::vector<Control*> moved;
    int moved_top = row_bottom;
    int moved_bottom = 0;
    for (Control* c : row) {
        if (x_of(w, *c) >= break_x) {
            moved.push_back(c);
            moved_top = std::min(moved_top, y_of(w, *c));
            moved_bottom = std::max(moved_bottom, y_of(w, *c) + height_of(*c));
        }
    }
    const int room = moved_bottom - moved_top + kGap;
    for (auto& c : w.controls) {
        if (std::find(row.begin(), row.end(), c.get()) == row.end() && y_of(w, *c) >= row_bottom) {
            move(w, *c, x_of(w, *c), y_of(w, *c) + room);
        }
    }
    for (Control* c : moved) {
        move(w, *c, x_of(w, *c) - break_x + row_left, y_of(w, *c) - moved_top + row_bottom + kGap);
    }
    return true;
}

}  // namespace

// The desktop's text scaling (1.0 to 2.0): the layout grows with the text, so larger
// text is not covered by the next box, as far as the widest window still fits the
// screen.
double text_scale() {
    GdkScreen* screen = gdk_screen_get_default();
    double resolution = screen != nullptr ? gdk_screen_get_resolution(screen) : -1.0;
    if (resolution <= 0) {
        return 1.0;
    }
    return std::clamp(resolution / 96.0, 1.0, 2.0);
}

namespace {

// A label or box the chosen font and text scaling make wider than the layout allowed pushes
// what follows it on its row to the right, so nothing is drawn over it.
void push_apart(Window& w) {
    constexpr int kGap = 4;
    for (auto& c : w.controls) {
        if (!gtk_widget_get_visible(c->outer)) {
            continue;
        }
        const std::vector<Control*> row = row_of(w, *c);
        Control* next = nullptr;
        for (Control* other : row) {
            if (x_of(w, *other) > x_of(w, *c) &&
                (next == nullptr || x_of(w, *other) < x_of(w, *next))) {
                next = other;
            }
        }
        const int right = x_of(w, *c) + width_of(*c) + kGap;
        if (next == nullptr || x_of(w, *next) >= right) {
            continue;
        }
        const int from = x_of(w, *next);
        for (Control* other : row) {
            if (x_of(w, *other) >= from) {
                move(w, *other, x_of(w, *other) + right - from, y_of(w, *other));
            }
        }
    }
}

// The size of `utf8` in the widget's font, its lines broken at `wrap_width` pixels (none
// when -1) as the wrapped box breaks them.
void text_size(GtkWidget* widget, const char* utf8, int wrap_width, int* width, int* height) {
    PangoLayout* layout = gtk_widget_create_pango_layout(widget, utf8);
    if (wrap_width > 0) {
        pango_layout_set_width(layout, wrap_width * PANGO_SCALE);
        pango_layout_set_wrap(layout, PANGO_WRAP_WORD_CHAR);
    }
    pango_layout_get_pixel_size(layout, width, height);
    g_object_unref(layout);
}

// What lies below a box or list that now stands `height` high moves down by as much as it
// grew past its layout height since last time (or back up as it shrank).
void grow_to(Window& w, Control& c, int height) {
    const int grown = height - c.layout_height;
    if (grown == c.grown) {
        return;
    }
    const int old_bottom = y_of(w, c) + c.layout_height + c.grown;
    for (auto& other : w.controls) {
        if (other.get() != &c && y_of(w, *other) >= old_bottom) {
            move(w, *other, x_of(w, *other), y_of(w, *other) + grown - c.grown);
        }
    }
    c.grown = grown;
}

// A wrapped read-only box is as wide as its text on one line, never narrower than its
// layout width, as far as the screen's right edge; a longer text takes further lines, and
// what lies below the box moves down by as much as it grew (or back up as it shrinks).
void size_wrapped_boxes(Window& w, int limit) {
    // The scroller's frame and the text view's margins, and a character's room for the caret.
    constexpr int kFrame = 2;
    constexpr int kCaretRoom = 8;
    const int frame_x = 2 * (kFrame + kWrappedMargin);
    const int frame_y = 2 * (kFrame + 1);
    for (auto& c : w.controls) {
        if (!is_wrapped_text(c->widget)) {
            continue;
        }
        GtkTextBuffer* buffer = gtk_text_view_get_buffer(GTK_TEXT_VIEW(c->widget));
        GtkTextIter start;
        GtkTextIter end;
        gtk_text_buffer_get_bounds(buffer, &start, &end);
        gchar* utf8 = gtk_text_buffer_get_text(buffer, &start, &end, FALSE);
        int text_width = 0;
        int text_height = 0;
        text_size(c->widget, utf8, -1, &text_width, nullptr);
        const int room = limit - x_of(w, *c);
        const int width = std::max(
            1, std::min(std::max(c->layout_width, text_width + frame_x + kCaretRoom), room));
        text_size(c->widget, utf8, width - frame_x, nullptr, &text_height);
        g_free(utf8);
        const int height = std::max(c->layout_height, text_height + frame_y);
        gtk_widget_set_size_request(c->outer, width, height);
        grow_to(w, *c, height);
    }
}

// A list shows whole rows: one whose layout height ends part-way through a row (the third
// date format at any scale) is as tall as the next whole row, but no taller than its items.
void show_whole_rows(Window& w) {
    for (auto& c : w.controls) {
        if (c->shape.kind != platform::ControlKind::List || c->items.empty()) {
            continue;
        }
        GtkTreeView* view = GTK_TREE_VIEW(c->widget);
        GtkTreeViewColumn* column = gtk_tree_view_get_column(view, 0);
        GtkTreeIter first;
        if (column == nullptr ||
            !gtk_tree_model_get_iter_first(gtk_tree_view_get_model(view), &first)) {
            continue;
        }
        gtk_tree_view_column_cell_set_cell_data(column, gtk_tree_view_get_model(view), &first,
                                                FALSE, FALSE);
        int cell = 0;
        gtk_tree_view_column_cell_get_size(column, nullptr, nullptr, nullptr, nullptr, &cell);
        int separator = 0;
        gtk_widget_style_get(c->widget, "vertical-separator", &separator, nullptr);
        const int row = cell + separator;
        if (row <= 0) {
            continue;
        }
        const int rows =
            std::min(static_cast<int>(c->items.size()), (c->layout_height + row - 1) / row);
        const int height = std::max(c->layout_height, rows * row);
        gtk_widget_set_size_request(c->outer, c->layout_width, height);
        grow_to(w, *c, height);
    }
}

}  // namespace

// Rows are spread so that no label or box covers the next; a row then wider than the screen
// is broken before the label or box that would pass its right edge, so every box can be
// seen; a wrapped box takes the lines its text needs within the screen; the window follows
// its content.
void fit_layout_to_text(Window& w, int screen_width) {
    constexpr int kMargin = 16;
    const int limit = screen_width - kMargin;
    show_whole_rows(w);
    size_wrapped_boxes(w, limit);
    push_apart(w);
    bool wrapped = false;
    for (std::size_t pass = 0; pass < w.controls.size() && wrap_one_row(w, limit); ++pass) {
        wrapped = true;
    }
    // A box moved by the above has its width and lines set again where it now stands.
    size_wrapped_boxes(w, limit);
    if (wrapped) {
        int width = 0;
        int height = 0;
        gtk_window_get_size(GTK_WINDOW(w.window), &width, &height);
        gtk_window_resize(GTK_WINDOW(w.window), std::min(width, screen_width), height);
    }
}

// A box the program fills (a found value the operator may change) is seen whole only if it
// is as wide as the text in its own font, with its frame and padding. It never shrinks below
// its layout width, nor passes the screen's right edge. A wrapped read-only box takes its
// lines with the rest of the layout.
void fit_box_to_text(Window& w, Control& c, int screen_width) {
    constexpr int kMargin = 16;
    if (is_wrapped_text(c.widget) && gtk_widget_get_visible(w.window)) {
        fit_layout_to_text(w, screen_width);
        return;
    }
    if (!GTK_IS_ENTRY(c.widget)) {
        return;
    }
    PangoLayout* layout =
        gtk_widget_create_pango_layout(c.widget, gtk_entry_get_text(GTK_ENTRY(c.widget)));
    int text_width = 0;
    pango_layout_get_pixel_size(layout, &text_width, nullptr);
    g_object_unref(layout);
    GtkStyleContext* style = gtk_widget_get_style_context(c.widget);
    GtkBorder padding;
    GtkBorder border;
    gtk_style_context_get_padding(style, gtk_style_context_get_state(style), &padding);
    gtk_style_context_get_border(style, gtk_style_context_get_state(style), &border);
    // A character's room more, for the caret the reader walks the text with.
    const int frame = padding.left + padding.right + border.left + border.right + 8;
    int width = 0;
    int height = 0;
    gtk_widget_get_size_request(c.outer, &width, &height);
    const int wanted = std::min(text_width + frame, screen_width - kMargin - x_of(w, c));
    if (wanted <= width) {
        return;
    }
    gtk_widget_set_size_request(c.outer, wanted, height);
    if (gtk_widget_get_visible(w.window)) {
        fit_layout_to_text(w, screen_width);
    }
}

// The caption is shown whole in the title bar: the window is at least as wide as the
// caption in the desktop's bold interface font, with room for the close button.
int caption_width(GtkWidget* window, const std::string& utf8) {
    constexpr int kTitleBarRoom = 96;
    gchar* font_name = nullptr;
    g_object_get(gtk_widget_get_settings(window), "gtk-font-name", &font_name, nullptr);
    PangoFontDescription* font =
        pango_font_description_from_string(font_name != nullptr ? font_name : "Sans 10");
    g_free(font_name);
    pango_font_description_set_weight(font, PANGO_WEIGHT_BOLD);
    PangoLayout* layout = gtk_widget_create_pango_layout(window, utf8.c_str());
    pango_layout_set_font_description(layout, font);
    int width = 0;
    pango_layout_get_pixel_size(layout, &width, nullptr);
    g_object_unref(layout);
    pango_font_description_free(font);
    return width + kTitleBarRoom;
}

}  // namespace vl::gtk3
