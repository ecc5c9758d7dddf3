// What a window does by itself, on every backend: which controls take the focus and in what
// order, which label names a box, what a key the screen's key table leaves does, what
// typing puts in a box, how a list follows its keys, and what a message box answers. The
// backends ask here and only translate their toolkit's events to and from the answers.
#pragma once

#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "platform/Keys.h"
#include "platform/Ui.h"

namespace vl::platform {

// A control as the rules see it.
struct DialogControl {
    int id = 0;
    ControlKind kind = ControlKind::Label;
    EditStyle style = EditStyle::Plain;
    std::string_view caption;  // as created: "&" marks its Alt letter
    int label = 0;             // the label that names it; 0 when none does
    bool enabled = true;
};

inline bool takes_focus(ControlKind kind) {
    return kind != ControlKind::Label;
}

// A label or a read-only box: the reader hears the program change it.
bool is_spoken_text(const ControlSpec& shape);

// The label that names a box added after `previous` (null when it is the first).
int naming_label(const ControlSpec* previous, const ControlSpec& added);

// The letter after a single "&", upper case; 0 when there is none.
char mnemonic_of(std::string_view caption);

// Where Tab (Shift+Tab) goes from `focus`: the next enabled box in creation order, round
// the end, or the first when `focus` is none of them; 0 when no box can take it.
int next_in_tab_order(std::span<const DialogControl> controls, int focus, bool backwards);

// What a key does in a window, once the screen's key table has had it.
struct KeyOutcome {
    enum class Kind {
        Nothing,
        Command,       // the screen hears `value`: a key-table command, kCmdOk, kCmdCancel
        PressButton,   // button `value`: Enter or Space on it, or Alt and its letter
        Focus,         // box `value`: Alt and the letter of the label naming it
        NextBox,       // Tab
        PreviousBox,   // Shift+Tab
        NewLine,       // Enter in a box of lines
        MoveInList,    // an arrow, page, Home or End key (`value`) in a list
        JumpToLetter,  // a letter (`value`) in a list
        Type,          // `text` goes into the focused box
        Erase,         // Backspace in the focused box
        CaretToEnd,    // End or Right in the focused box: typing then adds to its text
    };
    Kind kind = Kind::Nothing;
    int value = 0;
    std::string text;
};

KeyOutcome key_in_window(const KeyTable& keys, std::span<const DialogControl> controls, int focus,
                         const KeyChord& chord);

// The entry a list moves to on `key` from `selected`; `selected` when it does not move.
int moved_in_list(int selected, int count, int key);

// The next entry after `selected` starting with `letter`, round the end; -1 when none does.
int item_starting_with(const std::vector<std::string>& items, int selected, char letter);

// What typing `typed` into a box holding `length` characters puts there: capitals in an
// upper-case box, and nothing past its length limit, which refuses the rest with a beep.
// Without `length` it is the program's own text, which the limit does not cut.
struct Typing {
    std::string accepted;
    bool refused = false;
};
Typing typed_into(const ControlSpec& box, std::optional<std::size_t> length,
                  std::string_view typed);

// Enter gives the first button (Yes or OK), except where Yes destroys something.
Answer answer_to_enter(MessageButtons buttons);
Answer answer_to_escape(MessageButtons buttons);
// Y and N answer a Yes/No box, with or without Alt.
std::optional<Answer> answer_to_letter(MessageButtons buttons, const KeyChord& chord);

}  // namespace vl::platform
