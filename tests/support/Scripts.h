// Key-script pieces shared by the end-to-end tests.
#pragma once

#include <string>

namespace vl::test {

// Opens main menu entry `entry` (0..17) from anywhere on the menu.
inline std::string open_menu_entry(int entry) {
    std::string script = "key Home\n";
    for (int i = 0; i < entry; ++i) {
        script += "key Down\n";
    }
    return script + "key Enter\n";
}

// Journal lines from the first one equal to `line` to the end.
template <typename Lines>
Lines lines_from(const Lines& journal, const std::string& line) {
    for (auto at = journal.begin(); at != journal.end(); ++at) {
        if (*at == line) {
            return Lines(at, journal.end());
        }
    }
    return {};
}

}  // namespace vl::test
