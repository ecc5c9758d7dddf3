// Layout for low vision: the text scaling the desktop asks for, and room for labels the
// chosen font makes wider than the layout allowed.
#include <algorithm>

#include "platform/gtk3/GtkWindow.h"

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

// A label wider in the window's font than the room before its box pushes the box, and
// whatever follows it on that row, to the right, so the label is not covered.
void make_room_for_labels(Window& w, double scale) {
    constexpr int kGap = 4;
    for (auto& label : w.controls) {
        if (label->shape.kind != platform::ControlKind::Label) {
            continue;
        }
        GtkWidget* box = gtk_label_get_mnemonic_widget(GTK_LABEL(label->widget));
        Control* named = box != nullptr ? control_of(w, box) : nullptr;
        if (named == nullptr || named->shape.x <= label->shape.x) {
            continue;
        }
        int natural = 0;
        gtk_widget_get_preferred_width(label->outer, nullptr, &natural);
        int box_x = x_of(w, *named);
        int needed = (w.shape.scaled ? static_cast<int>(label->shape.x * scale) : label->shape.x) +
                     natural + kGap - box_x;
        if (needed <= 0) {
            continue;
        }
        int top = named->shape.y;
        int bottom = named->shape.y + std::max(1, named->shape.height);
        for (auto& other : w.controls) {
            bool same_row =
                other->shape.y < bottom && other->shape.y + std::max(1, other->shape.height) > top;
            if (same_row && x_of(w, *other) >= box_x && other.get() != label.get()) {
                gtk_fixed_move(GTK_FIXED(w.layout), other->outer, x_of(w, *other) + needed,
                               y_of(w, *other));
            }
        }
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
