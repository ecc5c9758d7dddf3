// How the GTK backend makes Orca speak what changes on a screen. Orca does not present a
// program's own change of a box's text, nor a label's, so each change is shaped into an
// event it does present.
#pragma once

#include <gtk/gtk.h>

#include <string>

namespace vl::gtk3 {

// Text for GTK from the program's Windows-1252 text. A zero byte (the empty mode field of
// a CQ entry) becomes a blank, so the rest of the text still reaches the screen.
std::string display_text(std::string_view cp1252);

// Replaces an entry's text without a word from Orca, or, with `speak` on the focused
// read-only entry, so that Orca speaks the new text once with nothing before it.
void replace_text(GtkEntry* entry, const std::string& utf8, bool speak);

// Speaks `utf8` through a short-lived notification in `layout` (a GtkFixed of a shown
// window): for text that belongs to no focused box, such as the lines of the Key help box.
// Returns the notification, which lives for some seconds (nullptr for an empty text).
GtkWidget* announce(GtkWidget* layout, const std::string& utf8);

}  // namespace vl::gtk3
