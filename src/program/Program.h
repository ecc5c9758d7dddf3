// The program from start-up to the exit steps, on whatever backend `services` provides.
#pragma once

#include <string>

#include "platform/Platform.h"

namespace vl {

// `program_dir` is the folder of the program's files, with its trailing separator.
// Returns the process exit code.
int run_program(platform::Platform& services, const std::string& program_dir);

}  // namespace vl
