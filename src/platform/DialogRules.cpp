// The rules of a window.
#include "platform/DialogRules.h"

#include <algorithm>
#include <cctype>

namespace vl::platform {

namespace {

constexpr int kListPage = 8;  // entries a Page Up or Page Down moves in a list

const DialogControl* find(std::span<const DialogControl> controls, int id) {
    for (const DialogControl& control : controls) {
        if (control.id == id) {
            return &control;
        }
    }
    return nullptr;
}

bool is_typed_into(const DialogControl& control) {
    return control.kind == ControlKind::Edit && control.style != EditStyle::ReadOnly &&
           control.style != EditStyle::ReadOnlyMultiLine;
}

// Alt and a label's letter moves to the box the label names; a button's presses it.
std::optional<KeyOutcome> mnemonic(std::span<const DialogControl> controls, int key) {
    if (key <= 0 || key >= 256) {
        return std::nullopt;
    }
    for (const DialogControl& control : controls) {
        if (mnemonic_of(control.caption) != static_cast<char>(key)) {
            continue;
        }
        if (control.kind == ControlKind::Button) {
            return KeyOutcome{KeyOutcome::Kind::PressButton, control.id, {}};
        }
        if (control.kind != ControlKind::Label) {
            continue;
        }
        for (const DialogControl& named : controls) {
            if (named.label == control.id && takes_focus(named.kind)) {
                return KeyOutcome{KeyOutcome::Kind::Focus, named.id, {}};
            }
        }
    }
    return std::nullopt;
}

}  // namespace

bool is_spoken_text(const ControlSpec& shape) {
    return shape.kind == ControlKind::Label ||
           (shape.kind == ControlKind::Edit &&
            (shape.style == EditStyle::ReadOnly || shape.style == EditStyle::ReadOnlyMultiLine));
}

int naming_label(const ControlSpec* previous, const ControlSpec& added) {
    return previous != nullptr && previous->kind == ControlKind::Label &&
                   added.kind != ControlKind::Label
               ? previous->id
               : 0;
}

char mnemonic_of(std::string_view caption) {
    for (std::size_t i = 0; i + 1 < caption.size(); ++i) {
        if (caption[i] == '&') {
            if (caption[i + 1] != '&') {
                const char c = caption[i + 1];
                return c >= 'a' && c <= 'z' ? static_cast<char>(c - 32) : c;
            }
            ++i;
        }
    }
    return 0;
}

int next_in_tab_order(std::span<const DialogControl> controls, int focus, bool backwards) {
    std::vector<int> order;
    for (const DialogControl& control : controls) {
        if (takes_focus(control.kind) && control.enabled) {
            order.push_back(control.id);
        }
    }
    if (order.empty()) {
        return 0;
    }
    auto at = std::find(order.begin(), order.end(), focus);
    if (at == order.end()) {
        return order.front();
    }
    const std::size_t here = static_cast<std::size_t>(at - order.begin());
    return order[backwards ? (here + order.size() - 1) % order.size() : (here + 1) % order.size()];
}

KeyOutcome key_in_window(const KeyTable& keys, std::span<const DialogControl> controls, int focus,
                         const KeyChord& chord) {
    using Kind = KeyOutcome::Kind;
    if (auto command = find_command(keys, chord)) {
        return {Kind::Command, *command, {}};
    }
    const DialogControl* focused = find(controls, focus);
    if (focused != nullptr && focused->kind == ControlKind::Button &&
        (chord == plain(kKeyEnter) || chord == plain(kKeySpace))) {
        return {Kind::PressButton, focused->id, {}};
    }
    if (chord.alt && !chord.ctrl) {
        if (auto outcome = mnemonic(controls, chord.key)) {
            return *outcome;
        }
    }
    if (chord == plain(kKeyEnter)) {
        if (focused != nullptr && focused->kind == ControlKind::Edit &&
            focused->style == EditStyle::MultiLine) {
            return {Kind::NewLine, 0, {}};
        }
        return {Kind::Command, kCmdOk, {}};
    }
    if (chord == plain(kKeyEscape)) {
        return {Kind::Command, kCmdCancel, {}};
    }
    if (chord == plain(kKeyTab) || chord == shift(kKeyTab)) {
        return {chord.shift ? Kind::PreviousBox : Kind::NextBox, 0, {}};
    }
    if (focused == nullptr || chord.ctrl || chord.alt) {
        return {};
    }
    if (focused->kind == ControlKind::List || focused->kind == ControlKind::DropDown) {
        switch (chord.key) {
            case kKeyUp:
            case kKeyDown:
            case kKeyPageUp:
            case kKeyPageDown:
            case kKeyHome:
            case kKeyEnd:
                return {Kind::MoveInList, chord.key, {}};
            default:
                return chord.key < 256 ? KeyOutcome{Kind::JumpToLetter, chord.key, {}}
                                       : KeyOutcome{};
        }
    }
    if (!is_typed_into(*focused)) {
        return {};
    }
    if (chord.key == kKeyBackspace) {
        return {Kind::Erase, 0, {}};
    }
    if (chord.key == kKeyEnd || chord.key == kKeyRight) {
        return {Kind::CaretToEnd, 0, {}};
    }
    if (chord.key == kKeySpace) {
        return {Kind::Type, 0, " "};
    }
    if (chord.key < 256) {
        // Letters come as capitals; without Shift they are typed small.
        char c = static_cast<char>(chord.key);
        if (!chord.shift && c >= 'A' && c <= 'Z') {
            c = static_cast<char>(c + 32);
        }
        return {Kind::Type, 0, std::string(1, c)};
    }
    return {};
}

int moved_in_list(int selected, int count, int key) {
    const int last = count - 1;
    if (last < 0) {
        return selected;
    }
    switch (key) {
        case kKeyUp:
            return std::max(0, selected - 1);
        case kKeyDown:
            return std::min(last, selected + 1);
        case kKeyPageUp:
            return std::max(0, selected - kListPage);
        case kKeyPageDown:
            return std::min(last, std::max(0, selected) + kListPage);
        case kKeyHome:
            return 0;
        case kKeyEnd:
            return last;
        default:
            return selected;
    }
}

int item_starting_with(const std::vector<std::string>& items, int selected, char letter) {
    const int wanted = std::toupper(static_cast<unsigned char>(letter));
    const int n = static_cast<int>(items.size());
    for (int step = 1; step <= n; ++step) {
        const int index = (selected + step + n) % n;
        const std::string& item = items[static_cast<std::size_t>(index)];
        if (!item.empty() && std::toupper(static_cast<unsigned char>(item[0])) == wanted) {
            return index;
        }
    }
    return -1;
}

Typing typed_into(const ControlSpec& box, std::optional<std::size_t> length,
                  std::string_view typed) {
    Typing result{std::string(typed), false};
    if (box.style == EditStyle::UpperCase) {
        for (char& c : result.accepted) {
            if (c >= 'a' && c <= 'z') {
                c = static_cast<char>(c - 32);
            }
        }
    }
    if (length && box.max_length > 0) {
        const long room = static_cast<long>(box.max_length) - static_cast<long>(*length);
        if (static_cast<long>(result.accepted.size()) > room) {
            result.accepted.resize(static_cast<std::size_t>(std::max(room, 0L)));
            result.refused = true;
        }
    }
    return result;
}

Answer answer_to_enter(MessageButtons buttons) {
    switch (buttons) {
        case MessageButtons::Ok:
            return Answer::Ok;
        case MessageButtons::YesNo:
            return Answer::Yes;
        case MessageButtons::YesNoDefaultNo:
            return Answer::No;
    }
    return Answer::Ok;
}

Answer answer_to_escape(MessageButtons buttons) {
    return buttons == MessageButtons::Ok ? Answer::Ok : Answer::No;
}

std::optional<Answer> answer_to_letter(MessageButtons buttons, const KeyChord& chord) {
    if (buttons == MessageButtons::Ok || chord.ctrl) {
        return std::nullopt;
    }
    if (chord.key == 'Y' || chord.key == 'y') {
        return Answer::Yes;
    }
    if (chord.key == 'N' || chord.key == 'n') {
        return Answer::No;
    }
    return std::nullopt;
}

}  // namespace vl::platform
