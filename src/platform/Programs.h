// Other programs the log hands work to (TrustedQSL's tqsl for LoTW uploads): run one with
// its arguments, wait for it within a deadline, and read its exit status.
#pragma once

#include <atomic>
#include <chrono>
#include <string>
#include <vector>

namespace vl::platform {

struct ProgramRun {
    enum class Outcome {
        Exited,    // `exit_code` holds its status
        NotFound,  // the program could not be started
        TimedOut,  // stopped at the deadline
        Cancelled,
        Crashed,  // ended by a signal
    } outcome = Outcome::NotFound;
    int exit_code = 0;
    std::string errors;  // the last part of what it wrote to its error output
};

class Programs {
public:
    virtual ~Programs() = default;
    // `arguments[0]` is the program: a path, or a name looked up on PATH. Its input is
    // empty; its output is discarded except the end of the error output.
    virtual ProgramRun run(const std::vector<std::string>& arguments,
                           std::chrono::steady_clock::time_point deadline,
                           const std::atomic<bool>* cancel) = 0;
};

// The system's way of starting programs, or nothing where the build has none.
Programs* system_programs();

}  // namespace vl::platform
