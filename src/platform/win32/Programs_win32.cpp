// Programs started with CreateProcess: the command line quoted as the C runtime reads it back
// into arguments, no window, the error output kept through a pipe. The wait checks the
// deadline and the caller's cancel every 50 ms.
#include <windows.h>

#include <chrono>
#include <thread>

#include "platform/Programs.h"

namespace vl::platform {

namespace {

constexpr std::size_t kKeptErrors = 4096;

// One argument as CommandLineToArgv and the C runtime read it: in quotes, a quote escaped,
// and the backslashes before a quote (or before the closing quote) doubled.
void append_argument(std::string& line, const std::string& argument) {
    if (!line.empty()) {
        line += ' ';
    }
    line += '"';
    std::size_t backslashes = 0;
    for (char c : argument) {
        if (c == '\\') {
            ++backslashes;
            continue;
        }
        if (c == '"') {
            line.append(backslashes * 2 + 1, '\\');
        } else {
            line.append(backslashes, '\\');
        }
        backslashes = 0;
        line += c;
    }
    line.append(backslashes * 2, '\\');
    line += '"';
}

class Win32Programs final : public Programs {
public:
    ProgramRun run(const std::vector<std::string>& arguments,
                   std::chrono::steady_clock::time_point deadline,
                   const std::atomic<bool>* cancel) override {
        ProgramRun result;
        if (arguments.empty()) {
            return result;
        }
        std::string line;
        for (const std::string& argument : arguments) {
            append_argument(line, argument);
        }
        SECURITY_ATTRIBUTES inherit{sizeof(SECURITY_ATTRIBUTES), nullptr, TRUE};
        HANDLE read_end = nullptr;
        HANDLE write_end = nullptr;
        if (!CreatePipe(&read_end, &write_end, &inherit, 0)) {
            return result;
        }
        SetHandleInformation(read_end, HANDLE_FLAG_INHERIT, 0);
        HANDLE nothing =
            CreateFileA("NUL", GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                        &inherit, OPEN_EXISTING, 0, nullptr);
        STARTUPINFOA startup{};
        startup.cb = sizeof startup;
        startup.dwFlags = STARTF_USESTDHANDLES;
        startup.hStdInput = nothing;
        startup.hStdOutput = nothing;
        startup.hStdError = write_end;
        PROCESS_INFORMATION process{};
        std::string writable = line;
        // A program path is found as given; a bare name is looked for on PATH by the system.
        const BOOL started = CreateProcessA(nullptr, writable.data(), nullptr, nullptr, TRUE,
                                            CREATE_NO_WINDOW, nullptr, nullptr, &startup, &process);
        CloseHandle(write_end);
        if (nothing != INVALID_HANDLE_VALUE) {
            CloseHandle(nothing);
        }
        if (!started) {
            CloseHandle(read_end);
            return result;
        }
        CloseHandle(process.hThread);
        bool stopped = false;
        while (true) {
            DWORD waiting = 0;
            while (PeekNamedPipe(read_end, nullptr, 0, nullptr, &waiting, nullptr) && waiting > 0) {
                char block[512];
                DWORD got = 0;
                if (!ReadFile(read_end, block, sizeof block, &got, nullptr) || got == 0) {
                    break;
                }
                result.errors.append(block, got);
                if (result.errors.size() > kKeptErrors) {
                    result.errors.erase(0, result.errors.size() - kKeptErrors);
                }
            }
            if (WaitForSingleObject(process.hProcess, 50) == WAIT_OBJECT_0) {
                break;
            }
            const bool late = std::chrono::steady_clock::now() >= deadline;
            const bool given_up = cancel != nullptr && cancel->load();
            if (late || given_up) {
                TerminateProcess(process.hProcess, 1);
                WaitForSingleObject(process.hProcess, INFINITE);
                result.outcome =
                    late ? ProgramRun::Outcome::TimedOut : ProgramRun::Outcome::Cancelled;
                stopped = true;
                break;
            }
        }
        if (!stopped) {
            DWORD code = 0;
            GetExitCodeProcess(process.hProcess, &code);
            result.outcome = ProgramRun::Outcome::Exited;
            result.exit_code = static_cast<int>(code);
        }
        CloseHandle(process.hProcess);
        CloseHandle(read_end);
        return result;
    }
};

}  // namespace

Programs* system_programs() {
    static Win32Programs programs;
    return &programs;
}

}  // namespace vl::platform
