// What crosses the toolkit boundary besides the texts themselves: Alt letters, colours,
// font faces and key names, each in the form GTK takes.
#pragma once

#include <gtk/gtk.h>

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "platform/Keys.h"

namespace vl::gtk3 {

// The text without the "&" that marks an Alt letter ("&&" is a literal "&").
using platform::without_ampersand;

// A label or button text in UTF-8 with GTK's "_" for the Alt letter.
std::string mnemonic_text(std::string_view text);

// "#RRGGBB" for a 0xBBGGRR colour value of the screens.
std::string css_colour(uint32_t bgr);

// The installed face nearest to a font the screens name.
std::string font_family(std::string_view name);

// The program's key for a GDK key value, if it has one.
std::optional<int> key_of(guint keyval);

}  // namespace vl::gtk3
