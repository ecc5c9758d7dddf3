// Walk files: what an operator does to the Windows program and what a screen reader and a
// partially sighted operator must find, a line each:
//   key KEY...          keys as the key scripts name them       type TEXT
//   menu N              the main menu's entry N (from 0) opened afresh
//   window CAPTION      a window whose caption holds CAPTION comes, read by its caption;
//                       the time since the start is printed
//   message TITLE|TEXT  a message box comes, its title read and its text there to read
//   shot NAME CAPTION   the window comes, is read and measured, and is saved as NAME.bmp
//   boxes N R           the last shot has N boxes, R of them read only, at least
//   focus SAID          what the reader says of the focus: KIND "NAME" "VALUE"
//   gone CAPTION        the window closes         asked CAPTION   Y, if the question comes
//   ended               the program ends
#pragma once

#include "win32/Drive.h"

#include <istream>
#include <string>

namespace vl::test {

// Plays WALK to the started PROGRAM, saving its shots in SHOT_FOLDER; the number of checks
// that failed.
int play_walk(Program& program, std::istream& walk, const std::string& shot_folder);

}  // namespace vl::test
