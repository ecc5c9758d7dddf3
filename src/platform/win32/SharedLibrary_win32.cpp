// Libraries loaded with LoadLibrary: the call-book DLLs beside the program.
#include <windows.h>

#include <algorithm>

#include "platform/SharedLibrary.h"

namespace vl::platform {

namespace {

class Win32Library final : public SharedLibrary {
public:
    explicit Win32Library(HMODULE module) : m_module(module) {}
    ~Win32Library() override { FreeLibrary(m_module); }
    Win32Library(const Win32Library&) = delete;
    Win32Library& operator=(const Win32Library&) = delete;

    LibraryFunction function(const std::string& name) override {
        // The generic function type is the one a FARPROC may be cast to without a warning;
        // the caller casts it to the function's real type.
        return reinterpret_cast<LibraryFunction>(GetProcAddress(m_module, name.c_str()));
    }

private:
    HMODULE m_module;
};

class Win32Libraries final : public SharedLibraries {
public:
    std::unique_ptr<SharedLibrary> open(const std::string& path) override {
        // No "insert disk" or "missing DLL" box stops the program: a library that cannot be
        // loaded is said in words by the caller.
        DWORD old_mode = 0;
        SetThreadErrorMode(SEM_FAILCRITICALERRORS | SEM_NOOPENFILEERRORBOX, &old_mode);
        // The library's own dependencies are looked for beside it, which needs a path with
        // backslashes only.
        std::string windows_path = path;
        std::replace(windows_path.begin(), windows_path.end(), '/', '\\');
        HMODULE module =
            LoadLibraryExA(windows_path.c_str(), nullptr, LOAD_WITH_ALTERED_SEARCH_PATH);
        SetThreadErrorMode(old_mode, nullptr);
        if (module == nullptr) {
            return nullptr;
        }
        return std::make_unique<Win32Library>(module);
    }

    std::string file_name(std::string_view stem) override { return std::string(stem) + ".DLL"; }
};

}  // namespace

SharedLibraries& system_shared_libraries() {
    static Win32Libraries libraries;
    return libraries;
}

}  // namespace vl::platform
