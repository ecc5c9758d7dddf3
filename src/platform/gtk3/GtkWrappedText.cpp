// A read-only box whose text wraps on the screen and is read as one line. GTK's text view
// reports the line a reader asks for as the line on the screen, and marks itself multi-line;
// Orca then reads a wrapped box a screen line at a time where it read an entry whole. This
// view reports its whole text as its one line and says it is single-line, as an entry does.
#include "platform/gtk3/GtkWrappedText.h"

#include <gtk/gtk-a11y.h>

namespace vl::gtk3 {

namespace {

AtkObjectClass* g_view_accessible_class = nullptr;
AtkTextIface* g_view_text = nullptr;

bool is_line(AtkTextBoundary boundary) {
    return boundary == ATK_TEXT_BOUNDARY_LINE_START || boundary == ATK_TEXT_BOUNDARY_LINE_END;
}

gchar* line_at(AtkText* text, gint offset, AtkTextBoundary boundary, gint* start, gint* end) {
    if (!is_line(boundary)) {
        return g_view_text->get_text_at_offset(text, offset, boundary, start, end);
    }
    *start = 0;
    *end = atk_text_get_character_count(text);
    return g_view_text->get_text(text, *start, *end);
}

// Before and after the one line there is none.
gchar* line_before(AtkText* text, gint offset, AtkTextBoundary boundary, gint* start, gint* end) {
    if (!is_line(boundary)) {
        return g_view_text->get_text_before_offset(text, offset, boundary, start, end);
    }
    *start = *end = 0;
    return g_strdup("");
}

gchar* line_after(AtkText* text, gint offset, AtkTextBoundary boundary, gint* start, gint* end) {
    if (!is_line(boundary)) {
        return g_view_text->get_text_after_offset(text, offset, boundary, start, end);
    }
    *start = *end = atk_text_get_character_count(text);
    return g_strdup("");
}

AtkStateSet* single_line_states(AtkObject* accessible) {
    AtkStateSet* states = g_view_accessible_class->ref_state_set(accessible);
    atk_state_set_remove_state(states, ATK_STATE_MULTI_LINE);
    atk_state_set_add_state(states, ATK_STATE_SINGLE_LINE);
    return states;
}

void accessible_class_init(gpointer klass, gpointer) {
    g_view_accessible_class = ATK_OBJECT_CLASS(g_type_class_peek_parent(klass));
    ATK_OBJECT_CLASS(klass)->ref_state_set = single_line_states;
}

// The interface starts as a copy of the text view's; only the line boundaries change.
void text_init(gpointer iface, gpointer) {
    auto* text = static_cast<AtkTextIface*>(iface);
    g_view_text = static_cast<AtkTextIface*>(g_type_interface_peek_parent(iface));
    text->get_text_at_offset = line_at;
    text->get_text_before_offset = line_before;
    text->get_text_after_offset = line_after;
}

GType accessible_type() {
    static const GType type = [] {
        GType t = g_type_register_static_simple(
            GTK_TYPE_TEXT_VIEW_ACCESSIBLE, "VlWrappedTextAccessible",
            sizeof(GtkTextViewAccessibleClass), accessible_class_init,
            sizeof(GtkTextViewAccessible), nullptr, static_cast<GTypeFlags>(0));
        static const GInterfaceInfo text_info = {text_init, nullptr, nullptr};
        g_type_add_interface_static(t, ATK_TYPE_TEXT, &text_info);
        return t;
    }();
    return type;
}

void view_class_init(gpointer klass, gpointer) {
    gtk_widget_class_set_accessible_type(GTK_WIDGET_CLASS(klass), accessible_type());
}

GType view_type() {
    static const GType type = g_type_register_static_simple(
        GTK_TYPE_TEXT_VIEW, "VlWrappedText", sizeof(GtkTextViewClass), view_class_init,
        sizeof(GtkTextView), nullptr, static_cast<GTypeFlags>(0));
    return type;
}

}  // namespace

GtkWidget* wrapped_text_new() {
    return GTK_WIDGET(g_object_new(view_type(), "editable", FALSE, "wrap-mode", GTK_WRAP_WORD_CHAR,
                                   "accepts-tab", FALSE, "cursor-visible", TRUE, nullptr));
}

bool is_wrapped_text(GtkWidget* widget) {
    return G_TYPE_CHECK_INSTANCE_TYPE(widget, view_type());
}

}  // namespace vl::gtk3
