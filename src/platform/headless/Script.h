// Key scripts: the input of the headless backend, one event a line.
//   key Ctrl+Q Down Enter     keys, with modifiers, pressed in turn
//   type G9ZZA/P              text typed into the focused box (the rest of the line); it
//                             replaces the text that moving into the box selected
//   answer yes                the answer to the open message box: ok, yes or no
//   doubleclick               a double-click on the focused list's selected entry
//   tick 10                   timer ticks of 100 ms each (the clock moves on with them)
//   clock 2029-07-22 23:59:59 +01:00   set UTC, and optionally local time's offset
//   # a comment
#pragma once

#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "platform/Clock.h"
#include "platform/Keys.h"
#include "platform/Ui.h"

namespace vl::headless {

struct ScriptEvent {
    enum class Kind { Key, Type, Answer, DoubleClick, Tick, Wait, Clock } kind = Kind::Key;
    int line = 0;
    platform::KeyChord chord;
    std::string text;
    platform::Answer answer = platform::Answer::Ok;
    int count = 1;
    platform::DateTime time;
    int local_offset_minutes = 0;
};

struct ScriptError : std::runtime_error {
    using std::runtime_error::runtime_error;
};

// Throws ScriptError naming the line of the first malformed event.
std::vector<ScriptEvent> parse_script(std::string_view text);

}  // namespace vl::headless
