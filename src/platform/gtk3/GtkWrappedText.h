// A read-only box of one line whose text wraps onto further lines on the screen instead of
// running past its right edge, while a screen reader reads it as the one-line box it is.
#pragma once

#include <gtk/gtk.h>

namespace vl::gtk3 {

// A text view that wraps at word ends, reported to the reader as a single line of text: its
// line is its whole text, as in an entry, not the part that fits on one line of the screen.
GtkWidget* wrapped_text_new();

bool is_wrapped_text(GtkWidget* widget);

}  // namespace vl::gtk3
