// Key chords as the screens' key tables name them: a named key or an upper-case letter or
// digit, with Control, Shift and Alt.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace vl::platform {

// Letters and digits use their upper-case ASCII code; named keys start at 256.
enum Key : int {
    kKeyNone = 0,
    kKeyF1 = 256,
    kKeyF2,
    kKeyF3,
    kKeyF4,
    kKeyF5,
    kKeyF6,
    kKeyF7,
    kKeyF8,
    kKeyF9,
    kKeyF10,
    kKeyF11,
    kKeyF12,
    kKeyF24,
    kKeyUp,
    kKeyDown,
    kKeyLeft,
    kKeyRight,
    kKeyPageUp,
    kKeyPageDown,
    kKeyHome,
    kKeyEnd,
    kKeyInsert,
    kKeyDelete,
    kKeyBackspace,
    kKeyTab,
    kKeyEnter,
    kKeyEscape,
    kKeySpace,
};

struct KeyChord {
    int key = kKeyNone;
    bool ctrl = false;
    bool shift = false;
    bool alt = false;
    bool operator==(const KeyChord&) const = default;
};

constexpr KeyChord plain(int key) {
    return {key, false, false, false};
}
constexpr KeyChord ctrl(int key) {
    return {key, true, false, false};
}
constexpr KeyChord shift(int key) {
    return {key, false, true, false};
}
constexpr KeyChord alt(int key) {
    return {key, false, false, true};
}

// One row of a screen's key table: the first row whose chord matches gives the command.
struct KeyBinding {
    KeyChord chord;
    int command;
};
using KeyTable = std::vector<KeyBinding>;

std::optional<int> find_command(const KeyTable& table, const KeyChord& chord);

// "Ctrl+Q", "Shift+Tab", "F12", "Alt+1", "Down"; the names used by key scripts.
std::optional<KeyChord> parse_key_chord(std::string_view text);

// A label or button caption as shown and spoken: "&" marks its Alt letter, "&&" is an "&".
std::string without_ampersand(std::string_view text);

}  // namespace vl::platform
