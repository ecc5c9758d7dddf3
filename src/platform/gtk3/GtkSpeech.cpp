// Speech for the GTK backend. Measured on Orca 43: a read-only entry whose text is set is
// silent; text inserted and at once selected is spoken; deleting text that Orca last saw
// selected is spoken as "Selection deleted."; a label with the notification role that
// becomes showing is spoken and kept in Orca's notification history.
#include "platform/gtk3/GtkSpeech.h"

#include "platform/Cp1252.h"

namespace vl::gtk3 {

std::string display_text(std::string_view cp1252) {
    std::string text(cp1252);
    for (char& c : text) {
        if (c == '\0') {
            c = ' ';
        }
    }
    return platform::utf8_from_cp1252(text);
}

// Orca speaks inserted text that it finds selected, and says "Selection deleted." for a
// deletion of the text it last saw selected. So the old text goes in two parts (its first
// character, then the rest), neither of which is the whole old selection, and the new text
// is selected as it arrives when it is to be spoken. A caret that moves as the focus
// arrives makes the reader follow it silently instead of speaking the box, so the caret
// stays where the focus will find it.
void replace_text(GtkEntry* entry, const std::string& utf8, bool speak) {
    GtkEditable* editable = GTK_EDITABLE(entry);
    if (gtk_editable_get_position(editable) != 0) {
        gtk_editable_set_position(editable, 0);
    }
    gtk_editable_delete_text(editable, 0, 1);
    gtk_editable_delete_text(editable, 0, -1);
    gint position = 0;
    gtk_editable_insert_text(editable, utf8.c_str(), -1, &position);
    // A box the operator types in has its caret at the end, where GTK puts it when the box
    // takes the focus and selects its text; a read-only box keeps it at the start.
    if (speak && position > 0) {
        if (gtk_editable_get_editable(editable)) {
            gtk_editable_select_region(editable, 0, position);
        } else {
            gtk_editable_select_region(editable, position, 0);
        }
    }
}

namespace {

gboolean remove_notification(gpointer data) {
    gtk_widget_destroy(GTK_WIDGET(data));
    g_object_unref(data);
    return G_SOURCE_REMOVE;
}

}  // namespace

// A new label for each announcement: two in one key press keep their own texts. It is
// invisible (no opacity) and goes once Orca has long read it.
GtkWidget* announce(GtkWidget* layout, const std::string& utf8) {
    if (utf8.empty()) {
        return nullptr;
    }
    GtkWidget* label = gtk_label_new(utf8.c_str());
    atk_object_set_role(gtk_widget_get_accessible(label), ATK_ROLE_NOTIFICATION);
    gtk_widget_set_opacity(label, 0.0);
    gtk_widget_set_no_show_all(label, TRUE);
    gtk_fixed_put(GTK_FIXED(layout), label, 0, 0);
    gtk_widget_show(label);
    g_object_ref(label);
    g_timeout_add_seconds(10, remove_notification, label);
    return label;
}

}  // namespace vl::gtk3
