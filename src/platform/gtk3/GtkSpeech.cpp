// Speech for the GTK backend. Measured on Orca 43: a read-only entry whose text is set is
// silent; text inserted and at once selected is spoken; deleting text that Orca last saw
// selected is spoken as "Selection deleted."; a label with the notification role that
// becomes showing is spoken and kept in Orca's notification history.
#include "platform/gtk3/GtkSpeech.h"

#include "platform/Cp1252.h"
#include "platform/gtk3/GtkText.h"
#include "platform/gtk3/GtkWrappedText.h"

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
    // The caret ends at the end, where GTK puts it when the box takes the focus and selects
    // its text.
    if (speak && position > 0) {
        gtk_editable_select_region(editable, 0, position);
    }
}

// The same for a wrapped read-only box: the reader hears it as it hears an entry. Text
// inserted at a text view's caret carries the caret to its end, which the reader hears as
// the caret moving (and, as the focus arrives, in place of the box's name); an entry's caret
// stays. So the text view's reader side is told of the insertion alone, and the caret is
// back at the start before it looks. The selection runs from the end back to the caret.
void replace_wrapped_text(GtkTextView* view, const std::string& utf8, bool speak) {
    GtkTextBuffer* buffer = gtk_text_view_get_buffer(view);
    AtkObject* accessible = gtk_widget_get_accessible(GTK_WIDGET(view));
    GtkTextIter start;
    GtkTextIter end;
    gtk_text_buffer_get_start_iter(buffer, &start);
    gtk_text_buffer_place_cursor(buffer, &start);
    gtk_text_buffer_get_iter_at_offset(buffer, &end, 1);
    gtk_text_buffer_delete(buffer, &start, &end);
    gtk_text_buffer_get_bounds(buffer, &start, &end);
    gtk_text_buffer_delete(buffer, &start, &end);
    g_signal_handlers_block_matched(buffer, G_SIGNAL_MATCH_DATA, 0, 0, nullptr, nullptr,
                                    accessible);
    gtk_text_buffer_get_start_iter(buffer, &start);
    gtk_text_buffer_insert(buffer, &start, utf8.c_str(), -1);
    gtk_text_buffer_get_start_iter(buffer, &start);
    gtk_text_buffer_place_cursor(buffer, &start);
    g_signal_handlers_unblock_matched(buffer, G_SIGNAL_MATCH_DATA, 0, 0, nullptr, nullptr,
                                      accessible);
    g_signal_emit_by_name(accessible, "text-changed::insert", 0,
                          static_cast<gint>(g_utf8_strlen(utf8.c_str(), -1)));
    gtk_text_buffer_get_bounds(buffer, &start, &end);
    if (speak && !utf8.empty()) {
        gtk_text_buffer_select_range(buffer, &start, &end);
    } else {
        gtk_text_buffer_place_cursor(buffer, &start);
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

using platform::ControlKind;

bool set_edit_text(Window& w, Control& c, const std::string& utf8, bool shown, bool focused) {
    if (is_wrapped_text(c.widget)) {
        // Spoken as a read-only entry is: whole as the focus reaches it, the change alone
        // where the focus stays, announced where the focus is elsewhere.
        bool speak = focused && !w.focus_moved;
        replace_wrapped_text(GTK_TEXT_VIEW(c.widget), utf8, speak);
        if (speak) {
            w.selected_box = c.shape.id;
        } else if (shown && !focused && !c.shape.quiet) {
            w.announced[c.shape.id] = announce(w.layout, utf8);
            return true;
        }
        return false;
    }
    if (GTK_IS_TEXT_VIEW(c.widget)) {
        GtkTextBuffer* buffer = gtk_text_view_get_buffer(GTK_TEXT_VIEW(c.widget));
        gtk_text_buffer_set_text(buffer, utf8.c_str(), -1);
        // A text is read from its first line.
        GtkTextIter start;
        gtk_text_buffer_get_start_iter(buffer, &start);
        gtk_text_buffer_place_cursor(buffer, &start);
        if (shown && !focused && !c.shape.quiet) {
            announce(w.layout, utf8);
        }
        return false;
    }
    // Every one-line box left is one the operator types in (read-only ones wrap, above).
    GtkEntry* entry = GTK_ENTRY(c.widget);
    // A box the focus has just reached is spoken whole with its new text; in one it
    // stays in, the change alone is, and stays selected, so typing replaces it.
    bool speak = focused && !w.focus_moved;
    replace_text(entry, utf8, speak);
    if (speak) {
        w.selected_box = c.shape.id;
        return false;
    }
    // A box the operator types in keeps the caret at the end.
    gtk_editable_set_position(GTK_EDITABLE(entry), -1);
    // Refilled with something to say, with the focus elsewhere: set_focus lets the reader
    // take the refill in before the focus comes.
    if (!focused && !utf8.empty()) {
        w.refilled_boxes.insert(c.shape.id);
    }
    return false;
}

// A window of labels only (the Key help box) has nothing to focus; its lines are
// announced once the window is active, after the reader has spoken its caption.
void announce_labels_when_nothing_takes_focus(Window& w) {
    std::vector<std::string> lines;
    for (auto& c : w.controls) {
        if (c->shape.kind != ControlKind::Label) {
            return;
        }
        std::string line = display_text(without_ampersand(c->shape.text));
        const gchar* now = gtk_label_get_text(GTK_LABEL(c->widget));
        if (now != nullptr) {
            line = now;
        }
        if (!line.empty()) {
            lines.push_back(line);
        }
    }
    w.lines_to_announce = std::move(lines);
}

gboolean on_window_focus_in(GtkWidget*, GdkEvent*, Window* w) {
    for (const std::string& line : w->lines_to_announce) {
        announce(w->layout, line);
    }
    w->lines_to_announce.clear();
    return FALSE;
}

// A read-only box keeps the selection that made the reader speak its text until the
// focus comes back to it. Dropping it then, before the reader follows the focus and
// without moving the caret, is a change the reader does not speak; done earlier it would
// be heard as "Text unselected.", and later the box would be read as selected.
void unselect_before_focus(Window& w, Control& c) {
    if (w.selected_box != c.shape.id) {
        return;
    }
    if (is_wrapped_text(c.widget)) {
        w.selected_box = 0;
        GtkTextBuffer* buffer = gtk_text_view_get_buffer(GTK_TEXT_VIEW(c.widget));
        GtkTextIter caret;
        gtk_text_buffer_get_iter_at_mark(buffer, &caret, gtk_text_buffer_get_insert(buffer));
        gtk_text_buffer_select_range(buffer, &caret, &caret);
        return;
    }
    if (!GTK_IS_ENTRY(c.widget)) {
        return;
    }
    w.selected_box = 0;
    gint caret = gtk_editable_get_position(GTK_EDITABLE(c.widget));
    gtk_editable_select_region(GTK_EDITABLE(c.widget), caret, caret);
}

void take_pending_name(Control& c) {
    if (c.pending_name) {
        atk_object_set_name(gtk_widget_get_accessible(c.widget), c.pending_name->c_str());
        c.pending_name.reset();
    }
}

namespace {

AtkAttributeSet* (*g_entry_run_attributes)(AtkText*, gint, gint*, gint*) = nullptr;

AtkAttributeSet* whole_entry_run(AtkText* text, gint offset, gint* start, gint* end) {
    AtkAttributeSet* attributes = g_entry_run_attributes(text, offset, start, end);
    *start = 0;
    *end = atk_text_get_character_count(text);
    return attributes;
}

}  // namespace

// GTK 3 ends the last attribute run of an entry at the text's length in characters taken as
// a byte offset, so Orca, which reads a line run by run, drops as many characters from its
// end as the text has accented letters ("Ann Müller ... Englan"). No entry here carries
// attributes of its own, so one run covers the whole text.
void mend_entry_runs() {
    auto* entry_class = static_cast<GObjectClass*>(g_type_class_ref(GTK_TYPE_ENTRY_ACCESSIBLE));
    auto* text = static_cast<AtkTextIface*>(g_type_interface_peek(entry_class, ATK_TYPE_TEXT));
    if (text != nullptr && text->get_run_attributes != nullptr &&
        text->get_run_attributes != whole_entry_run) {
        g_entry_run_attributes = text->get_run_attributes;
        text->get_run_attributes = whole_entry_run;
    }
}

}  // namespace vl::gtk3
