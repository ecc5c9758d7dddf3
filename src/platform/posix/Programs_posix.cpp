// Programs started with posix_spawnp: no shell between, so no argument is ever read as a
// command. The child's error output comes back through a pipe, its end kept.
#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <thread>

#include "platform/Programs.h"

extern char** environ;

namespace vl::platform {

namespace {

constexpr std::size_t kKeptErrors = 4096;

class PosixPrograms final : public Programs {
public:
    ProgramRun run(const std::vector<std::string>& arguments,
                   std::chrono::steady_clock::time_point deadline,
                   const std::atomic<bool>* cancel) override {
        ProgramRun result;
        if (arguments.empty()) {
            return result;
        }
        int errors[2];
        if (::pipe2(errors, O_CLOEXEC) != 0) {
            return result;
        }
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
        posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
        posix_spawn_file_actions_adddup2(&actions, errors[1], 2);
        std::vector<char*> argv;
        for (const std::string& argument : arguments) {
            argv.push_back(const_cast<char*>(argument.c_str()));
        }
        argv.push_back(nullptr);
        pid_t child = 0;
        const int spawned =
            ::posix_spawnp(&child, argv[0], &actions, nullptr, argv.data(), environ);
        posix_spawn_file_actions_destroy(&actions);
        ::close(errors[1]);
        if (spawned != 0) {
            ::close(errors[0]);
            return result;
        }
        bool open = true;
        int status = 0;
        while (true) {
            if (open) {
                pollfd watch{errors[0], POLLIN, 0};
                if (::poll(&watch, 1, 100) > 0) {
                    char block[512];
                    const ssize_t got = ::read(errors[0], block, sizeof block);
                    if (got <= 0) {
                        open = false;
                    } else {
                        result.errors.append(block, static_cast<std::size_t>(got));
                        if (result.errors.size() > kKeptErrors) {
                            result.errors.erase(0, result.errors.size() - kKeptErrors);
                        }
                    }
                }
            } else {
                std::this_thread::sleep_for(std::chrono::milliseconds(50));
            }
            const pid_t done = ::waitpid(child, &status, WNOHANG);
            if (done == child) {
                break;
            }
            const bool late = std::chrono::steady_clock::now() >= deadline;
            const bool stop = cancel != nullptr && cancel->load();
            if (late || stop) {
                ::kill(child, SIGKILL);
                ::waitpid(child, &status, 0);
                ::close(errors[0]);
                result.outcome =
                    late ? ProgramRun::Outcome::TimedOut : ProgramRun::Outcome::Cancelled;
                return result;
            }
        }
        ::close(errors[0]);
        if (WIFEXITED(status)) {
            result.outcome = ProgramRun::Outcome::Exited;
            result.exit_code = WEXITSTATUS(status);
            // posix_spawnp reports a program it could not find as exit status 127.
            if (result.exit_code == 127) {
                result.outcome = ProgramRun::Outcome::NotFound;
            }
        } else {
            result.outcome = ProgramRun::Outcome::Crashed;
        }
        return result;
    }
};

}  // namespace

Programs* system_programs() {
    static PosixPrograms programs;
    return &programs;
}

}  // namespace vl::platform
