// Child processes through CreateProcess, with no console window, ended with TerminateProcess.
#include <windows.h>

#include "platform/Process.h"

namespace vl::platform {
namespace {

class Win32Process final : public RunningProcess {
public:
    explicit Win32Process(HANDLE process) : m_process(process) {}
    ~Win32Process() override {
        ::TerminateProcess(m_process, 0);
        ::WaitForSingleObject(m_process, 2000);
        ::CloseHandle(m_process);
    }

private:
    HANDLE m_process;
};

}  // namespace

std::unique_ptr<RunningProcess> start_process(const std::vector<std::string>& argv) {
    if (argv.empty()) {
        return nullptr;
    }
    // Each argument quoted, as the program's own argument parser splits them.
    std::string command;
    for (const std::string& arg : argv) {
        command += (command.empty() ? "\"" : " \"") + arg + "\"";
    }
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION info{};
    if (!::CreateProcessA(nullptr, command.data(), nullptr, nullptr, FALSE, CREATE_NO_WINDOW,
                          nullptr, nullptr, &startup, &info)) {
        return nullptr;
    }
    ::CloseHandle(info.hThread);
    return std::make_unique<Win32Process>(info.hProcess);
}

}  // namespace vl::platform
