// Key tables and key names.
#include "platform/Keys.h"

#include <array>
#include <utility>

namespace vl::platform {

namespace {

constexpr std::array<std::pair<std::string_view, int>, 28> kNamedKeys = {{
    {"F1", kKeyF1},
    {"F2", kKeyF2},
    {"F3", kKeyF3},
    {"F4", kKeyF4},
    {"F5", kKeyF5},
    {"F6", kKeyF6},
    {"F7", kKeyF7},
    {"F8", kKeyF8},
    {"F9", kKeyF9},
    {"F10", kKeyF10},
    {"F11", kKeyF11},
    {"F12", kKeyF12},
    {"F24", kKeyF24},
    {"Up", kKeyUp},
    {"Down", kKeyDown},
    {"Left", kKeyLeft},
    {"Right", kKeyRight},
    {"PageUp", kKeyPageUp},
    {"PageDown", kKeyPageDown},
    {"Home", kKeyHome},
    {"End", kKeyEnd},
    {"Insert", kKeyInsert},
    {"Delete", kKeyDelete},
    {"Backspace", kKeyBackspace},
    {"Tab", kKeyTab},
    {"Enter", kKeyEnter},
    {"Escape", kKeyEscape},
    {"Space", kKeySpace},
}};

bool equal_ignoring_case(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) {
        return false;
    }
    for (std::size_t i = 0; i < a.size(); ++i) {
        char x = a[i] >= 'a' && a[i] <= 'z' ? static_cast<char>(a[i] - 32) : a[i];
        char y = b[i] >= 'a' && b[i] <= 'z' ? static_cast<char>(b[i] - 32) : b[i];
        if (x != y) {
            return false;
        }
    }
    return true;
}

}  // namespace

std::optional<int> find_command(const KeyTable& table, const KeyChord& chord) {
    for (const KeyBinding& binding : table) {
        if (binding.chord == chord) {
            return binding.command;
        }
    }
    return std::nullopt;
}

std::optional<KeyChord> parse_key_chord(std::string_view text) {
    KeyChord chord;
    for (;;) {
        std::size_t plus = text.find('+');
        if (plus == std::string_view::npos || plus + 1 == text.size()) {
            break;
        }
        std::string_view modifier = text.substr(0, plus);
        if (equal_ignoring_case(modifier, "Ctrl") || equal_ignoring_case(modifier, "Control")) {
            chord.ctrl = true;
        } else if (equal_ignoring_case(modifier, "Shift")) {
            chord.shift = true;
        } else if (equal_ignoring_case(modifier, "Alt")) {
            chord.alt = true;
        } else {
            return std::nullopt;
        }
        text.remove_prefix(plus + 1);
    }
    for (const auto& [name, key] : kNamedKeys) {
        if (equal_ignoring_case(text, name)) {
            chord.key = key;
            return chord;
        }
    }
    if (text.size() == 1) {
        char c = text[0];
        if (c >= 'a' && c <= 'z') {
            c = static_cast<char>(c - 32);
        }
        if ((c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9')) {
            chord.key = c;
            return chord;
        }
    }
    return std::nullopt;
}

std::string without_ampersand(std::string_view text) {
    std::string out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '&' && i + 1 < text.size()) {
            ++i;  // "&&" is a literal "&"
        }
        out += text[i];
    }
    return out;
}

}  // namespace vl::platform
