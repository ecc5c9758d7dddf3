// The journal: what a screen reader would be told, one line an event. Texts are quoted,
// with \" \\ and \xNN escapes, so their blanks can be read.
//   window "caption"                    a window opened or became active again
//   focus edit "Call Sign:" "G9ZZA"     the focus moved: kind, label, text
//   text "G9ZZA/P"                      the focused control's text changed
//   static "F2 or Control plus ..."     a label or read-only box that the reader speaks
//   message "Delete Entry" "..." no     a message box: title, text, the answer given
//   beep default                        default, information or critical
//   sound "LogOn.wav"                   a sound cue played to its end
//   end of script                       the script ran out with windows still open
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace vl::headless {

std::string quote(std::string_view text);

class Journal {
public:
    void add(std::string line) { m_lines.push_back(std::move(line)); }
    // Takes back a line said in the event being handled, when a later line of the same event
    // says it anyway.
    void erase(std::size_t index) {
        m_lines.erase(m_lines.begin() + static_cast<std::ptrdiff_t>(index));
    }
    void replace(std::size_t index, std::string line) { m_lines[index] = std::move(line); }
    std::size_t size() const { return m_lines.size(); }
    const std::vector<std::string>& lines() const { return m_lines; }
    std::string text() const;

private:
    std::vector<std::string> m_lines;
};

}  // namespace vl::headless
