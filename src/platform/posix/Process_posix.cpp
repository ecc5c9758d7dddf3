// Child processes through posix_spawnp, ended with SIGTERM and waited for.
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>

#include "platform/Process.h"

extern char** environ;

namespace vl::platform {
namespace {

class PosixProcess final : public RunningProcess {
public:
    explicit PosixProcess(pid_t pid) : m_pid(pid) {}
    ~PosixProcess() override {
        ::kill(m_pid, SIGTERM);
        ::waitpid(m_pid, nullptr, 0);
    }

private:
    pid_t m_pid;
};

}  // namespace

std::unique_ptr<RunningProcess> start_process(const std::vector<std::string>& argv) {
    if (argv.empty()) {
        return nullptr;
    }
    std::vector<char*> args;
    for (const std::string& arg : argv) {
        args.push_back(const_cast<char*>(arg.c_str()));
    }
    args.push_back(nullptr);
    pid_t pid = -1;
    if (::posix_spawnp(&pid, args[0], nullptr, nullptr, args.data(), environ) != 0) {
        return nullptr;
    }
    return std::make_unique<PosixProcess>(pid);
}

}  // namespace vl::platform
