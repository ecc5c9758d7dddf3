// Programs the log starts beside itself and ends when it exits (Hamlib's daemons).
#pragma once

#include <memory>
#include <string>
#include <vector>

namespace vl::platform {

// A program that is running; it is ended when this goes.
class RunningProcess {
public:
    virtual ~RunningProcess() = default;
};

// Starts argv[0], found on the PATH, with the rest as its arguments and no window; nothing
// when it cannot be started (not installed).
std::unique_ptr<RunningProcess> start_process(const std::vector<std::string>& argv);

}  // namespace vl::platform
