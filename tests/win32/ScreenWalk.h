// Every screen of the Windows program opened in turn, as an operator opens it, each read
// through MSAA and measured in its own font, and each saved as a screenshot.
#pragma once

#include <string>

namespace vl::test {

// Walks every screen of PROGRAM_EXE (a folder with the Orca check's log and the test call
// book), saving NAME.bmp files in SHOT_FOLDER; the number of checks that failed.
int walk_every_screen(const std::string& exe, const std::string& shot_folder);

}  // namespace vl::test
