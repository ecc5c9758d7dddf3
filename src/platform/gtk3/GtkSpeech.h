// How the GTK backend makes Orca speak what changes on a screen. Orca does not present a
// program's own change of a box's text, nor a label's, so each change is shaped into an
// event it does present.
#pragma once

#include <gtk/gtk-a11y.h>
#include <gtk/gtk.h>

#include <string>

#include "platform/gtk3/GtkWindow.h"

namespace vl::gtk3 {

// Text for GTK from the program's Windows-1252 text. A zero byte (the empty mode field of
// a CQ entry) becomes a blank, so the rest of the text still reaches the screen.
std::string display_text(std::string_view cp1252);

// Replaces an entry's text without a word from Orca, or, with `speak` on the focused
// read-only entry, so that Orca speaks the new text once with nothing before it.
void replace_text(GtkEntry* entry, const std::string& utf8, bool speak);

// The same for a wrapped read-only box (GtkWrappedText.h), which Orca then hears as an entry.
void replace_wrapped_text(GtkTextView* view, const std::string& utf8, bool speak);

// Speaks `utf8` through a short-lived notification in `layout` (a GtkFixed of a shown
// window): for text that belongs to no focused box, such as the lines of the Key help box.
// Returns the notification, which lives for some seconds (nullptr for an empty text).
GtkWidget* announce(GtkWidget* layout, const std::string& utf8);

// Sets the text of an edit box as the reader should hear it (the box focused, or not, and
// the window shown); true when it announced the text, to be forgotten after this event.
bool set_edit_text(Window& w, Control& c, const std::string& utf8, bool shown, bool focused);

// A window of labels only keeps its lines to announce when it becomes active, which
// on_window_focus_in (its "focus-in-event" handler, run after GTK's own) does.
void announce_labels_when_nothing_takes_focus(Window& w);
gboolean on_window_focus_in(GtkWidget*, GdkEvent*, Window* w);

// Drops the selection that made a read-only box speak, as the focus comes back to it.
void unselect_before_focus(Window& w, Control& c);

// The focused box takes the name its label was given while it had the focus.
void take_pending_name(Control& c);

// Lets the reader read an entry's text to its end when it has accented letters.
void mend_entry_runs();

}  // namespace vl::gtk3
