// Conversions at the toolkit boundary.
#include "platform/gtk3/GtkText.h"

#include <gdk/gdkkeysyms.h>

#include <cstdio>
#include <map>

#include "platform/Keys.h"
#include "platform/gtk3/GtkSpeech.h"

namespace vl::gtk3 {

// "&" marks the Alt letter on Windows; GTK marks it with "_".
std::string mnemonic_text(std::string_view text) {
    std::string out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '&' && i + 1 < text.size()) {
            ++i;
            out += text[i] == '&' ? "&" : "_";
            if (text[i] == '&') {
                continue;
            }
        }
        if (text[i] == '_') {
            out += "__";
        } else {
            out += text[i];
        }
    }
    return display_text(out);
}

std::string css_colour(uint32_t bgr) {
    char text[8];
    std::snprintf(text, sizeof text, "#%02X%02X%02X", bgr & 0xFF, (bgr >> 8) & 0xFF,
                  (bgr >> 16) & 0xFF);
    return text;
}

// The installed face nearest to each font the screens name.
std::string font_family(std::string_view name) {
    if (name.find("Courier") != std::string_view::npos) {
        return "Monospace";
    }
    if (name.find("Times") != std::string_view::npos) {
        return "Serif";
    }
    return "Sans";
}

std::optional<int> key_of(guint keyval) {
    static const std::map<guint, int> kKeys = {
        {GDK_KEY_F1, platform::kKeyF1},
        {GDK_KEY_F2, platform::kKeyF2},
        {GDK_KEY_F3, platform::kKeyF3},
        {GDK_KEY_F4, platform::kKeyF4},
        {GDK_KEY_F5, platform::kKeyF5},
        {GDK_KEY_F6, platform::kKeyF6},
        {GDK_KEY_F7, platform::kKeyF7},
        {GDK_KEY_F8, platform::kKeyF8},
        {GDK_KEY_F9, platform::kKeyF9},
        {GDK_KEY_F10, platform::kKeyF10},
        {GDK_KEY_F11, platform::kKeyF11},
        {GDK_KEY_F12, platform::kKeyF12},
        {GDK_KEY_F24, platform::kKeyF24},
        {GDK_KEY_Up, platform::kKeyUp},
        {GDK_KEY_KP_Up, platform::kKeyUp},
        {GDK_KEY_Down, platform::kKeyDown},
        {GDK_KEY_KP_Down, platform::kKeyDown},
        {GDK_KEY_Left, platform::kKeyLeft},
        {GDK_KEY_Right, platform::kKeyRight},
        {GDK_KEY_Page_Up, platform::kKeyPageUp},
        {GDK_KEY_Page_Down, platform::kKeyPageDown},
        {GDK_KEY_Home, platform::kKeyHome},
        {GDK_KEY_End, platform::kKeyEnd},
        {GDK_KEY_Insert, platform::kKeyInsert},
        {GDK_KEY_Delete, platform::kKeyDelete},
        {GDK_KEY_BackSpace, platform::kKeyBackspace},
        {GDK_KEY_Tab, platform::kKeyTab},
        {GDK_KEY_ISO_Left_Tab, platform::kKeyTab},
        {GDK_KEY_Return, platform::kKeyEnter},
        {GDK_KEY_KP_Enter, platform::kKeyEnter},
        {GDK_KEY_Escape, platform::kKeyEscape},
        {GDK_KEY_space, platform::kKeySpace},
    };
    if (auto found = kKeys.find(keyval); found != kKeys.end()) {
        return found->second;
    }
    guint upper = gdk_keyval_to_upper(keyval);
    if ((upper >= GDK_KEY_A && upper <= GDK_KEY_Z) || (upper >= GDK_KEY_0 && upper <= GDK_KEY_9)) {
        return static_cast<int>(upper);
    }
    return std::nullopt;
}

}  // namespace vl::gtk3
